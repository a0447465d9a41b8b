#!/usr/bin/env bash
# Builds ZORBLATS with its tests (installing the Debian packages they need) and runs the
# whole test suite through CTest. Besides the normal tree (build/) it builds the same tests
# with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/) and the fuzz targets
# with clang and libFuzzer (build-fuzz/); the final CTest run includes both as tests
# (sanitized_suite, fuzz_*), so its summary covers everything. The browser build (web.sh,
# build-web/) runs in it too, as web_e2e in headless Chromium.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WEB_PACKAGES[@]}"
jobs=$(nproc)

./web.sh --build

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZORBLATS_ASAN_TREE="$PWD/build-asan" -DZORBLATS_FUZZ_TREE="$PWD/build-fuzz" \
  -DZORBLATS_FUZZ_CORPUS="$PWD/build-fuzz/corpus" -DZORBLATS_WEB_TREE="$PWD/build-web"
cmake --build build -j"$jobs"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORBLATS_SANITIZE=ON -DZORBLATS_BENCH=OFF
cmake --build build-asan -j"$jobs"

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORBLATS_FUZZ=ON \
  -DZORBLATS_TESTS=OFF -DZORBLATS_BENCH=OFF
cmake --build build-fuzz -j"$jobs"
fuzz/make_corpus.sh build-fuzz build-fuzz/corpus

ctest --test-dir build --output-on-failure -j"$jobs"
