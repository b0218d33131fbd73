#!/usr/bin/env bash
# Figures of the whole game process on a private Xvfb, driven with xdotool, each run in a fresh
# folder. Peak resident memory (VmHWM) in three runs, against the bare window
# (bench/bare_window):
#   intro    start, the intro, the menu, exit;
#   typical  the intro, then one two-player game with a move, back to the menu, exit;
#   all      the intro, then a game with a move in each of the six match windows, exit.
# Then the processor time the game takes while idle, over 10 s: in the menu after the intro, and
# with a match window open before its game starts.
# usage: bench/process_figures.sh GAME BARE_WINDOW [RUNS]   (medians over RUNS runs, default 3)
# Needs Xvfb and xdotool (scripts/deps.sh installs them).
set -uo pipefail
game=$(readlink -f "$1") bare=$(readlink -f "$2") runs=${3:-3}
work=$(mktemp -d) xvfb=
trap '[[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null && wait "$xvfb"; cat "$work/errors" >&2 2>/dev/null; rm -rf "$work"' EXIT
# The server picks a free display number itself and writes it once it accepts connections; it
# never resets, since a reset (when its last client leaves) drops clients connecting meanwhile.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

pid=
window=
peak() { awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null; }
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; } # user and system time, in clock ticks
# idle_share: the share of one core the game takes over the next 10 s, in percent
idle_share() {
    local before after
    before=$(ticks)
    sleep 10
    after=$(ticks)
    awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" 'BEGIN {printf "%.2f", 100 * t / hz / 10}'
}
find_window() { # find_window TITLE: waits (10 s at most) for the visible window of that title
    local i
    for ((i = 0; i < 100; i++)); do
        window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [[ -n $window ]] && return 0
        sleep 0.1
    done
    echo "no window \"$1\"" >&2
    return 1
}
gone() { # gone TITLE: waits until no window of that title is visible
    local i
    for ((i = 0; i < 100; i++)); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
}
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

start() { # start PROGRAM: a copy in a fresh folder of its own, as a portable copy runs
    local dir
    dir=$(mktemp -d "$work/run.XXXX")
    cp "$1" "$dir/program"
    (cd "$dir" && HOME=$dir XDG_RUNTIME_DIR=$dir exec ./program >/dev/null 2>>"$work/errors") &
    pid=$!
}
finish() { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }

# One game in the match window the menu opens now: "Play!", a move, "Exit".
one_game() {
    find_window 'Welcome!' && click 390 89 # " Go To Play form"
    find_window 'Play!' || return
    click 896 116 # "Play!"
    sleep 1       # the starting discs grow
    click 410 250 # the first side plays (4, 2)
    sleep 0.5
    click 896 92 # "Exit"
    gone 'Play!'
}

run_bare() {
    start "$bare"
    find_window 'Welcome!'
    sleep 3
    peak
    finish
}

run_game() { # run_game SCENARIO
    start "$game"
    find_window 'Welcome!'
    sleep 3 # the intro ends at its 16th tick
    case $1 in
        typical) one_game ;;
        all)
            local theme
            for opponent in person computer; do
                for theme in 1 2 3; do
                    find_window 'Welcome!'
                    click $((221 + 140 * (theme - 1) + 7)) 184 # the theme's radio button
                    one_game
                done
                find_window 'Welcome!' && click 360 44 # "Click to play with pc"
            done
            ;;
    esac
    peak
    finish
}

run_idle() {
    start "$game"
    find_window 'Welcome!'
    sleep 3
    echo "menu $(idle_share)"
    click 390 89 # " Go To Play form"
    find_window 'Play!'
    echo "match $(idle_share)"
    finish
}

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
mb() { awk -v k="$1" 'BEGIN {printf "%.1f MB", k / 1024}'; }
bare_kb=$(for ((i = 0; i < runs; i++)); do run_bare; done | median)
echo "bare window: $(mb "$bare_kb")"
for scenario in intro typical all; do
    kb=$(for ((i = 0; i < runs; i++)); do run_game "$scenario"; done | median)
    echo "$scenario: $(mb "$kb"), $(awk -v a="$kb" -v b="$bare_kb" 'BEGIN {printf "%.2f", a / b}') times the bare window"
done
idle=$(run_idle)
echo "idle: $(awk '{printf "%s %s %% of a core; ", $1, $2}' <<<"$idle")"
