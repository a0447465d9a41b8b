#!/usr/bin/env bash
# High scores: a prepared table is shown; reset answered No keeps it (and rewrites the
# file), answered Yes by key clears the five scores.
source "$(dirname "$0")/lib.sh"

# A settings file written here: two names with scores, three empty places.
python3 - "$GAME/data/zorblats.set" <<'PY'
import struct, sys
names = [b"ALICE", b"BOB", b"", b"", b""]
scores = [512, 77, 0, 0, 0]
data = struct.pack("<HhH", 0, 1, 0)
data += b"".join(n.ljust(30, b"\0") for n in names)
data += struct.pack("<5i", *scores)
data += struct.pack("<BBH", 1, 1, 35) + b"Brask".ljust(30, b"\0") + b"\0"
assert len(data) == 211
open(sys.argv[1], "wb").write(data)
PY

score_at() {  # the score of place $1 in the file
  od -An -td4 -j $(( 156 + 4 * $1 )) -N4 "$GAME/data/zorblats.set" | tr -d ' '
}

start_x
launch_game
wait_window
wait_region 6 0 0 240 320 main.bmp 0 0
tap 100 165                                  # High scores
wait_region 3 0 0 240 60 scores.bmp 0 0
shot table
expect_not_region table 50 86 40 12 scores.bmp 50 86     # ALICE drawn on row 1
expect_not_region table 150 86 25 12 scores.bmp 150 86   # 512
expect_not_region table 50 108 25 12 scores.bmp 50 108   # BOB on row 2
expect_region table 50 130 90 12 scores.bmp 50 130       # row 3: no name
expect_region table 150 130 60 12 scores.bmp 150 130     # row 3: score 0 not drawn

inode=$(stat -c %i "$GAME/data/zorblats.set")
tap 150 219                                  # Reset
sleep 0.5
shot question
expect_not_region question 20 100 200 100 "$WORK/table.png" 20 100  # the box is up
key n
wait_region 3 0 60 240 140 "$WORK/table.png" 0 60         # table back as it was
[ "$(score_at 0)" -eq 512 ] && [ "$(score_at 1)" -eq 77 ] || fail "No changed the scores"
[ "$(stat -c %i "$GAME/data/zorblats.set")" != "$inode" ] || fail "No did not rewrite the file"

tap 150 219
sleep 0.5
key y
sleep 0.5
for place in 0 1 2 3 4; do
  [ "$(score_at $place)" -eq 0 ] || fail "place $place still scores $(score_at $place)"
done
[ "$(settings_byte 6)" -eq 0 ] || fail "the first name was not cleared"
shot cleared
expect_region cleared 50 86 160 34 scores.bmp 50 86      # rows 1 and 2 empty now
echo "table shown; No kept it, Yes cleared it"
