#!/usr/bin/env bash
# A seeded soak of the whole program on a private X server with a window manager (openbox):
# random clicks, keys and window actions across its nine windows, paced a little apart, for a
# given time. The menu: themes, opponent, countdown slider (clicks, drags and keys), " Go To Play
# form", "?" and "v5 STABLE"; the match windows of both kinds: "Play!"/"Clear", "Redraw",
# "Exit", the board by mouse and keyboard, the computer's level; help and info with their
# buttons, Escape and the window manager's close; any window minimised and restored, moved, or
# given the keyboard. Message boxes ("Reversi") are answered with Return.
#
# It fails when
# - the program reports a sanitizer fault or ends before the soak ends it;
# - the window it drives does not answer a ping (_NET_WM_PING, answered by the program's event
#   loop) within 5 s: a hang;
# - a file appears in the program's folder that is not one of its own, or a file of the user's
#   (a note beside the program, a folder of documents next to it, the home folder) changes;
# - the program, ended through "Exit" in every window and then the menu's, ends with a status
#   other than 0 or leaves a file behind.
# It prints the seed first and on failure: the same seed gives the same sequence of actions
# (what the program does in between still depends on its timers and its own random draws).
# Memory (VmRSS) is sampled every few seconds and summarised, with its slope after the first
# third of the run; it is reported, not judged. Under AddressSanitizer it climbs until the
# sanitizer's quarantine of freed memory is full (about a quarter of an hour of soak), and it
# rises by the maximised match window's picture (5 MB) while one is open.
#
# Usage: soak.sh PROGRAM WINDOW_PING [SECONDS [SEED]]
#   WINDOW_PING is the helper built beside the tests (window_ping.cpp); SECONDS defaults to 120.
# On failure it keeps its folder with the action log, the memory samples and the program's
# output.
# shellcheck disable=SC2317 # the checks defined below run through wait_for
set -uo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname -- "${BASH_SOURCE[0]}")/e2e_lib.sh" || exit 1

