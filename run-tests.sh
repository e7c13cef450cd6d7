#!/usr/bin/env bash
# Sets up, builds and runs every test: the whole suite, then the unit tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
./deps.sh test
jobs="$(nproc)"

cmake -S . -B build -DBUILD_TESTING=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure --timeout 1200)

cmake -S . -B build-asan -DBUILD_TESTING=ON -DRIVERDUEL_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs" --target unit_tests
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure --timeout 1200 -R '^unit$')
