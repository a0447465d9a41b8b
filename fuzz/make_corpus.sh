#!/usr/bin/env bash
# Makes the seed corpora of the fuzz targets from the content a build made.
# Usage: fuzz/make_corpus.sh <build-dir> <corpus-dir>
# Writes <corpus-dir>/<target>/ for every target; the same build gives the same seeds.
set -euo pipefail
build=$(cd "$1" && pwd)
out=$2
data=$build/bin/data
sources=$build/content-src
for f in "$data/0.pak" "$data/1.pak" "$data/story" "$sources/Player1.bmp"; do
  [ -f "$f" ] || { echo "make_corpus.sh: $f is missing; build the game_content target first" >&2; exit 1; }
done
rm -rf "$out"
mkdir -p "$out"/{pack_file_fuzzer,settings_fuzzer,textbox_fuzzer,source_image_fuzzer,config_fuzzer,game_fuzzer}

# Little-endian numbers as raw bytes.
u32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }
u16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))"; }
zeros() { head -c "$1" /dev/zero; }

# ---- Packs: the real ones, and plain tables of every image of the main pack alone ----
pf=$out/pack_file_fuzzer
pc=$pf
cp "$data/0.pak" "$pf/start_screen.pak"
cp "$data/1.pak" "$pf/main.pak"
gzip -dc "$data/0.pak" > "$pc/start_screen.table"
table=$(mktemp)
trap 'rm -f "$table"' EXIT
gzip -dc "$data/1.pak" > "$table"
count=$(od -An -tu4 -j0 -N4 "$table" | tr -d ' ')
offset=4
for ((i = 0; i < count; ++i)); do
  height=$(od -An -tu4 -j$((offset + 8)) -N4 "$table" | tr -d ' ')
  pitch=$(od -An -tu2 -j$((offset + 12)) -N2 "$table" | tr -d ' ')
  length=$((31 + pitch * height))
  { u32 1; dd if="$table" bs=65536 iflag=skip_bytes,count_bytes skip="$offset" count="$length" status=none; } > "$pc/image_$i.table"
  offset=$((offset + length))
done
# Small hand-made tables: empty, a 2 x 2 picture at each depth, and one with row padding.
u32 0 > "$pc/empty.table"
{ u32 1; u32 0; u32 2; u32 2; u16 4; printf '\x10'; u32 0xF800; u32 0x7E0; u32 0x1F; u32 0; printf 'ABCDEFGH'; } > "$pc/rgb565.table"
{ u32 1; u32 1; u32 2; u32 1; u16 8; printf '\x20'; u32 0xFF0000; u32 0xFF00; u32 0xFF; u32 0xFF000000; printf 'ABCDEFGH'; } > "$pc/argb.table"
{ u32 1; u32 0; u32 3; u32 2; u16 12; printf '\x18'; u32 0xFF0000; u32 0xFF00; u32 0xFF; u32 0; printf '123456789abc987654321cba'; } > "$pc/padded24.table"
{ u32 2; u32 0; u32 1; u32 1; u16 1; printf '\x08'; u32 0; u32 0; u32 0; u32 0; printf 'x';
  u32 0; u32 1; u32 1; u32 2; printf '\x10'; u32 0xF800; u32 0x7E0; u32 0x1F; u32 0; printf 'yz'; } > "$pc/two.table"
