#!/usr/bin/env bash
# Plays the opening of a game against the computer with the mouse and the keyboard, on a private
# X server: waits for the menu after its intro, switches the opponent to the computer (theme 1
# stays chosen), opens the match window, sets the computer's level to 3 on the track bar and
# presses "Play!". The person plays (2, 4); a click during the computer's pause must change
# nothing; the computer answers (4, 5), capturing (4, 4); the person plays (5, 6) from the
# keyboard and the computer answers again with a capture. Then it leaves through both "Exit"
# buttons. Checks the screen at known pixels, the program's exit status and the files it keeps
# while it runs: as an installed copy, in its own folder under the user's data directory, none
# where it was started.
#
# Usage: computer_game.sh PROGRAM
# On failure it keeps its folder and names the screenshots (PNG) and the program's output.
# shellcheck disable=SC2317 # the checks defined below run through wait_for
set -uo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname -- "${BASH_SOURCE[0]}")/e2e_lib.sh" || exit 1

computer_pause_ms=2500 # theme 1's pause before each of the computer's moves

e2e_begin "$@"
start_program installed
wait_for_menu

click 364 44 # opponentButton: "Click to play with pc"
open_match_window

# The level selector: a track bar from 1 to 5 at (304, 232), 150 wide, its handle's centre on
# the row y = 244 and 34 pixels further right for each level, from x = 311 for level 1. The
# window's colour in theme 1 is the system's button face, whatever it is: read from the window.
handle_y=244
handle_x() { echo $((311 + 34 * ($1 - 1))); }
handle=
groove=
selector_shown() {
    shoot 2-selector || return 1
    background=$(pixel "$last_shot" 20 20)
    handle=$(pixel "$last_shot" "$(handle_x 1)" "$handle_y")
    groove=$(pixel "$last_shot" "$(handle_x 4)" "$handle_y")
    mismatch="background ($background), handle at level 1 ($handle), groove ($groove)"
    # Xvfb's screen outside any window is black.
    [[ $background != "$black" && $handle != "$groove" && $handle != "$background" &&
        $groove != "$background" ]] &&
        matches 750 400 "$background" "$(handle_x 3)" "$handle_y" "$groove"
}
wait_for "the level selector at level 1 on the window's background" selector_shown
for colour in red yellow white black; do
    [[ $background == "${!colour}" ]] &&
        fail "the window's background is $colour, like a disc or the marker"
done

# The track bar takes the keyboard focus from a click on its handle, which leaves the level.
click "$(handle_x 1)" "$handle_y"
press Right Right
level_three() {
    shoot 3-level || return 1
    mismatch="the handle is not at level 3"
    matches "$(handle_x 3)" "$handle_y" "$handle" &&
        [[ $(pixel "$last_shot" "$(handle_x 2)" "$handle_y") != "$handle" &&
            $(pixel "$last_shot" "$(handle_x 4)" "$handle_y") != "$handle" ]]
}
wait_for "the track bar's handle at level 3" level_three

click 896 116 # playButton: "Play!"

# The start hides the level selector for good, so the track bar's pixels show the background
# (clear of the grid lines at 370 and 450 beneath it). The start is complete once the labels
# beside the board show up in the sides' colours.
# shellcheck disable=SC2046 # the pixel lists are meant to split
wait_for "the four starting discs, the labels of a started game and no level selector" \
    shows 4-started \
    $(disc 3 3 "$red") $(disc 4 4 "$red") $(disc 4 3 "$yellow") $(disc 3 4 "$yellow") \
    829 170 "$red" 901 170 "$yellow" 829 226 "$red" 901 226 "$yellow" \
    "$(handle_x 1)" "$handle_y" "$background" "$(handle_x 2)" "$handle_y" "$background" \
    "$(handle_x 3)" "$handle_y" "$background" "$(handle_x 4)" "$handle_y" "$background" \
    "$(handle_x 5)" "$handle_y" "$background"
