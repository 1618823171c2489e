#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Ionaria with its tests and runs every test.
#   scripts/test.sh              the normal build, in build/
#   scripts/test.sh --sanitize   again with AddressSanitizer and
#                                UndefinedBehaviorSanitizer, in build-asan/
# Warnings are errors when CI is set.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh"

dir="$top/build"
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
    dir="$top/build-asan"
    flags=(-DCMAKE_BUILD_TYPE=Debug -DIONARIA_SANITIZE=ON -DIONARIA_BENCH=OFF)
fi
if [ -n "${CI:-}" ]; then
    flags+=(-DIONARIA_WERROR=ON)
fi

cmake -S "$top" -B "$dir" "${flags[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
cd "$dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
