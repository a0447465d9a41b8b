#!/usr/bin/env bash
# A second copy started while the first runs exits at once with status 0 and shows no
# window; the first keeps running.
source "$(dirname "$0")/lib.sh"
start_x
launch_game
wait_window
wait_region 6 0 0 240 320 main.bmp 0 0
started=$(date +%s%N)
status=0
(cd "$GAME" && SDL_AUDIODRIVER=dummy timeout 10 ./zorblats) >"$WORK/second.log" 2>&1 || status=$?
took_ms=$(( ($(date +%s%N) - started) / 1000000 ))
[ "$status" -eq 0 ] || fail "the second copy ended with status $status"
[ "$took_ms" -lt 2000 ] || fail "the second copy took $took_ms ms to give up"
[ ! -s "$WORK/second.log" ] || fail "the second copy printed: $(cat "$WORK/second.log")"
[ "$(xdotool search --name '^ZORBLATS$' | wc -l)" -eq 1 ] || fail "more than one game window"
ended "$GAME_PID" && fail "the first copy ended"
tap 100 105                                  # the first copy still answers
wait_region 3 0 280 240 40 options.bmp 0 280
echo "second copy refused in $took_ms ms with status 0; the first runs on"
