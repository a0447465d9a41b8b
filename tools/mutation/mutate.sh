#!/usr/bin/env bash
# Breaks the game on purpose, one fault at a time, in a scratch copy of the sources; after
# each fault it rebuilds the in-process test program and runs it. A fault the tests do not
# catch "survives": either a test is missing or the change does not alter what the game
# does. Prints one line per fault and the score.
# Usage: tools/mutation/mutate.sh [scratch-dir] [grep pattern choosing faults]
set -uo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
work=${1:-/tmp/zorblats-mutants}
pick=${2:-.}
faults="$src/tools/mutation/faults.txt"
mkdir -p "$work"
rm -rf "$work/src" && mkdir -p "$work/src"
tar -C "$src" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$work/src" -xf -
cmake -S "$work/src" -B "$work/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORBLATS_BENCH=OFF \
  > "$work/configure.log" || { echo "configure failed: $work/configure.log"; exit 1; }
build() { cmake --build "$work/build" -j"$(nproc)" --target zorblats_tests > "$work/build.log" 2>&1; }
suite() {
  (cd "$work/build/tests" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    timeout 600 ./zorblats_tests --gtest_brief=1 > "$work/suite.log" 2>&1)
}
build && suite || { echo "the unbroken sources fail: $work/build.log $work/suite.log"; exit 1; }

total=0 caught=0 survivors=()
while IFS='|' read -r file before after; do
  case "$file" in ''|'#'*) continue ;; esac
  printf '%s\n' "$file $before" | grep -q -e "$pick" || continue
  total=$((total + 1))
  target="$work/src/$file"
  # The text must stand exactly once in the file, or the fault list is out of date.
  if ! B="$before" A="$after" perl -0777 -ne '$n = () = /\Q$ENV{B}\E/g;
       die "found $n times\n" if $n != 1; s/\Q$ENV{B}\E/$ENV{A}/; print' "$target" > "$work/mutant"; then
    echo "STALE     $file: '$before'"; survivors+=("stale: $file: $before"); continue
  fi
  cp "$target" "$work/original" && cp "$work/mutant" "$target"
  if ! build; then
    result="NOBUILD"
  elif suite; then
    result="SURVIVED"; survivors+=("$file: '$before' -> '$after'")
  else
    result="caught"; caught=$((caught + 1))
  fi
  cp "$work/original" "$target"  # a fresh time stamp: the next build compiles it again
  printf '%-9s %s: %s -> %s\n' "$result" "$file" "$before" "$after"
done < "$faults"
echo "caught $caught of $total faults"
for s in "${survivors[@]}"; do echo "  survived: $s"; done
