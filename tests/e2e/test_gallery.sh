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
# same PICTURE CONVERT_ARGUMENT...: what convert makes of the arguments is PICTURE, pixel for pixel.
same() { [ "$(convert "${@:2}" miff:- | compare -metric AE - "$1" null: 2>&1)" = 0 ]; }
while read -r name; do
  same "$DOCS/$name.png" "$WORK/$name.bmp" ||
    fail "docs/screenshots/$name.png is not what the game draws: cmake --build build --target gallery"
done <"$WORK/names.txt"
for large in "$DOCS"/large/*.png; do
  same "$large" "$WORK/$(basename "$large" .png).bmp" -scale 300% ||
    fail "docs/screenshots/large/${large##*/} is out of date"
done
same "$DOCS/wayland-scale-2.png" -size 1920x1080 xc:black \( "$WORK/02-main-menu.bmp" -scale 300% \) \
  -geometry +600+60 -composite || fail "docs/screenshots/wayland-scale-2.png is out of date"
