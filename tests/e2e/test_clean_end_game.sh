#!/usr/bin/env bash
# The clean ends of test_clean_end on the screens that follow a lost game: SIGTERM in the name
# entry (the name typed so far saved) and a lost X display on the game-over screen.
CLEAN_END_CASES="entry TERM yes
gameover X no" exec bash "$(dirname "$0")/test_clean_end.sh" "$@"
