#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the real program under a virtual X server, with a temporary application
# folder, and drives it as a user would: it must start, draw the experiment,
# open the exercise asked for by another program, animate it on
# "Pause / Marche", show it twice as large and sharp in a window of
# 1600 x 1200, come back to 800 x 600 with Ctrl+0 and quit through both
# confirmations.
set -euo pipefail

binary=$1
source "$(dirname "${BASH_SOURCE[0]}")/../support/virtual_display.sh"

# Record n of the temporary file: a 16-bit little-endian length, then the text.
record() {
    local file="$work/dossier/TEMPZK.TMP" offset length
    [ -f "$file" ] || return 0
    offset=$((($1 - 1) * 128))
    read -r low high < <(od -A n -t u1 -j "$offset" -N 2 "$file") || return 0
    [ -n "${low:-}" ] || return 0
    length=$((low + 256 * ${high:-0}))
    dd if="$file" bs=1 skip=$((offset + 2)) count="$length" 2>/dev/null
}

shot() { timeout 10 import -window root "$1"; }
# Crop of a screenshot, in the window's coordinates.
crop() { convert "$1" -crop "$2x$3+$((X + $4))+$((Y + $5))" +repage "$6"; }
differing_pixels() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

start_display 1920x1440
unset QT_QPA_PLATFORM

# The application folder holds the shipped data, and the main program has
# asked, through record 31 of the temporary file, for one of its exercises.
mkdir "$work/dossier"
cp -r "$(dirname "$binary")/data" "$work/dossier/data"
exercise="data/exercices/pile-cuivre-zinc.E37"
printf "\\x$(printf %02x ${#exercise})\\x00%s" "$exercise" |
    dd of="$work/dossier/TEMPZK.TMP" bs=1 seek=$((30 * 128)) conv=notrunc 2>/dev/null
"$binary" --dossier "$work/dossier" >"$work/program.log" 2>&1 &
program_pid=$!

step "programme lancé"
wait_for '[ "$(record 13)" = OUI ]' 150 || fail "l'enregistrement 13 ne dit pas OUI"
# The exercise is open: the caption names its configuration.
window=
wait_for "window=\$(xdotool search --onlyvisible --name '^Ionaria - .*pile-cuivre-zinc' | head -n 1); [ -n \"\$window\" ]" 150 ||
    fail "pas de fenêtre Ionaria avec l'exercice demandé ($(xdotool search --onlyvisible --name '.' getwindowname %@ 2>/dev/null | tr '\n' ';'))"
step "fenêtre de l'exercice trouvée"
[ -z "$(record 31)" ] || fail "l'enregistrement 31 n'est pas effacé"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 800 ] && [ "$HEIGHT" = 600 ] || fail "fenêtre de ${WIDTH}x${HEIGHT}"
# Centred on the 1920 x 1440 screen.
[ "$X" = 560 ] && [ "$Y" = 420 ] || fail "fenêtre en ($X, $Y), pas centrée"

# The picture area (illus, at (8, 24) in the window) holds a drawing.
drawn() {
    shot "$work/start.png"
    crop "$work/start.png" 417 497 8 24 "$work/illus.png"
    [ "$(convert "$work/illus.png" -format %k info:)" -gt 20 ]
}
wait_for drawn 150 || fail "la zone de l'illustration n'est pas dessinée"
step "illustration dessinée"

# The time label Labeltps sits in the measurement strip at (32, 8).
crop "$work/start.png" 112 16 32 8 "$work/time0.png"
# "Pause / Marche" is the right half of the frame under the text column.
timeout 10 xdotool mousemove --sync $((X + 705)) $((Y + 505)) click 1
advanced() {
    shot "$work/running.png"
    crop "$work/running.png" 112 16 32 8 "$work/time1.png"
    [ "$(differing_pixels "$work/time0.png" "$work/time1.png")" -gt 0 ]
}
wait_for advanced 150 || fail "le temps n'avance pas après Pause / Marche"
# And it goes on: the label changes again within 15 s, however loaded the
# machine is.
advanced_again() {
    shot "$work/later.png"
    crop "$work/later.png" 112 16 32 8 "$work/time2.png"
    [ "$(differing_pixels "$work/time1.png" "$work/time2.png")" -gt 0 ]
}
wait_for advanced_again 150 || fail "le temps s'arrête pendant l'animation"
step "animation en marche"

