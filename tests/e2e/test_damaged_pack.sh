#!/usr/bin/env bash
# A truncated main pack ends start-up with a message naming it and a non-zero status,
# without a crash or a core dump.
source "$(dirname "$0")/lib.sh"
size=$(stat -c %s "$GAME/data/1.pak")
head -c $(( size / 2 )) "$GAME/data/1.pak" >"$WORK/half.pak"
mv "$WORK/half.pak" "$GAME/data/1.pak"
start_x
ulimit -c unlimited
launch_game
wait_exit 15
status=$EXIT_STATUS
[ "$status" != running ] || fail "the game kept running on a damaged pack"
[ "$status" -ne 0 ] || fail "the game ended with status 0 on a damaged pack"
[ "$status" -lt 128 ] || fail "the game crashed (status $status)"
grep -q '1.pak' "$WORK/game.log" || fail "the message does not name the pack: $(cat "$WORK/game.log")"
if ls "$GAME"/core* >/dev/null 2>&1; then fail "a core file was left"; fi
echo "damaged pack refused with status $status: $(head -1 "$WORK/game.log")"
