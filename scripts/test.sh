#!/usr/bin/env bash
# Builds Pilkrona (installing what is missing) and runs every test twice: on the
# normal build in build/, then on a Debug build with the address and
# undefined-behaviour sanitizers in build-san/. Both must pass.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen

steg() {
  local start=$SECONDS
  "$@"
  echo "== $* ($((SECONDS - start)) s)"
}

steg bash scripts/setup.sh
steg ctest --test-dir build --output-on-failure -j "$(nproc)"

steg cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPILKRONA_SANITIZE=ON --log-level=WARNING
steg cmake --build build-san
steg ctest --test-dir build-san --output-on-failure -j "$(nproc)"
