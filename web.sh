#!/usr/bin/env bash
# Builds ZORBLATS for web browsers and serves it at http://127.0.0.1:8000/.
#   ./web.sh            build build-web/site/, then serve it (Ctrl+C stops)
#   ./web.sh --build    only build
#   ./web.sh --lan      build, then serve it on every address of the machine as well, so
#                       that a phone on the same network can play it (the addresses are printed)
# Installs what it needs: the Debian packages (WEB_PACKAGES), the source packages of SDL 1.2
# and zlib (fetched from Debian into build-web/src through a private apt set-up, leaving
# the system's own alone) and the page's pinned npm packages (web/package-lock.json).
# The site is a folder of static files that any web server can serve.
set -euo pipefail
cd "$(dirname "$0")"
serve=1
listen=()
case "${1:-}" in
  --build) serve=0 ;;
  --lan) listen=(--lan) ;;
  "") ;;
  *) echo "usage: $0 [--build | --lan]" >&2; exit 2 ;;
esac
source tools/setup/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${WEB_PACKAGES[@]}"
jobs=$(nproc)
out=$PWD/build-web
mkdir -p "$out"

# ---- Debian's sources of SDL 1.2 and zlib, pinned --------------------------------------
SDL_SOURCE=libsdl1.2=1.2.15+dfsg2-8
ZLIB_SOURCE=zlib=1:1.2.13.dfsg-1
sdl_dir=$out/src/libsdl1.2-1.2.15+dfsg2
zlib_dir=$out/src/zlib-1.2.13.dfsg
if [ ! -f "$sdl_dir/src/SDL.c" ] || [ ! -f "$zlib_dir/inflate.c" ]; then
  apt_dir=$out/apt
  mkdir -p "$apt_dir"/{lists/partial,cache/archives/partial,parts} "$out/src"
  echo "deb-src http://deb.debian.org/debian bookworm main" >"$apt_dir/sources.list"
  private=(-o Dir::Etc::SourceList="$apt_dir/sources.list" -o Dir::Etc::SourceParts="$apt_dir/parts"
           -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache")
  # As root, apt would fetch as its own user, who cannot write into this folder.
  [ "$(id -u)" -eq 0 ] && private+=(-o APT::Sandbox::User=root)
  apt-get "${private[@]}" -qq update
  (cd "$out/src" && apt-get "${private[@]}" -qq source "$SDL_SOURCE" "$ZLIB_SOURCE")
fi

# ---- The content, made by the native build's own tools ---------------------------------
cmake -S . -B "$out/native" -DCMAKE_BUILD_TYPE=Release -DZORBLATS_TESTS=OFF -DZORBLATS_BENCH=OFF >/dev/null
cmake --build "$out/native" -j"$jobs" --target game_content icongen gallery_tool
icons=$out/icons
mkdir -p "$icons"
for size in 192 512; do mkdir -p "$icons/${size}x${size}"; done
"$out/native/tools/contentgen/icongen" content "$icons" 192 512
mkdir -p "$icons/controls"
"$out/native/tools/contentgen/icongen" content "$icons/controls" controls

# ---- The page's npm packages (the tests' and benchmarks' browser driver) ---------------
if [ ! -d web/node_modules/playwright-core ]; then
  (cd web && npm ci --no-audit --no-fund --silent)
fi

# ---- The game in WebAssembly -----------------------------------------------------------
export NODE_PATH=/usr/share/nodejs  # emcc's own modules (acorn) with the nodesource node
emcmake cmake -S . -B "$out/wasm" -DCMAKE_BUILD_TYPE=Release -DZORBLATS_TESTS=OFF \
  -DZORBLATS_BENCH=OFF -DZORBLATS_SDL_SOURCE="$sdl_dir" -DZORBLATS_ZLIB_SOURCE="$zlib_dir" \
  -DZORBLATS_WEB_DATA="$out/native/bin/data" >/dev/null
cmake --build "$out/wasm" -j"$jobs" --target zorblats

# ---- The site ---------------------------------------------------------------------------
site=$out/site
rm -rf "$site"
mkdir -p "$site/icons" "$site/controls"
cp web/index.html web/page.js web/manifest.webmanifest "$out/wasm/bin/zorblats".{js,wasm,data} "$site/"
for size in 192 512; do cp "$icons/${size}x${size}/zorblats.png" "$site/icons/zorblats-$size.png"; done
cp "$icons"/controls/*.png "$site/controls/"
# The service worker caches every file of this build under a name that changes with them.
files=$(cd "$site" && find . -type f | sed 's#^\./##' | sort)
version=$(cd "$site" && sha256sum $files | sha256sum | cut -c1-16)
list=$(printf '"%s",' ./ $files)
sed -e "s#@VERSION@#$version#" -e "s#@FILES@#${list%,}#" web/sw.js >"$site/sw.js"
echo "Built the site in $site ($(du -sk "$site" | cut -f1) KB)"

if [ "$serve" = 1 ]; then
  exec node web/serve.js "$site" 8000 "${listen[@]}"
fi
