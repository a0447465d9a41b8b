#!/usr/bin/env bash
# The Debian package, built from this source tree: lintian and the desktop's validators
# accept it, and the game unpacked from it starts from its link on the path and, its data
# folder taking no writes, keeps the options in the player's own data folder.
source "$(dirname "$0")/lib.sh"
mkdir "$WORK/src" "$WORK/root" "$WORK/home" "$WORK/player-run"
tar -C "$(dirname "$0")/../.." --exclude='./build*' --exclude=./.git --exclude='./obj-*' \
  --exclude=./fuzz-out --exclude=./debian/zorblats -cf - . | tar -xf - -C "$WORK/src"
(cd "$WORK/src" && nice dpkg-buildpackage -us -uc -b >"$WORK/package.log" 2>&1) ||
  { tail -40 "$WORK/package.log" >&2; fail "dpkg-buildpackage failed"; }
DEB=$(echo "$WORK"/zorblats_1.0-1_*.deb)
lint() { TMPDIR="$WORK" lintian "$@"; }  # it leaves a file in its temporary folder
lint --fail-on error,warning "$DEB" 2>/dev/null || fail "lintian: $(lint "$DEB" 2>&1)"

ROOT="$WORK/root"
dpkg -x "$DEB" "$ROOT"
desktop-file-validate "$ROOT/usr/share/applications/zorblats.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$ROOT"/usr/share/metainfo/*.xml >/dev/null || fail "AppStream metadata"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$ROOT/usr/share/man/man6/zorblats.6.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "manual page: $warnings"
# The icons' sizes in the order of their folders' names, each its folder's.
icons=$(identify -format '%wx%h ' "$ROOT"/usr/share/icons/hicolor/*/apps/zorblats.png)
[ "$icons" = "128x128 16x16 22x22 24x24 256x256 32x32 48x48 64x64 " ] || fail "icons: $icons"

# The data folder takes no writes; the player's folders are the game's own (as root it plays
# as nobody: AS_USER).
chmod -R a-w "$ROOT/usr/share/games/zorblats"
[ -n "${E2E_KEEP:-}" ] || trap 'chmod -R u+w "$ROOT"; cleanup' EXIT
if [ "$(id -u)" = 0 ]; then
  chmod 755 "$WORK" && chown nobody: "$WORK/home" "$WORK/player-run"
fi
start_x
GAME="$ROOT/usr/games"  # its link on the path
RUN_AS=("${AS_USER[@]}" HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/player-run" DISPLAY="$DISPLAY"
  SDL_AUDIODRIVER=dummy)
launch_game
wait_region 6 0 0 240 320 main.bmp 0 0
tap 100 105                                  # Options
wait_region 3 0 280 240 40 options.bmp 0 280
tap 26 141                                   # difficulty 2 row
tap 30 300                                   # back
wait_region 3 0 0 240 320 main.bmp 0 0
tap 100 240                                  # Exit
wait_exit 5
[ "$EXIT_STATUS" = 0 ] || fail "Exit did not end the installed game with status 0"
saved="$WORK/home/.local/share/zorblats/zorblats.set"
[ "$(stat -c %s "$saved" 2>/dev/null)" = 211 ] || fail "no 211-byte $saved: $(cat "$WORK/game.log")"
[ "$(od -An -tu1 -j2 -N1 "$saved" | tr -d ' ')" = 2 ] || fail "difficulty 2 was not saved"
echo "package built and lint-free; the installed game saved into the player's data folder"
