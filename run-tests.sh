#!/usr/bin/env bash
# Sets up, builds and runs every test: the whole suite, then the unit tests and the games
# played end to end again, built with AddressSanitizer and UndefinedBehaviorSanitizer (any
# report ends the program, and the test with it). Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
./deps.sh test
jobs="$(nproc)"

cmake -S . -B build -DBUILD_TESTING=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure --timeout 1200)

cmake -S . -B build-asan -DBUILD_TESTING=ON -DRIVERDUEL_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs" --target unit_tests riverduel text_mask send_close
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure --timeout 1200 \
    -R '^(unit|e2e_playthrough_loser[01]|e2e_random_play|e2e_menu_and_game|e2e_close_button)$')
