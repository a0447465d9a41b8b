#!/usr/bin/env bash
# Start-up: the start screen for about a second, then the main menu without a resume button.
source "$(dirname "$0")/lib.sh"
start_x
launch_game
wait_window
window_seen=$(date +%s%N)
wait_region 2 0 0 240 320 start_screen.bmp 0 0
wait_region 5 0 0 240 320 main.bmp 0 0
menu_seen=$(date +%s%N)
# The start screen stays for a second before the menu: the window came up with it.
shown_ms=$(( (menu_seen - window_seen) / 1000000 ))
[ "$shown_ms" -ge 800 ] || fail "the menu came only ${shown_ms} ms after the window"
# No resume button at start: the area at (55, 24) shows the plain menu picture.
shot menu
expect_region menu 55 24 130 30 main.bmp 55 24
echo "start screen ${shown_ms} ms, then the menu without resume"