if (($# < 2 || $# > 4)); then
    echo "usage: $0 PROGRAM WINDOW_PING [SECONDS [SEED]]" >&2
    exit 2
fi
window_ping=$(realpath -- "$2") || exit 2
seconds=${3:-120}
seed=${4:-$(($(od -An -N4 -tu4 /dev/urandom) % 1000000000))}
[[ $seconds =~ ^[0-9]+$ && $seed =~ ^[0-9]+$ ]] || {
    echo "usage: $0 PROGRAM WINDOW_PING [SECONDS [SEED]]" >&2
    exit 2
}
command -v openbox >/dev/null || fail "openbox is missing (scripts/deps.sh installs it)"
echo "soak seed $seed for $seconds s (replay: $0 PROGRAM WINDOW_PING $seconds $seed)"

hang_limit_ms=5000       # a window that does not answer a ping this long is hung
sample_interval_ms=5000  # how often memory and the program's folder are looked at
# Every wait is still bounded: the soak's own time, then the way out and the end.
total_limit_ms=$((seconds * 1000 + 120000))

step=0
fail() { # the library's fail, with the seed and the step where the soak stood
    echo "FAIL: $* (seed $seed, step $step; actions in $work/actions.log)" >&2
    exit 1
}

e2e_begin "$1"
# Seeded only now: the display's start draws numbers too, as many as it needs tries.
RANDOM=$seed

openbox --sm-disable >"$work/openbox.log" 2>&1 &
helper_pids+=($!)
manager_ready() { xdotool get_num_desktops >/dev/null 2>&1; }
wait_for "the window manager" manager_ready

# --- the user's files, which the program must leave alone -------------------------------------

documents=$work/documents
mkdir -p "$documents/photos" "$work/home/.config"
printf 'shopping: bread, milk\n' >"$run/notes.txt"
printf 'meeting at ten\r\n' >"$documents/notes.txt"
printf '2\r\n' >"$documents/version.txt" # names the program uses in its own folder
printf '300\r\n' >"$documents/0.db"
head -c 4096 /dev/urandom >"$documents/photos/beach.jpg"
printf '[General]\n' >"$work/home/.config/settings.ini"
fingerprint() { # every file of the user's: name, type, size, mode, time and content
    (
        cd "$work" &&
            find documents home run/notes.txt -printf '%p %y %s %m %T@\n' | sort &&
            find documents home run/notes.txt -type f -exec sha256sum {} + | sort
    )
}
user_files=$(fingerprint)

# The names the program may keep in its folder while it runs, besides itself and the note.
own_files=' 0.db 5.db 6.db version.txt check.bat downloader.exe updater.bat .wget-hsts '
strangers() { # the entries of the program's folder that are neither the program's nor the user's
    local entry name
    for entry in "$run"/* "$run"/.[!.]* "$run"/..?*; do
        [[ -e $entry || -L $entry ]] || continue
        name=${entry##*/}
        [[ $name == reversi || $name == notes.txt || $own_files == *" $name "* ]] && continue
        printf '%s ' "$name"
    done
}

# --- random draws and actions --------------------------------------------------------------

draw=0
pick() { draw=$((RANDOM % $1)); } # pick N: draw is 0 to N-1, from the seeded sequence

declare -A done_count=()
log_action() { # log_action NAME [DETAIL]: counts the action and logs it with its step
    done_count[$1]=$((${done_count[$1]:-0} + 1))
    echo "$step $(($(now_ms) - start_ms)) $window_title ${1}${2:+ $2}" >>"$work/actions.log"
}

# xdotool bounded in time; a window that went away meanwhile is no fault of the program's.
xdo() { timeout 5 xdotool "$@" >/dev/null 2>&1; }
soak_click() { xdo mousemove --window "$window" "$1" "$2" click "${3:-1}"; }
soak_keys() { # gives the window the keyboard, then presses the keys
    # Only where the keyboard did go to it: keys meant for another window could press the
    # menu's "Exit" or close the menu.
    xdo windowactivate --sync "$window"
    if [[ $(timeout 5 xdotool getactivewindow 2>/dev/null) != "$window" ]]; then
        log_action keyboard-elsewhere
        return 1
    fi
    xdo key --delay 40 "$@"
}
minimised=() # windows the soak minimised and has not yet restored
minimise() {
    xdo windowminimize "$window" && minimised+=("$window")
    log_action minimise
}
restore_minimised() {
    local w
    ((${#minimised[@]} > 0)) || return 0
    for w in "${minimised[@]}"; do
        xdo windowactivate "$w" || xdo windowmap "$w"
    done
    minimised=()
    log_action restore
}
move_window() { # somewhere else, wholly on the screen; a window as large as the screen stays
    local frame_w=$((window_width + 16)) frame_h=$((window_height + 40))
    ((frame_w < screen_w && frame_h < screen_h)) || return 0
    pick $((screen_w - frame_w))
    local x=$draw
    pick $((screen_h - frame_h))
    xdo windowmove "$window" "$x" "$draw"
    log_action move "$x,$draw"
}
wm_close() { # the window manager's close (Alt+F4), as from the title bar
    soak_keys alt+F4
    log_action wm-close
}
random_keys() { # random_keys KEY...: one to four of the keys, drawn
    local keys=() n count
    pick 4
    count=$((draw + 1))
    for ((n = 0; n < count; n++)); do
        pick $#
        keys+=("${@:draw+1:1}")
        # A key that may press a button ends the sequence: the button may close the window,
        # and the keys after it would go to the window beneath.
        [[ ${keys[-1]} == space || ${keys[-1]} == Return ]] && break
    done
    soak_keys "${keys[@]}"
    log_action keys "${keys[*]}"
}

# The menu. Its "Exit" is left to the end: random clicks avoid it, and no key that presses a
# button (Space) is drawn, as Tab may have put the keyboard on it.
menu_action() {
    local x y
    pick 20
    case $draw in
        0 | 1 | 2 | 3)
            soak_click 390 89 # goToPlayButton
            log_action go-to-play
            ;;
        4 | 5)
            pick 3
            soak_click $((228 + 140 * draw)) 184 # theme1Radio, theme2Radio, theme3Radio
            log_action theme $((draw + 1))
            ;;
        6 | 7)
            soak_click 364 44 # opponentButton
            log_action opponent
            ;;
        8)
            pick 146
            soak_click $((302 + draw)) 399 # countdownSlider: a page towards the click
            log_action countdown-click
            ;;
        9)
            pick 146
            x=$((302 + draw))
            pick 146
            xdo mousemove --window "$window" "$x" 399 mousedown 1 \
                mousemove --window "$window" $((302 + draw)) 399 mouseup 1
            log_action countdown-drag "$x-$((302 + draw))"
            ;;
        10)
            soak_click 302 399
            random_keys Left Right Up Down Page_Up Page_Down Home End
            ;;
        11)
            soak_click 479 89 # helpButton
            log_action help
            ;;
        12)
            soak_click 690 561 # versionLabel
            log_action info
            ;;
        13 | 14)
            pick 749
            x=$draw
            pick 574
            y=$draw
            # Clear of "Exit" at (236, 74), 81 by 30.
            if ((x >= 230 && x < 323 && y >= 68 && y < 110)); then y=$((y + 60)); fi
            soak_click "$x" "$y"
            log_action click "$x,$y"
            ;;
        15 | 16) random_keys Tab ISO_Left_Tab Left Right Up Down Escape ;;
        17) minimise ;;
        18 | 19) move_window ;;
    esac
}

