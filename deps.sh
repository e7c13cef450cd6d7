#!/usr/bin/env bash
# Installs the Debian packages River Duel needs, quietly, only those that are missing.
# Usage: ./deps.sh build|test
set -euo pipefail

# valgrind on amd64 cannot start without the C library's symbols (libc6-dbg),
# and Debian only recommends them. The same goes for clang's libFuzzer and sanitizer
# runtimes (libclang-rt-dev), which the fuzz test needs.

build=(cmake g++ make pkg-config liballegro4-dev libloadpng4-dev libenet-dev libstb-dev libsndfile1-dev)
test=(libgtest-dev libbenchmark-dev xvfb xauth xdotool imagemagick x11-utils libx11-dev alsa-utils sox
      desktop-file-utils appstream dpkg-dev fakeroot lintian valgrind libc6-dbg clang libclang-rt-dev)

wanted=("${build[@]}")
[ "${1:-build}" = test ] && wanted+=("${test[@]}")

missing=()
for pkg in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
