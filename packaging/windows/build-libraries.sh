#!/usr/bin/env bash
# Cross-builds the libraries of the Windows game into PREFIX from their released sources,
# fetched into WORK and checked against the sums below (Debian's orig tarballs, whose sums its
# signed .dsc files give; ENet from the npm registry). Only what the game uses is built: the
# Allegro core (static, patched for Wine), libsndfile without external codecs, and miniupnpc
# (the Windows game asks its router by UPnP only: Debian's libnatpmp source cannot be had).
# Each library's licence is copied to PREFIX/licences. Usage: build-libraries.sh PREFIX WORK
set -euo pipefail
prefix=$(realpath -m "${1:?prefix}")
work=$(realpath -m "${2:?work directory}")
here=$(cd "$(dirname "$0")" && pwd)
jobs=${JOBS:-$(nproc)}
debian=http://deb.debian.org/debian/pool/main
mkdir -p "$prefix/include/enet" "$prefix/licences" "$work"

# fetch URL SHA256: into WORK, once, checked. A download cut short is tried again, as a busy
# mirror cuts one now and then.
fetch() {
    local file=$work/${1##*/}
    if [ ! -s "$file" ]; then
        curl -sSf --retry 5 --retry-all-errors --retry-delay 2 -o "$file.part" "$1"
        mv "$file.part" "$file"
    fi
    echo "$2  $file" | sha256sum -c --quiet - || { echo "$file: wrong checksum" >&2; exit 1; }
    tar -xzf "$file" -C "$work"
}
fetch $debian/a/allegro4.4/allegro4.4_4.4.3.1.orig.tar.gz ec19dbc9a021244582b4819b3583ee594b50141f9fcf6944a4ed8069cbf8d4d4
fetch $debian/libs/libsndfile/libsndfile_1.2.0.orig.tar.gz 62dc4e2bcd45f6f0e89cbc3522cc90eb174dca0eef0a0d19ead289833b390cd7
fetch $debian/m/miniupnpc/miniupnpc_2.2.4.orig.tar.gz 481a5e4aede64e9ef29895b218836c3608d973e77a35b4f228ab1f3629412c4b
fetch https://registry.npmjs.org/enet.c/-/enet.c-2.1.2.tgz 789bfed7ded7020923d2d09196081addc2d131db5c2183bf26bb7e30dd407d85

cross=(-DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release
       -DCMAKE_INSTALL_PREFIX="$prefix" -Wno-dev)
# build NAME SOURCE OPTIONS...: configures, builds and installs one library, and says how long it took.
build() {
    local name=$1 source=$2 started=$SECONDS
    shift 2
    cmake -S "$source" -B "$work/build-$name" "${cross[@]}" "$@" >"$work/$name.log" 2>&1 &&
        cmake --build "$work/build-$name" -j"$jobs" >>"$work/$name.log" 2>&1 &&
        cmake --install "$work/build-$name" >>"$work/$name.log" 2>&1 ||
        { tail -30 "$work/$name.log" >&2; echo "building $name failed (log: $work/$name.log)" >&2; exit 1; }
    echo "$name built in $((SECONDS - started)) s"
}

patch -d "$work/allegro-4.4.3.1" -p1 -N -s <"$here/allegro-wine.patch" || true
grep -q GUID_SysKeyboard, "$work/allegro-4.4.3.1/src/win/wkeybd.c" &&
    grep -q "msg.message == WM_QUIT" "$work/allegro-4.4.3.1/src/win/wwnd.c" || { echo "the Allegro patch did not apply" >&2; exit 1; }
# Side by side: each one's configuring, which runs one check at a time, beside the others' compiling.
build allegro "$work/allegro-4.4.3.1" -DSHARED=OFF -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF \
    -DWANT_JPGALLEG=OFF -DWANT_EXAMPLES=OFF -DWANT_TOOLS=OFF -DWANT_TESTS=OFF -DWANT_DOCS=OFF &
allegro=$!
build sndfile "$work/libsndfile-1.2.0" -DBUILD_SHARED_LIBS=OFF -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF \
    -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DENABLE_CPACK=OFF -DENABLE_PACKAGE_CONFIG=OFF &
sndfile=$!
build miniupnpc "$work/miniupnpc-2.2.4" -DUPNPC_BUILD_SHARED=OFF -DUPNPC_BUILD_TESTS=OFF -DUPNPC_BUILD_SAMPLE=OFF
wait "$allegro"
wait "$sndfile"
# ENet is one header, compiled by the game (network/enet_port_windows.cpp).
cp "$work/package/include/enet.h" "$prefix/include/enet/enet.h"

cp "$work/allegro-4.4.3.1/docs/txt/license.txt" "$prefix/licences/allegro.txt"
cp "$work/libsndfile-1.2.0/COPYING" "$prefix/licences/libsndfile.txt"
cp "$work/miniupnpc-2.2.4/LICENSE" "$prefix/licences/miniupnpc.txt"
cp "$work/package/LICENSE" "$prefix/licences/enet.txt"
