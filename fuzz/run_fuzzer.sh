#!/usr/bin/env bash
# Fuzzes a target for a while on a copy of its seed corpus (which holds its kept findings:
# the run starts by running every seed). Fails on any crash, leak, hang, sanitizer report or
# broken check.
# Usage: fuzz/run_fuzzer.sh <fuzzer> <seed-corpus-dir> <seconds>
set -euo pipefail
fuzzer=$1 seeds=$2 seconds=$3
[ -x "$fuzzer" ] || { echo "no fuzzer at $fuzzer (build the fuzz tree)" >&2; exit 1; }
[ -d "$seeds" ] || { echo "no seed corpus at $seeds (run fuzz/make_corpus.sh)" >&2; exit 1; }
work=$(mktemp -d -t zorblats-fuzzrun-XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r "$seeds" "$work/corpus"
# Each input has 10 s; the fuzzer's own limits catch leaks and more than 2 GB of memory.
status=0
"$fuzzer" -max_total_time="$seconds" -timeout=10 -close_fd_mask=3 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work/corpus" > "$work/log" 2>&1 || status=$?
tail -n 12 "$work/log"
if [ "$status" -ne 0 ]; then
  echo "the fuzzer failed (status $status)"
  for found in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
    [ -f "$found" ] || continue
    echo "input $(basename "$found") as hex: $(od -An -v -tx1 "$found" | tr -d ' \n' | head -c 2000)"
    echo "its run with the target's own output:"
    "$fuzzer" -runs=1 -timeout=20 "$found" 2>&1 | tail -n 40 || true
  done
  exit 1
fi