# A match window of either kind: the level selector's clicks land on the board in a
# two-player window, where they are board clicks.
match_action() {
    local x y
    pick 28
    case $draw in
        0 | 1 | 2 | 3 | 4 | 5 | 6 | 7 | 8)
            pick 8
            x=$draw
            pick 8
            soak_click $((80 * x + 90)) $((80 * draw + 90))
            log_action cell "$x,$draw"
            ;;
        9 | 10 | 11)
            soak_click 896 116 # playButton: "Play!" or "Clear"
            log_action play
            ;;
        12 | 13)
            soak_click 896 140 # redrawButton
            log_action redraw
            ;;
        14 | 15)
            soak_click 896 92 # exitButton
            log_action exit
            ;;
        16 | 17)
            pick 150
            soak_click $((304 + draw)) 248 # levelSlider: a page towards the click
            log_action level-click
            ;;
        18)
            pick 5
            soak_click $((311 + 34 * draw)) 244 # the handle at a level, for the keys
            random_keys Left Right Home End Page_Up Page_Down
            ;;
        19 | 20 | 21) random_keys Left Right Up Down Return space Tab ISO_Left_Tab ;;
        22 | 23)
            pick "$window_width"
            x=$draw
            pick "$window_height"
            soak_click "$x" "$draw"
            log_action click "$x,$draw"
            ;;
        24) minimise ;;
        25) wm_close ;;
        26)
            pick 2
            if ((draw)); then
                soak_click 896 116 3
                log_action right-click
            else
                xdo windowactivate "$window"
                log_action activate
            fi
            ;;
        27) move_window ;;
    esac
}

help_action() {
    local x
    pick 14
    case $draw in
        0 | 1)
            soak_click 1128 12 # closeButton: "X"
            log_action close-x
            ;;
        2 | 3)
            soak_keys Escape
            log_action escape
            ;;
        4) wm_close ;;
        5 | 6)
            pick "$window_width"
            x=$draw
            pick "$window_height"
            soak_click "$x" "$draw"
            log_action click "$x,$draw"
            ;;
        7 | 8)
            pick 2
            soak_click 500 400 $((4 + draw)) # the wheel, up or down
            log_action wheel
            ;;
        9 | 10) random_keys Down Up Page_Down Page_Up Right Left Tab Home End ;;
        11) minimise ;;
        12 | 13) move_window ;;
    esac
}

