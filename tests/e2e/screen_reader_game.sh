#!/usr/bin/env bash
# A whole two-player game played through the accessibility bus alone, as a blind player's screen
# reader meets the game: on a private X server, with a D-Bus session bus and the AT-SPI bus of
# its own, the program started as a screen reader finds it running. The AT-SPI client
# screen_reader_game.py, on pyatspi (the library the Orca screen reader uses), finds the windows,
# plays every move through the board's cells and reads them back after each; this script checks
# that the program then ends well.
#
# Usage: screen_reader_game.sh PROGRAM [SEED]
# Skipped (status 77), saying why, where the session bus, the accessibility bus or the client
# cannot start. On failure it keeps its folder and prints the program's and the client's output.
set -uo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname -- "${BASH_SOURCE[0]}")/e2e_lib.sh" || exit 1

skip() {
    echo "SKIP: $*"
    exit 77
}

# Debian's Python, which has pyatspi: the one on the PATH may be another.
python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher
if ! "$python" -c 'import pyatspi' 2>/dev/null; then
    skip "the AT-SPI client cannot start: $python has no pyatspi (python3-pyatspi," \
        "which scripts/deps.sh installs)"
fi
for tool in dbus-daemon dbus-send; do
    command -v "$tool" >/dev/null ||
        skip "no session bus: $tool is missing (scripts/deps.sh installs it)"
done
[[ -x $launcher ]] ||
    skip "no accessibility bus: $launcher is missing (at-spi2-core, which scripts/deps.sh installs)"

# started PID COMMAND...: whether COMMAND succeeds within 10 s, tried while process PID runs.
started() {
    local pid=$1 i
    shift
    for ((i = 0; i < 100; i++)); do
        "$@" && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    "$@"
}

seed=${2-}
e2e_begin "$1"
total_limit_ms=240000

# The session bus, on a socket in the run's folder that the program reaches from its network
# namespace; ready once it has printed its address.
XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" dbus-daemon --session --nofork --nopidfile \
    --address="unix:path=$work/runtime/bus" --print-address=1 >"$work/bus-address" \
    2>"$work/dbus.log" &
helper_pids+=($!)
bus_printed() { [[ -s $work/bus-address ]]; }
started $! bus_printed || skip "the session bus did not start: $(cat -- "$work/dbus.log")"
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/runtime/bus
session_bus=$DBUS_SESSION_BUS_ADDRESS

# The accessibility bus, launched as a desktop launches it when a screen reader runs: Qt's
# bridge starts only in a session whose screen reader is on.
env XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" \
    "$launcher" --launch-immediately --screen-reader=1 >"$work/at-spi.log" 2>&1 &
helper_pids+=($!)
a11y_bus_ready() { # asked without starting it: the session bus would start one of its own
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'
}
started "${helper_pids[-1]}" a11y_bus_ready ||
    skip "the accessibility bus did not start: $(cat -- "$work/at-spi.log")"

start_program
"$python" "$e2e_dir/screen_reader_game.py" "$seed" >"$work/client.log" 2>&1
client_status=$?
cat -- "$work/client.log"
case $client_status in
    0) end_program ;;
    77) skip "$(grep '^SKIP: ' "$work/client.log" | cut -c7-)" ;;
    *) report "the AT-SPI client failed (status $client_status)" ;;
esac
finish
