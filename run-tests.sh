#!/usr/bin/env bash
# Sets up, builds and runs every test: the whole suite, then the unit tests and the games
# played end to end again, built with AddressSanitizer and UndefinedBehaviorSanitizer (any
# report ends the program, and the test with it). Both runs always happen; the script exits
# non-zero when either has a failure. The Windows game is cross-built and tested under Wine
# beside them; `./run-tests.sh --no-windows` leaves it out (Linux only, a few minutes less).
set -euo pipefail
cd "$(dirname "$0")"
windows=1
case "${1:-}" in
    "") ;;
    --no-windows) windows=0 ;;
    *) echo "usage: $0 [--no-windows]" >&2; exit 2 ;;
esac
# What building needs comes first; the rest of the test packages install while the game builds.
./deps.sh tree
deps_log=$(mktemp)
deps_rc=$deps_log.rc
{ rc=0; ./deps.sh test --lists-fresh >"$deps_log" 2>&1 || rc=$?; echo "$rc" >"$deps_rc"; exit "$rc"; } &
deps=$!
jobs="$(nproc)"
failed=0
step() { echo "== $* ($SECONDS s)"; }

# The plain tree is laid out as Debian lays out games, so the package tests pack this build
# instead of building the game once more beside it. Both trees, and the Windows game, are unity
# builds (a few source files compiled as one), which nearly halves their compiling.
cmake -S . -B build -DBUILD_TESTING=ON -DCMAKE_UNITY_BUILD=ON -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_INSTALL_BINDIR=games -DCMAKE_INSTALL_DATADIR=share/games >/dev/null
asan=(-S . -B build-asan -DBUILD_TESTING=ON -DCMAKE_UNITY_BUILD=ON -DRIVERDUEL_SANITIZE=ON)
# The sanitized tree (everything its tests use; benchmarks and packaging are left out there)
# builds beside the plain one and then the suite, at idle priority: it only gets the processor
# time they leave unused (a link waiting on its objects, the tests waiting on the game), so the
# tests that time what they see and hear run as they would alone. The second build of the
# package shares that time with it, equally; the Windows build, at nice 19, comes before both.
idle=(chrt --idle 0)
"${idle[@]}" true 2>/dev/null || idle=(nice -n 19)
mkdir -p build-asan
set -m # its own process group, so that it can be stopped with its compilers
{ "${idle[@]}" cmake "${asan[@]}" >/dev/null && exec "${idle[@]}" cmake --build build-asan -j"$jobs"; } \
    >build-asan/build.log 2>&1 &
asan_build=$!
set +m
stop_asan_build() {
    if jobs -pr | grep -qx "$asan_build"; then kill -TERM -- "-$asan_build" 2>/dev/null || true; fi
    wait "$asan_build" 2>/dev/null || true
}
trap stop_asan_build EXIT
# The Windows game's libraries cross-build once the test packages are in, at nice 19;
# its game, then its tests under Wine, once the Linux build is done (its art and sounds).
if [ "$windows" = 1 ]; then
    rm -f build/windows-ready
    { until [ -s "$deps_rc" ]; do kill -0 $$ 2>/dev/null || exit 1; sleep 1; done
      [ "$(cat "$deps_rc")" = 0 ] && tests/windows/run.sh build build/windows-ready $$; } \
        >build/windows-tests.log 2>&1 &
    windows_tests=$!
fi
cmake --build build -j"$jobs"
step "the plain tree built"
touch build/windows-ready

deps_done=0
wait "$deps" || deps_done=$?
cat "$deps_log"
rm -f "$deps_log"
if [ "$deps_done" -ne 0 ]; then
    echo "installing the test packages failed" >&2
    exit 1
fi

# The second build of the package runs beside the rest at idle priority, as its own ctest
# (it waits for the package the suite makes), so that the sanitized tests need not wait for it.
(cd build && ctest -R '^package_reproducible$' -FS package --output-on-failure --timeout 1200) \
    >build/reproducible.log 2>&1 &
reproducible=$!

# Four tests at a time (tests/CMakeLists.txt counts each as two processors), never a busy one
# beside one that times what it sees and hears.
(cd build && ctest -j9 -E '^package_reproducible$' --output-on-failure --timeout 1200) || failed=1
step "the plain tests done"

# What is left of the sanitized build (or all of it again, when it failed) goes on at the
# normal priority, here in front.
stop_asan_build
trap - EXIT
grep -v '\*\*\* .*Terminated$' build-asan/build.log || true
cmake "${asan[@]}" >/dev/null
cmake --build build-asan -j"$jobs"
step "the sanitized tree built"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest -j9 --output-on-failure --timeout 1200 -L sanitize --no-tests=error) || failed=1
step "the sanitized tests done"
wait "$reproducible" || failed=1
cat build/reproducible.log
step "the second build of the package done"

if [ "$windows" = 1 ]; then
    wait "$windows_tests" || { echo "the Windows tests failed:" >&2; failed=1; }
    cat build/windows-tests.log
    step "the Windows tests done"
fi

rm -f "$deps_rc"
exit "$failed"