info_action() {
    local x
    pick 12
    case $draw in
        0 | 1 | 2)
            soak_click 129 84 # okButton
            log_action ok
            ;;
        3 | 4)
            soak_keys Escape
            log_action escape
            ;;
        5) wm_close ;;
        6 | 7)
            pick "$window_width"
            x=$draw
            pick "$window_height"
            soak_click "$x" "$draw"
            log_action click "$x,$draw"
            ;;
        8) random_keys Tab space Return Left ;;
        9) minimise ;;
        10 | 11) move_window ;;
    esac
}

# --- the checks --------------------------------------------------------------------------------

sanitizer_report() { grep -qE 'Sanitizer|runtime error:' -- "$program_log"; }

pings=0
longest_answer_ms=0
# ping_window: fails the soak when the window the soak drives does not answer in time.
ping_window() {
    local sent answered
    sent=$(now_ms)
    "$window_ping" "$window" "$hang_limit_ms" 2>/dev/null
    case $? in
        0)
            answered=$(($(now_ms) - sent))
            pings=$((pings + 1))
            ((answered > longest_answer_ms)) && longest_answer_ms=$answered
            ;;
        1)
            shoot hang
            fail "the window \"$window_title\" ($window) did not answer for $((hang_limit_ms / 1000)) s"
            ;;
        *) ;; # gone meanwhile
    esac
}

rss_log=$work/rss.log
next_sample_ms=0
sample() { # memory, and what the program's folder holds
    local line rss='' others
    while read -r line; do
        [[ $line == VmRSS:* ]] && rss=${line//[!0-9]/}
    done 2>/dev/null <"/proc/$app_pid/status"
    [[ -n $rss ]] && echo "$((($(now_ms) - soak_start_ms) / 1000)) $rss" >>"$rss_log"
    others=$(strangers)
    [[ -z $others ]] || fail "files that are not the program's appeared in its folder: $others"
    next_sample_ms=$(($(now_ms) + sample_interval_ms))
}

# Which of the nine windows was opened, for the figures: a match window's theme by its
# background, its kind by the red "BETA" of the versus-computer windows (right of the board).
declare -A opened=()
last_opened=
note_opened() {
    [[ $window == "$last_opened" ]] && return 0
    last_opened=$window # each showing of a window makes a new window system window
    local name=$window_title colour y
    if [[ $window_title == 'Play!' ]] && shoot match-opened; then
        colour=$(pixel "$last_shot" 20 20)
        case $colour in
            "$blue") name=2 ;;
            255,0,255) name=3 ;;
            *) name=1 ;;
        esac
        name="two-player $name"
        for y in 372 380 388 396; do
            pixel_row "$last_shot" 800 "$y" 1 160 | grep -qx "$red" && name="versus-computer ${name#* }"
        done
    fi
    opened[$name]=$((${opened[$name]:-0} + 1))
}

# --- the soak ----------------------------------------------------------------------------------

# The window that takes the input: a message box first, then a modal window, then the menu.
window_title=
current_window() {
    local title
    for title in Reversi Info Help 'Play!' 'Welcome!'; do
        if find_window "$title"; then
            window_title=$title
            return 0
        fi
    done
    return 1
}

start_program
wait_for_menu
# The hang check itself: the menu answers a ping, and does not while the program is stopped.
"$window_ping" "$window" "$hang_limit_ms" || fail "the menu did not answer a ping"
kill -STOP "$app_pid"
"$window_ping" "$window" 1000
pinged=$?
kill -CONT "$app_pid"
((pinged == 1)) || fail "a ping of the stopped program came back with $pinged, not 1 (no answer)"
soak_start_ms=$(now_ms)
soak_end_ms=$((soak_start_ms + seconds * 1000))
: >"$work/actions.log"
sample

