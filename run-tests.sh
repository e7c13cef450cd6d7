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

# The tests labelled "sanitize"; the whole tree is built, so every tool they use is there.
cmake -S . -B build-asan -DBUILD_TESTING=ON -DRIVERDUEL_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure --timeout 1200 -L sanitize --no-tests=error)
