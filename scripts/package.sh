#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of Ionaria in build-deb/: the program alone, with
# Debian's optimisation and hardening flags, then CPack's DEB generator.
# Prints the path of build-deb/ionaria_VERSION_ARCH.deb.
#   scripts/package.sh            build the package
#   scripts/package.sh --check    also run lintian and install it with dpkg -x
#                                 into a temporary root to test what it installs
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh" >&2

dir="$top/build-deb"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags=(
    -DCMAKE_BUILD_TYPE=None
    "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
    -DIONARIA_TESTS=OFF -DIONARIA_BENCH=OFF
)
if [ -n "${CI:-}" ]; then
    flags+=(-DIONARIA_WERROR=ON)
fi
cmake -S "$top" -B "$dir" "${flags[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" >&2
rm -f "$dir"/ionaria_*.deb
(cd "$dir" && cpack -G DEB >&2)
deb=$(ls "$dir"/ionaria_*_"$(dpkg --print-architecture)".deb)

if [ "${1:-}" = "--check" ]; then
    echo "lintian $(basename "$deb") :" >&2
    lintian --fail-on error --display-info "$deb" >&2
    bash "$top/tests/packaging/install_test.sh" "$deb" >&2
fi
echo "$deb"
