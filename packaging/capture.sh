#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the screenshot that the AppStream metadata shows: the real window
# under a virtual X server, on a shipped configuration, a few seconds into
# the animation.
#   packaging/capture.sh [BUILD_FOLDER]   (build/ by default)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
configuration=${CONFIGURATION:-$top/data/configurations/electrolyse-chlorure-de-sodium.C14}
out=$top/packaging/captures/fenetre-principale.png
work=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
    if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"
unset QT_QPA_PLATFORM
XDG_DATA_HOME=$work/share "$build/ionaria" --dossier "$work" "$configuration" &
program_pid=$!
window=$(xdotool search --sync --onlyvisible --name '^Ionaria - ' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
sleep 1
# "Pause / Marche", under the text column.
xdotool mousemove --sync $((X + 705)) $((Y + 505)) click 1
xdotool mousemove --sync $((X + 600)) $((Y + 270))
sleep "${SECONDS_RUNNING:-4}"
import -window "$window" "$work/capture.png"
# No time stamps or names, so that the same picture gives the same bytes.
convert "$work/capture.png" -strip -define png:exclude-chunks=date,time "$out"
echo "$out"
