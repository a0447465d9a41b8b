#!/usr/bin/env bash
# A long run of a fuzz target (the whole-game fuzzer unless told) on every core: one libFuzzer
# process a core, each with a seed of its own and its share of the inputs, all on one corpus
# grown from the seeds of make_corpus.sh. Appends what the run did (inputs, time, coverage,
# findings) to docs/fuzz-long-runs.txt, the record behind the README's figures, and keeps each
# finding as hex in fuzz/regressions/<target>/.
# Usage: fuzz/long_run.sh <fuzz build folder> [inputs, 1000000] [target, game_fuzzer]
set -euo pipefail
tree=$(cd "$1" && pwd) inputs=${2:-1000000} target=${3:-game_fuzzer}
here=$(cd "$(dirname "$0")" && pwd)
cores=$(nproc)
work=$(mktemp -d -t zorblats-long-run-XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
"$here/make_corpus.sh" "$tree" "$work/seeds" >/dev/null
mkdir "$work/corpus"
for ((i = 1; i <= cores; ++i)); do
  "$tree/fuzz/$target" -runs=$((inputs / cores)) -seed="$i" -timeout=20 -close_fd_mask=3 \
    -entropic_scale_per_exec_time=1 -print_final_stats=1 -artifact_prefix="$work/$i-" \
    "$work/corpus" "$work/seeds/$target" >"$work/$i.log" 2>&1 &
done
wait  # a process that found something ends early; the others go on to their share
made=$(awk '/^stat::number_of_executed_units:/ {n += $2} END {print n + 0}' "$work"/*.log)
edges=$(cat "$work"/*.log | grep -o 'cov: [0-9]*' | cut -c6- | sort -n | tail -1)
found=()
for finding in "$work"/*-{crash,leak,timeout,oom}-*; do
  [ -f "$finding" ] || continue
  found+=("${finding##*/}")
  mkdir -p "$here/regressions/$target"
  od -An -v -tx1 "$finding" >"$here/regressions/$target/${found[-1]}.hex"
done
line="$(date -u +%F) $target at $(git -C "$here" describe --always --dirty): $cores processes, $made inputs"
line+=" in $SECONDS s ($((made / (SECONDS + 1))) a second), coverage up to $edges edges; findings: ${found[*]:-none}"
echo "$line" | tee -a "$here/../docs/fuzz-long-runs.txt"
