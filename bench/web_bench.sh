#!/usr/bin/env bash
# Builds the browser build (./web.sh --build) and measures it in headless Chromium beside
# bare pages: load, size, idle and play processor time, frame pacing (bench/web_bench.js).
# Usage: bench/web_bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
./web.sh --build >/dev/null
echo "== machine: $(nproc) processors, load $(cut -d' ' -f1-3 /proc/loadavg)"
exec node bench/web_bench.js build-web/site build-web/native
