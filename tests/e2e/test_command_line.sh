#!/usr/bin/env bash
# What the game says before it opens a window: --help and --version, also when standard
# output cannot take them (status 1, as the GNU tools), and the reason it cannot run from a
# folder (a backslash in its path, a path too long). No X server: nothing here opens one.
source "$(dirname "$0")/lib.sh"

# expect STATUS ERROR OUTPUT COMMAND...: the command, its standard output sent to OUTPUT, ends
# with STATUS and says ERROR on standard error (nothing when empty).
expect() {
  local want_status=$1 want_error=$2 output=$3 status=0
  shift 3
  env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 "$@" >"$output" 2>"$WORK/error" || status=$?
  [ "$status" = "$want_status" ] && [ "$(cat "$WORK/error")" = "$want_error" ] ||
    fail "$*: status $status, said '$(cat "$WORK/error")'; expected $want_status, '$want_error'"
}

expect 0 "" "$WORK/help" "$GAME/zorblats" --help
grep -q '^Usage: zorblats \[--window | --fullscreen\]' "$WORK/help" || fail "--help shows no usage"
expect 0 "" "$WORK/version" "$GAME/zorblats" --version
[ "$(cat "$WORK/version")" = "zorblats 1.0" ] || fail "--version says '$(cat "$WORK/version")'"
for option in --help --version; do
  expect 1 "zorblats: write error: No space left on device" /dev/full "$GAME/zorblats" "$option"
done

# The executable copied into odd folders, its data beside it.
odd="$WORK/odd\\folder"
long="$WORK/$(printf '%0200d' 0)/$(printf '%060d' 0)"
for folder in "$odd" "$long"; do
  mkdir -p "$folder" && cp "$GAME/zorblats" "$folder/" && ln -s "$GAME/data" "$folder/data"
done
expect 1 "zorblats: the game's path $odd/zorblats holds a backslash, which the game's paths take for a folder separator" \
  /dev/null "$odd/zorblats"
expect 1 "zorblats: the game's path $long/zorblats is longer than the 259 bytes of the game's paths" \
  /dev/null "$long/zorblats"
echo "usage, version, write errors and unusable folders reported with their reasons"
