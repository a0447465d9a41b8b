#!/usr/bin/env bash
# On a 1280 x 1024 screen: --window opens the game three times its size with sharp pixels;
# F11 switches to the full screen, the same picture centred on black, where taps land on
# the buttons; Alt+Enter goes back to the window, where they land too, the MENU button of
# the play screen among them; the config file keeps the last choice.
source "$(dirname "$0")/lib.sh"
shot() { import -window "${SHOT_WINDOW:-root}" "$WORK/$1.png"; }  # the game's window alone in window mode
start_x 1280x1024
launch_game --window
wait_window
SHOT_WINDOW=$(xdotool search --sync --onlyvisible --name '^ZORBLATS$' | head -1)
window_size() { xwininfo -id "$SHOT_WINDOW" | awk '/Width:|Height:/{printf "%s ", $NF}'; }
[ "$(window_size)" = "720 960 " ] || fail "the window is $(window_size), not 720 x 960"
for p in main options; do convert "$CONTENT_DIR/$p.bmp" -scale 300% "$WORK/${p}3.png"; done
wait_region 6 0 0 720 960 "$WORK/main3.png" 0 0

key F11                                                 # the menu draws nothing by itself
window=$SHOT_WINDOW SHOT_WINDOW=root
wait_region 3 280 32 720 960 "$WORK/main3.png" 0 0
border=$(convert "$WORK/waiting.png" -fill black -draw "rectangle 280,32 999,991" -format '%[max]' info:)
[ "$border" = 0 ] || fail "the border around the full-screen picture is not black"
grep -qx fullscreen=1 "$XDG_CONFIG_HOME/zorblats/zorblats.conf" || fail "full screen not kept in zorblats.conf"
tap 581 348                                             # Options at game (100, 105)
wait_region 3 280 32 720 960 "$WORK/options3.png" 0 0
tap 371 933                                             # Back at game (30, 300)
wait_region 3 280 32 720 960 "$WORK/main3.png" 0 0

key alt+Return
SHOT_WINDOW=$window
grep -qx fullscreen=0 "$XDG_CONFIG_HOME/zorblats/zorblats.conf" || fail "the window not kept in zorblats.conf"
[ "$(window_size)" = "720 960 " ] || fail "Alt+Enter gave a $(window_size) window, not 720 x 960"
xdotool mousemove --window "$window" 301 316 click 1    # Options
wait_region 3 0 0 720 960 "$WORK/options3.png" 0 0
xdotool mousemove --window "$window" 90 900 click 1     # Back
wait_region 3 0 0 720 960 "$WORK/main3.png" 0 0
xdotool mousemove --window "$window" 300 210 click 1    # New game, and past the banner
sleep 2.5
xdotool mousemove --window "$window" 615 846 click 1    # MENU in play: the menu with Resume
convert "$CONTENT_DIR/but_resume.bmp" -scale 300% "$WORK/resume3.png"
wait_region 3 165 72 60 30 "$WORK/resume3.png" 0 0
echo "window x3 and centred full screen x3, taps landing in both, in play too, the choice kept"
