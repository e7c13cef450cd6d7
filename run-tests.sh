#!/usr/bin/env bash
# Sets up, builds and runs every test: the whole suite, then the unit tests and the games
# played end to end again, built with AddressSanitizer and UndefinedBehaviorSanitizer (any
# report ends the program, and the test with it). Both runs always happen; the script exits
# non-zero when either has a failure.
set -euo pipefail
cd "$(dirname "$0")"
./deps.sh test
jobs="$(nproc)"
failed=0

cmake -S . -B build -DBUILD_TESTING=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest -j2 --output-on-failure --timeout 1200) || failed=1

# The tests labelled "sanitize"; the whole tree is built, so every tool they use is there.
cmake -S . -B build-asan -DBUILD_TESTING=ON -DRIVERDUEL_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest -j2 --output-on-failure --timeout 1200 -L sanitize --no-tests=error) || failed=1

exit "$failed"
