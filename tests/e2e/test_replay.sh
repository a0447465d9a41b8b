#!/usr/bin/env bash
# Replays of real play: a game played by taps and keys with --record (lost to the swarm, a name
# typed, the table looked at), then watched with --replay: slowed to x 1/4 from the name entry,
# it reaches the very picture of the table that the session showed, pauses on Space there, and
# at x 8 ends saying the pictures were the same at every checkpoint. The session that entered
# the table is kept as best-1.zrp and moves down to best-2.zrp when a better game comes; that
# one is watched with --replay best 2 at x 8. A run that resets the table and is ended by
# SIGTERM deletes the best places' replays and keeps its session in last.zrp, which plays.
source "$(dirname "$0")/lib.sh"
open_field
start_x
kept="$GAME/data/replays"

same_as() {  # same_as PICTURE: a screenshot now is the picture, pixel for pixel
  shot now
  [ "$(compare -metric AE "$WORK/now.png" "$1" null: 2>&1)" = 0 ]
}

# play NAME SECONDS: records NAME.zrp: a new game with fire held SECONDS, the name NAME typed,
# the high-score table shown (its screenshot NAME-table.png), then Exit.
play() {
  launch_game --record "$WORK/$1.zrp"
  wait_region 6 0 0 240 320 main.bmp 0 0
  tap 120 70                                   # New game
  wait_play 5
  xdotool keydown space && sleep "$2" && xdotool keyup space
  wait_region 50 0 0 240 60 scores.bmp 0 0     # the name entry
  xdotool type --delay 120 "$1"
  xdotool key Return
  wait_region 6 37 60 160 20 main.bmp 37 60
  sleep 1                                      # the player looks at the menu
  tap 120 168                                  # High scores
  wait_region 6 0 0 240 60 scores.bmp 0 0
  sleep 4                                      # the player looks at the table
  shot "$1-table"
  tap 40 219                                   # Back
  wait_region 6 37 60 160 20 main.bmp 37 60
  tap 120 240                                  # Exit
  wait_exit 10
  [ "$EXIT_STATUS" = 0 ] && [ -s "$WORK/$1.zrp" ] || fail "$1: status $EXIT_STATUS, no replay"
}

ended_with() {  # ended_with SENTENCE: the replay ends with status 0, saying SENTENCE
  wait_exit 90
  [ "$EXIT_STATUS" = 0 ] && grep -q "$1" "$WORK/game.log" ||
    fail "the replay ended with status $EXIT_STATUS: $(cat "$WORK/game.log")"
}

play Ada 0
best=$(md5sum <"$kept/best-1.zrp")
launch_game --replay "$WORK/Ada.zrp"
# From the name entry on at x 1/4, so that the table stays long enough to be caught; there,
# after the menu (the name entry's last picture, its cursor off, is the table's too), the
# table the session showed, pixel for pixel, held by the viewer's pause.
wait_region 60 0 0 240 60 scores.bmp 0 0
xdotool key minus minus
within 10 xdotool search --name '^ZORBLATS replay x1/4$' >/dev/null || fail "the title says no x 1/4"
wait_region 60 37 60 160 20 main.bmp 37 60
within 90 same_as "$WORK/Ada-table.png" || fail "the replay never showed the session's table"
xdotool key space
same_as "$WORK/Ada-table.png" || fail "the replay paused elsewhere"
xdotool search --name '^ZORBLATS replay x1/4 paused$' >/dev/null || fail "the title says no pause"
xdotool key space plus plus plus plus plus  # on, at x 8
ended_with "played to its end: the same pictures at all"

play Bob 1.5
[ "$(md5sum <"$kept/best-2.zrp")" = "$best" ] && [ "$(md5sum <"$kept/best-1.zrp")" != "$best" ] ||
  fail "the better game's session did not take place 1 with the first moved down"
launch_game --replay best 2
xdotool key plus plus plus
within 5 xdotool search --name '^ZORBLATS replay x8$' >/dev/null || fail "the title says no x 8"
ended_with "played to its end"

launch_game
wait_region 6 0 0 240 320 main.bmp 0 0
tap 120 168                                    # High scores
wait_region 6 0 0 240 60 scores.bmp 0 0
tap 160 219                                    # Reset, and Yes
xdotool key y
tap 40 219                                     # Back
wait_region 6 37 60 160 20 main.bmp 37 60
rm -f "$kept/last.zrp"
kill -TERM "$GAME_PID"
wait_exit 5
[ -s "$kept/last.zrp" ] || fail "a run ended by SIGTERM kept no last.zrp"
[ -z "$(ls "$kept"/best-* 2>/dev/null)" ] || fail "the reset left $(ls "$kept"/best-*)"
launch_game --replay "$kept/last.zrp"
ended_with "played to its end"
echo "sessions replay to their table and end, move down, play at x 8, go on reset, kept on SIGTERM"
