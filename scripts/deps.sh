#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running and testing Ionaria
# need and that are not installed yet, then generates the locales the tests
# run under. Runs apt-get and locale-gen as root, or through sudo.
#   scripts/deps.sh          the desktop program's
#   scripts/deps.sh --web    those of the WebAssembly build too (scripts/web.sh)
set -euo pipefail

web=0
case "${1:-}" in
"") ;;
--web) web=1 ;;
*)
    echo "usage : scripts/deps.sh [--web]" >&2
    exit 2
    ;;
esac

packages=(
    cmake g++ make pkg-config              # the build
    qt6-base-dev qt6-base-dev-tools        # Qt 6: widgets, painting, printing, tests
    qt6-charts-dev qt6-svg-dev             # the curves of the measurements, their SVG pictures
    libqt6opengl6-dev                      # the OpenGL module's CMake files, which Qt Charts' require
    qt6-translations-l10n                  # French texts of Qt's own boxes and dialogs
    libgl-dev                              # OpenGL headers that Qt's CMake files look for
    fonts-liberation                       # "Arial" metrics for the experiment picture
    fonts-dejavu-core                      # every glyph of the window, the curves and the printout
    locales                                # fr_FR.UTF-8 and de_DE.UTF-8, which the tests run under
    libbenchmark-dev                       # Google Benchmark, for bench/
    librsvg2-bin                           # rsvg-convert: the icon in each size
    desktop-file-utils appstream libxml2-utils shared-mime-info  # validators of the desktop files
    dpkg-dev file lintian                  # the Debian package: shlibdeps, build flags, checks
    xvfb xauth xdotool x11-utils imagemagick  # the end-to-end test of the real window
    poppler-utils                          # pdftotext for the printing tests
    at-spi2-core dbus-daemon python3-pyatspi  # scripts/check-accessibility.sh: a screen reader's view
    clang libclang-rt-14-dev               # the libFuzzer targets (scripts/fuzz.sh)
    clang-format clang-tidy git            # CI's checks: scripts/check-format.sh, scripts/tidy.sh
    gcovr                                  # scripts/coverage.sh: the share of lines the tests run
)
# Only scripts/web.sh asks for these: the desktop's commands never need them.
webPackages=(
    emscripten node-acorn                  # the WebAssembly build; acorn for its JavaScript passes
    nodejs                                 # the batch mode under Node, the parity check
    chromium                               # the page in a headless browser
    npm                                    # puppeteer-core (web/package-lock.json), which drives it
    pandoc                                 # the exercises' texts made HTML from their sources
)
if [ "$web" -eq 1 ]; then
    packages+=("${webPackages[@]}")
fi

# A package whose command already answers is not asked of apt: Node's own
# Debian packages, outside Debian's archive, bring npm with node and conflict
# with Debian's npm, which apt would then refuse to install.
declare -A providedBy=([nodejs]=node [npm]=npm [chromium]=chromium)

missing=()
for p in "${packages[@]}"; do
    if dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        continue
    fi
    command=${providedBy[$p]:-}
    if [ -n "$command" ] && "$command" --version >/dev/null 2>&1; then
        continue
    fi
    missing+=("$p")
done

if [ "$(id -u)" -eq 0 ]; then
    sudo=()
else
    sudo=(sudo)
fi

if [ ${#missing[@]} -eq 0 ]; then
    echo "Paquets nécessaires : tous installés."
else
    echo "Installation des paquets Debian manquants : ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A French pupil's computer runs fr_FR.UTF-8; de_DE.UTF-8 is a second locale
# with a decimal comma. Both are listed in /etc/locale.gen rather than made
# with localedef alone, because locale-gen rebuilds the whole archive from
# that list whenever the locales package is upgraded or reconfigured.
locales=(fr_FR.UTF-8 de_DE.UTF-8)
available=$(locale -a 2>/dev/null | sed 's/\.utf-\?8$/.UTF-8/I')
absent=()
for l in "${locales[@]}"; do
    if ! grep -qx "$l" <<<"$available"; then
        absent+=("$l")
    fi
done
if [ ${#absent[@]} -eq 0 ]; then
    echo "Locales nécessaires : toutes présentes."
    exit 0
fi
echo "Génération des locales manquantes : ${absent[*]}"
for l in "${absent[@]}"; do
    line="$l UTF-8"
    if grep -qx "# *$line" /etc/locale.gen 2>/dev/null; then
        "${sudo[@]}" sed -i "s/^# *$line\$/$line/" /etc/locale.gen
    elif ! grep -qx "$line" /etc/locale.gen 2>/dev/null; then
        echo "$line" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    fi
done
"${sudo[@]}" locale-gen
