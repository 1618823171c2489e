#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian package into a temporary root with dpkg -x, as a
# technician's install would lay it out, and runs what it installed: the
# batch mode on an installed sample configuration, the calculator, and the
# window, which must find the installed help and exercises with no --dossier
# and keep its temporary file in the user's folder.
#   tests/packaging/install_test.sh ionaria_VERSION_amd64.deb
set -euo pipefail

deb=$(realpath "$1")
source "$(dirname "${BASH_SOURCE[0]}")/../support/virtual_display.sh"
root=$work/racine

# The package's own fields.
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = ionaria ] || fail "paquet $(field Package)"
[ "$(field Section)" = education ] || fail "section $(field Section)"
[ -n "$(field Maintainer)" ] || fail "pas de responsable"
[ -n "$(field Description)" ] || fail "pas de description"
depends=$(field Depends)
for library in libqt6widgets6 libqt6printsupport6 libc6 fonts-liberation fonts-dejavu-core; do
    [[ $depends == *"$library"* ]] || fail "Depends sans $library : $depends"
done
version=$(field Version)
[ "$(basename "$deb")" = "ionaria_${version}_$(dpkg --print-architecture).deb" ] ||
    fail "nom du paquet $(basename "$deb")"

mkdir -p "$root"
dpkg-deb -x "$deb" "$root"
program=$root/usr/bin/ionaria
share=$root/usr/share
for f in "$program" \
    "$share/applications/ionaria.desktop" \
    "$share/mime/packages/ionaria.xml" \
    "$share/metainfo/fr.ionaria.Ionaria.metainfo.xml" \
    "$share/icons/hicolor/scalable/apps/ionaria.svg" \
    "$share/man/man1/ionaria.1.gz" \
    "$share/doc/ionaria/copyright" \
    "$share/ionaria/aide/index.html" \
    "$share/ionaria/exercices/KIVAR.PEM" \
    "$share/ionaria/configurations/pile-cuivre-zinc.C14"; do
    [ -f "$f" ] || fail "absent du paquet : ${f#"$root"}"
done
for size in 16 32 48 64 128 256; do
    icon=$share/icons/hicolor/${size}x${size}/apps/ionaria.png
    [ "$(identify -format %wx%h "$icon" 2>/dev/null)" = "${size}x${size}" ] ||
        fail "icône de $size px absente ou fausse"
done
desktop-file-validate "$share/applications/ionaria.desktop" | grep -v ': hint: ' || true
appstreamcli validate --no-net --strict "$share/metainfo/fr.ionaria.Ionaria.metainfo.xml" \
    >/dev/null || fail "métadonnées AppStream installées refusées"

# Nothing of the machine's own install, nor of the build tree, may help:
# the user's folders are new and the standard data folders hold nothing.
export HOME=$work/maison
export XDG_DATA_HOME=$HOME/.local/share
export XDG_CONFIG_HOME=$HOME/.config
export XDG_DATA_DIRS=$work/rien
export XDG_RUNTIME_DIR=$work/execution
unset IONARIA_DOSSIER QT_QPA_PLATFORM
mkdir -p "$HOME" "$XDG_DATA_DIRS" "$XDG_RUNTIME_DIR"
chmod 0700 "$XDG_RUNTIME_DIR"
cd "$HOME"

[ "$("$program" --version)" = "Ionaria $version" ] || fail "--version : $("$program" --version)"
batch=$("$program" --batch "$share/ionaria/configurations/pile-cuivre-zinc.C14" --seconds 60) ||
    fail "--batch en erreur"
grep -q "^Électrode G : " <<<"$batch" || fail "--batch sans demi-équation : $batch"
[ "$("$program" --calcul "2 * 3")" = " 6" ] || fail "--calcul : $("$program" --calcul "2 * 3")"

# The window, on a virtual X server.
start_display 1024x768

find "$root" -newer "$deb" -print >"$work/before"
temp=$XDG_DATA_HOME/ionaria/TEMPZK.TMP
record13() { dd if="$temp" bs=1 skip=$((12 * 128 + 2)) count=3 2>/dev/null; }

# Opened as from the file manager: an installed exercise and its configuration.
"$program" "$share/ionaria/exercices/pile-cuivre-zinc.E37" >"$work/program.log" 2>&1 &
program_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name \
    "^Ionaria - $share/ionaria/exercices/pile-cuivre-zinc.C14\$" | head -n 1) || true
[ -n "$window" ] || fail "l'exercice donné en argument n'est pas ouvert"
wait_for '[ "$(record13)" = OUI ]' 50 || fail "TEMPZK.TMP n'est pas dans $XDG_DATA_HOME/ionaria"
[ -n "$(xprop -id "$window" _NET_WM_ICON 2>/dev/null | grep -v 'not found')" ] ||
    fail "la fenêtre n'a pas d'icône"

# The help is the installed one.
timeout 10 xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --clearmodifiers alt+a
help=$(timeout 10 xdotool search --sync --onlyvisible --name "^Aide d'Ionaria\$" | head -n 1) ||
    true
[ -n "$help" ] || fail "l'aide installée n'est pas trouvée"
xdotool windowclose "$help" 2>/dev/null || xdotool key --window "$help" Escape

# So is the guided first use of the exercises menu.
timeout 10 xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --clearmodifiers alt+x
sleep 0.5
xdotool key Down Return
wait_for "xdotool search --onlyvisible --name '^Ionaria - .*/prise-en-main.C14\$' >/dev/null" 100 ||
    fail "la « Prise en main » installée n'est pas trouvée"

# Quit through the confirmation: TEMPZK.TMP says so, and nothing was
# written into the install.
timeout 10 xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --clearmodifiers alt+f
box=
wait_for "box=\$(xdotool search --onlyvisible --name '^Fermer\$' | head -n 1); [ -n \"\$box\" ]" 100 ||
    fail "pas de question « Fermer »"
timeout 10 xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key --clearmodifiers Return
wait_for '! kill -0 "$program_pid" 2>/dev/null' 100 || fail "le programme ne se termine pas"
wait "$program_pid" || fail "le programme se termine en erreur"
program_pid=
[ "$(record13)" = NON ] || fail "TEMPZK.TMP ne dit pas NON"
find "$root" -newer "$deb" -print >"$work/after"
diff -u "$work/before" "$work/after" >&2 || fail "le programme a écrit dans l'installation"

echo "Paquet $version installé par dpkg -x : mode sans fenêtre, calcul, aide, exercices et fichier temporaire vérifiés."
