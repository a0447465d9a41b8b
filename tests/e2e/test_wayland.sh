#!/usr/bin/env bash
# Under a Wayland compositor (sway, tiling, in a 1920 x 1080 window of an Xvfb whose keyboard
# and pointer it takes) with its output scaled 1, 2 and 1.25: the game draws in the output's
# device pixels, so the menu is x 3 (720 x 960 device pixels) and pixel-equal to its picture
# at x 3, centred on black, in the window the compositor tiles, in that window made floating
# and tiled again, on the full screen (F11) and back in the tile (F11 again); taps on the edges
# of buttons land on them. Closing the window ends the game quietly with status 0; the
# compositor going away ends it within a second with the lost display's message and status 1.
# The game is given the X display too (as Xwayland gives one): it takes the compositor. sway
# refuses to run as root: as root, the compositor and the game run as nobody.
source "$(dirname "$0")/lib.sh"
[ "$(id -u)" != 0 ] || chown -R nobody: "$WORK"
AS_USER+=(HOME="$WORK" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" XDG_CONFIG_HOME="$XDG_CONFIG_HOME")

# start_sway SCALE: a compositor in a 1920 x 1080 window of the X display, its output scaled so
# and its keyboard and pointer those of the X display.
start_sway() {
  printf 'output X11-1 mode 1920x1080 scale %s\nseat * hide_cursor 100\n' "$1" >"$WORK/sway.conf"
  rm -f "$XDG_RUNTIME_DIR"/wayland-* "$XDG_RUNTIME_DIR"/sway-ipc.*
  "${AS_USER[@]}" DISPLAY="$DISPLAY" WLR_BACKENDS=x11 WLR_RENDERER=pixman \
    sway -c "$WORK/sway.conf" >"$WORK/sway.log" 2>&1 &
  SWAY_PID=$!
  PIDS+=("$SWAY_PID")
  disown "$SWAY_PID"  # no job notice when the test kills it
  within 5 sway_ready || fail "sway did not start within 5 s: $(cat "$WORK/sway.log")"
}
sway_ready() {  # sets SWAYSOCK and WL, the sockets of the compositor
  SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null) &&
    WL=$(cd "$XDG_RUNTIME_DIR" && ls wayland-? 2>/dev/null | head -1) && [ -n "$WL" ]
}
on_sway() { "${AS_USER[@]}" WAYLAND_DISPLAY="$WL" SWAYSOCK="$SWAYSOCK" "$@"; }
shot() { on_sway grim "$WORK/$1.png"; }
# The game's window's own area on the output in device pixels, "X Y W H", once it shows.
# The reader's hook sees every node of the tree.
window_area() {
  on_sway swaymsg -rt get_tree | python3 -c '
import json, sys
def view(v):
    if v.get("name") == "ZORBLATS" and v.get("pid"):
        r, w = v["rect"], v["window_rect"]
        units = r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"]
        print(*(int(u * float(sys.argv[1]) + 0.5) for u in units))
    return v
json.load(sys.stdin, object_hook=view)' "$SCALE"
}
window_shown() { [ -n "$(window_area)" ]; }
# expect_centred WHAT ["X Y W H"]: the window's area (or the one given) shows the menu
# pixel-equal to its picture at x 3, centred, the rest black. Sets LEFT and TOP to its corner.
expect_centred() {
  local x y w h
  read -r x y w h <<<"${2:-$(window_area)}"
  LEFT=$((x + (w - 720) / 2)) TOP=$((y + (h - 960) / 2))
  within 6 centred "$x" "$y" "$w" "$h" ||  # past any screenshot taken mid-update
    fail "x$SCALE $1: the ${w}x$h area is $off pixels off the menu at x 3 at $LEFT,$TOP on black"
  echo "x$SCALE $1: a ${w}x$h area shows the menu at x 3 at $LEFT,$TOP"
}
centred() {  # centred X Y W H: the area shows the menu at x 3 at LEFT,TOP, pixel for pixel
  shot waiting
  off=$(region_diff waiting "$@" main.bmp $(($1 - LEFT)) $(($2 - TOP)) 3)
  [ "$off" = 0 ]
}
tap() { xdotool mousemove $((LEFT + $1 * 3 + 1)) $((TOP + $2 * 3 + 1)) click 1; }  # tap GAME_X GAME_Y

start_x 1920x1080 bare  # the session's X display, which the game must pass over
for SCALE in 1 2 1.25; do
  start_sway "$SCALE"
  RUN_AS=("${AS_USER[@]}" WAYLAND_DISPLAY="$WL" DISPLAY="$DISPLAY" SDL_AUDIODRIVER=dummy)
  launch_game --window
  expect_centred "tiled"
  tile=$(window_area)
  on_sway swaymsg -q '[title="^ZORBLATS$"] floating enable'
  expect_centred "made floating"
  on_sway swaymsg -q '[title="^ZORBLATS$"] floating disable'
  expect_centred "tiled again"
  xdotool key F11
  expect_centred "full screen" "0 0 1920 1080"
  xdotool key F11
  expect_centred "back in the tile" "$tile"
  tap 37 94                                             # Options, its top left pixel
  wait_region 6 "$LEFT" "$TOP" 720 960 options.bmp 0 0 3
  tap 56 317                                            # Back, its bottom right pixel
  expect_centred "tapped Options and Back" "$tile"
  [ "$SCALE" = 1.25 ] && break
  on_sway swaymsg -q '[title="^ZORBLATS$"] kill'
  expect_end "closed" 0
  kill "$SWAY_PID"
  within 5 ended "$SWAY_PID" || fail "sway did not end within 5 s"
done
kill -KILL "$SWAY_PID"
expect_end "compositor killed" 1
