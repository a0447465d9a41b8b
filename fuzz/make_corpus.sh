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
mkdir -p "$out"/{pack_file_fuzzer,settings_fuzzer,textbox_fuzzer,source_image_fuzzer,config_fuzzer}

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

echo "seed corpora in $out: $(find "$out" -type f | wc -l) files"
