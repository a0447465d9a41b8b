#!/bin/bash
# The browser build's measurements for PERFORMANCE.md: the site's size, plain and gzipped,
# then bench/web_bench.js in Debian's headless Chromium (load to the start screen and the
# menu; the whole browser's processor time idle in the menu and the name entry, and while
# playing, each beside a bare canvas in a second browser at the same time; the play frames'
# pacing). Build the site first with ./web.sh --build (it also builds the gallery tool, whose
# pictures tell the bench which screen shows, and installs playwright-core).
# Usage: bench/web_bench.sh [rounds] [seconds]   (defaults: 3 rounds, 10 s windows)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/.." && pwd)
site=$source_dir/build-web/site
native=$source_dir/build-web/native
rounds=${1:-3}
seconds=${2:-10}
[ -f "$site/zorblats.wasm" ] && [ -x "$native/tools/gallery/gallery" ] &&
  [ -d "$source_dir/web/node_modules/playwright-core" ] ||
  { echo "build the site first: ./web.sh --build" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/zorblats-webbench-XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "== machine: $(nproc) processors, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== the site ($site)"
printf "%-24s %10s %10s\n" file bytes gzip-9
total=0 packed=0
for file in $(cd "$site" && find . -type f | sed 's#^\./##' | sort); do
  bytes=$(stat -c %s "$site/$file")
  zipped=$(gzip -9 -c "$site/$file" | wc -c)
  printf "%-24s %10d %10d\n" "$file" "$bytes" "$zipped"
  total=$((total + bytes)) packed=$((packed + zipped))
done
printf "%-24s %10d %10d\n" total "$total" "$packed"
verdict=met
[ "$total" -lt 1000000 ] || verdict=MISSED
echo "site size: $total bytes, $packed gzipped  (goal < 1,000,000 bytes)  $verdict"
echo

SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$native/tools/gallery/gallery" "$native/bin" "$work/gallery" \
  >"$work/gallery.log" 2>&1 || { cat "$work/gallery.log" >&2; exit 1; }
echo "== headless Chromium, $rounds rounds of ${seconds} s windows (load $(cut -d' ' -f1-3 /proc/loadavg))"
CLK_TCK=$(getconf CLK_TCK) node "$here/web_bench.js" "$site" "$work/gallery" "$rounds" "$seconds"
echo "(load at the end $(cut -d' ' -f1-3 /proc/loadavg))"
