#!/usr/bin/env bash
# The front end in one sitting: the start screen for about a second, the menu without a
# resume button, a second copy refused, options saved, a prepared high-score table shown
# (its reset question is the menu test's), the game killed; after a restart (the lock went
# with the killed copy) the options are marked, and closing the window ends the game with
# status 0.
source "$(dirname "$0")/lib.sh"
python3 - "$GAME/data/zorblats.set" <<'PY'
import struct, sys
data = struct.pack("<HhH", 0, 1, 0) + b"".join(n.ljust(30, b"\0") for n in [b"ALICE", b"BOB", b"", b"", b""])
data += struct.pack("<5i", 512, 77, 0, 0, 0) + struct.pack("<BBH", 1, 1, 35) + b"Brask".ljust(30, b"\0") + b"\0"
open(sys.argv[1], "wb").write(data)
PY
start_x
launch_game
wait_window
window_seen=$(date +%s%N)
wait_region 2 0 0 240 320 start_screen.bmp 0 0
wait_region 5 0 0 240 320 main.bmp 0 0
shown_ms=$(( ($(date +%s%N) - window_seen) / 1000000 ))
[ "$shown_ms" -ge 800 ] || fail "the menu came only ${shown_ms} ms after the window"
shot menu
expect_region menu 55 24 130 30 main.bmp 55 24                # no resume button

started=$(date +%s%N) status=0
(cd "$GAME" && SDL_AUDIODRIVER=dummy timeout 10 ./zorblats) >"$WORK/second.log" 2>&1 || status=$?
took_ms=$(( ($(date +%s%N) - started) / 1000000 ))
[ "$status" -eq 0 ] && [ "$took_ms" -lt 2000 ] && [ ! -s "$WORK/second.log" ] ||
  fail "second copy: status $status after $took_ms ms, said: $(cat "$WORK/second.log")"
[ "$(xdotool search --name '^ZORBLATS$' | wc -l)" -eq 1 ] || fail "more than one game window"

tap 100 105                                                    # Options
wait_region 3 0 280 240 40 options.bmp 0 280
tap 26 141; tap 26 249; tap 30 300                             # difficulty 2, sound off, back
wait_region 3 0 0 240 320 main.bmp 0 0
[ "$(settings_byte 2) $(settings_byte 176) $(od -An -td4 -j 156 -N4 "$GAME/data/zorblats.set" | tr -d ' ')" = "2 0 512" ] || fail "options not saved"

tap 100 165                                                    # High scores
wait_region 3 0 0 240 60 scores.bmp 0 0
shot table
expect_not_region table 50 86 40 12 scores.bmp 50 86           # ALICE on row 1
expect_not_region table 150 86 25 12 scores.bmp 150 86         # 512
expect_region table 50 130 160 12 scores.bmp 50 130            # row 3 empty, no score 0
kill -9 "$GAME_PID"; wait_exit 5                                  # killed: the lock goes with it
launch_game
wait_window
wait_region 6 0 0 240 320 main.bmp 0 0
tap 100 105
wait_region 3 0 280 240 40 options.bmp 0 280
shot options
read -r rw rh < <(identify -format '%w %h\n' "$CONTENT_DIR/radio.bmp")
compose marked options.bmp radio.bmp 21 136
compose marked "$WORK/marked.png" radio.bmp 21 244
for y in 81 108 136 210 244; do expect_region options 21 "$y" "$rw" "$rh" "$WORK/marked.png" 21 "$y"; done
expect_not_region options 21 136 "$rw" "$rh" options.bmp 21 136
tap 30 300
wait_region 3 0 0 240 320 main.bmp 0 0
window=$(xdotool search --name '^ZORBLATS$' | head -1)
xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool key --window "$window" alt+F4                          # openbox's close binding
wait_exit 5
[ "$EXIT_STATUS" = 0 ] || fail "closing the window gave '$EXIT_STATUS'"
echo "start screen ${shown_ms} ms, second copy refused in $took_ms ms, options kept and marked, table shown, closed"
