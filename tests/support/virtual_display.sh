# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the tests that run the real program under a virtual X server:
# a scratch folder $work, removed at the end with the program ($program_pid)
# and the server; fail, wait_for, step and start_display.

work=$(mktemp -d)
xvfb_pid=
program_pid=

cleanup() {
    if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
        kill "$program_pid"
    fi
    if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid"
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# Fails the test with what the program said, from $work/program.log.
fail() {
    echo "ECHEC : $*" >&2
    if [ -f "$work/program.log" ]; then
        sed 's/^/  programme : /' "$work/program.log" >&2
    fi
    exit 1
}

# Tenths of a second since the epoch, from the shell's own clock (whose
# decimal mark follows the locale).
now_tenths() {
    local micro=${EPOCHREALTIME/[.,]/}
    echo $((micro / 100000))
}

# Waits up to $2 tenths of a second of wall-clock time for the command $1 to
# succeed; it is tried at least once, however long each try takes.
wait_for() {
    local deadline
    deadline=$(($(now_tenths) + $2))
    while true; do
        if eval "$1"; then
            return 0
        fi
        [ "$(now_tenths)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# Says on standard error which step the test has reached and when, so that a
# run stopped by the test driver's time limit shows where it stood.
step() {
    echo "[$(($(now_tenths) - started_tenths))/10 s] $*" >&2
}
started_tenths=$(now_tenths)

# Starts Xvfb with a screen of $1 (WIDTHxHEIGHT) and points DISPLAY at it.
start_display() {
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    wait_for '[ -s "$work/display" ]' 100 || fail "Xvfb ne démarre pas"
    export DISPLAY=":$(head -n 1 "$work/display")"
}
