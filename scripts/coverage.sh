#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and its tests with coverage counters in build-coverage/,
# runs the tests, then prints the share of lines and branches of each folder
# of src/ that they exercised (scripts/coverage_summary.py).
# Fails when a test fails, or when the lines of base/, sim/, config/ and
# calc/ together, the folders free of windows, fall below the floor: a test
# removed or a new path left untested shows here before it spreads.
#   scripts/coverage.sh [FLOOR]   the floor in percent (72 by default)
# Warnings are errors when CI is set.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
floor=${1:-72}

"$top/scripts/deps.sh"

dir="$top/build-coverage"
# Without optimisation a line counts where it is written; the benchmarks and
# the fuzz targets add nothing that the tests run.
flags=(-DCMAKE_BUILD_TYPE=Debug -DIONARIA_BENCH=OFF -DIONARIA_FUZZ=OFF
    -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage)
if [ -n "${CI:-}" ]; then
    flags+=(-DIONARIA_WERROR=ON)
fi
# What configure says when it fails goes to the error output.
cmake -S "$top" -B "$dir" "${flags[@]}" >/dev/null
cmake --build "$dir" -j2

# Counts of an earlier run would add to this one's.
find "$dir" -name '*.gcda' -delete
# A test run as another user cannot add its counts to files root owns; what
# the counters would say of it on the error output is kept from the tests
# that read that output.
export GCOV_ERROR_FILE="$dir/gcov-errors.txt"
# Unoptimised and counting, the longest test functions outlast QtTest's
# five-minute watchdog on a loaded machine.
export QTEST_FUNCTION_TIMEOUT=1800000
(cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)

# Branches that only an exception takes, or that the compiler knows are never
# taken, are not the program's own decisions.
# Only the objects of src/ are read: the compiler check of CMakeFiles/ has
# counters but no source.
gcovr --root "$top" --filter "$top/src/" \
    --exclude-throw-branches --exclude-unreachable-branches -j 2 \
    --json-summary "$dir/coverage.json" "$dir/src" >/dev/null
python3 "$top/scripts/coverage_summary.py" "$dir/coverage.json" "$floor"
