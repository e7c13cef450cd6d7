#!/usr/bin/env bash
# Sets up, builds and starts River Duel.
set -euo pipefail
cd "$(dirname "$0")"
./deps.sh build
cmake -S . -B build -DBUILD_TESTING=OFF >/dev/null
cmake --build build -j"$(nproc)" >/dev/null
cd build && exec ./riverduel
