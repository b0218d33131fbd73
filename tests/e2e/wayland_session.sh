#!/usr/bin/env bash
# The game natively on Wayland: a headless compositor (weston) of the test's own, the game on
# Qt's Wayland platform plug-in. It opens its menu (its start-up writes its fonts), keeps running
# through the intro, and ends on a termination request with status 0 and no file left.
# Skipped where the compositor or the plug-in is missing, or the compositor cannot start here.
#
# Usage: wayland_session.sh PROGRAM
set -uo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname -- "${BASH_SOURCE[0]}")/e2e_lib.sh" || exit 1

e2e_prepare "${1:?usage: $0 PROGRAM}"
find_network_namespace
command -v weston >/dev/null || { echo "SKIP: weston is missing"; exit 77; }
compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland*" >/dev/null ||
    { echo "SKIP: Qt's Wayland platform plug-in (qt6-wayland) is missing"; exit 77; }

export XDG_RUNTIME_DIR=$work/runtime
socket=reversi-test
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
    >"$work/weston.log" 2>&1 &
helper_pids+=($!)
compositor_ready() { [[ -S $XDG_RUNTIME_DIR/$socket ]] || ! kill -0 "${helper_pids[-1]}" 2>/dev/null; }
wait_for "the compositor" compositor_ready
[[ -S $XDG_RUNTIME_DIR/$socket ]] ||
    { echo "SKIP: weston cannot start here: $(tail -n 3 -- "$work/weston.log")"; exit 77; }

qt_platform=wayland
export WAYLAND_DISPLAY=$socket
program_environment() {
    program_env=(env -u DISPLAY
        HOME="$work/home"
        XDG_DATA_HOME="$work/data"
        XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR"
        WAYLAND_DISPLAY="$socket"
        DBUS_SESSION_BUS_ADDRESS="unix:path=$work/runtime/no-bus"
        # Mesa's frames have no frame pointers: the slow unwinder reaches the suppressed library.
        LSAN_OPTIONS="suppressions=$e2e_dir/lsan.supp:print_suppressions=0:fast_unwind_on_malloc=0")
}
start_program
fonts_written() { [[ -s $files/5.db && -s $files/6.db ]]; }
wait_for "the menu's start-up to write its fonts" fonts_written
kill -0 "$app_pid" 2>/dev/null || fail "the program ended on its own: $(cat -- "$program_log")"
kill -TERM "$app_pid"
end_program
left=$(find "$run" -mindepth 1 ! -path "$run/reversi" -print -quit)
[[ -z $left ]] || report "the program left $left in its folder"
grep -q . "$program_log" && report "the program said: $(head -n 5 -- "$program_log")"
finish
