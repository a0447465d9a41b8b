#!/usr/bin/env bash
# What the game says before it opens a window: --help and --version, also when standard
# output cannot take them (status 1, as the GNU tools), a replay it cannot play, and the reason
# it cannot run from a folder (a backslash in its path, a path too long). No X server: nothing
# here opens one.
source "$(dirname "$0")/lib.sh"
# The executable copied into odd folders, its data beside it.
odd="$WORK/odd\\folder"
long="$WORK/$(printf '%0200d' 0)/$(printf '%060d' 0)"
for folder in "$odd" "$long"; do
  mkdir -p "$folder" && cp "$GAME/zorblats" "$folder/" && ln -s "$GAME/data" "$folder/data"
done
full="zorblats: write error: No space left on device"
: >"$WORK/empty.zrp"
# Each case: the folder, the option, where standard output goes, the status, the first line
# of standard output and standard error (nothing when empty).
while IFS=';' read -r folder option output status said error; do
  got=0
  env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 "$folder/zorblats" $option >"$output" 2>"$WORK/error" || got=$?
  [ "$output" = /dev/full ] && got="$got;" || got="$got;$(head -1 "$output")"
  [ "$got;$(cat "$WORK/error")" = "$status;$said;$error" ] ||
    fail "$folder/zorblats $option: '$got;$(cat "$WORK/error")', not '$status;$said;$error'"
done <<CASES
$GAME;--help;$WORK/out;0;Usage: zorblats [--window | --fullscreen] [--record FILE | --replay FILE];
$GAME;--version;$WORK/out;0;zorblats 1.0;
$GAME;--help;/dev/full;1;;$full
$GAME;--version;/dev/full;1;;$full
$GAME;--replay $WORK/none.zrp;$WORK/out;1;;zorblats: The replay $WORK/none.zrp cannot be opened: No such file or directory.
$GAME;--replay $WORK/empty.zrp;$WORK/out;1;;zorblats: The replay file is empty.
$odd;;$WORK/out;1;;zorblats: the game's path $odd/zorblats holds a backslash, which the game's paths take for a folder separator
$long;;$WORK/out;1;;zorblats: the game's path $long/zorblats is longer than the 259 bytes of the game's paths
CASES
echo "usage, version, write errors, unplayable replays and unusable folders reported with their reasons"
