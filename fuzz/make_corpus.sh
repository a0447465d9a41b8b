#!/usr/bin/env bash
# Makes the seed corpora of the fuzz targets from the content a build made.
# Usage: fuzz/make_corpus.sh <build-dir> <corpus-dir>
# Writes <corpus-dir>/<target>/ for every target; the same build gives the same seeds.
set -euo pipefail
build=$(cd "$1" && pwd) out=$2
here=$(cd "$(dirname "$0")" && pwd)
data=$build/bin/data
sources=$build/content-src
for f in "$data/0.pak" "$data/1.pak" "$data/story" "$sources/Player1.bmp"; do
  [ -f "$f" ] || { echo "make_corpus.sh: $f is missing; build the game_content target first" >&2; exit 1; }
done
rm -rf "$out"
mkdir -p "$out"/{pack_file_fuzzer,settings_fuzzer,textbox_fuzzer,source_image_fuzzer,config_fuzzer,game_fuzzer,replay_fuzzer}

# Numbers as raw bytes, little-endian.
byte() { printf "\\x$(printf %02x $(($1 & 255)))"; }
u16() { byte "$1"; byte $(($1 >> 8)); }
u32() { u16 "$1"; u16 $(($1 >> 16)); }
zeros() { head -c "$1" /dev/zero; }

# ---- Packs: the real ones, the start screen's as a plain table, and small made tables ----
# (The main pack's images, each alone in a plain table, reached nothing more than these.)
pf=$out/pack_file_fuzzer
cp "$data/0.pak" "$pf/start_screen.pak"
cp "$data/1.pak" "$pf/main.pak"
gzip -dc "$data/0.pak" > "$pf/start_screen.table"
# Small hand-made tables: a picture of 32 bits with alpha, one of 24 with row padding, and two
# pictures (8 and 16 bits) in one table.
{ u32 1; u32 1; u32 2; u32 1; u16 8; printf '\x20'; u32 0xFF0000; u32 0xFF00; u32 0xFF; u32 0xFF000000; printf 'ABCDEFGH'; } > "$pf/argb.table"
{ u32 1; u32 0; u32 3; u32 2; u16 12; printf '\x18'; u32 0xFF0000; u32 0xFF00; u32 0xFF; u32 0; printf '123456789abc987654321cba'; } > "$pf/padded24.table"
{ u32 2; u32 0; u32 1; u32 1; u16 1; printf '\x08'; u32 0; u32 0; u32 0; u32 0; printf 'x';
  u32 0; u32 1; u32 1; u32 2; printf '\x10'; u32 0xF800; u32 0x7E0; u32 0x1F; u32 0; printf 'yz'; } > "$pf/two.table"
