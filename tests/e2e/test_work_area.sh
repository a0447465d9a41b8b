#!/usr/bin/env bash
# On a 1280 x 1024 desktop whose work area leaves a 48-pixel panel (1280 x 976): the x 3
# window with openbox's frame would not fit, so the window opens at x 2, its frame centred
# in the work area, and comes back there, not to a corner, after F11 and F11 again.
source "$(dirname "$0")/lib.sh"
start_x 1280x1024
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0, 0, 1280, 976"
convert "$CONTENT_DIR/main.bmp" -scale 200% "$WORK/main2.png"
convert "$CONTENT_DIR/main.bmp" -scale 300% "$WORK/main3.png"
launch_game --window
wait_window
window=$(xdotool search --sync --onlyvisible --name '^ZORBLATS$' | head -1)

# Waits until the window is 480 x 640 with its frame centred in the work area and shows
# the menu at x 2.
expect_placed() {
  local i left right top bottom x y w h
  for i in $(seq 1 30); do
    read -r left right top bottom <<<"$(xprop -id "$window" _NET_FRAME_EXTENTS | tr -c '0-9\n' ' ' | cut -c2-)"
    read -r x y w h <<<"$(xwininfo -id "$window" | awk '/Absolute upper-left|Width:|Height:/{printf "%s ", $NF}')"
    placed="$((x - ${left:-0})),$((y - ${top:-0})) ${w}x$h"
    [ "$placed" = "$(( (1280 - 480 - left - right) / 2 )),$(( (976 - 640 - top - bottom) / 2 )) 480x640" ] && break
    sleep 0.1
  done
  [ "$i" -lt 30 ] || fail "$1: the frame's corner and the window's size are $placed"
  shot() { import -window "$window" "$WORK/$1.png"; }
  wait_region 3 0 0 480 640 "$WORK/main2.png" 0 0
  echo "$1: the frame's corner and the window's size $placed"
}
expect_placed "at start"
key F11
shot() { import -window root "$WORK/$1.png"; }
wait_region 3 280 32 720 960 "$WORK/main3.png" 0 0
key F11
expect_placed "back from the full screen"
