#!/usr/bin/env bash
# Plays the opening of a two-player game with the mouse, on a private X server: waits for the
# menu after its intro, picks theme 2, opens the match window, presses "Play!" and makes one
# move that flips a disc; then leaves through both "Exit" buttons. Checks the screen at known
# pixels, the program's exit status and the files it keeps beside it while it runs.
#
# Usage: two_player_game.sh PROGRAM
# On failure it keeps its folder and names the screenshots (PNG) and the program's output.
set -uo pipefail

if (($# != 1)); then
    echo "usage: $0 PROGRAM" >&2
    exit 2
fi
program=$(realpath -- "$1")
here=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")" && pwd)

for tool in Xvfb xauth xdotool import convert od; do
    if ! command -v "$tool" >/dev/null; then
        echo "FAIL: $tool is missing (scripts/deps.sh installs it)" >&2
        exit 1
    fi
done

screen_w=1280
screen_h=1024
step_limit_ms=20000   # the longest wait for any one thing to happen
total_limit_ms=100000 # the longest the whole run may take, kept below the test's timeout

now_ms() {
    local t=${EPOCHREALTIME//[!0-9]/}
    echo $((t / 1000))
}
start_ms=$(now_ms)

work=$(mktemp -d "${TMPDIR:-/tmp}/reversi-e2e.XXXXXX") || exit 1
run=$work/run     # the program's working directory, holding only what it writes
shots=$work/shots # screenshots, raw RGB; turned into PNG when the test fails
mkdir "$run" "$shots" "$work/runtime"
chmod 700 "$work/runtime"

xvfb_pid=
app_pid=
app_status=
app_may_end=

stop() { # stop PID: ends a process this script started, forcibly when it does not listen
    local pid=$1 i
    kill "$pid" 2>/dev/null || return 0
    for ((i = 0; i < 50; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

cleanup() {
    local status=$? raw png
    trap - EXIT
    [[ -n $app_pid && -z $app_status ]] && stop "$app_pid"
    [[ -n $xvfb_pid ]] && stop "$xvfb_pid"
    if ((status == 0 || status == 77)); then
        rm -rf -- "$work"
    else
        for raw in "$shots"/*.rgb; do
            [[ -e $raw ]] || continue
            png=${raw%.rgb}.png
            convert -size "${screen_w}x${screen_h}" -depth 8 "rgb:$raw" "$png" 2>/dev/null &&
                rm -f -- "$raw" && echo "screenshot: $png" >&2
        done
        if [[ -s $work/program.log ]]; then
            echo "--- program output ($work/program.log):" >&2
            cat -- "$work/program.log" >&2
        fi
        echo "files of the failed run kept in $work" >&2
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

failures=0
report() { # a failed check that lets the run go on, so one run shows every fault at once
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# wait_for WHAT COMMAND...: runs COMMAND every 0.2 s until it succeeds; fails the test when it
# has not succeeded within the step's limit, or when the program has ended in the meantime.
wait_for() {
    local what=$1 deadline
    shift
    mismatch=
    deadline=$(($(now_ms) + step_limit_ms))
    ((deadline > start_ms + total_limit_ms)) && deadline=$((start_ms + total_limit_ms))
    until "$@"; do
        if [[ -n $app_pid && -z $app_may_end ]] && ! kill -0 "$app_pid" 2>/dev/null; then
            fail "the program ended while waiting for $what"
        fi
        if (($(now_ms) >= deadline)); then
            fail "waited too long for $what${mismatch:+ ($mismatch)}"
        fi
        sleep 0.2
    done
}

# --- the network ---------------------------------------------------------------------------

# The program looks for a network at start-up and, when it finds one, goes looking for an
# update. In a network namespace of its own it finds only loopback, so the test stays off the
# network. Without a namespace (neither as root nor through a user namespace) the test is
# skipped rather than run with the network in reach.
netns=()
for candidate in "unshare --net" "unshare --user --map-root-user --net"; do
    read -r -a netns <<<"$candidate"
    "${netns[@]}" true 2>/dev/null && break
    netns=()
done
if ((${#netns[@]} == 0)); then
    echo "SKIP: cannot give the program a network namespace of its own (unshare --net)"
    exit 77
fi

# --- the X server --------------------------------------------------------------------------

# Only clients holding this cookie may connect; the server accepts the cookies of its file.
export XAUTHORITY=$work/Xauthority
(umask 077 && : >"$XAUTHORITY")
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')

# Started with SIGUSR1 ignored, the server sends SIGUSR1 to its parent once it accepts
# connections. It takes the display's lock file first and ends at once when another server
# holds it, so a display number in use is never taken over; the program, in its own network
# namespace, reaches the server through the socket file that lock guards.
xvfb_ready=
trap 'xvfb_ready=1' USR1
xvfb_settled() { [[ -n $xvfb_ready ]] || ! kill -0 "$xvfb_pid" 2>/dev/null; }
start_xvfb() { # start_xvfb N: true when our server runs as display :N
    xauth -q -f "$XAUTHORITY" add ":$1" . "$cookie" || fail "cannot write $XAUTHORITY"
    xvfb_ready=
    (
        trap '' USR1
        exec Xvfb ":$1" -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp -auth "$XAUTHORITY"
    ) >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_for "Xvfb to start on display :$1" xvfb_settled
    [[ -n $xvfb_ready ]] && return 0
    wait "$xvfb_pid"
    xvfb_pid=
    return 1
}
# Numbers from 100 on, clear of the ones desktops and xvfb-run take, from a random start so
# that runs side by side seldom try the same one.
display_number=$((100 + RANDOM % 800))
for ((attempt = 0; ; attempt++)); do
    start_xvfb "$display_number" && break
    ((attempt < 20)) || fail "Xvfb did not start: $(cat -- "$work/xvfb.log")"
    display_number=$((display_number + 1))
done
export DISPLAY=:$display_number
[[ $(xdotool getdisplaygeometry) == "$screen_w $screen_h" ]] ||
    fail "cannot use the display $DISPLAY of Xvfb"

# --- looking at the screen -----------------------------------------------------------------

last_shot=
shoot() { # shoot NAME: the whole screen into NAME.rgb, replacing an earlier one; sets last_shot
    last_shot=$shots/$1.rgb
    import -window root -depth 8 "rgb:$last_shot" 2>>"$work/import.log" &&
        (($(stat -c %s -- "$last_shot") == screen_w * screen_h * 3))
}

# The window whose client area the coordinates below refer to: its X id and screen position.
window=
origin_x=0
origin_y=0
find_window() { # find_window TITLE: sets window to the visible window of that title
    window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [[ -n $window ]]
}
locate_window() { # sets origin_x, origin_y and window_size from the window's place on the screen
    local geometry key value width='' height=''
    geometry=$(xdotool getwindowgeometry --shell "$window") || fail "cannot read where window $window lies"
    while IFS='=' read -r key value; do
        case $key in
            X) origin_x=$value ;;
            Y) origin_y=$value ;;
            WIDTH) width=$value ;;
            HEIGHT) height=$value ;;
        esac
    done <<<"$geometry"
    window_size=${width}x$height
}

pixel() { # pixel SHOT X Y: "R,G,B" of client pixel (X, Y) of the current window in SHOT
    local x=$((origin_x + $2)) y=$((origin_y + $3)) r g b
    ((x >= 0 && x < screen_w && y >= 0 && y < screen_h)) || {
        echo "off-screen"
        return
    }
    read -r r g b < <(od -An -tu1 -j $(((y * screen_w + x) * 3)) -N 3 -- "$1")
    echo "${r-},${g-},${b-}"
}

# shows NAME X Y R,G,B [X Y R,G,B ...]: takes a screenshot and tells whether each listed client
# pixel has its colour; mismatch names the first that has not.
mismatch=
shows() {
    local name=$1 got
    shift
    mismatch=
    shoot "$name" || {
        mismatch="no screenshot"
        return 1
    }
    while (($# >= 3)); do
        got=$(pixel "$last_shot" "$1" "$2")
        if [[ $got != "$3" ]]; then
            mismatch="($1, $2) is ($got), not ($3), in ${last_shot%.rgb}.png"
            return 1
        fi
        shift 3
    done
}

check() { # check WHAT X Y R,G,B: one pixel of the last screenshot
    local got
    got=$(pixel "$last_shot" "$2" "$3")
    [[ $got == "$4" ]] || report "$1: client pixel ($2, $3) is ($got), expected ($4), in ${last_shot%.rgb}.png"
}

click() { # click X Y: the left button at client pixel (X, Y) of the current window
    xdotool mousemove --window "$window" "$1" "$2" click 1 || fail "xdotool cannot click at ($1, $2)"
}

white=255,255,255
black=0,0,0
red=255,0,0
blue=0,0,255
pale=236,233,216 # the field of theme 1's preview picture

# Board geometry: cells of 80 pixels from (50, 50); a disc's centre lies 90 pixels in. Discs
# are sampled halfway to their rim, clear of the centre dot.
centre_x() { echo $((80 * $1 + 90)); }
centre_y() { echo $((80 * $1 + 90)); }
disc() { # disc COLUMN ROW COLOUR: the pixel list for "shows" of a finished disc with its dot
    local x y
    x=$(centre_x "$1")
    y=$(centre_y "$2")
    echo "$((x + 15)) $y $3 $x $y $blue"
}

# --- the program ---------------------------------------------------------------------------

cd -- "$run" || fail "cannot enter $run"
env -u WAYLAND_DISPLAY \
    QT_QPA_PLATFORM=xcb \
    XDG_RUNTIME_DIR="$work/runtime" \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$work/runtime/no-bus" \
    LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0" \
    "${netns[@]}" "$program" >"$work/program.log" 2>&1 &
app_pid=$!

wait_for 'the window "Welcome!"' find_window 'Welcome!'
locate_window
[[ $window_size == 765x613 ]] || report "the menu is $window_size, expected 765x613"

# After the intro the menu shows the theme previews: theme 1's pale field, theme 2's blue one.
wait_for "the menu after the intro" shows 1-menu 194 224 "$pale" 334 224 "$blue"

for font in 5.db 6.db; do
    [[ -s $font ]] || report "$font is missing or empty while the menu runs"
done

click 368 184 # rb2: theme 2
click 390 89  # btn2: " Go To Play form"

wait_for 'the window "Play!"' find_window 'Play!'
locate_window
# The board ends at 690 and the buttons at 937; where a window manager maximises the window it
# may be larger than its own size.
[[ ${window_size%x*} -ge 976 && ${window_size#*x} -ge 700 ]] ||
    report "the match window is $window_size, smaller than 976x700"
[[ $(od -An -c -- 0.db 2>/dev/null | tr -d ' \n') == '300\r\n' ]] ||
    report "0.db should hold the default countdown 300 and a CR LF line end, holds: $(od -An -c -- 0.db 2>&1)"

wait_for "the theme-2 window's blue background" shows 2-match-open 20 20 "$blue" 750 400 "$blue"

click 896 116 # btn2: "Play!"

# The starting position: the first side (white) on the diagonal from (3, 3), the second side
# (black) on the other; each disc with its centre dot in the background colour. The start is
# complete once the labels beside the board show up in the sides' colours (their top-left
# corners lie clear of the text): the program paints them only after it has set up the game.
# shellcheck disable=SC2046 # the pixel lists are meant to split
wait_for "the four starting discs and the labels of a started game" shows 3-started \
    $(disc 3 3 "$white") $(disc 4 4 "$white") $(disc 4 3 "$black") $(disc 3 4 "$black") \
    829 170 "$white" 901 170 "$black" 829 226 "$white" 901 226 "$black"
[[ -e 0.db ]] && report "0.db is still there after the match window started its game"

click "$(centre_x 4)" "$(centre_y 2)" # white plays (4, 2), capturing (4, 3)

# Done once the flipped disc has grown to full width and got its dot back.
# shellcheck disable=SC2046
wait_for "the move at (4, 2) and the flip at (4, 3)" shows 4-moved \
    $(disc 4 2 "$white") $(disc 4 3 "$white") $(($(centre_x 4) + 25)) "$(centre_y 3)" "$white"

check "the grid's left line" 50 300 "$red"
check "the grid's top line" 300 50 "$red"
check "the grid's right line" 690 300 "$red"
check "the grid's bottom line" 300 690 "$red"
check "the background left of the board" 20 300 "$blue"
check "the background right of the board" 750 400 "$blue"
check "the placed disc at (4, 2)" $(($(centre_x 4) + 15)) "$(centre_y 2)" "$white"
check "the centre dot of the placed disc" "$(centre_x 4)" "$(centre_y 2)" "$blue"
check "the flipped disc at (4, 3)" $(($(centre_x 4) - 15)) "$(centre_y 3)" "$white"
check "the centre dot of the flipped disc" "$(centre_x 4)" "$(centre_y 3)" "$blue"
check "the first side's disc at (3, 3)" $(($(centre_x 3) + 15)) "$(centre_y 3)" "$white"
check "the first side's disc at (4, 4)" $(($(centre_x 4) + 15)) "$(centre_y 4)" "$white"
check "the second side's disc at (3, 4)" $(($(centre_x 3) + 15)) "$(centre_y 4)" "$black"
check "the centre dot of the disc at (3, 4)" "$(centre_x 3)" "$(centre_y 4)" "$blue"
check "the empty cell (3, 2)" "$(centre_x 3)" "$(centre_y 2)" "$blue"
check "the empty cell (5, 2)" "$(centre_x 5)" "$(centre_y 2)" "$blue"

click 896 92 # btn1: "Exit"
play_window_hidden() { ! xdotool search --onlyvisible --name '^Play!$' >/dev/null 2>&1; }
wait_for 'the window "Play!" to close' play_window_hidden

find_window 'Welcome!' || fail 'the window "Welcome!" is gone after the match window closed'
locate_window
click 276 89 # btn1: "Exit"

program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
app_may_end=1
wait_for "the program to end" program_ended
wait "$app_pid"
app_status=$?
((app_status == 0)) || report "the program ended with status $app_status"

for file in 0.db 5.db 6.db; do
    [[ -e $file ]] && report "$file is left behind in the working directory"
done

if ((failures > 0)); then
    shoot 5-end
    exit 1
fi
elapsed=$(($(now_ms) - start_ms))
printf 'passed in %d.%01d s\n' $((elapsed / 1000)) $((elapsed % 1000 / 100))