check_handoff_taken

# The person (red) plays (2, 4), capturing (3, 4).
move_sent_ms=$(now_ms)
play 2 4
# shellcheck disable=SC2046
wait_for "the move at (2, 4) and the flip at (3, 4)" shows 5-moved \
    $(disc 2 4 "$red") $(disc 3 4 "$red")

# A click during the computer's pause is ignored: had it been taken, (2, 2) would show the
# marker (black, as (2, 2) captures nothing for red) or a red disc. The pause cannot end before
# it has run in full after the move, so a click sent well inside it is handled inside it.
play 2 2
pause_click_ms=$(($(now_ms) - move_sent_ms))
((pause_click_ms < computer_pause_ms - 500)) ||
    fail "the click meant for the computer's pause came $pause_click_ms ms after the move," \
        "too late to test it"

# The computer answers (4, 5), capturing (4, 4); every screenshot until then must show (2, 2)
# untouched, and the answer must not come before the pause is over.
touched_cell=
computer_answered() {
    local elapsed
    shoot 6-answer || return 1
    elapsed=$(($(now_ms) - move_sent_ms))
    # shellcheck disable=SC2046
    if [[ -z $touched_cell ]] && ! matches $(disc 2 2 "$background"); then
        touched_cell=1
        report "the click at (2, 2) during the computer's pause was not ignored: $mismatch"
    fi
    # shellcheck disable=SC2046
    matches $(disc 4 5 "$yellow") $(disc 4 4 "$yellow") || return 1
    ((elapsed >= computer_pause_ms)) ||
        report "the computer answered $elapsed ms after the move," \
            "before its pause of $computer_pause_ms ms was over"
}
wait_for "the computer's answer at (4, 5) with the flip at (4, 4)" computer_answered

check_board "after the computer's answer" '........
........
........
...ry...
..rry...
....y...
........
........'

# The person plays (5, 6) from the keyboard, capturing (4, 5) along the diagonal to (3, 4). The
# clicks on the board gave it the keyboard; the first key shows the cursor on (3, 3), the arrows
# take it to (5, 6), a blue outline three pixels inside the cell's grid lines, and Enter plays.
press Right Right Right Down Down Down
# shellcheck disable=SC2046
wait_for "the keyboard's cursor on (5, 6)" shows 7-cursor \
    453 "$(centre_y 6)" "$blue" 454 "$(centre_y 6)" "$blue" 455 "$(centre_y 6)" "$background" \
    $(disc 5 6 "$background")
press Return
# shellcheck disable=SC2046
wait_for "the move at (5, 6) and the flip at (4, 5)" shows 8-moved \
    $(disc 5 6 "$red") $(disc 4 5 "$red")
check_board "after the move at (5, 6)" '........
........
........
...ry...
..rry...
....r...
.....r..
........'

# The computer's second answer depends on its level's random choice; whichever it is, it places
# one yellow disc and turns at least one red disc yellow: eight discs, at least four yellow.
count_discs() { # count_discs PICTURE: sets red_discs, yellow_discs and other_cells
    local letters=${1//$'\n'/}
    red_discs=${letters//[!r]/}
    red_discs=${#red_discs}
    yellow_discs=${letters//[!y]/}
    yellow_discs=${#yellow_discs}
    other_cells=${letters//[.ry]/}
    other_cells=${#other_cells}
}
computer_answered_again() {
    shoot 9-second-answer || return 1
    picture=$(board_picture "$last_shot")
    count_discs "$picture"
    mismatch="$red_discs red, $yellow_discs yellow discs"
    ((yellow_discs >= 4 && red_discs + yellow_discs >= 8))
}
wait_for "the computer's second answer" computer_answered_again
((red_discs + yellow_discs == 8 && other_cells == 0)) ||
    report "after the computer's second answer the board should hold 8 discs, reads"$'\n'"$picture
in ${last_shot%.rgb}.png"

leave_through_both_exits
finish
