#!/usr/bin/env bash
# The Windows game, from nothing: its libraries and the game cross-built in a fresh directory
# (nothing kept from an earlier run), then tested under Wine (wine.sh). The build runs at the
# lowest normal priority (nice 19): behind every Linux test, so that those keep the processor
# they time, but ahead of the sanitized build and the second package build (at idle priority),
# so that the Wine tests can run beside the sanitized tests rather than alone after them. The
# Wine tests, which time a duel, run at the normal priority.
# Usage: tests/windows/run.sh LINUX_BUILD_DIR [READY_FILE PID]
#   The Linux build's art and sounds are used. With READY_FILE, the libraries are built first
#   and the game once READY_FILE exists (the test command starts this while its Linux build
#   is still going); it gives up when process PID has ended without making it.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:?Linux build directory}")
out=$(mktemp -d "${TMPDIR:-/tmp}/riverduel-windows.XXXXXX")
trap 'rm -rf "$out"' EXIT
low=(nice -n 19)
started=$SECONDS
prefix=""
if [ -n "${2:-}" ]; then
    # Wine's prefix is made meanwhile, on an X server of its own.
    "${low[@]}" bash tests/e2e/xvfb.sh bash tests/windows/wine.sh --prefix "$out/wine" &
    prefix=$!
    "${low[@]}" packaging/windows/build-libraries.sh "$out/libs" "$out/sources"
    touch "$out/libs/built"
    until [ -e "$2" ]; do
        kill -0 "${3:?PID}" 2>/dev/null || { echo "windows: the Linux build never finished" >&2; exit 1; }
        sleep 1
    done
fi
RIVERDUEL_WINDOWS_OUT=$out RIVERDUEL_WINDOWS_UNITY=ON "${low[@]}" ./package-windows.sh "$build"
echo "windows: cross-built in $((SECONDS - started)) s"
started=$SECONDS
made=""
[ -n "$prefix" ] && wait "$prefix" && made=$out/wine
bash tests/e2e/xvfb.sh bash tests/windows/wine.sh "$build" "$out/game" $made
echo "windows: Wine tests passed in $((SECONDS - started)) s"
