#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and its tests with coverage counters in build-coverage/,
# runs the tests, then prints the share of lines and branches of each folder
# of src/ that they exercised (scripts/coverage_summary.py).
# Fails when a test fails, or when the lines of base/, sim/, config/ and
# calc/ together, the folders free of windows, fall below the floor: a test
# removed or a new path left untested shows here before it spreads.
#   scripts/coverage.sh [--core] [FLOOR]   the floor in percent (90 by default)
# --core builds and runs only the tests of those four folders: the floor is
# then checked on a lower bound, without building the windows, which is what CI
# affords beside its other builds; the other folders' figures then mean
# little. Warnings are errors when CI is set.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
core=
if [ "${1:-}" = "--core" ]; then
    core=1
    shift
fi
floor=${1:-90}
# The tests of the folders the floor is about; each test is the target of
# the same name.
core_tests='^(base|sim|config|calc)_'

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
ctest_args=()
if [ -n "$core" ]; then
    mapfile -t targets < <(cd "$dir" && ctest -N -R "$core_tests" |
        awk '/Test +#/ { print $3 }')
    cmake --build "$dir" -j2 --target "${targets[@]}"
    ctest_args=(-R "$core_tests")
else
    cmake --build "$dir" -j2
fi

# Counts of an earlier run would add to this one's.
find "$dir" -name '*.gcda' -delete
# A test run as another user cannot add its counts to files root owns; what
# the counters would say of it on the error output is kept from the tests
# that read that output.
export GCOV_ERROR_FILE="$dir/gcov-errors.txt"
# Unoptimised and counting, the longest test functions outlast QtTest's
# five-minute watchdog on a loaded machine.
export QTEST_FUNCTION_TIMEOUT=1800000
(cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "${ctest_args[@]}")

# Branches that only an exception takes, or that the compiler knows are never
# taken, are not the program's own decisions.
# Only the objects of src/ are read: the compiler check of CMakeFiles/ has
# counters but no source.
gcovr --root "$top" --filter "$top/src/" \
    --exclude-throw-branches --exclude-unreachable-branches -j 2 \
    --json-summary "$dir/coverage.json" "$dir/src" >/dev/null
python3 "$top/scripts/coverage_summary.py" "$dir/coverage.json" "$floor"
