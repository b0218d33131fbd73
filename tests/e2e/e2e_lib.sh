# shellcheck shell=bash
# Shared steps of the end-to-end scenarios, sourced by each scenario script. A scenario calls
# e2e_begin "$@" first: it checks the arguments and the tools, makes a fresh folder, finds a way
# to keep the program off the network and starts a private X server (Xvfb). The scenario then
# starts the program with start_program, drives it with click and press, waits with wait_for
# and checks the screen at known pixels; end_program checks how the program ended. A scenario
# that needs no display calls e2e_prepare "$PROGRAM" instead of e2e_begin: the folder and the
# clean-up only.
#
# Every wait is bounded: one step may take step_limit_ms, the whole run total_limit_ms, kept
# below the test's timeout. On failure the folder stays, with the screenshots turned into PNG
# and the program's output printed.
#
# The tools come from scripts/deps.sh.

e2e_dir=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")" && pwd)

screen_w=1280
screen_h=1024
step_limit_ms=20000   # the longest wait for any one thing to happen
total_limit_ms=100000 # the longest the whole run may take, kept below the test's timeout

now_ms() {
    local t=${EPOCHREALTIME//[!0-9]/}
    echo $((t / 1000))
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

failures=0
report() { # a failed check that lets the run go on, so one run shows every fault at once
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

program=
work=
program_log= # the program's output, shown when the test fails
run=   # the folder the program is started in
files= # the folder the program keeps its files in
shots= # screenshots, raw RGB; turned into PNG when the test fails
xvfb_pid=
helper_pids=() # other processes the scenario started, stopped at the end
app_pid=
app_status=
app_may_end=
netns=()

# e2e_begin PROGRAM: everything before the program starts; exits 77 (skipped) where the program
# cannot be kept off the network.
e2e_begin() {
    if (($# != 1)); then
        echo "usage: $0 PROGRAM" >&2
        exit 2
    fi
    local tool
    for tool in Xvfb xauth xdotool xwininfo import convert od; do
        if ! command -v "$tool" >/dev/null; then
            echo "FAIL: $tool is missing (scripts/deps.sh installs it)" >&2
            exit 1
        fi
    done
    e2e_prepare "$1"
    find_network_namespace
    start_display
}

# e2e_prepare PROGRAM: the run's fresh folder and the traps that clean up after it; for a
# scenario that needs no display.
e2e_prepare() {
    program=$(realpath -- "$1") || exit 2
    start_ms=$(now_ms)
    work=$(mktemp -d "${TMPDIR:-/tmp}/reversi-e2e.XXXXXX") || exit 1
    run=$work/run
    shots=$work/shots
    program_log=$work/program.log
    mkdir "$run" "$shots" "$work/runtime" "$work/home"
    chmod 700 "$work/runtime"
    trap cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
}

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
    local status=$? raw png pid
    trap - EXIT
    # A child of this script that has not yet become the program it starts may get the signal
    # meant for the program: it ends without touching what belongs to the script.
    [[ $BASHPID == "$$" ]] || exit "$status"
    [[ -n $app_pid && -z $app_status ]] && stop "$app_pid"
    for pid in "${helper_pids[@]}"; do
        stop "$pid"
    done
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
        if [[ -s $program_log ]]; then
            echo "--- program output ($program_log):" >&2
            cat -- "$program_log" >&2
        fi
        echo "files of the failed run kept in $work" >&2
    fi
    exit "$status"
}

# wait_for WHAT COMMAND...: runs COMMAND every 0.2 s until it succeeds; fails the test when it
# has not succeeded within the step's limit, or when the program has ended in the meantime.
# COMMAND may set mismatch to say what it saw last.
mismatch=
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
find_network_namespace() {
    local candidate
    for candidate in "unshare --net" "unshare --user --map-root-user --net"; do
        read -r -a netns <<<"$candidate"
        "${netns[@]}" true 2>/dev/null && return 0
    done
    netns=()
    echo "SKIP: cannot give the program a network namespace of its own (unshare --net)"
    exit 77
}

# --- the X server --------------------------------------------------------------------------

# Started with SIGUSR1 ignored, the server sends SIGUSR1 to its parent once it accepts
# connections. It takes the display's lock file first and ends at once when another server
# holds it, so a display number in use is never taken over. The program, in its own network
# namespace, reaches the server through the socket file that lock guards, and so do the tools:
# the server offers no abstract socket, which another server could hold under the same number.
# It never resets: by default it resets whenever its last client leaves, and drops a client
# that connects meanwhile, as the program may while the test's tools come and go.
xvfb_ready=
xvfb_settled() { [[ -n $xvfb_ready ]] || ! kill -0 "$xvfb_pid" 2>/dev/null; }
start_xvfb() { # start_xvfb N COOKIE: true when our server runs as display :N
    xauth -q -f "$XAUTHORITY" add ":$1" . "$2" || fail "cannot write $XAUTHORITY"
    xvfb_ready=
    (
        trap '' USR1
        exec Xvfb ":$1" -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp -nolisten local \
            -noreset -auth "$XAUTHORITY"
    ) >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_for "Xvfb to start on display :$1" xvfb_settled
    [[ -n $xvfb_ready ]] && return 0
    wait "$xvfb_pid"
    xvfb_pid=
    return 1
}

start_display() {
    local cookie display_number attempt
    # Only clients holding this cookie may connect; the server accepts the cookies of its file.
    export XAUTHORITY=$work/Xauthority
    (umask 077 && : >"$XAUTHORITY")
    cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
    trap 'xvfb_ready=1' USR1
    # Numbers from 100 on, clear of the ones desktops and xvfb-run take, from a random start so
    # that runs side by side seldom try the same one.
    display_number=$((100 + RANDOM % 800))
    for ((attempt = 0; ; attempt++)); do
        start_xvfb "$display_number" "$cookie" && break
        ((attempt < 20)) || fail "Xvfb did not start: $(cat -- "$work/xvfb.log")"
        display_number=$((display_number + 1))
    done
    export DISPLAY=:$display_number
    [[ $(xdotool getdisplaygeometry) == "$screen_w $screen_h" ]] ||
        fail "cannot use the display $DISPLAY of Xvfb"
}

# --- the program ---------------------------------------------------------------------------

# The environment the program runs in: no session bus (unless the scenario sets session_bus to
# the address of one of its own), a home folder of its own, leak reports only for what is the
# program's own.
session_bus=
program_environment() {
    program_env=(env -u WAYLAND_DISPLAY
        HOME="$work/home"
        XDG_DATA_HOME="$work/data"
        XDG_RUNTIME_DIR="$work/runtime"
        DBUS_SESSION_BUS_ADDRESS="${session_bus:-unix:path=$work/runtime/no-bus}"
        LSAN_OPTIONS="suppressions=$e2e_dir/lsan.supp:print_suppressions=0")
}

# start_program [installed]: starts the program in an empty folder, on the private display (or
# on the platform named by qt_platform), with the environment above. By default a copy of the
# program runs from that folder and keeps its files there; "installed" runs it from where it was
# built, as an installed copy, which keeps its files in a folder of its own under the user's
# data directory instead.
qt_platform=xcb
start_program() {
    local copy=$program
    cd -- "$run" || fail "cannot enter $run"
    if [[ ${1-} == installed ]]; then
        files=$work/data/Reversi
    else
        copy=$run/reversi
        cp -- "$program" "$copy" || fail "cannot copy the program into $run"
        files=$run
    fi
    program_environment
    app_status=
    app_may_end=
    "${program_env[@]}" QT_QPA_PLATFORM="$qt_platform" \
        "${netns[@]}" "$copy" >"$program_log" 2>&1 &
    app_pid=$!
}

program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }

# Waits for the program to end on its own and checks that it ended with status 0.
end_program() {
    app_may_end=1
    wait_for "the program to end" program_ended
    wait "$app_pid"
    app_status=$?
    ((app_status == 0)) || report "the program ended with status $app_status"
}

# Ends the scenario: status 1 with a last screenshot when a check failed, else the time taken.
finish() {
    local elapsed
    if ((failures > 0)); then
        [[ -n $xvfb_pid ]] && shoot end
        exit 1
    fi
    elapsed=$(($(now_ms) - start_ms))
    printf 'passed in %d.%01d s\n' $((elapsed / 1000)) $((elapsed % 1000 / 100))
    exit 0
}

# --- windows and input ---------------------------------------------------------------------

# The window whose client area the coordinates below refer to: its X id and screen position.
window=
origin_x=0
origin_y=0
window_size=
find_window() { # find_window TITLE: sets window to the visible window of that title
    window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [[ -n $window ]]
}
no_window() { # no_window TITLE: true when no window of that title is visible
    ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1
}
window_width=0
window_height=0
read_window_place() { # sets origin_x, origin_y, window_width and window_height; false when it is gone
    # xwininfo gives the client area's place on the screen itself, also inside a window
    # manager's frame (where xdotool counts the frame's offset twice).
    local info line
    info=$(xwininfo -id "$window" 2>/dev/null) || return 1
    while read -r line; do
        case $line in
            "Absolute upper-left X:"*) origin_x=${line##* } ;;
            "Absolute upper-left Y:"*) origin_y=${line##* } ;;
            "Width:"*) window_width=${line##* } ;;
            "Height:"*) window_height=${line##* } ;;
        esac
    done <<<"$info"
}
locate_window() { # sets origin_x, origin_y and window_size from the window's place on the screen
    read_window_place || fail "cannot read where window $window lies"
    window_size=${window_width}x$window_height
}
# open_window TITLE: waits for the window, then makes it the current one
open_window() {
    wait_for "the window \"$1\"" find_window "$1"
    locate_window
}

click() { # click X Y: the left button at client pixel (X, Y) of the current window
    xdotool mousemove --window "$window" "$1" "$2" click 1 || fail "xdotool cannot click at ($1, $2)"
}

press() { # press KEY...: keys, by their X names, to the window that has the keyboard focus
    xdotool key --delay 50 "$@" || fail "xdotool cannot press $*"
}

# --- looking at the screen -----------------------------------------------------------------

last_shot=
shoot() { # shoot NAME: the whole screen into NAME.rgb, replacing an earlier one; sets last_shot
    last_shot=$shots/$1.rgb
    import -window root -depth 8 "rgb:$last_shot" 2>>"$work/import.log" &&
        (($(stat -c %s -- "$last_shot") == screen_w * screen_h * 3))
}

# pixel_row SHOT X Y STEP COUNT: "R,G,B" of COUNT client pixels of the current window in SHOT,
# one a line, from (X, Y) rightwards STEP pixels apart; "off-screen" when any lies outside.
pixel_row() {
    local x=$((origin_x + $2)) y=$((origin_y + $3)) step=$4 count=$5
    local last=$((x + (count - 1) * step)) r g b rest
    if ((x < 0 || last >= screen_w || y < 0 || y >= screen_h)); then
        echo "off-screen"
        return
    fi
    # One line of od's output per STEP pixels, so each line starts with a wanted pixel.
    od -An -v -tu1 -w$((step * 3)) -j $(((y * screen_w + x) * 3)) -N $(((last - x + 1) * 3)) \
        -- "$1" |
        while read -r r g b rest; do
            echo "$r,$g,$b"
        done
}

pixel() { # pixel SHOT X Y: "R,G,B" of client pixel (X, Y) of the current window in SHOT
    pixel_row "$1" "$2" "$3" 1 1
}

# matches X Y R,G,B [X Y R,G,B ...]: whether each listed client pixel of the last screenshot has
# its colour; mismatch names the first that has not.
matches() {
    local got
    mismatch=
    while (($# >= 3)); do
        got=$(pixel "$last_shot" "$1" "$2")
        if [[ $got != "$3" ]]; then
            mismatch="($1, $2) is ($got), not ($3), in ${last_shot%.rgb}.png"
            return 1
        fi
        shift 3
    done
}

# shows NAME X Y R,G,B [X Y R,G,B ...]: takes a screenshot and tells whether each listed client
# pixel has its colour.
shows() {
    local name=$1
    shift
    mismatch=
    shoot "$name" || {
        mismatch="no screenshot"
        return 1
    }
    matches "$@"
}

check() { # check WHAT X Y R,G,B: one pixel of the last screenshot
    local got
    got=$(pixel "$last_shot" "$2" "$3")
    [[ $got == "$4" ]] || report "$1: client pixel ($2, $3) is ($got), expected ($4), in ${last_shot%.rgb}.png"
}

# --- this game's screens -------------------------------------------------------------------

white=255,255,255
black=0,0,0
red=255,0,0
yellow=255,255,0
blue=0,0,255
pale=236,233,216 # the field of theme 1's preview picture

# The match window's colour, which also fills the discs' centre dots; the scenario sets it.
background=

# Board geometry: cells of 80 pixels from (50, 50); a disc's centre lies 90 pixels in. Discs
# are sampled halfway to their rim, clear of the centre dot.
centre_x() { echo $((80 * $1 + 90)); }
centre_y() { echo $((80 * $1 + 90)); }
disc() { # disc COLUMN ROW COLOUR: the pixel list for "shows" of a finished disc with its dot
    local x y
    x=$(centre_x "$1")
    y=$(centre_y "$2")
    echo "$((x + 15)) $y $3 $x $y $background"
}
play() { # play COLUMN ROW: a click in the middle of the cell
    click "$(centre_x "$1")" "$(centre_y "$2")"
}

# board_row SHOT ROW: the disc colours of the row's eight cells, left to right, one a line
board_row() {
    pixel_row "$1" $(($(centre_x 0) + 15)) "$(centre_y "$2")" 80 8
}

# board_picture SHOT: the board as eight lines of eight letters, row 0 first, one letter a cell
# for the colour of its disc: r red, y yellow, w white, k black, . the window's background,
# ? anything else (a disc still growing may show either of its colours).
board_picture() {
    local row colour line
    for ((row = 0; row < 8; row++)); do
        line=
        while read -r colour; do
            case $colour in
                "$background") line+=. ;;
                "$red") line+=r ;;
                "$yellow") line+=y ;;
                "$white") line+=w ;;
                "$black") line+=k ;;
                *) line+='?' ;;
            esac
        done < <(board_row "$1" "$row")
        echo "$line"
    done
}

