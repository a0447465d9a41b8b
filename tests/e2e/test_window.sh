#!/usr/bin/env bash
# On a 1280 x 1024 desktop whose work area leaves a 48-pixel panel (1280 x 976): --window opens
# the game at x 2 with sharp pixels, since x 3 with openbox's frame would not fit, the frame
# centred in the work area; F11 switches to the full screen, the picture x 3 centred on black,
# where taps land on the buttons and choose options that are saved; Alt+Enter comes back to
# the window in its place, not in a corner, where taps land too, the MENU button of the play
# screen among them; the config file keeps the last choice. A second copy ends at once,
# quietly; after a kill (the lock goes with the process) the game starts again, in the window.
source "$(dirname "$0")/lib.sh"
start_x 1280x1024
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0, 0, 1280, 976"
launch_game --window
shot() { import -window "$shown" "$WORK/$1.png"; }  # the game's window alone, or the screen

# Waits until the game's window shows, 480 x 640 with its frame centred in the work area, and
# shows the menu at x 2.
expect_placed() {
  within 10 placed_centred || fail "$1: window '$window' not centred, 480x640: ${placed:-none}"
  shown=$window
  wait_region 3 0 0 480 640 main.bmp 0 0 2
  echo "$1: the frame's corner and the window's size $placed"
}
placed_centred() {
  local left right top bottom x y w h
  window=$(xdotool search --onlyvisible --name '^ZORBLATS$' | head -1) || return
  read -r left right top bottom <<<"$(xprop -id "$window" _NET_FRAME_EXTENTS | tr -c '0-9\n' ' ' | cut -c2-)"
  read -r x y w h <<<"$(xwininfo -id "$window" | awk '/Absolute upper-left|Width:|Height:/{printf "%s ", $NF}')"
  placed="$((x - ${left:-0})),$((y - ${top:-0})) ${w}x$h"
  [ "$placed" = "$(( (1280 - 480 - left - right) / 2 )),$(( (976 - 640 - top - bottom) / 2 )) 480x640" ]
}
expect_placed "at start"
said=$(cd "$GAME" && SDL_AUDIODRIVER=dummy timeout 2 ./zorblats 2>&1) && [ -z "$said" ] ||
  fail "a second copy did not end at once, quietly, with status 0; it said: $said"

xdotool key F11                                                 # the menu draws nothing by itself
shown=root
wait_region 3 280 32 720 960 main.bmp 0 0 3
border=$(convert "$WORK/waiting.png" -fill black -draw "rectangle 280,32 999,991" -format '%[max]' info:)
[ "$border" = 0 ] || fail "the border around the full-screen picture is not black"
grep -qx fullscreen=1 "$XDG_CONFIG_HOME/zorblats/zorblats.conf" || fail "full screen not kept in zorblats.conf"
tap 581 348                                             # Options at game (100, 105)
wait_region 3 280 32 720 960 options.bmp 0 0 3
tap 358 455; tap 358 779; tap 371 933                   # difficulty 2, sound off, Back
wait_region 3 280 32 720 960 main.bmp 0 0 3
saved() { od -An -v -tu1 "$GAME/data/zorblats.set" | tr -s ' \n' ' ' | cut -d' ' -f4,178; }
[ "$(saved)" = "2 0" ] || fail "difficulty and sound saved as $(saved), not 2 0"

xdotool key alt+Return
expect_placed "back from the full screen"
grep -qx fullscreen=0 "$XDG_CONFIG_HOME/zorblats/zorblats.conf" || fail "the window not kept in zorblats.conf"
xdotool mousemove --window "$window" 201 211 click 1    # Options
wait_region 3 0 0 480 640 options.bmp 0 0 2
xdotool mousemove --window "$window" 60 600 click 1     # Back
wait_region 3 0 0 480 640 main.bmp 0 0 2
xdotool mousemove --window "$window" 200 140 click 1    # New game
wait_region 5 354 546 120 36 ingame.bmp 354 546 2  # play: its MENU button
xdotool mousemove --window "$window" 410 564 click 1    # MENU in play: the menu with Resume
wait_region 3 110 48 40 20 but_resume.bmp 0 0 2
kill -9 "$GAME_PID"
wait_exit 5
launch_game
expect_placed "started again after a kill"
echo "window x2 in the work area, full screen x3, taps landing in both, options saved, restarted"
