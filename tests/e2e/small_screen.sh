#!/usr/bin/env bash
# The game on a small screen (1280 by 720) with a window manager (openbox) that honours the
# program's window positions: the whole menu shows, "v5 STABLE" included; the info window,
# minimised where no task bar could bring it back, returns on a press on the menu, and Escape
# closes it; help opens inside the screen and "X" closes it; the maximised match window shows
# the whole board, scaled where the window manager leaves too little room, and a press on h8
# reaches h8; after "Exit" the match window reopens maximised. Then both exits, with no file
# left.
#
# Usage: small_screen.sh PROGRAM
# On failure it keeps its folder and names the screenshots (PNG) and the program's output.
set -uo pipefail
# shellcheck source=e2e_lib.sh
source "$(dirname -- "${BASH_SOURCE[0]}")/e2e_lib.sh" || exit 1

command -v openbox >/dev/null || fail "openbox is missing (scripts/deps.sh installs it)"
screen_w=1280
screen_h=720
e2e_begin "$@"

# The window manager, ready once it has published its desktops.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
helper_pids+=($!)
manager_ready() { xdotool get_num_desktops >/dev/null 2>&1; }
wait_for "the window manager" manager_ready

start_program
open_window 'Welcome!'
wait_for "the menu after the intro" shows menu 194 224 "$pale" 334 224 "$blue"
((origin_y + 574 <= screen_h && origin_x + 749 <= screen_w)) ||
    report "the menu at ($origin_x, $origin_y) reaches beyond the screen"
# "v5 STABLE": red text in its box at the menu's bottom right.
version_shows() {
    shoot menu-version || return 1
    pixel_row "$last_shot" 676 562 1 58 | grep -qx "$red"
}
wait_for '"v5 STABLE" on the screen' version_shows
menu=$window

# Info: opened by "v5 STABLE"; minimised by the window manager, a press on the menu brings it
# back; Escape closes it.
click 690 561 # versionLabel
open_window Info
xdotool windowminimize "$window" || fail "xdotool cannot minimise the info window"
wait_for "the info window to be minimised" no_window Info
window=$menu
locate_window
click 390 89 # goToPlayButton: blocked while info is open, it brings info back
open_window Info
press Escape
wait_for "Escape to close the info window" no_window Info

# Help: inside the screen, its "X" too.
window=$menu
locate_window
click 479 89 # helpButton: "?"
open_window Help
locate_window
help_width=${window_size%x*}
((origin_x >= 0 && origin_y >= 0 && origin_x + help_width <= screen_w)) ||
    report "the help window at ($origin_x, $origin_y), $window_size, reaches beyond the screen"
# Its layout, 1137 by 766, is scaled to the screen's height less the window manager's frame:
# "X", at (1115, 0) and 26 by 25, lies at that scale.
help_height=${window_size#*x}
help_scaled() { echo $(($1 * help_height / 766)); }
click "$(help_scaled 1128)" "$(help_scaled 12)" # closeButton: "X"
wait_for 'the window "Help" to close' no_window Help

# The match window of theme 2, maximised and scaled to fit: its board and buttons need 976 by
# 700 pixels, scaled to the height the window manager leaves it.
window=$menu
locate_window
click 368 184 # theme2Radio
click 390 89  # goToPlayButton
open_window 'Play!'
maximised_size=$window_size
match_height=${window_size#*x}
((match_height < 700)) || match_height=700
scaled() { echo $(($1 * match_height / 700)); }
background=$blue
wait_for "the theme-2 window's blue background" shows match 10 10 "$blue"
click "$(scaled 896)" "$(scaled 116)" # playButton: "Play!"
# The starting position, and the bottom right cell h8 empty and on the screen.
# shellcheck disable=SC2046
wait_for "the starting discs" shows started \
    "$(scaled 345)" "$(scaled 330)" "$white" "$(scaled 425)" "$(scaled 330)" "$black" \
    "$(scaled 650)" "$(scaled 620)" "$blue"
click "$(scaled 650)" "$(scaled 650)" # h8: no move there, so the red marker shows in h8
wait_for "the marker in h8" shows marker "$(scaled 650)" "$(scaled 630)" "$red"

# "Exit", then the match window again: maximised as it was left.
click "$(scaled 896)" "$(scaled 92)" # exitButton
wait_for 'the window "Play!" to close' no_window 'Play!'
window=$menu
locate_window
click 390 89 # goToPlayButton
open_window 'Play!'
[[ $window_size == "$maximised_size" ]] ||
    report "the match window reopened as $window_size, not maximised as $maximised_size"

click "$(scaled 896)" "$(scaled 92)" # exitButton
wait_for 'the window "Play!" to close' no_window 'Play!'
window=$menu
locate_window
click 276 89 # exitButton
end_program
left=$(find "$run" -mindepth 1 ! -path "$run/reversi" -print -quit)
[[ -z $left ]] || report "the program left $left in its folder"
finish