for f in "$pc"/*.table; do
  [ "$(stat -c %s "$f")" -le 20000 ] && gzip -1 -n -c "$f" > "$pf/$(basename "$f" .table).pak"
done

# ---- Settings files: a first start, a full table, names without a zero, odd lengths ----
st=$out/settings_fuzzer
defaults() { u16 0; u16 0; u16 0; zeros 150; zeros 20; printf '\x01\x01'; u16 35; printf 'Brask'; zeros 26; }
defaults > "$st/first_start.set"
name() { printf '%s' "$1"; zeros $((30 - ${#1})); }
{ u16 0; u16 1; u16 0; name Ann; name Bob; name Cid; name Dee; name Eve;
  u32 900; u32 700; u32 500; u32 300; u32 100; printf '\x00\x01'; u16 35; name Brask; printf '\x00'; } > "$st/table.set"
{ u16 7; u16 5; u16 9; for i in 1 2 3 4 5; do printf 'NoZeroNoZeroNoZeroNoZeroNoZero'; done;
  u32 -5; u32 12; u32 $((1 << 31)); u32 3; u32 $(((1 << 31) - 1)); printf '\x07\x02'; u16 65535;
  printf 'SpareSpareSpareSpareSpareSpare'; printf '\x09'; } > "$st/odd_values.set"
head -c 177 "$st/table.set" > "$st/short.set"
head -c 10 "$st/table.set" > "$st/inside_a_name.set"
: > "$st/empty.set"
{ cat "$st/table.set"; printf 'and more bytes than the record holds'; } > "$st/long.set"

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
for f in "$sources"/*.bmp; do
  [ "$(stat -c %s "$f")" -le 50000 ] && cp "$f" "$si/"
done
cp "$sources/start_screen.bmp" "$si/"
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
gf=$out/game_fuzzer
gap=0  # tens of milliseconds (0-15) before each event
byte() { printf "\\x$(printf %02x $(($1 & 255)))"; }
event() { byte $(($1 | gap << 4)); byte "$2"; byte "$3"; byte "$4"; }
pause() { event 0 $(($1 >> 8)) "$1" 0; }
tap() { event 4 "$1" "$2" $((($1 >> 8) | ($2 >> 8) << 1 | ${3:-0} << 2)); }  # x y [button-1]
touch() { event 1 "$1" "$2" $((($1 >> 8) | ($2 >> 8) << 1)); }                 # down only
lift() { event 2 "$1" "$2" $((($1 >> 8) | ($2 >> 8) << 1)); }
move() { event 3 "$1" "$2" $((($1 >> 8) | ($2 >> 8) << 1)); }
down() { event 5 "$1" "${2:-0}" "${3:-0}"; }  # key [character] [1: with Shift]
up() { event 6 "$1" 0 0; }
key() { event 7 "$1" "${2:-0}" "${3:-0}"; }
focus() { event 8 "$1" "$2" 0; }  # gained, state (1 mouse, 2 keyboard, 4 shown)
pad() { event 9 "$1" "$2" 0; }    # button, pressed
hat() { event 10 "$1" 0 0; }
stick() { event 11 "$1" $((($2 >> 8) & 255)) $(($2 & 255)); }
quit() { event 12 0 0 0; }
type() { local i; for ((i = 0; i < ${#1}; ++i)); do key 14 "$(printf %d "'${1:i:1}")"; done; }
# The keys by their place in the fuzzer's table.
Up=0 Down=1 Left=2 Right=3 Space=4 Ctrl=5 Enter=6 Esc=7 P=8 Tab=9 Back=10 Y=11 N=12 KpEnter=13 Shift=15
# The start byte: difficulty (0-2, 3: out of range), 4: sound off, 8: five scores, 16: no saves.
menus() { tap 120 71; }  # New Game; the other buttons lie 34, 67, 97, 135 and 168 lower
{ byte 0; gap=0; pause 1500; gap=15
  tap 120 105; tap 28 88; tap 28 115; tap 28 143; tap 28 251; tap 28 217; tap 30 304  # options
  tap 120 138; tap 190 305; tap 190 305; tap 70 300; tap 130 300                      # help
  tap 120 138; for i in 1 2 3 4; do tap 190 305; done
  tap 120 168; tap 160 219; key $N; tap 160 219; key $Y; tap 42 219                    # scores
  tap 120 206; tap 120 300; tap 36 300; tap 120 206; tap 36 300                        # about
  tap 120 239; } > "$gf/menus_by_taps"
{ byte 8; gap=0; pause 1500; gap=1  # the whole-game test's walk: keys, a focus loss and the pad
  down $Down; down $Down; down $Enter; down $Down; down $Right; down $Right; hat 4; hat 0; down $Esc
  down $Down; down $Enter; down $Right; down $Tab; down $Esc; down $Down; down $Enter; down $Down
  down $Down; down $Enter; down $Tab; down $Right; down $Enter; pad 1 1; pad 1 0; down $Down
  down $Enter; down $Down; down $Down; down $Enter; down $Esc; for i in 1 2 3 4; do down $Up; done
  down $Enter; up $Up; up $Right; pause 2000; focus 0 2; pause 2000; down $Down; pad 0 1; pad 0 0
  pad 0 1; pause 6000; focus 0 2; pause 2000; down $Down; down $Down; down $Enter; pause 2000
  pad 0 1; pad 0 0; pad 0 1; pause 5000; } > "$gf/whole_game_keys"
{ byte 2; gap=0; pause 1500; menus; pause 1100  # hard, fire held, a pause; a name by taps and keys
  down $Space; for i in 1 2 3 4; do down $Right; pause 700; up $Right; down $Left; pause 700; up $Left; done
  tap 208 282; pause 500; tap 120 39; pause 9000; down $Ctrl; pause 2800
  gap=3; tap 38 276; tap 18 293; tap 146 293; touch 101 293; move 130 293; move 112 293; lift 112 293
  type 'Zo'; key $Back; hat 2; hat 0; hat 4; hat 0; pad 0 1; pad 0 0; pad 1 1; pad 1 0; type '!'
  tap 228 276; } > "$gf/play_then_name"
{ byte 1; gap=0; pause 1500; menus; pause 1000  # the keys-and-taps replay's script, frame by frame
  for step in "5 down $Left" "1 down $Right" "14 up $Right" "10 down 14" "50 up $Left" "5 down $Ctrl" \
    "65 up 14" "10 down $Right" "40 tap 176 291" "20 tap 239 292" "10 up $Ctrl" "1 down $Up" \
    "19 tap 177 273" "50 down $Left"; do
    set -- $step; pause $(($1 * 50)); shift; "$@"
  done; pause 5000; quit; } > "$gf/keys_and_taps"
{ byte 18; gap=0; pause 1500; gap=15  # every save fails: the message box over options and scores
  tap 120 105; tap 28 88; tap 30 304; key $Enter; tap 120 168; tap 160 219; key $Y; key $Down
  key $Space; key $Esc; key $Esc; } > "$gf/saves_fail"
{ byte 5; gap=0; pause 1500; gap=15  # the pad and the focus in play: pauses and the stick
  hat 4; hat 0; pad 0 1; pad 0 0; pause 1500; stick 0 -20000; pad 2 1; pause 1000
  stick 0 9000; stick 0 0; focus 0 2; pad 6 1; pad 6 0; pause 500; focus 0 4; pad 1 1; pad 1 0
  pause 500; focus 1 6; pad 6 1; hat 1; pad 0 1; pad 0 0; pause 1000; pad 2 0; quit; } > "$gf/pad_and_focus"
{ byte 3; gap=0; pause 1500; gap=15  # the window closed on every screen
  for y in 105 138 168 206; do tap 120 $y; quit; done; tap 120 206; tap 120 300; quit
  menus; pause 2000; tap 208 282; quit; } > "$gf/closed_everywhere"
byte 0 > "$gf/first_start"

echo "seed corpora in $out: $(find "$out" -type f | wc -l) files"
