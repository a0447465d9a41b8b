#!/usr/bin/env bash
# Under a Wayland compositor (a headless sway, tiling): the window the compositor sizes to
# its tile shows the picture at a whole scale centred on black; closing the window ends the
# game quietly with status 0; the compositor going away ends it within a second with the
# lost display's message and status 1. sway refuses to run as root: as root, the compositor
# and the game run as an unprivileged test user.
source "$(dirname "$0")/lib.sh"
TEST_USER=zorblats-e2e
AS_USER=(env -i)
if [ "$(id -u)" = 0 ]; then
  id -u "$TEST_USER" >/dev/null 2>&1 ||
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$TEST_USER"
  chown -R "$TEST_USER" "$WORK"
  AS_USER=(setpriv "--reuid=$TEST_USER" "--regid=$TEST_USER" --clear-groups env -i)
fi
AS_USER+=(HOME="$WORK" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" XDG_CONFIG_HOME="$XDG_CONFIG_HOME")

start_sway() {
  echo 'output HEADLESS-1 mode 1280x1024' >"$WORK/sway.conf"
  rm -f "$XDG_RUNTIME_DIR"/wayland-* "$XDG_RUNTIME_DIR"/sway-ipc.*
  "${AS_USER[@]}" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$WORK/sway.conf" >"$WORK/sway.log" 2>&1 &
  SWAY_PID=$!
  PIDS+=("$SWAY_PID")
  disown "$SWAY_PID"  # no job notice when the test kills it
  within 10 sway_sockets || fail "sway did not start within 10 s: $(cat "$WORK/sway.log")"
}
sway_sockets() {
  SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null || true)
  WL=$(cd "$XDG_RUNTIME_DIR" && ls wayland-? 2>/dev/null | head -1 || true)
  [ -n "$SWAYSOCK" ] && [ -n "$WL" ]
}
on_sway() { "${AS_USER[@]}" WAYLAND_DISPLAY="$WL" SWAYSOCK="$SWAYSOCK" "$@"; }
shot() { on_sway grim "$WORK/$1.png"; }
# The game's window's own area on the output, "X Y W H", once the compositor shows it.
window_area() {
  on_sway swaymsg -rt get_tree | python3 -c '
import json, sys
def views(node):
    yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []): yield from views(child)
for v in views(json.load(sys.stdin)):
    if v.get("name") == "ZORBLATS" and v.get("pid"):
        r, w = v["rect"], v["window_rect"]
        print(r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"])'
}
window_shown() { [ -n "$(window_area)" ]; }
# expect_centred WHAT: the menu at x 3, centred in the window's area, the rest of it black.
expect_centred() {
  local x y w h left top
  read -r x y w h <<<"$(window_area)"
  left=$((x + (w - 720) / 2)) top=$((y + (h - 960) / 2))
  wait_region 6 "$left" "$top" 720 960 "$WORK/main3.png" 0 0
  border=$(convert "$WORK/waiting.png" -crop "${w}x$h+$x+$y" +repage -fill black \
    -draw "rectangle $((left - x)),$((top - y)) $((left - x + 719)),$((top - y + 959))" -format '%[max]' info:)
  [ "$border" = 0 ] || fail "$1: the ${w}x$h window around the picture is not black"
  echo "$1: a ${w}x$h window shows the menu at x 3 at $left,$top"
}

convert "$CONTENT_DIR/main.bmp" -scale 300% "$WORK/main3.png"
start_sway
RUN_AS=("${AS_USER[@]}" WAYLAND_DISPLAY="$WL" SDL_VIDEODRIVER=wayland SDL_AUDIODRIVER=dummy)
launch_game --window
wait_window
expect_centred "tiled"
on_sway swaymsg -q '[title="^ZORBLATS$"] kill'
expect_end "closed" 0
launch_game --window
wait_window
expect_centred "again"
kill -KILL "$SWAY_PID"
expect_end "compositor killed" 1
