#!/usr/bin/env bash
# Ended from outside: SIGTERM, SIGINT and SIGHUP end the game on every screen with status 0,
# once the screen has saved what it saves on leaving; a lost X display ends it with status 1
# and a one-line message. Either way within a second, leaving no process behind, the
# instance lock free for the next start and the 211-byte settings file whole. (The game-over
# screen is test_clean_end_game's case, the name entry test_keyboard's.)
source "$(dirname "$0")/lib.sh"
SET="$GAME/data/zorblats.set"
open_field
cp "$SET" "$WORK/start.set"

reach() {  # reach SCREEN: from the main menu to SCREEN
  wait_region 6 0 0 240 320 main.bmp 0 0
  case $1 in
    options) tap 100 100; wait_region 3 0 0 240 60 options.bmp 0 0 ;;
    box) tap 100 165; wait_region 3 0 0 240 60 scores.bmp 0 0; tap 150 219 ;;
    play) tap 100 70; sleep 1.5 ;;
    gameover) tap 100 70; wait_region 40 20 140 200 40 game_over.bmp 0 0 ;;  # lost, no shot
  esac
  sleep 0.3
}

start_x
while read -r screen how saves; do
  cp "$WORK/start.set" "$SET"
  inode=$(stat -c %i "$SET")
  launch_game
  wait_window
  reach "$screen"
  what="$screen, $how"
  started=$(date +%s%N)
  if [ "$how" = X ]; then kill -KILL "${PIDS[-2]}"; else kill -"$how" "$GAME_PID"; fi
  pid=$GAME_PID
  wait_exit 1
  ms=$(( ($(date +%s%N) - started) / 1000000 ))
  if [ "$EXIT_STATUS" = running ]; then
    cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
    before=$(cpu) && sleep 0.5
    fail "$what: still running after ${ms} ms, $(( $(cpu) - before )) CPU ticks in the next 0.5 s"
  fi
  want=0 && [ "$how" = X ] && want=1
  [ "$EXIT_STATUS" = "$want" ] || fail "$what: exit status $EXIT_STATUS, not $want"
  if [ "$how" = X ]; then
    [ "$(grep -c . "$WORK/game.log")" = 1 ] && grep -q display "$WORK/game.log" ||
      fail "$what: not one line about the display: $(cat "$WORK/game.log")"
    start_x
  fi
  [ "$(stat -c %s "$SET")" = 211 ] || fail "$what: the settings file is not whole"
  [ "$saves" = yes ] && [ "$(stat -c %i "$SET")" = "$inode" ] && fail "$what: not saved"
  [ "$saves" = no ] && ! cmp -s "$SET" "$WORK/start.set" && fail "$what: settings changed"
  echo "$what: status $EXIT_STATUS after $ms ms"
done <<<"${CLEAN_END_CASES:-"menu TERM no
menu X no
options HUP yes
options X no
play INT no
play X no
box TERM yes
box X no"}"
