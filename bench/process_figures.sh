#!/usr/bin/env bash
# Figures of the whole game process on a private Xvfb, driven with xdotool, each run in a fresh
# folder. Peak resident memory (VmHWM) in three runs, against the bare window
# (bench/bare_window) measured in the same run:
#   intro    start, the intro, the menu, exit;
#   typical  the intro, then one two-player game with a move, back to the menu, exit;
#   all      the intro, then a game with a move in each of the six match windows, exit.
# Each with what the resident memory held at its largest: the process's private memory (heap,
# stacks, decoded pictures, the board), pages of the program's and libraries' files (code, fonts),
# and shared memory, where the X server and the program share the windows' pictures (a shown
# window's backing store: 4 bytes a pixel of the window).
# Then the processor time the game takes while idle, over 10 s: in the menu after the intro, and
# with a match window open before its game starts.
# usage: bench/process_figures.sh [--window-manager] [--screen WxH] GAME BARE_WINDOW [RUNS]
#   (medians over RUNS runs, default 3). The match windows open maximised: the size of their
#   pictures follows the screen's (default 1600x1200). --window-manager runs openbox on the
#   display, as on a desktop; without one the program maximises the window itself.
# Needs Xvfb and xdotool, and openbox for --window-manager (scripts/deps.sh installs them).
set -uo pipefail
screen=1600x1200 with_window_manager=
while [[ ${1:-} == --* ]]; do
    case $1 in
        --window-manager) with_window_manager=1 ;;
        --screen) screen=$2 && shift ;;
        *) echo "unknown option $1" >&2 && exit 2 ;;
    esac
    shift
done
game=$(readlink -f "$1") bare=$(readlink -f "$2") runs=${3:-3}
work=$(mktemp -d) xvfb='' window_manager=''
trap '[[ -n $window_manager ]] && kill "$window_manager" 2>/dev/null && wait "$window_manager"
      [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null && wait "$xvfb"
      cat "$work/errors" >&2 2>/dev/null; rm -rf "$work"' EXIT
# The server picks a free display number itself and writes it once it accepts connections; it
# never resets, since a reset (when its last client leaves) drops clients connecting meanwhile.
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
if [[ -n $with_window_manager ]]; then
    openbox >/dev/null 2>&1 &
    window_manager=$!
    # It is there once it names itself on the root window.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
fi

pid=
window=
peak() { awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null; }
# sample: notes what the resident memory holds now, in kB: private, files, shared
sample() {
    awk '/^RssAnon:/ {a = $2} /^RssFile:/ {f = $2} /^RssShmem:/ {s = $2}
         END {if (a != "") print a, f, s}' "/proc/$pid/status" 2>/dev/null >>"$work/samples"
}
# largest: the sample with the most resident memory of this run
largest() { awk '{print $1 + $2 + $3, $0}' "$work/samples" | sort -n | tail -n 1 | cut -d' ' -f2-; }
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
    : >"$work/samples"
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
    sample
    click 896 92 # "Exit"
    gone 'Play!'
}

# Each run prints its peak and the largest sample: "PEAK PRIVATE FILES SHARED", in kB.
run_bare() {
    start "$bare"
    find_window 'Welcome!'
    sleep 3
    sample
    echo "$(peak) $(largest)"
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
    sample
    echo "$(peak) $(largest)"
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

# median: the line of the run with the median peak
median() { sort -n | awk '{v[NR] = $0} END {print v[int((NR + 1) / 2)]}'; }
mb() { awk -v k="$1" 'BEGIN {printf "%.1f MB", k / 1024}'; }
held() { # held PRIVATE FILES SHARED
    echo "at its largest $(mb "$1") private, $(mb "$2") files, $(mb "$3") shared"
}
echo "screen ${screen}, $([[ -n $with_window_manager ]] && echo "openbox" || echo "no window manager")"
read -r bare_kb private files shared < <(for ((i = 0; i < runs; i++)); do run_bare; done | median)
echo "bare window: $(mb "$bare_kb") ($(held "$private" "$files" "$shared"))"
for scenario in intro typical all; do
    read -r kb private files shared < <(for ((i = 0; i < runs; i++)); do run_game "$scenario"; done | median)
    echo "$scenario: $(mb "$kb"), $(awk -v a="$kb" -v b="$bare_kb" 'BEGIN {printf "%.2f", a / b}') times the bare window ($(held "$private" "$files" "$shared"))"
done
idle=$(run_idle)
echo "idle: $(awk '{printf "%s %s %% of a core; ", $1, $2}' <<<"$idle")"