# Paused, the picture is drawn again twice as large in a window of
# 1600 x 1200: sampled back at every second pixel it is the picture of the
# design size, and it is not that picture with its pixels doubled.
timeout 10 xdotool mousemove --sync $((X + 700)) $((Y + 500)) click 1
paused() {
    shot "$work/paused.png"
    crop "$work/paused.png" 112 16 32 8 "$work/time3.png"
    sleep 0.3
    shot "$work/paused2.png"
    crop "$work/paused2.png" 112 16 32 8 "$work/time4.png"
    [ "$(differing_pixels "$work/time3.png" "$work/time4.png")" = 0 ]
}
wait_for paused 150 || fail "Pause / Marche n'arrête pas l'animation"
step "animation arrêtée"
crop "$work/paused.png" 417 497 8 24 "$work/small.png"
convert "$work/small.png" -sample 200% "$work/doubled.png"
# Without a window manager the window grows from its corner: it goes to the
# screen's corner first, so that all of it stays on the screen.
timeout 10 xdotool windowmove --sync "$window" 0 0 2>/dev/null || xdotool windowmove "$window" 0 0
timeout 10 xdotool windowsize --sync "$window" 1600 1200 2>/dev/null ||
    xdotool windowsize "$window" 1600 1200
wait_for 'eval "$(xdotool getwindowgeometry --shell "$window")"; [ "$WIDTH" = 1600 ]' 100 ||
    fail "la fenêtre ne prend pas 1600 x 1200"
large_matches() {
    shot "$work/zoomed.png"
    crop "$work/zoomed.png" 834 994 16 48 "$work/large.png"
    convert "$work/large.png" -sample 50% "$work/sampled.png"
    [ "$(identify -format %wx%h "$work/sampled.png")" = 417x497 ] || return 1
    local differing
    differing=$(compare -metric AE -fuzz 10% "$work/small.png" "$work/sampled.png" null: 2>&1 ||
        true)
    [[ "$differing" =~ ^[0-9]+$ ]] && [ "$differing" -lt $((417 * 497 / 20)) ]
}
wait_for large_matches 200 || fail "l'illustration n'est pas dessinée deux fois plus grande"
step "illustration agrandie"
[ "$(differing_pixels "$work/large.png" "$work/doubled.png")" -gt 5000 ] ||
    fail "l'illustration agrandie n'est que l'image étirée"
# Ctrl+0 brings back the design size, centred again as at the start, where
# the picture is as before. The window is resized before it is moved: the
# position is read again on each try, or a crop could be taken from where
# the window stood between the two.
xdotool key --clearmodifiers ctrl+0
wait_for 'eval "$(xdotool getwindowgeometry --shell "$window")"; [ "$WIDTH" = 800 ]' 100 ||
    fail "Ctrl+0 ne rend pas la taille de 800 x 600"
wait_for 'eval "$(xdotool getwindowgeometry --shell "$window")"; [ "$X" = 560 ] && [ "$Y" = 420 ]' 100 ||
    fail "après Ctrl+0, la fenêtre est en ($X, $Y), pas centrée"
back_to_design() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    shot "$work/back.png"
    crop "$work/back.png" 417 497 8 24 "$work/small2.png"
    [ "$(differing_pixels "$work/small.png" "$work/small2.png")" = 0 ]
}
wait_for back_to_design 300 ||
    fail "l'illustration n'est pas la même après Ctrl+0 ($(differing_pixels "$work/small.png" "$work/small2.png") pixels diffèrent)"
step "taille d'origine retrouvée"

# Writing an answer in the exercise makes the quit ask about the text first.
timeout 10 xdotool mousemove --sync $((X + 600)) $((Y + 440)) click 1
xdotool type --delay 20 "reponse"
timeout 10 xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --clearmodifiers alt+f
step "réponse écrite, fin demandée"

# answer TITLE [KEY]: the question's box, answered by KEY (Return: its default).
answer() {
    local box
    wait_for "box=\$(xdotool search --onlyvisible --name '$1' 2>/dev/null | head -n 1); [ -n \"\$box\" ]" 100 ||
        fail "pas de question « $1 »"
    timeout 10 xdotool windowfocus --sync "$box" 2>/dev/null || true
    xdotool key --clearmodifiers "${2:-Return}"
    step "question « $1 » répondue"
}
# Dropping the answer is never the default: Enter would keep it.
answer '^Abandon des donn' alt+o
answer '^Fermer$'

wait_for '! kill -0 "$program_pid" 2>/dev/null' 100 || fail "le programme ne se termine pas"
wait "$program_pid" || fail "le programme se termine en erreur"
program_pid=
[ "$(record 13)" = NON ] || fail "l'enregistrement 13 ne dit pas NON"
echo "Fenêtre démarrée, dessinée, animée et fermée."
