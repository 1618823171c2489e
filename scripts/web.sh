#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The WebAssembly build of Ionaria's Qt-free libraries, in build-web/.
#   scripts/web.sh           builds, then serves build-web/site on
#                            http://localhost:8080
#   scripts/web.sh --build   only builds
#   scripts/web.sh --test    builds, then checks that the batch mode under Node
#                            gives the desktop's outputs (tests/web/parity.sh)
#                            and the page the desktop's picture in chromium
#                            (tests/web/picture.mjs), that the session's
#                            handlers and state report give the desktop's
#                            (tests/web/handlers.mjs), that the site once
#                            opened works with no network (tests/web/offline.mjs),
#                            the calculator shows the desktop's results
#                            (tests/web/calculator.mjs), the exercises
#                            open with their texts and configurations
#                            (tests/web/exercises.mjs), every control of
#                            the site is named and reached by the keyboard
#                            (tests/web/accessibility.mjs), and the picture is
#                            copied, saved and printed (tests/web/commands.mjs),
#                            the panels' controls leave the session as the
#                            desktop's handlers leave the engine
#                            (tests/web/panels.mjs), Courbes exports the Node batch's CSV and reads
#                            the desktop's values and exports its plots as
#                            a PNG (tests/web/courbes.mjs),
#                            and configurations open from and save to the
#                            user's files as the desktop's (tests/web/files.mjs);
#                            last, the page's budgets (bench/web/budgets.mjs:
#                            its time to interactive, a figure, and its memory
#                            after a 100-hour run, under 100 MB)
# Warnings are errors, as on the desktop when CI is set.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

usage() {
    echo "usage : scripts/web.sh [--build | --test]" >&2
    exit 2
}
mode=serve
case "${1:-}" in
"") ;;
--build) mode=build ;;
--test) mode=test ;;
-h | --help)
    echo "usage : scripts/web.sh [--build | --test]"
    exit 0
    ;;
*) usage ;;
esac
[ $# -le 1 ] || usage

"$top/scripts/deps.sh" --web

# Debian's emscripten runs its JavaScript passes with the acorn of Debian's
# node modules, which Node does not look in unless told.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

configure() {
    local dir=$1
    shift
    local log
    log=$(mktemp)
    if ! "$@" >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        echo "échec de la configuration de $dir" >&2
        exit 1
    fi
    rm -f "$log"
}

# uPlot, which the site serves, and puppeteer-core for the checks, at the
# versions of web/package-lock.json.
npm ci --prefix "$top/web" --no-audit --no-fund >/dev/null

web="$top/build-web"
configure "$web" emcmake cmake -S "$top" -B "$web" -DCMAKE_BUILD_TYPE=Release \
    -DIONARIA_WEB=ON -DIONARIA_WERROR=ON
cmake --build "$web" -j"$(nproc)"

case "$mode" in
build) ;;
test)
    desktop="$top/build"
    flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
    if [ -n "${CI:-}" ]; then
        flags+=(-DIONARIA_WERROR=ON)
    fi
    configure "$desktop" cmake -S "$top" -B "$desktop" "${flags[@]}"
    cmake --build "$desktop" -j"$(nproc)" --target ionaria web_draw_settings web_numbers_dump \
        web_keypad_dump web_report_lines web_config_resave web_courbes_reading web_panels_dump
    node "$top/tests/web/handlers.mjs" "$desktop" "$web"
    "$top/tests/web/parity.sh" "$desktop" "$web"
    node "$top/tests/web/picture.mjs" "$desktop" "$web"
    node "$top/tests/web/offline.mjs" "$web"
    node "$top/tests/web/calculator.mjs" "$desktop" "$web"
    node "$top/tests/web/exercises.mjs" "$web"
    node "$top/tests/web/accessibility.mjs" "$web"
    node "$top/tests/web/commands.mjs" "$web"
    node "$top/tests/web/panels.mjs" "$desktop" "$web"
    node "$top/tests/web/courbes.mjs" "$desktop" "$web"
    node "$top/tests/web/files.mjs" "$desktop" "$web"
    node "$top/bench/web/budgets.mjs" "$web"
    ;;
serve)
    echo "Ionaria sur http://localhost:8080 (Ctrl+C pour arrêter)"
    exec python3 -m http.server 8080 --bind 127.0.0.1 --directory "$web/site"
    ;;
esac
