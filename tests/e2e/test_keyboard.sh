#!/usr/bin/env bash
# Keyboard only, no click: the menu by arrows and Enter, a game paused by Escape and resumed
# from the menu, Space held for a second of shots, the ship left in the open (no bricks over it)
# until enemy fire ends the game, and a name typed on the real keyboard. SIGTERM in the name
# entry, the stylus held on an on-screen key, ends the game within a second with status 0 and
# the name typed so far, without that key, in the settings file.
source "$(dirname "$0")/lib.sh"
open_field
start_x
launch_game
wait_window
wait_region 6 0 0 240 320 main.bmp 0 0
key Down                                     # the mark on New game
key Return
wait_play 5
key Escape                                   # pause: the menu with Resume
wait_region 3 55 24 20 10 but_resume.bmp 0 0
key Up                                       # the mark on Resume, the top button
key Return
wait_play 3
xdotool keydown space                        # a second of shots, then none
sleep 1
xdotool keyup space
wait_region 50 0 0 240 60 scores.bmp 0 0     # the name entry over the high-score table
xdotool type --delay 120 'Ada_9'
key BackSpace
xdotool type --delay 120 '!'
xdotool mousemove 32 260 mousedown 1         # the on-screen q, drawn pressed
wait_region 3 24 252 16 16 keyboard_small_pushed.bmp 24 18
kill -TERM "$GAME_PID"
expect_end "SIGTERM in the name entry" 0
name=$(dd if="$GAME/data/zorblats.set" bs=1 skip=6 count=10 2>/dev/null | tr -d '\0')
[ "$name" = "Ada_!" ] || fail "the settings file holds the name '$name'"
