#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Does what a new user does on a new machine: builds a fresh Debian 12 root
# with mmdebstrap, from the APT sources this machine uses, with nothing but
# git; clones the current commit into it; and runs there the README's two
# commands, scripts/test.sh, then scripts/run.sh under xvfb-run until the
# window maps and for a few seconds more. A package that deps.sh forgets, or
# an install step that only this machine happens to have done, fails here.
# The root lives in a temporary folder of /var/tmp (or $IONARIA_FRESH_TMP),
# on disk, and is removed at the end. Needs root, or sudo.
#   scripts/fresh-debian.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
self="$top/scripts/fresh-debian.sh"

# How long the window may take to map: run.sh configures and links again if
# the test build left anything out of date.
window_timeout_s=600
# How long the window must stay up once mapped.
alive_s=5

# Inside a private mount namespace, made by the outer part below: mounts the
# kernel's file systems into the root, then runs the two commands there.
# Nothing mounted here is seen outside, and the namespace goes with this
# process; the trap unmounts anyway, so the root is free whatever happens.
unmount_root() {
    for m in dev/shm dev/pts dev sys proc; do
        if mountpoint -q "$root/$m"; then
            umount -l "$root/$m" || true
        fi
    done
}
inside() {
    root=$1
    trap unmount_root EXIT
    mount -t proc proc "$root/proc"
    mount -t sysfs sysfs "$root/sys" || mount --rbind /sys "$root/sys"
    mount --bind /dev "$root/dev"
    mount --bind /dev/pts "$root/dev/pts"
    mount -t tmpfs -o mode=1777,nosuid,nodev shm "$root/dev/shm"

    # A login's environment, not this one's: the fresh machine knows only
    # C.UTF-8 until deps.sh has generated the French locale. CI is passed on
    # so that warnings are errors there too.
    local env=(env -i HOME=/root TERM=dumb
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
    if [ -n "${CI:-}" ]; then
        env+=("CI=$CI")
    fi

    # The start command is tried even when a test fails: one run of this
    # costs a full build, so it reports on both.
    local tests=0
    echo "== Machine neuve : git clone et scripts/test.sh"
    chroot "$root" "${env[@]}" LANG=C.UTF-8 bash -euo pipefail -c '
        git clone --quiet /tmp/ionaria.bundle /root/ionaria
        cd /root/ionaria
        git checkout --quiet --detach "$1"
        git log -1 --format="%h %s"
        scripts/test.sh
    ' clone "$(cat "$root/tmp/ionaria.commit")" || tests=$?
    echo "Machine neuve : scripts/test.sh a pris $SECONDS s."

    echo "== Machine neuve : scripts/run.sh sous xvfb-run, en français"
    cat >"$root/tmp/window-maps.sh" <<EOF
set -euo pipefail
cd /root/ionaria
scripts/run.sh >/tmp/run.log 2>&1 &
pid=\$!
window=\$(timeout $window_timeout_s xdotool search --sync --onlyvisible --name '^Ionaria' | head -n 1) || true
if [ -z "\$window" ]; then
    kill \$pid 2>/dev/null || true
    cat /tmp/run.log >&2
    echo "la fenêtre d'Ionaria ne s'affiche pas" >&2
    exit 1
fi
xwininfo -id "\$window" | grep -E 'xwininfo|Width|Height|Map State'
sleep $alive_s
if ! kill -0 \$pid 2>/dev/null; then
    cat /tmp/run.log >&2
    echo "Ionaria s'est arrêté moins de $alive_s s après s'être affiché" >&2
    exit 1
fi
kill \$pid
wait \$pid || true
echo "La fenêtre d'Ionaria s'affiche et reste ouverte $alive_s s."
EOF
    chroot "$root" "${env[@]}" LANG=fr_FR.UTF-8 \
        xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash /tmp/window-maps.sh
    if [ "$tests" -ne 0 ]; then
        echo "Machine neuve : scripts/test.sh échoue (code $tests)" >&2
        return 1
    fi
}

if [ "${1:-}" = "--inside" ]; then
    inside "$2"
    exit
fi

if [ "$(id -u)" -ne 0 ]; then
    exec sudo --preserve-env=CI,IONARIA_FRESH_TMP "$self" "$@"
fi

if ! command -v mmdebstrap >/dev/null; then
    echo "Installation de mmdebstrap"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends mmdebstrap
fi

# The sources apt reads here, each file as it is: the fresh root reaches the
# same mirrors, with the same keys, as this machine.
sources=()
if grep -qv '^\s*\(#\|$\)' /etc/apt/sources.list 2>/dev/null; then
    sources+=(/etc/apt/sources.list)
fi
for f in /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    if [ -f "$f" ]; then
        sources+=("$f")
    fi
done
if [ ${#sources[@]} -eq 0 ]; then
    echo "aucune source APT dans /etc/apt" >&2
    exit 1
fi
include=git
if grep -q 'https://' "${sources[@]}"; then
    include+=,ca-certificates
fi

root=$(mktemp -d "${IONARIA_FRESH_TMP:-/var/tmp}/ionaria-debian.XXXXXX")
cleanup() {
    # The namespace took its mounts with it; anything still mounted under the
    # root would be a host folder, so it is unmounted before anything is
    # removed, and rm stays on the root's own file system.
    awk -v r="$root/" 'index($2, r) == 1 { print $2 }' /proc/self/mounts | sort -r |
        while read -r m; do umount -l "$m" || true; done
    rm -rf --one-file-system "$root"
}
trap cleanup EXIT

start=$SECONDS
echo "== Racine Debian 12 neuve dans $root"
mmdebstrap --quiet --variant=apt --include="$include" bookworm "$root" "${sources[@]}"
echo "Racine construite en $((SECONDS - start)) s."

# The commit itself, as git would fetch it, without what is not committed.
git -C "$top" bundle create --quiet "$root/tmp/ionaria.bundle" HEAD
git -C "$top" rev-parse HEAD >"$root/tmp/ionaria.commit"

unshare --mount --propagation private -- "$self" --inside "$root"
echo "Machine neuve : les deux commandes du README réussissent ($((SECONDS - start)) s)."
