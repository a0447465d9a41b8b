#!/usr/bin/env bash
# The gallery in docs/screenshots, the software centres' large copies of some of its screens
# and the full screen at Wayland output scale 2 show the game as this tree draws it, pixel for
# pixel.
source "$(dirname "$0")/lib.sh"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$GAME_SOURCE_DIR/../tools/gallery/gallery" "$GAME" \
  "$WORK" >"$WORK/names.txt"
# Every picture of the gallery but the browser's (web/screenshots.js) and the Wayland full
# screen's (below) is drawn, and no other.
listed=$(sort "$WORK/names.txt" | tr '\n' ' ')
kept=$(cd "$DOCS" && ls ./*.png | sed 's|^./||; s|\.png$||' | grep -Ev '^(web|wayland)-' | sort | tr '\n' ' ')
[ -n "$listed" ] && [ "$listed" = "$kept" ] ||
  fail "the gallery tool drew '$listed', docs/screenshots holds '$kept'"
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
while read -r name; do
  same "$WORK/$name.bmp" "$DOCS/$name.png" ||
    fail "docs/screenshots/$name.png is not what the game draws: cmake --build build --target gallery"
done <"$WORK/names.txt"
for large in "$DOCS"/large/*.png; do
  convert "$WORK/$(basename "$large" .png).bmp" -scale 300% "$WORK/large.png"
  same "$WORK/large.png" "$large" || fail "docs/screenshots/large/${large##*/} is out of date"
done
convert -size 1920x1080 xc:black \( "$WORK/02-main-menu.bmp" -scale 300% \) -geometry +600+60 -composite \
  "$WORK/wide.png"
same "$WORK/wide.png" "$DOCS/wayland-scale-2.png" || fail "docs/screenshots/wayland-scale-2.png is out of date"
