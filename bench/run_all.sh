#!/bin/bash
# Builds the game and its benchmarks (Release) and runs every measurement of PERFORMANCE.md:
# the in-process benchmarks with their floors (five repetitions, medians), the play frame
# again on a plain window, the instruction counts under callgrind, and the real program
# under Xvfb (idle menu, play, idle name entry) on a 240 x 320 full screen, in a window and
# on the whole of a 1280 x 1024 screen.
# Usage: bench/run_all.sh [build-dir]   (default build-perf)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/.." && pwd)
build=${1:-$source_dir/build-perf}

# The benchmark library, callgrind, and an X server with a window manager and input tool.
source "$source_dir/tools/setup/packages.sh"
ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev valgrind xvfb openbox xdotool imagemagick

echo "== machine: $(nproc) processors, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"
cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZORBLATS_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target zorblats zorblats_bench startup_probe floor_program >/dev/null

repeat=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true)
echo "== in-process benchmarks, the game's own screen (dummy driver)"
"$build/bench/zorblats_bench" "${repeat[@]}"
echo
echo "== the play frame on a plain 240 x 320 window (dummy driver; the flip only copies)"
ZORBLATS_BENCH_SCREEN=window "$build/bench/zorblats_bench" "${repeat[@]}" \
  --benchmark_filter='BM_PlayFrame|BM_FloorBlitAndFlip|BM_SelectFont'
echo
echo "== instruction counts (callgrind), the game's own screen"
"$here/count_instructions.sh" "$build"
echo
echo "== instruction counts (callgrind), plain window"
ZORBLATS_BENCH_SCREEN=window "$here/count_instructions.sh" "$build"
echo
echo "== the real program under Xvfb (three rounds of 10 s idle and 10 s play)"
"$here/run_program.sh" "$build" 3
echo
echo "== the real program in a 720 x 960 window on 1280 x 1024 screens (three rounds)"
"$here/run_program.sh" "$build" 3 window
echo
echo "== the real program on the whole of 1280 x 1024 screens in full screen (three rounds)"
"$here/run_program.sh" "$build" 3 desktop
echo
echo "== the real program on 1920 x 1080 Wayland outputs at scale 2 in full screen (three rounds)"
"$here/run_program.sh" "$build" 3 wayland2

if [ -f "$source_dir/build-web/site/zorblats.wasm" ]; then
  echo
  echo "== the browser build in headless Chromium (the site of ./web.sh --build; five rounds)"
  "$here/web_bench.sh" 5
fi
