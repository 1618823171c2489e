#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Record 13 of the temporary file tells "OUI" exactly while a window runs on
# the folder: the signals that end a session end the program through its
# quit, a second start leaves the first alone, and the start after a kill -9
# repairs the record.
#   quit_signals.sh PROGRAM
set -euo pipefail
program=$1
folder=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do
        kill -9 "$p" 2>/dev/null || true
    done
    rm -rf "$folder"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen

# Record 13: the 16-bit length, then the text.
record13() {
    dd if="$folder/TEMPZK.TMP" bs=128 skip=12 count=1 2>/dev/null | head -c 5 | tail -c 3
}
fail() {
    echo "ÉCHEC : $*" >&2
    exit 1
}
# The local socket of the folder's window: made anew by each run that serves.
socket="${TMPDIR:-/tmp}/ionaria-$(id -u)-$(printf %s "$(realpath "$folder")" | sha256sum | cut -c1-24)"
start() {
    local before
    before=$(stat -c '%i %y' "$socket" 2>/dev/null || echo aucun)
    "$program" --dossier "$folder" "$@" >/dev/null 2>&1 &
    pids+=($!)
    last=$!
    for _ in $(seq 200); do
        if [ "$(record13 2>/dev/null || true)" = OUI ] &&
            [ "$(stat -c '%i %y' "$socket" 2>/dev/null || echo aucun)" != "$before" ]; then
            sleep 0.5
            return 0
        fi
        sleep 0.1
    done
    fail "la fenêtre ne s'ouvre pas"
}
ends_within() { # pid seconds
    for _ in $(seq $(($2 * 10))); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

for signal in TERM HUP INT; do
    start
    kill -s "$signal" "$last"
    ends_within "$last" 10 || fail "SIG$signal ne termine pas le programme"
    [ "$(record13)" = NON ] || fail "après SIG$signal, l'enregistrement 13 dit $(record13)"
done

# A second start on the same folder ends at once; the first still runs.
start
first=$last
timeout 20 "$program" --dossier "$folder" || fail "le second lancement échoue"
kill -0 "$first" || fail "le premier lancement s'est arrêté"
[ "$(record13)" = OUI ] || fail "avec une fenêtre ouverte, l'enregistrement 13 dit $(record13)"

# Killed outright, the run cannot tell; the next start takes its place.
kill -9 "$first"
ends_within "$first" 5 || fail "kill -9 sans effet"
[ "$(record13)" = OUI ] || fail "après kill -9, l'enregistrement 13 dit $(record13)"
start
kill -0 "$last" || fail "le lancement qui suit un kill -9 s'arrête"
kill -s TERM "$last"
ends_within "$last" 10 || fail "SIGTERM ne termine pas le programme"
[ "$(record13)" = NON ] || fail "à la fin, l'enregistrement 13 dit $(record13)"
echo "enregistrement 13 fidèle"
