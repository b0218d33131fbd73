#!/usr/bin/env bash
# Plays the opening of a two-player game with the mouse, on a private X server: waits for the
# menu after its intro, picks theme 2, opens the match window, presses "Play!" and makes one
# move that flips a disc; then leaves through both "Exit" buttons. Checks the screen at known
# pixels, the program's exit status and the files it keeps beside it while it runs.
#
# Usage: two_player_game.sh PROGRAM
# On failure it keeps its folder and names the screenshots (PNG) and the program's output.
set -uo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname -- "${BASH_SOURCE[0]}")/e2e_lib.sh" || exit 1

e2e_begin "$@"
start_program
wait_for_menu

click 368 184 # theme2Radio: theme 2
open_match_window

background=$blue
wait_for "the theme-2 window's blue background" shows 2-match-open 20 20 "$blue" 750 400 "$blue"

click 896 116 # playButton: "Play!"

# The starting position: the first side (white) on the diagonal from (3, 3), the second side
# (black) on the other; each disc with its centre dot in the background colour. The start is
# complete once the labels beside the board show up in the sides' colours (their top-left
# corners lie clear of the text): the program paints them only after it has set up the game.
# shellcheck disable=SC2046 # the pixel lists are meant to split
wait_for "the four starting discs and the labels of a started game" shows 3-started \
    $(disc 3 3 "$white") $(disc 4 4 "$white") $(disc 4 3 "$black") $(disc 3 4 "$black") \
    829 170 "$white" 901 170 "$black" 829 226 "$white" 901 226 "$black"
check_handoff_taken

play 4 2 # white plays (4, 2), capturing (4, 3)

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

leave_through_both_exits
finish
