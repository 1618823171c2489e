#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The batch mode compiled to WebAssembly, under Node, gives the desktop's CSV
# and summary byte for byte: every shipped configuration and exercise
# configuration, then random settings drawn with a fixed seed, each for ten
# simulated hours or until its run stops; and before them, the texts of
# 200 000 drawn doubles in every form the program writes, with what is read
# back from them, through base's conversions (the WebAssembly build's C
# library against the desktop's std::to_chars and std::from_chars).
#   tests/web/parity.sh DESKTOP_BUILD WEB_BUILD [COUNT]
# DESKTOP_BUILD holds ionaria and tests/web/web_draw_settings and
# web_numbers_dump, WEB_BUILD ionaria_batch.js and ionaria_numbers_dump.js;
# COUNT random settings (50 unless given).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
desktop=$(cd "$1" && pwd)
web=$(cd "$2" && pwd)
count=${3:-50}
seconds=36000

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$desktop/tests/web/web_numbers_dump" 200000 >"$work/nombres-bureau.txt"
node "$web/ionaria_numbers_dump.js" 200000 >"$work/nombres-web.txt"
if ! cmp -s "$work/nombres-bureau.txt" "$work/nombres-web.txt"; then
    echo "ÉCART dans l'écriture ou la lecture des nombres :" >&2
    diff "$work/nombres-bureau.txt" "$work/nombres-web.txt" | head -5 >&2 || true
    exit 1
fi
echo "parité : 200000 nombres écrits et relus comme sur le bureau"

mkdir "$work/tirages"
"$desktop/tests/web/web_draw_settings" "$work/tirages" "$count"

failures=0
checked=0
for file in "$top"/data/configurations/*.C14 "$top"/data/exercices/*.C14 "$work"/tirages/*.C14; do
    set +e
    "$desktop/ionaria" --batch "$file" --seconds "$seconds" --csv "$work/bureau.csv" \
        >"$work/bureau.txt" 2>"$work/bureau.err"
    desktopStatus=$?
    IONARIA_WEB_BUILD="$web" node "$top/web/batch.mjs" "$file" --seconds "$seconds" \
        --csv "$work/web.csv" >"$work/web.txt" 2>"$work/web.err"
    webStatus=$?
    set -e
    checked=$((checked + 1))
    name=${file#"$top"/}
    name=${name#"$work"/}
    if [ "$desktopStatus" -ne "$webStatus" ]; then
        echo "ÉCART $name : statut $desktopStatus sur le bureau, $webStatus sous Node" >&2
        failures=$((failures + 1))
        continue
    fi
    for part in csv txt err; do
        if [ -e "$work/bureau.$part" ] || [ -e "$work/web.$part" ]; then
            if ! cmp -s "$work/bureau.$part" "$work/web.$part"; then
                echo "ÉCART $name : $part différent" >&2
                diff "$work/bureau.$part" "$work/web.$part" | head -5 >&2 || true
                failures=$((failures + 1))
            fi
        fi
    done
    rm -f "$work"/bureau.* "$work"/web.*
done
if [ "$failures" -ne 0 ]; then
    echo "parité : $failures écart(s) sur $checked configurations" >&2
    exit 1
fi
echo "parité : $checked configurations, sorties identiques au bureau"
