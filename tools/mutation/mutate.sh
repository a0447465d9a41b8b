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
mkdir -p "$work"
rm -rf "$work/src" && mkdir -p "$work/src"
tar -C "$src" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$work/src" -xf -
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$work/src" -B "$work/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORBLATS_BENCH=OFF "${launcher[@]}" \
  > "$work/configure.log" || { echo "configure failed: $work/configure.log"; exit 1; }
build() { cmake --build "$work/build" -j"$(nproc)" --target zorblats_tests > "$work/build.log" 2>&1; }
suite() {
  (cd "$work/build/tests" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    timeout -s KILL 300 ./zorblats_tests --gtest_brief=1 --gtest_fail_fast > "$work/suite.log" 2>&1)
}
build && suite || { echo "the unbroken sources fail: $work/build.log $work/suite.log"; exit 1; }

total=0 caught=0 survivors=()
while IFS= read -r line; do
  case "$line" in ''|'#'*) continue ;; esac
  file=${line%%@@*} rest=${line#*@@}
  before=${rest%%@@*} after=${rest#*@@}
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
done < <(sed -n '/^exit$/,$p' "$0" | tail -n +2)
echo "caught $caught of $total faults"
for s in "${survivors[@]}"; do echo "  survived: $s"; done
exit
# The faults: file@@text as it stands (exactly once in the file)@@text with the fault.
settings/settings.cpp@@  if (fd < 0) return errno == ENOENT;@@  if (fd < 0) return true;
settings/settings.cpp@@      if (replaced == Replaced::NoNewFile && RewriteInPlace(target, bytes, sizeof bytes)) {@@      if (false && RewriteInPlace(target, bytes, sizeof bytes)) {
settings/settings.cpp@@  if (lstat(hostPath, &entry) != 0 || !S_ISLNK(entry.st_mode)) return hostPath;@@  if (true) return hostPath;
settings/settings.cpp@@  return ftruncate(fd, static_cast<off_t>(size)) == 0 && fsync(fd) == 0;@@  return ftruncate(fd, static_cast<off_t>(size - 1)) == 0 && fsync(fd) == 0;
settings/settings.cpp@@open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666)@@open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)
resources/pack.cpp@@    if (entry->depth < 1 || entry->depth > 32) {@@    if (entry->depth < 1 || entry->depth > 32 || entry->depth == 15) {
resources/pack.cpp@@  const int closed = gzclose(file);@@  const int closed = gzdirect(file) ? Z_DATA_ERROR : gzclose(file);
resources/pack_build.cpp@@    if (surface && surface->format->palette) surface@@    if (surface && surface->format->BitsPerPixel < 16) surface
platform/window_mode.cpp@@constexpr int kMaxWindowScale = 4;@@constexpr int kMaxWindowScale = 5;
platform/config_file.cpp@@(value == "0" || value == "1")@@(!value.empty())
