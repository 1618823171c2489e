#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Ionaria with its tests and runs every test.
#   scripts/test.sh              the normal build, in build/
#   scripts/test.sh --sanitize   again with AddressSanitizer and
#                                UndefinedBehaviorSanitizer, in build-asan/
#   scripts/test.sh --francais   the tests of the normal build as on a
#                                French pupil's computer: LANG=fr_FR.UTF-8
#                                and only the fonts the package depends on
#                                (tests/fonts/fonts.conf)
# Warnings are errors when CI is set.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

usage() {
    echo "usage : scripts/test.sh [--sanitize | --francais]" >&2
    exit 2
}
sanitize=0
francais=0
for arg in "$@"; do
    case "$arg" in
    --sanitize) sanitize=1 ;;
    --francais) francais=1 ;;
    -h | --help)
        echo "usage : scripts/test.sh [--sanitize | --francais]"
        exit 0
        ;;
    *)
        echo "argument inconnu : $arg" >&2
        usage
        ;;
    esac
done

if [ "$sanitize" -eq 1 ] && [ "$francais" -eq 1 ]; then
    usage
fi

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
if [ "$francais" -eq 1 ]; then
    # A layout or a glyph that needs a font of this machine, or numbers that
    # follow the locale, fail here.
    export LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
    export FONTCONFIG_FILE="$top/tests/fonts/fonts.conf"
    echo "Tests en français, avec les seules polices du paquet ($FONTCONFIG_FILE)"
fi
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
