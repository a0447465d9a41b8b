#!/usr/bin/env bash
# Runs the unit and in-process tests of a tree built with -DZORBLATS_SANITIZE=ON and fails
# on any AddressSanitizer, LeakSanitizer or UndefinedBehaviorSanitizer report, also one
# written by a child process whose exit status no test looks at.
# Usage: fuzz/run_sanitized_suite.sh <sanitized-build-dir>
set -uo pipefail
log=$(mktemp -t zorblats-sanitized-XXXXXX.log)
trap 'rm -f "$log"' EXIT
# Full stacks on every allocation, so that the few library leaks in lsan.supp are matched
# by the library call that made them and nothing of the game's own is hidden.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:fast_unwind_on_malloc=0
export LSAN_OPTIONS=suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir "$1" -LE e2e -E shuffled_suite --output-on-failure -j2 --timeout 600 > "$log" 2>&1
status=$?
tail -n 40 "$log"
if grep -E -q "ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:" "$log"; then
  echo "sanitizer reports:"
  grep -E -A 12 "ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:" "$log" | head -n 80
  exit 1
fi
exit $status
