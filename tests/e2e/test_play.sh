#!/usr/bin/env bash
# Play: a new game shows the play screen once the level banner's second is over (the banner
# itself: the golden replays' frame digests); the right arrow moves the ship; the MENU button pauses with a resume button, and resume goes on at the same level.
# (Firing and scoring by keys: test_keyboard.sh, whose name entry needs a score.)
source "$(dirname "$0")/lib.sh"
start_x
launch_game
wait_window
wait_region 6 0 0 240 320 main.bmp 0 0
tap 100 70                                   # New game
read -r bw bh < <(identify -format '%w %h\n' "$CONTENT_DIR/start.bmp")
sleep 2.2                                    # the level banner's second
shot play
shows play start.bmp $(( 120 - bw / 2 )) $(( 160 - bh / 2 )) && fail "the banner stayed"
expect_region play 0 264 175 56 ingame.bmp 0 264 2>/dev/null ||
  expect_not_region play 0 264 240 56 main.bmp 0 264     # the play panel is up
ship_at() {  # is the ship (either animation frame) drawn at x $1 in screenshot $2?
  shows "$2" Player1.bmp "$1" 234 30x30+0+0 || shows "$2" Player1.bmp "$1" 234 30x30+30+0
}
ship_at 90 play || fail "the ship is not at its start place"
xdotool keydown Right
sleep 2.5
xdotool keyup Right
sleep 0.3
shot moved
ship_at 90 moved && fail "the ship did not move"
ship_at 210 moved || fail "the ship did not reach the right edge"
convert "$WORK/moved.png" -crop 30x12+128+299 +repage "$WORK/level-before.png"
tap 205 282                                  # MENU
read -r rw rh < <(identify -format '%w %h\n' "$CONTENT_DIR/but_resume.bmp")
wait_region 3 55 24 "$rw" "$rh" but_resume.bmp 0 0
tap 60 30                                    # Resume
sleep 0.5
shot resumed
expect_not_region resumed 0 0 240 250 main.bmp 0 0
convert "$WORK/resumed.png" -crop 30x12+128+299 +repage "$WORK/level-after.png"
same=$({ compare -metric AE "$WORK/level-before.png" "$WORK/level-after.png" null: 2>&1 || true; } | cut -d' ' -f1)
# Stars fall over the panel too: allow a star or two, not another number.
[ "${same%.*}" -le 10 ] || fail "resume showed another level number ($same pixels differ)"
echo "banner, moving ship, pause menu with resume, same level after resume"
