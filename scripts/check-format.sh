#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every C++ file under src/, tests/, bench/ and fuzz/ is
# formatted as .clang-format says; lists the files that are not and fails.
#   scripts/check-format.sh          check
#   scripts/check-format.sh --fix    reformat them in place
set -euo pipefail
cd "$(dirname "$0")/.."
fix=0
case "${1:-}" in
"") ;;
--fix) fix=1 ;;
*)
    echo "usage : scripts/check-format.sh [--fix]" >&2
    exit 2
    ;;
esac
mapfile -t files < <(git ls-files -- 'src/*' 'tests/*' 'bench/*' 'fuzz/*' |
    grep -E '\.(cpp|h)$')
if [ "$fix" -eq 1 ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
if ! clang-format --dry-run -Werror "${files[@]}"; then
    echo "Mise en forme à corriger : scripts/check-format.sh --fix" >&2
    exit 1
fi
echo "Mise en forme : ${#files[@]} fichiers conformes."
