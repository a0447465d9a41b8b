#!/usr/bin/env bash
# The clean ends of test_clean_end on the screen that follows a lost game: a lost X display on
# the game-over screen.
CLEAN_END_CASES="gameover X no" exec bash "$(dirname "$0")/test_clean_end.sh" "$@"