while (($(now_ms) < soak_end_ms)); do
    step=$((step + 1))
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended during the soak"
    sanitizer_report && fail "the program reported a sanitizer fault"
    (($(now_ms) >= next_sample_ms)) && sample
    if ! current_window; then
        # Everything minimised, or a window on its way: bring back what the soak minimised.
        restore_minimised
        wait_for "a window of the program to show" current_window
    fi
    read_window_place || continue
    ping_window
    note_opened
    if ((${#minimised[@]} > 0)); then
        pick 4
        ((draw == 0)) && restore_minimised
    fi
    case $window_title in
        Reversi)
            soak_keys Return
            log_action dismiss
            ;;
        Info) info_action ;;
        Help) help_action ;;
        'Play!') match_action ;;
        'Welcome!') menu_action ;;
    esac
    pick 300
    sleep "0.$((50 + draw))" # 50 to 349 ms between actions
done
soak_ms=$(($(now_ms) - soak_start_ms))
sample

# --- the way out: every window's own way to close, then the menu's "Exit" --------------------

window_title=ending
restore_minimised
only_menu_left() {
    current_window || {
        restore_minimised
        return 1
    }
    read_window_place || return 1
    case $window_title in
        Reversi) soak_keys Return ;;
        Info) soak_click 129 84 ;;      # okButton
        Help) soak_click 1128 12 ;;     # closeButton: "X"
        'Play!') soak_click 896 92 ;;   # exitButton
        'Welcome!') return 0 ;;
    esac
    mismatch="the window \"$window_title\" is still open"
    return 1
}
wait_for "every window but the menu to close" only_menu_left
ping_window
soak_click 276 89 # exitButton
end_program
sanitizer_report && report "the program reported a sanitizer fault"
for file in 0.db 5.db 6.db; do
    [[ -e $run/$file ]] && report "$file is left behind"
done
others=$(strangers)
[[ -z $others ]] || report "left in the program's folder: $others"
[[ $(fingerprint) == "$user_files" ]] ||
    report "the user's files changed:"$'\n'"$(diff <(echo "$user_files") <(fingerprint))"
[[ -e $work/data ]] && report "the program made $work/data, though it kept its files beside itself"

# --- the figures ---------------------------------------------------------------------------

echo "soak: $step steps in $((soak_ms / 1000)) s, seed $seed"
while read -r name; do
    [[ -n $name ]] && printf '  %-18s %d\n' "$name" "${done_count[$name]}"
done < <(printf '%s\n' "${!done_count[@]}" | sort)
echo "windows the soak turned to (times):"
while read -r name; do
    [[ -n $name ]] && printf '  %-24s %d\n' "$name" "${opened[$name]}"
done < <(printf '%s\n' "${!opened[@]}" | sort)
echo "pings answered: $pings, the longest answer $longest_answer_ms ms"
# Memory: the samples a minute apart, and the least-squares slope after the first third.
awk -v third=$((soak_ms / 3000)) '
    { t[NR] = $1; r[NR] = $2 }
    END {
        if (NR == 0) { print "memory: no samples"; exit }
        line = "memory (VmRSS, MB, by second):"
        for (i = 1; i <= NR; i++)
            if (i == 1 || i == NR || int(t[i] / 60) != int(t[i - 1] / 60))
                line = line sprintf(" %d:%.1f", t[i], r[i] / 1024)
        print line
        n = 0
        for (i = 1; i <= NR; i++)
            if (t[i] >= third) { n++; sx += t[i]; sy += r[i]; sxx += t[i] * t[i]; sxy += t[i] * r[i] }
        if (n < 3 || n * sxx == sx * sx) { print "memory slope: too few samples"; exit }
        slope = (n * sxy - sx * sy) / (n * sxx - sx * sx)
        printf "memory slope after %d s: %.1f kB/min (%d samples)\n", third, slope * 60, n
    }' "$rss_log"
if ((failures > 0)); then
    echo "seed $seed" >&2
fi
finish
