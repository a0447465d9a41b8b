#!/usr/bin/env bash
# Ended from outside: SIGTERM, SIGINT and SIGHUP end the game on every screen with status 0,
# once the screen has saved what it saves on leaving; a lost X display ends it with status 1
# and a one-line message. Either way within a second, leaving no process behind, the
# instance lock free for the next start and the 211-byte settings file whole. The name entry
# is reached by the keyboard alone: the menu by arrows and Enter, a game paused by Escape and
# resumed from the menu, Space held for a second of shots, the ship left in the open until
# enemy fire ends the game, a name typed on the real keyboard; SIGTERM there, the stylus held
# on an on-screen key, saves the name typed so far, without that key.
source "$(dirname "$0")/lib.sh"
SET="$GAME/data/zorblats.set"

reach() {  # reach SCREEN: from the main menu to SCREEN
  wait_region 6 0 0 240 320 main.bmp 0 0
  case $1 in
    options) tap 100 100; wait_region 3 0 0 240 60 options.bmp 0 0 ;;
    box) tap 100 165; wait_region 3 0 0 240 60 scores.bmp 0 0; tap 150 219
      wait_region 3 20 113 200 93 "$DOCS/18-reset-question.png" 20 113 ;;  # the question
    play) tap 100 70; wait_play 5 ;;
    gameover) tap 100 70; wait_region 40 20 140 200 40 game_over.bmp 0 0 ;;  # lost, no shot
    name) xdotool key Down Return; wait_play 5            # New game
      xdotool key Escape; wait_region 3 55 24 20 10 but_resume.bmp 0 0
      xdotool key Up Return; wait_play 3                  # Resume
      xdotool keydown space; sleep 1; xdotool keyup space  # shots for a second, as a player holds
      wait_region 50 0 0 240 60 scores.bmp 0 0
      xdotool type --delay 120 'Ada_9'; xdotool key BackSpace; xdotool type --delay 120 '!'
      xdotool mousemove 32 260 mousedown 1                 # the on-screen q, drawn pressed
      wait_region 3 24 252 16 16 keyboard_small_pushed.bmp 24 18 ;;
  esac
}

start_x
while read -r screen how status saves; do
  open_field  # each case from the same settings file (the field opened again comes out the same)
  inode=$(stat -c %i "$SET")
  launch_game
  reach "$screen"
  if [ "$how" = X ]; then kill -KILL "${PIDS[-2]}"; else kill -"$how" "$GAME_PID"; fi
  expect_end "$screen, $how" "$status"
  [ "$how" = X ] && start_x
  [ "$(stat -c %s "$SET")" = 211 ] || fail "$screen, $how: the settings file is not whole"
  saved=no && [ "$(stat -c %i "$SET")" != "$inode" ] && saved=yes  # saves write a new file
  [ "$saved" = "$saves" ] || fail "$screen, $how: saved $saved, not $saves"
done <<CASES
menu TERM 0 no
menu X 1 no
options HUP 0 yes
options X 1 no
play INT 0 no
play X 1 no
box TERM 0 yes
box X 1 no
gameover X 1 no
name TERM 0 yes
CASES
name=$(dd if="$SET" bs=1 skip=6 count=10 2>/dev/null | tr -d '\0')
[ "$name" = "Ada_!" ] || fail "SIGTERM in the name entry: the settings file holds the name '$name'"
