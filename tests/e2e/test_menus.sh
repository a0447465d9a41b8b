#!/usr/bin/env bash
# The front end from a first start, with no settings file: the start screen, then the menu; a
# second copy refused quietly; options chosen by taps and saved; the game killed, after which
# (the lock went with the killed copy) it starts again.
source "$(dirname "$0")/lib.sh"
start_x
launch_game
wait_window
wait_region 2 0 0 240 320 start_screen.bmp 0 0
wait_region 5 0 0 240 320 main.bmp 0 0

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
saved=$(od -An -v -tu1 "$GAME/data/zorblats.set" | tr -s ' \n' ' ' | cut -d' ' -f4,178)
[ "$saved" = "2 0" ] || fail "difficulty and sound saved as $saved, not 2 0"

kill -9 "$GAME_PID"; wait_exit 5                               # killed: the lock goes with it
launch_game
wait_window
wait_region 6 0 0 240 320 main.bmp 0 0
echo "start screen, second copy refused in $took_ms ms, options saved, started again after a kill"
