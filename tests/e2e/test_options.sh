#!/usr/bin/env bash
# Options: difficulty 2 and sound off are saved, and shown with their marks after a restart.
source "$(dirname "$0")/lib.sh"
start_x
launch_game
wait_window
wait_region 6 0 0 240 320 main.bmp 0 0
tap 100 105                                  # Options
wait_region 3 0 280 240 40 options.bmp 0 280
tap 26 141                                   # difficulty 2 row
tap 26 249                                   # sound off row
tap 30 300                                   # back
wait_region 3 0 0 240 320 main.bmp 0 0
[ "$(stat -c %s "$GAME/data/zorblats.set")" -eq 211 ] || fail "settings file is not 211 bytes"
[ "$(settings_byte 2)" -eq 2 ] || fail "difficulty byte is $(settings_byte 2), not 2"
[ "$(settings_byte 176)" -eq 0 ] || fail "sound byte is $(settings_byte 176), not 0"

tap 100 240                                  # Exit
wait_exit 5
[ "$EXIT_STATUS" = 0 ] || fail "Exit did not end the game with status 0"

launch_game
wait_window
wait_region 6 0 0 240 320 main.bmp 0 0
tap 100 105
wait_region 3 0 280 240 40 options.bmp 0 280
shot options
read -r rw rh < <(picture_size radio.bmp)
compose marked options.bmp radio.bmp 21 136
compose marked "$WORK/marked.png" radio.bmp 21 244
for y in 81 108 136 210 244; do
  expect_region options 21 "$y" "$rw" "$rh" "$WORK/marked.png" 21 "$y"
done
# The marks are really there: the plain picture differs at the chosen rows.
expect_not_region options 21 136 "$rw" "$rh" options.bmp 21 136
expect_not_region options 21 244 "$rw" "$rh" options.bmp 21 244
echo "difficulty 2 and sound off saved and marked after a restart"
