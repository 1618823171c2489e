#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The batch mode compiled to WebAssembly, under Node, gives the desktop's CSV
# and summary byte for byte: every shipped configuration and exercise
# configuration, then random settings drawn with a fixed seed, each for ten
# simulated hours or until its run stops.
#   tests/web/parity.sh DESKTOP_BUILD WEB_BUILD [COUNT]
# DESKTOP_BUILD holds ionaria and tests/web/web_draw_settings, WEB_BUILD
# ionaria_batch.js; COUNT random settings (50 unless given).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
desktop=$(cd "$1" && pwd)
web=$(cd "$2" && pwd)
count=${3:-50}
seconds=36000

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
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
