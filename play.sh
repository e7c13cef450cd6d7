#!/usr/bin/env bash
# Sets up, builds and starts River Duel as a player finds it today (--comfort), saying what it
# does at each step.
set -euo pipefail
cd "$(dirname "$0")"
echo "River Duel 1/3: checking the Debian packages it needs (installing the missing ones)..."
./deps.sh build
echo "River Duel 2/3: building the game (the first time takes a minute or two)..."
mkdir -p build
cmake -S . -B build -DBUILD_TESTING=OFF >build/configure.log 2>&1 || { tail -20 build/configure.log; exit 1; }
if ! cmake --build build -j"$(nproc)" 2>&1 | tee build/build.log |
        awk '/^\[ *[0-9]+%\]/ { p = substr($0, 2, index($0, "%") - 2) + 0
                                if (p != last) { printf "\r  %3d %% built", p; fflush(); last = p } }
             END { print "" }'; then
    echo "The build failed; its last lines (all of them are in build/build.log):" >&2
    tail -20 build/build.log >&2
    exit 1
fi
echo "River Duel 3/3: starting the game"
cd build && exec ./riverduel --comfort --gamepads
