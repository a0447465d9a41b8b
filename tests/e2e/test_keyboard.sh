#!/usr/bin/env bash
# Keyboard only, no click: the menu by arrows and Enter, a game paused by Escape and resumed
# from the menu, fired at with Space until the swarm wins, and a name typed on the real
# keyboard that ends up in the settings file.
source "$(dirname "$0")/lib.sh"
# An empty table, sound off, difficulty 1.
python3 -c 'import sys; open(sys.argv[1], "wb").write(bytes([0, 0, 1]) + bytes(208))' "$GAME/data/zorblats.set"
start_x
launch_game
wait_window
wait_region 6 0 0 240 320 main.bmp 0 0
key Down                                     # the mark on New game
key Return
sleep 2
key Escape                                   # pause: the menu with Resume
wait_region 3 55 24 20 10 but_resume.bmp 0 0
key Up                                       # the mark on Resume, the top button
key Return
xdotool keydown Right                        # from the middle to the gap between the
sleep 0.7                                    # second and third bricks
xdotool keyup Right
xdotool keydown space                        # fire until the swarm wins; then the name
wait_region 100 0 0 240 60 scores.bmp 0 0    # entry over the high-score table
xdotool keyup space
xdotool type --delay 120 'Ada_9'
key BackSpace
xdotool type --delay 120 '!'
key Return
wait_region 5 0 0 240 320 main.bmp 0 0
name=$(dd if="$GAME/data/zorblats.set" bs=1 skip=6 count=10 2>/dev/null | tr -d '\0')
[ "$name" = "Ada_!" ] || fail "the settings file holds the name '$name'"
