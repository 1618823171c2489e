#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs clang-tidy, with the checks of .clang-tidy, over the C++ files that a
# change touches, from the compilation database of build/ (scripts/test.sh
# makes it). Any finding fails.
#   scripts/tidy.sh            the files changed since the base below
#   scripts/tidy.sh REF        the files changed since the commit REF
#   scripts/tidy.sh --all      every file
# The base, when none is given: where HEAD left origin/main (its merge base),
# so that a branch is checked on everything it changes; on main itself, or
# when there is no origin/main (a fresh clone of a lone branch, a copy of the
# sources), the last commit's own changes, against its first parent; with no
# parent at all, every file. Files changed but not committed count too.
# A header counts through the source file of the same name, or through the
# source files that include it when it has none.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
dir="${IONARIA_BUILD_DIR:-$top/build}"
db="$dir/compile_commands.json"
if [ ! -f "$db" ]; then
    echo "pas de base de compilation $db : lancer d'abord scripts/test.sh" >&2
    exit 1
fi

all=0
base=
case "${1:-}" in
"") ;;
--all) all=1 ;;
-*)
    echo "usage : scripts/tidy.sh [REF | --all]" >&2
    exit 2
    ;;
*) base=$(git rev-parse --verify --quiet "$1^{commit}") || {
    echo "référence inconnue : $1" >&2
    exit 2
} ;;
esac

if [ "$all" -eq 0 ] && [ -z "$base" ]; then
    head=$(git rev-parse HEAD)
    if git rev-parse --verify --quiet origin/main >/dev/null; then
        base=$(git merge-base HEAD origin/main || true)
    fi
    if [ -z "$base" ] || [ "$base" = "$head" ]; then
        base=$(git rev-parse --verify --quiet HEAD^ || true)
    fi
    if [ -z "$base" ]; then
        all=1
    fi
fi

sources=(src tests bench fuzz)
mapfile -t tracked < <(git ls-files -- "${sources[@]}" | grep -E '\.cpp$')
if [ "$all" -eq 1 ]; then
    changed=("${tracked[@]}")
    echo "clang-tidy : tous les fichiers"
else
    mapfile -t changed < <({
        git diff --name-only --diff-filter=d "$base" -- "${sources[@]}"
        git ls-files --others --exclude-standard -- "${sources[@]}"
    } | grep -E '\.(cpp|h)$' | sort -u)
    echo "clang-tidy : fichiers changés depuis $(git rev-parse --short "$base")"
fi

# Headers through their sources, then only what the database compiles (the
# fuzz targets are in build-fuzz/, built by clang alone).
declare -A wanted=()
for f in "${changed[@]}"; do
    case "$f" in
    *.cpp) wanted["$f"]=1 ;;
    *.h)
        if [ -f "${f%.h}.cpp" ]; then
            wanted["${f%.h}.cpp"]=1
        else
            while read -r t; do
                wanted["$t"]=1
            done < <(grep -lE "#include \"([^\"]*/)?$(basename "$f")\"" "${tracked[@]}" || true)
        fi
        ;;
    esac
done
files=()
for f in "${!wanted[@]}"; do
    if grep -qF "\"$top/$f\"" "$db"; then
        files+=("$f")
    fi
done
if [ ${#files[@]} -eq 0 ]; then
    echo "clang-tidy : aucun fichier C++ à vérifier."
    exit 0
fi
mapfile -t files < <(printf '%s\n' "${files[@]}" | sort)
echo "clang-tidy : ${#files[@]} fichiers"
printf '  %s\n' "${files[@]}"
printf '%s\n' "${files[@]}" |
    xargs -P "$(nproc)" -n 4 clang-tidy -p "$dir" --quiet
echo "clang-tidy : aucune anomalie."
