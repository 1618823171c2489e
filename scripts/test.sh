#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Ionaria with its tests and runs every test.
#   scripts/test.sh              the normal build, in build/
#   scripts/test.sh --sanitize   again with AddressSanitizer and
#                                UndefinedBehaviorSanitizer, in build-asan/
# Warnings are errors when CI is set.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

usage() {
    echo "usage : scripts/test.sh [--sanitize]" >&2
    exit 2
}
sanitize=0
for arg in "$@"; do
    case "$arg" in
    --sanitize) sanitize=1 ;;
    -h | --help)
        echo "usage : scripts/test.sh [--sanitize]"
        exit 0
        ;;
    *)
        echo "argument inconnu : $arg" >&2
        usage
        ;;
    esac
done

"$top/scripts/deps.sh"

dir="$top/build"
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "$sanitize" -eq 1 ]; then
    dir="$top/build-asan"
    flags=(-DCMAKE_BUILD_TYPE=Debug -DIONARIA_SANITIZE=ON -DIONARIA_BENCH=OFF)
fi
if [ -n "${CI:-}" ]; then
    flags+=(-DIONARIA_WERROR=ON)
fi

# The configure step is quiet when it succeeds; when it fails, what it said
# is the only clue, so it is shown in full.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cmake -S "$top" -B "$dir" "${flags[@]}" >"$log" 2>&1; then
    cat "$log" >&2
    echo "échec de la configuration de $dir" >&2
    exit 1
fi
cmake --build "$dir" -j"$(nproc)"
cd "$dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