for f in "$pf"/*.table; do
  [ "$(stat -c %s "$f")" -le 20000 ] && gzip -1 -n -c "$f" > "$pf/$(basename "$f" .table).pak"
done

# ---- Settings files: a first start, a full table, names without a zero and odd values (the
# fuzzer cuts them short and lengthens them) ----
st=$out/settings_fuzzer
{ u16 0; u16 0; u16 0; zeros 150; zeros 20; printf '\x01\x01'; u16 35; printf 'Brask'; zeros 26; } > "$st/first_start.set"
name() { printf '%s' "$1"; zeros $((30 - ${#1})); }
{ u16 0; u16 1; u16 0; name Ann; name Bob; name Cid; name Dee; name Eve;
  u32 900; u32 700; u32 500; u32 300; u32 100; printf '\x00\x01'; u16 35; name Brask; printf '\x00'; } > "$st/table.set"
{ u16 7; u16 5; u16 9; for i in 1 2 3 4 5; do printf 'NoZeroNoZeroNoZeroNoZeroNoZero'; done;
  u32 -5; u32 12; u32 $((1 << 31)); u32 3; u32 $(((1 << 31) - 1)); printf '\x07\x02'; u16 65535;
  printf 'SpareSpareSpareSpareSpareSpare'; printf '\x09'; } > "$st/odd_values.set"

# ---- Help texts: the shipped story, with and without pictures, and a fuzzed picture ----
tb=$out/textbox_fuzzer
cp "$data/story" "$tb/story.txt"
{ cat "$data/story"; printf '\0'; cat "$data/help_ship.bmp"; } > "$tb/story_and_picture"
{ printf 'Text <BOLD>bold</BOLD> and a picture<IMAGE>f.bmp</BOLD> after it.\nNext paragraph.'; printf '\0';
  cat "$sources/Player1.bmp"; } > "$tb/own_picture"
printf 'a<BOLD\n\n<IMAGE>data\\help_gifts.bmp<x>>> \r\n\200\377 word' > "$tb/tags"
for i in $(seq 1 30); do printf 'line %d with some words to wrap around the box\n' "$i"; done > "$tb/many_pages.txt"

# ---- Source bitmaps: the pictures the build draws, and other depths and encodings ----
si=$out/source_image_fuzzer
find "$sources" -name '*.bmp' \( -size -50001c -o -name start_screen.bmp \) -exec cp -t "$si" {} +
convert "$sources/Player1.bmp" -type TrueColor BMP3:"$si/player_24.bmp"
convert "$sources/Player1.bmp" -type TrueColorAlpha BMP:"$si/player_32.bmp"
convert "$sources/Player1.bmp" -colors 16 -type Palette BMP3:"$si/player_8.bmp"
convert "$sources/Player1.bmp" -colors 16 -type Palette -compress RLE BMP3:"$si/player_rle8.bmp"
convert "$sources/Player1.bmp" -monochrome BMP3:"$si/player_1.bmp"
convert "$sources/Player1.bmp" -flip -define bmp:format=bmp2 BMP2:"$si/player_os2.bmp" || true
# ---- Display config files: as the game writes them; hand-edited and damaged ----
cf=$out/config_fuzzer
printf '# ZORBLATS display\nfullscreen=0\n' > "$cf/written.conf"
printf '  fullscreen = 0 \r\n# a note\ncolour=red\nfullscreen=yes\n=\n\377\000junk\nfullscreen=0x' > "$cf/hand_edited.conf"

# ---- Whole games: timed events (fuzz/game_fuzzer.cpp gives the format) ----
# game <file> <start byte> <steps>: the start byte as the fuzzer reads it (difficulty 0-2 or
# 3: out of range, 4: sound off, 8: five scores, 16: no saves), then one event a step:
#   w<ms> a wait; g<0-15> the gap before each later event (tens of ms); t<x,y> a tap;
#   T, M, L<x,y> a touch going down, moving, lifting; d, u, k<key> a key down, up, pressed;
#   =<text> typed on key a; f<gained,state> the focus (state: 1 mouse, 2 keyboard, 4 shown);
#   b<button,pressed> a pad button; h<hat> the pad's hat; s<axis,value> its stick; q close.
declare -A keys=([Up]=0 [Down]=1 [Left]=2 [Right]=3 [Space]=4 [Ctrl]=5 [Enter]=6 [Esc]=7
  [P]=8 [Tab]=9 [Back]=10 [Y]=11 [N]=12 [KpEnter]=13 [A]=14 [Shift]=15)
ops=TLMtdukfbhsq  # each step letter at its event's number (1-12)
event() { byte $(($1 | gap << 4)); byte "$2"; byte "$3"; byte "$4"; }
repeat() { for ((i = 0; i < $1; ++i)); do echo "${@:2}"; done; }
game() {
  local file=$1 gap=0 step op x y i
  { byte "$2"; shift 2
    for step; do
      op=${ops%%"${step:0:1}"*}
      op=$((${#op} + 1))
      IFS=, read -r x y <<< "${step:1}"
      case $step in
        g*) gap=$x ;;
        w*) event 0 $((x >> 8)) "$x" 0 ;;
        =*) for ((i = 0; i < ${#x}; ++i)); do event 7 14 "$(printf %d "'${x:i:1}")" 0; done ;;
        [TLMt]*) event $op "$x" "$y" $(((x >> 8) | (y >> 8) << 1)) ;;
        [duk]*) event $op "${keys[$x]}" 0 0 ;;
        s*) event 11 "$x" $((y >> 8)) "$y" ;;
        *) event $op "${x:-0}" "${y:-0}" 0 ;;
      esac
    done; } > "$out/game_fuzzer/$file"
}
# Every button of every menu by taps.
game menus_by_taps 0 w1500 g15 t120,105 t28,88 t28,115 t28,143 t28,251 t28,217 t30,304 \
  t120,138 t190,305 t190,305 t70,300 t130,300 t120,138 t190,305 t190,305 t190,305 t190,305 \
  t120,168 t160,219 kN t160,219 kY t42,219 t120,206 t120,300 t36,300 t120,206 t36,300 t120,239
# The whole-game test's walk: keys, a focus loss and the pad.
game whole_game_keys 8 w1500 g1 dDown dDown dEnter dDown dRight dRight h4 h0 dEsc dDown \
  dEnter dRight dTab dEsc dDown dEnter dDown dDown dEnter dTab dRight dEnter b1,1 b1,0 dDown \
  dEnter dDown dDown dEnter dEsc dUp dUp dUp dUp dEnter uUp uRight w2000 f0,2 w2000 dDown \
  b0,1 b0,0 b0,1 w6000 f0,2 w2000 dDown dDown dEnter w2000 b0,1 b0,0 b0,1 w5000
# A hard game with fire held and a pause, lost; a name by taps, a drag, keys and the pad.
game play_then_name 2 w1500 t120,71 w1100 dSpace $(repeat 4 dRight w700 uRight dLeft w700 uLeft) \
  t208,282 w500 t120,39 w9000 dCtrl w2800 g3 t38,276 t18,293 t146,293 \
  T101,293 M130,293 M112,293 L112,293 =Zo kBack h2 h0 h4 h0 b0,1 b0,0 b1,1 b1,0 =! t228,276
# Every save fails: the message box over options and scores.
game saves_fail 18 w1500 g15 t120,105 t28,88 t30,304 kEnter t120,168 t160,219 kY kDown \
  kSpace kEsc kEsc
# The pad and the focus in play: pauses and the stick.
game pad_and_focus 5 w1500 g15 h4 h0 b0,1 b0,0 w1500 s0,-20000 b2,1 w1000 s0,9000 s0,0 \
  f0,2 b6,1 b6,0 w500 f0,4 b1,1 b1,0 w500 f1,6 b6,1 h1 b0,1 b0,0 w1000 b2,0 q
# The golden replays' seeds: their options, New game and their player for as long as it played.
for golden in "$here"/../tests/golden/*.txt; do
  perl -ne 's/^seed // or next; s/\s+//g; print pack("H*", $_)' "$golden" \
    > "$out/game_fuzzer/golden_$(basename "$golden" .txt)"
done

# ---- Kept findings (fuzz/regressions/<target>/*.hex; for the replays, sessions the game
# recorded): each is a seed of its target, so every fuzzing run starts by running it ----
for hex in "$here"/regressions/*/*.hex; do
  target=$(basename "$(dirname "$hex")")
  perl -0777 -ne 's/\s+//g; print pack("H*", $_)' "$hex" > "$out/$target/kept_$(basename "$hex" .hex)"
done
echo "seed corpora in $out: $(find "$out" -type f | wc -l) files"
