#!/bin/sh
# Instruction counts (callgrind) of a play frame, loading and font selection beside their
# floors, and of the play loop's frame with the replay's recorder beside it without: steady on a shared machine where wall and CPU times are not.
# Usage: bench/count_instructions.sh [build-dir]   (default build-perf; the build must exist)
set -eu
build=${1:-"$(dirname "$0")/../build-perf"}
bench="$build/bench/zorblats_bench"
command -v valgrind >/dev/null || { echo "valgrind is missing (apt-get install valgrind), or the benchmarks were built without its header" >&2; exit 1; }
[ -x "$bench" ] || { echo "no $bench: build the benchmarks first (bench/run_all.sh does)" >&2; exit 1; }
out=$(mktemp -d /tmp/zorblats-callgrind-XXXXXX)
trap 'rm -rf "$out"' EXIT
valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out/cg" \
  "$bench" --instructions >"$out/log" 2>&1 || { cat "$out/log" >&2; exit 1; }
# Each dump names its section and repetitions ("PlayFrame/100") and sums its instructions.
for dump in "$out"/cg.*; do
  awk '/^desc: Trigger: Client Request: /{split($NF, s, "/"); name=s[1]; times=s[2]}
       /^(summary|totals):/{if (name != "") {printf "%s %.0f\n", name, $2 / times; name=""}}' "$dump"
done | awk '
  {ir[$1] = $2; printf "%-20s %12d instructions per call\n", $1, $2}
  END {
    printf "\n%-36s %8s  goal\n", "measured / floor", "ratio"
    printf "%-36s %8.2f  <= 2\n", "PlayFrame / FloorBlitAndFlip", ir["PlayFrame"] / ir["FloorBlitAndFlip"]
    printf "%-36s %8.2f  <= 1.5\n", "LoadImages / FloorInflatePack", ir["LoadImages"] / ir["FloorInflatePack"]
    printf "%-36s %8.3f  (two per frame)\n", "SelectFont / PlayFrame", ir["SelectFont"] / ir["PlayFrame"]
    printf "%-36s %8.3f  <= 1.02\n", "PlayLoopFrameRecording / PlayLoopFrame", ir["PlayLoopFrameRecording"] / ir["PlayLoopFrame"]
  }'
