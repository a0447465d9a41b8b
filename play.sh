#!/usr/bin/env bash
# Builds ZORBLATS (installing the Debian packages it needs) and starts the game.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}"
cmake -S . -B build-play -DCMAKE_BUILD_TYPE=Release -DZORBLATS_TESTS=OFF -DZORBLATS_BENCH=OFF
cmake --build build-play -j"$(nproc)"
exec build-play/bin/zorblats
