#!/usr/bin/env bash
# Builds ZORBLATS with its tests (installing the Debian packages they need) and runs the
# whole test suite through CTest.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
