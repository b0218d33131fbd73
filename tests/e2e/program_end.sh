#!/usr/bin/env bash
# How the game ends other than through its menu, each time from a fresh folder holding a copy
# of it, so its files are kept beside it:
# - a termination signal (SIGTERM) at a range of moments during start-up, offscreen and offline:
#   the game ends like through its menu, with status 0 and without its files; a signal that
#   comes before the game could catch it ends the process before it wrote anything; the same
#   with its standard error a pipe nobody reads;
# - the display going away while the match window is open: the game says so in one line, takes
#   its files with it and ends with a failure status.
#
# Usage: program_end.sh PROGRAM
# On failure it keeps its folder and prints the program's output.
set -uo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname -- "${BASH_SOURCE[0]}")/e2e_lib.sh" || exit 1

e2e_begin "$@"

# The files the game writes in its folder while it runs, and the update check's.
run_files=(0.db 5.db 6.db check.bat downloader.exe version.txt)

# --- a termination signal during start-up ----------------------------------------------------

# Start-up offscreen takes a few tenths of a second; the delays fall before, in and after it.
qt_platform=offscreen
for delay in 0 0.03 0.06 0.1 0.15 0.25 0.5; do
    run=$work/signal-after-$delay
    mkdir -- "$run" || fail "cannot make $run"
    program_log=$run.log
    start_program
    sleep "$delay"
    kill -TERM "$app_pid"
    app_may_end=1
    wait_for "the program to end after SIGTERM at $delay s" program_ended
    wait "$app_pid"
    app_status=$?
    # 143: the signal's default action, before the program set up its handler.
    ((app_status == 0 || app_status == 143)) ||
        report "SIGTERM at $delay s: the program ended with status $app_status (output in $program_log)"
    left=$(find "$run" -mindepth 1 ! -name reversi -printf '%f ')
    [[ -z $left ]] || report "SIGTERM at $delay s: left behind: $left"
done

# --- a standard error nobody reads ----------------------------------------------------------

# Its messages are lost (as with `reversi 2>&1 | true`), and the game goes on and ends as ever. A
# folder "6.db" of the user's makes it say, right after writing "5.db", that it leaves it alone.
run=$work/closed-stderr
program_log=$run.log
if ! mkdir -p -- "$run/6.db" || ! cp -- "$program" "$run/reversi"; then fail "cannot fill $run"; fi
# Runs a program with its standard error such a pipe, and SIGPIPE as a shell leaves it.
closed_stderr='import os, signal, sys
signal.signal(signal.SIGPIPE, signal.SIG_DFL)
r, w = os.pipe()
os.close(r)
os.dup2(w, 2)
os.execv(sys.argv[1], sys.argv[1:])'
program_environment
(cd -- "$run" && exec "${program_env[@]}" QT_QPA_PLATFORM=offscreen "${netns[@]}" \
    python3 -c "$closed_stderr" ./reversi) >"$program_log" &
app_pid=$!
app_may_end=
wait_for "the font file 5.db" test -e "$run/5.db"
kill -TERM "$app_pid"
app_may_end=1
wait_for "the program to end after SIGTERM with its standard error closed" program_ended
wait "$app_pid"
app_status=$?
((app_status == 0)) || report "with its standard error closed the program ended with status $app_status"
left=$(find "$run" -mindepth 1 ! -name reversi ! -name 6.db -printf '%f ')
[[ -z $left ]] || report "with its standard error closed it left behind: $left"

# --- the display goes away -----------------------------------------------------------------

qt_platform=xcb
run=$work/run
program_log=$work/program.log
start_program
wait_for_menu
open_match_window # with the hand-off file "0.db" written

kill -KILL "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null
xvfb_pid=
app_may_end=1
wait_for "the program to end without its display" program_ended
wait "$app_pid"
app_status=$?
((app_status != 0)) || report "the program ended with status 0 without its display"

lost_line='reversi: the connection to the display was lost; the game ends'
[[ $(grep -cxF -- "$lost_line" "$program_log") == 1 ]] ||
    report "the program did not say once that the display was lost"
# Nothing else about the display: the platform's own message is replaced by the line above.
other=$(grep -vxF -- "$lost_line" "$program_log" | grep -iE 'x11|xcb|display' | head -n 3)
[[ -z $other ]] || report "the program printed more about the display: $other"
for file in "${run_files[@]}"; do
    [[ -e $run/$file ]] && report "$file is left behind after the display was lost"
done

finish
