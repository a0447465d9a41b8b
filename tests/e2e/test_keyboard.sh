#!/usr/bin/env bash
# Keyboard only, no click: the menu by arrows and Enter with its focus mark, a game paused by
# Escape and resumed from the menu, fired at with Space until it is lost, and a name typed
# on the real keyboard that ends up in the settings file.
source "$(dirname "$0")/lib.sh"
# Hard, so that the swarm wins soon: an empty table, difficulty 2, sound off.
python3 - "$GAME/data/zorblats.set" <<'PY'
import struct, sys
data = struct.pack("<HhH", 0, 2, 0) + bytes(150) + bytes(20)
data += struct.pack("<BBH", 0, 1, 35) + b"Brask".ljust(30, b"\0") + b"\0"
assert len(data) == 211
open(sys.argv[1], "wb").write(data)
PY
start_x
launch_game
wait_window
wait_region 6 0 0 240 320 main.bmp 0 0
key Down                                     # the first arrow shows the mark on New game
shot marked
shows marked "$GAME/data/focus.bmp" 35 58 6x6+0+0 || fail "no focus mark on New game"
shows marked "$GAME/data/focus.bmp" 200 79 6x6+18+0 || fail "the mark does not close round New game"
key Return
sleep 2
shot play
expect_not_region play 0 264 240 56 main.bmp 0 264     # the play panel is up
key Escape                                   # pause
read -r rw rh < <(picture_size but_resume.bmp)
wait_region 3 55 24 "$rw" "$rh" but_resume.bmp 0 0
key Up                                       # the mark shows on Resume, the top button
key Return
sleep 0.5
shot resumed
expect_not_region resumed 0 0 240 250 main.bmp 0 0

# Fire from the middle until the swarm wins; the score earns the first place.
xdotool keydown space
sleep 5
xdotool keyup space
wait_region 100 0 0 240 60 scores.bmp 0 0    # the name entry over the high-score table
xdotool type --delay 120 'Ada_9'
key BackSpace
xdotool type --delay 120 '!'
key Return
wait_region 5 0 0 240 320 main.bmp 0 0
name=$(dd if="$GAME/data/zorblats.set" bs=1 skip=6 count=10 2>/dev/null | tr -d '\0')
[ "$name" = "Ada_!" ] || fail "the settings file holds the name '$name'"
echo "menu by keys with its mark, pause by Escape and resume, name typed on the keyboard"
