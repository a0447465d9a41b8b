#!/bin/sh
# make_gallery.sh <build-dir>: draws every screen of the game from <build-dir>/bin with the
# gallery tool already built in <build-dir>, and writes them as PNGs to docs/screenshots/, and
# the screens for the desktop's software centres (listed in the README's Screenshots section as
# links into docs/screenshots/large/) three times larger, sharp, to docs/screenshots/large/, and
# the main menu as a 1920 x 1080 full screen shows it at Wayland output scale 2.
# Builds nothing itself; needs ImageMagick's `convert`.
set -eu
if [ $# -ne 1 ]; then
  echo "usage: $0 <build-dir>" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
tool="$build/tools/gallery/gallery"
[ -x "$tool" ] || { echo "$0: $tool is missing; build the target gallery_tool first" >&2; exit 1; }
[ -f "$build/bin/data/1.pak" ] || { echo "$0: $build/bin/data has no packs; build zorblats first" >&2; exit 1; }
command -v convert >/dev/null || { echo "$0: ImageMagick's convert is needed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$tool" "$build/bin" "$work" >"$work/names.txt"

out="$repo/docs/screenshots"
mkdir -p "$out"
while read -r name; do
  # Plain 8-bit RGB PNGs without time stamps, so an unchanged screen gives an unchanged file.
  convert "$work/$name.bmp" -define png:exclude-chunks=date,time +set date:create +set date:modify \
    -strip "PNG24:$out/$name.png"
  echo "$out/$name.png"
done <"$work/names.txt"

# The software centres' screenshots: whole pixels repeated, as the game's window shows them.
mkdir -p "$out/large"
sed -n 's#^- \[.*\](docs/screenshots/large/\(.*\)\.png)$#\1#p' "$repo/README.md" |
  while read -r name; do
    convert "$out/$name.png" -scale 300% -define png:exclude-chunks=date,time +set date:create \
      +set date:modify -strip "PNG24:$out/large/$name.png"
    echo "$out/large/$name.png"
  done

# The full screen of a 1920 x 1080 panel at Wayland output scale 2, as the game draws it there in
# device pixels (tests/e2e/test_wayland.sh): the menu three times its size, centred on black.
convert -size 1920x1080 xc:black \( "$out/02-main-menu.png" -scale 300% \) -geometry +600+60 -composite \
  -define png:exclude-chunks=date,time +set date:create +set date:modify -strip "PNG24:$out/wayland-scale-2.png"
echo "$out/wayland-scale-2.png"
