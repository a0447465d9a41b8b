#!/usr/bin/env bash
# Closing the window through the window manager in the main menu ends the game with 0.
source "$(dirname "$0")/lib.sh"
start_x
launch_game
wait_window
wait_region 6 0 0 240 320 main.bmp 0 0
window=$(xdotool search --name '^ZORBLATS$' | head -1)
xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool key --window "$window" alt+F4        # openbox's close binding
wait_exit 5
[ "$EXIT_STATUS" = 0 ] || fail "closing the window gave '$EXIT_STATUS', not exit status 0"
echo "window closed from the menu: status 0"
