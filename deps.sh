#!/usr/bin/env bash
# Installs the Debian packages River Duel needs, quietly, only those that are missing.
# Usage: ./deps.sh build|test|tree|windows|windows-test [--lists-fresh]
#   build  what building and playing the game needs
#   test   that and what the tests need (the Windows game's among them)
#   tree   of the test list, what building the test tree needs; the package lists are brought
#          up to date when anything of the whole test list is missing, so that `./deps.sh test
#          --lists-fresh` (no second apt-get update) can install the rest while the tree builds
#   windows  what ./package-windows.sh needs besides `build`: the cross compiler, zip, NSIS;
#            windows-test  that and Wine, to run the Windows game in the tests
set -euo pipefail

# valgrind on amd64 cannot start without the C library's symbols (libc6-dbg),
# and Debian only recommends them. The same goes for clang's libFuzzer and sanitizer
# runtimes (libclang-rt-dev), which the fuzz test needs.

build=(cmake g++ make pkg-config gettext liballegro4-dev libloadpng4-dev libenet-dev libstb-dev libsndfile1-dev
       libminiupnpc-dev libnatpmp-dev libx11-dev libxext-dev libxrender-dev)
test=(libgtest-dev libbenchmark-dev xvfb xauth xdotool imagemagick x11-utils alsa-utils sox
      desktop-file-utils appstream dpkg-dev fakeroot lintian valgrind libc6-dbg clang libclang-rt-dev
      miniupnpd-nftables nftables iproute2 python3)
# libc6-dbg is the C library's exact version: installed with the tree's packages, it brings the
# C library up to date (if it must) before the build starts, never under a running compiler.
tree=(libgtest-dev libbenchmark-dev libc6-dbg)
windows=(g++-mingw-w64-x86-64-posix curl zip python3 nsis)
windows_test=(wine wine64 xvfb xauth xdotool imagemagick x11-utils)

missing_of() {
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || echo "$pkg"
    done
}

case "${1:-build}" in
    build) wanted=("${build[@]}"); listed=("${build[@]}") ;;
    test) wanted=("${build[@]}" "${test[@]}" "${windows[@]}" "${windows_test[@]}"); listed=("${wanted[@]}") ;;
    tree) wanted=("${build[@]}" "${tree[@]}"); listed=("${build[@]}" "${test[@]}" "${windows[@]}" "${windows_test[@]}") ;;
    windows) wanted=("${build[@]}" "${windows[@]}"); listed=("${wanted[@]}") ;;
    windows-test) wanted=("${build[@]}" "${windows[@]}" "${windows_test[@]}"); listed=("${wanted[@]}") ;;
    *) echo "usage: $0 build|test|tree|windows|windows-test [--lists-fresh]" >&2; exit 2 ;;
esac
lists_fresh=no
[ "${2:-}" = --lists-fresh ] && lists_fresh=yes

mapfile -t missing < <(missing_of "${wanted[@]}")
mapfile -t unlisted < <(missing_of "${listed[@]}")
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
if [ "${#unlisted[@]}" -gt 0 ] && [ "$lists_fresh" = no ]; then
    $sudo apt-get update -qq
fi
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
