#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running and testing Ionaria
# need and that are not installed yet. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
    cmake g++ make pkg-config              # the build
    qt6-base-dev qt6-base-dev-tools        # Qt 6: widgets, painting, printing, tests
    qt6-charts-dev qt6-svg-dev             # the curves of the measurements, their SVG pictures
    libqt6opengl6-dev                      # the OpenGL module's CMake files, which Qt Charts' require
    qt6-translations-l10n                  # French texts of Qt's own boxes and dialogs
    libgl-dev                              # OpenGL headers that Qt's CMake files look for
    fonts-liberation                       # "Arial" metrics for the experiment picture
    libbenchmark-dev                       # Google Benchmark, for bench/
    librsvg2-bin                           # rsvg-convert: the icon in each size
    desktop-file-utils appstream libxml2-utils shared-mime-info  # validators of the desktop files
    dpkg-dev file lintian                  # the Debian package: shlibdeps, build flags, checks
    xvfb xauth xdotool x11-utils imagemagick  # the end-to-end test of the real window
    poppler-utils                          # pdftotext for the printing tests
    at-spi2-core dbus-daemon python3-pyatspi  # scripts/check-accessibility.sh: a screen reader's view
    clang libclang-rt-14-dev               # the libFuzzer targets (scripts/fuzz.sh)
    clang-format clang-tidy git            # CI's checks: scripts/check-format.sh, scripts/tidy.sh
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "Paquets nécessaires : tous installés."
    exit 0
fi

echo "Installation des paquets Debian manquants : ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
else
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
