#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program as the unprivileged user "nobody" when started by root
# and when that user can reach the program; as it is otherwise.
set -euo pipefail
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null &&
    setpriv --reuid=nobody --regid=nogroup --clear-groups test -x "$1"; then
    home=$(mktemp -d)
    chmod 0777 "$home"
    trap 'rm -rf "$home"' EXIT
    HOME=$home TMPDIR=$home XDG_RUNTIME_DIR=$home \
        setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"
else
    exec "$@"
fi
