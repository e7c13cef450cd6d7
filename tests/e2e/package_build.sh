#!/usr/bin/env bash
# Makes the Debian package that the other packaging tests read: CPack, in the layout Debian
# uses for games, into BUILD_DIR/deb/. A build configured some other way gets a sibling tree,
# BUILD_DIR/debian-games, configured as Debian configures games. SOURCE_DATE_EPOCH is left
# unset, so the package carries the date of its latest changelog entry.
# Usage: package_build.sh BUILD_DIR
. "$(dirname "$0")/lib.sh"
build=$(cd "${1:?build directory}" && pwd)
unset SOURCE_DATE_EPOCH

cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
show_fail() { tail -40 "$2" >&2; fail "$1"; }

tree=$build
if [ "$(cache CMAKE_INSTALL_BINDIR)" != games ] || [ "$(cache CMAKE_INSTALL_DATADIR)" != share/games ]; then
    tree=$build/debian-games
    cmake -S "$(cache CMAKE_HOME_DIRECTORY)" -B "$tree" -DBUILD_TESTING=OFF -DCMAKE_INSTALL_PREFIX=/usr \
        -DCMAKE_INSTALL_BINDIR=games -DCMAKE_INSTALL_DATADIR=share/games >"$tmp/configure.log" 2>&1 \
        || show_fail "configuring the packaging tree" "$tmp/configure.log"
    cmake --build "$tree" -j2 >"$tmp/build.log" 2>&1 || show_fail "building the packaging tree" "$tmp/build.log"
fi

# Packed aside and moved into place whole: package_reproducible.sh may be waiting for it.
rm -rf "$build/deb" "$build/deb.new"
(cd "$tree" && cpack -G DEB -B "$build/deb.new") >"$tmp/cpack.log" 2>&1 || show_fail "cpack -G DEB" "$tmp/cpack.log"
mv "$build/deb.new" "$build/deb"
debs=("$build/deb"/riverduel_*_*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one riverduel_VERSION_ARCH.deb, got ${debs[*]}"
pass "cpack made $(basename "${debs[0]}")"
