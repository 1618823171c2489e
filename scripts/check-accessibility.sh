#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader finds in the window: starts the program under a
# virtual X server with its own session bus and accessibility bus, then
# walks the window's tree through AT-SPI as a screen reader does
# (scripts/check_accessibility.py says what is checked).
#   scripts/check-accessibility.sh [PROGRAM]   PROGRAM: build/ionaria by default
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = --dans-la-session ]; then
    binary=$2
    work=$3
    launcher=
    for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
        if [ -x "$candidate" ]; then
            launcher=$candidate
            break
        fi
    done
    if [ -z "$launcher" ]; then
        echo "ECHEC : at-spi-bus-launcher introuvable (paquet at-spi2-core)" >&2
        exit 1
    fi
    "$launcher" --launch-immediately >"$work/bus.log" 2>&1 &
    bus_pid=$!
    mkdir -p "$work/dossier"
    cp -r "$(dirname "$binary")/data" "$work/dossier/data"
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 LANG="${LANG:-C.UTF-8}" \
        "$binary" --dossier "$work/dossier" >"$work/program.log" 2>&1 &
    program_pid=$!
    status=0
    # The Debian interpreter, which has the pyatspi module.
    /usr/bin/python3 "$top/scripts/check_accessibility.py" || status=$?
    kill "$program_pid" 2>/dev/null || true
    kill "$bus_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    if [ "$status" -ne 0 ] && [ -s "$work/program.log" ]; then
        sed 's/^/  programme : /' "$work/program.log" >&2
    fi
    exit "$status"
fi

binary=$(realpath "${1:-$top/build/ionaria}")
if [ ! -x "$binary" ]; then
    echo "programme introuvable : $binary" >&2
    exit 2
fi
work=$(mktemp -d)
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid"
    fi
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "ECHEC : Xvfb ne démarre pas" >&2
    exit 1
fi
export DISPLAY=":$(head -n 1 "$work/display")"
unset QT_QPA_PLATFORM
dbus-run-session -- bash "$top/scripts/check-accessibility.sh" --dans-la-session "$binary" "$work"