# check_board WHAT PICTURE: the board of the last screenshot, as board_picture gives it
check_board() {
    local got nl=$'\n'
    got=$(board_picture "$last_shot")
    [[ $got == "$2" ]] ||
        report "$1: the board reads$nl$got${nl}expected$nl$2${nl}in ${last_shot%.rgb}.png"
}

# Waits for the main menu to be ready after its intro, with its fonts written beside it.
wait_for_menu() {
    local font
    open_window 'Welcome!'
    # 765 by 613 with its frame; without a window manager there is no frame, only this.
    [[ $window_size == 749x574 ]] || report "the menu is $window_size, expected 749x574"
    # After the intro the menu shows the theme previews: theme 1's pale field, theme 2's blue one.
    wait_for "the menu after the intro" shows menu 194 224 "$pale" 334 224 "$blue"
    for font in 5.db 6.db; do
        [[ -s $files/$font ]] || report "$font is missing or empty in $files while the menu runs"
    done
    if [[ $files != "$run" && $(stat -c %a -- "$files") != 700 ]]; then
        report "the program's own folder $files is not private: mode $(stat -c %a -- "$files")"
    fi
}

# Presses the menu's " Go To Play form" and waits for the match window it opens, which the
# menu has handed the countdown through "0.db".
open_match_window() {
    click 390 89 # goToPlayButton: " Go To Play form"
    open_window 'Play!'
    # The board ends at 690 and the buttons at 937; where a window manager maximises the window
    # it may be larger than its own size.
    [[ ${window_size%x*} -ge 976 && ${window_size#*x} -ge 700 ]] ||
        report "the match window is $window_size, smaller than 976x700"
    [[ $(od -An -c -- "$files/0.db" 2>/dev/null | tr -d ' \n') == '300\r\n' ]] ||
        report "0.db should hold the default countdown 300 and a CR LF line end, holds: $(od -An -c -- "$files/0.db" 2>&1)"
}

check_handoff_taken() { # after the match window's first start
    [[ -e $files/0.db ]] && report "0.db is still there after the match window started its game"
}

# Leaves the match window and the menu through their "Exit" buttons; checks that the program
# ends well and takes its files with it.
leave_through_both_exits() {
    local file
    click 896 92 # exitButton: "Exit"
    wait_for 'the window "Play!" to close' no_window 'Play!'
    find_window 'Welcome!' || fail 'the window "Welcome!" is gone after the match window closed'
    locate_window
    click 276 89 # exitButton: "Exit"
    end_program
    for file in 0.db 5.db 6.db; do
        [[ -e $files/$file ]] && report "$file is left behind in $files"
    done
    # An installed copy's own folder goes too once it is empty.
    [[ $files != "$run" && -e $files ]] && report "the program's own folder $files is left behind"
    # Nothing else of the program's stays in the folder it was started in.
    local left
    left=$(find "$run" -mindepth 1 ! -path "$run/reversi" -print -quit)
    [[ -n $left ]] && report "the program left $left in the folder it was started in"
}
