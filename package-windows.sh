#!/usr/bin/env bash
# Cross-builds River Duel for 64-bit Windows and packs it as build-windows/riverduel-VERSION-win64.zip:
# riverduel.exe (static: it needs only Windows' own DLLs), bitmaps/, sound/, the licences and
# a read-me, and the same as an installer, riverduel-VERSION-win64-setup.exe (NSIS). Two runs
# on one commit make the same zip and installer. The libraries are built once into
# build-windows/libs (remove it to build them again).
# With RIVERDUEL_WINDOWS_UNITY=ON the game is a unity build (a few source files compiled as one),
# as the test command builds it: quicker, and the same game.
# Usage: ./package-windows.sh [LINUX_BUILD_DIR]
#   LINUX_BUILD_DIR  a Linux build tree whose drawn art and sounds are taken; without it, the
#                    asset generator is built and run in build-windows/assets
set -euo pipefail
cd "$(dirname "$0")"
./deps.sh windows
out=${RIVERDUEL_WINDOWS_OUT:-build-windows}
mkdir -p "$out"
out=$(realpath "$out")
jobs=${JOBS:-$(nproc)}
version=$(sed -n 's/^project(riverduel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
step() { echo "== $* ($SECONDS s)"; }

assets=${1:-}
if [ -z "$assets" ]; then
    step "drawing the art and synthesising the sounds"
    assets=$out/assets
    cmake -S . -B "$assets" -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$assets" -j"$jobs" --target assets >/dev/null
fi
assets=$(realpath "$assets")

if [ ! -e "$out/libs/built" ]; then
    step "cross-building the libraries"
    rm -rf "$out/libs"
    JOBS=$jobs packaging/windows/build-libraries.sh "$out/libs" "$out/sources"
    touch "$out/libs/built"
fi

step "cross-building the game"
cmake -S . -B "$out/game" -DCMAKE_TOOLCHAIN_FILE=packaging/windows/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DRIVERDUEL_WINDOWS_PREFIX="$out/libs" \
    -DRIVERDUEL_ASSETS_FROM="$assets" -DCMAKE_UNITY_BUILD="${RIVERDUEL_WINDOWS_UNITY:-OFF}" >/dev/null
cmake --build "$out/game" -j"$jobs" >"$out/game.log" 2>&1 || { tail -40 "$out/game.log" >&2; exit 1; }
grep -i "warning" "$out/game.log" >&2 || true

step "packing"
name=riverduel-$version-win64
stage=$out/stage/$name
rm -rf "$out/stage" "$out/$name.zip" "$out/$name-setup.exe"
mkdir -p "$stage"
x86_64-w64-mingw32-strip -o "$stage/riverduel.exe" "$out/game/riverduel.exe"
cp -r "$out/game/bitmaps" "$out/game/sound" "$out/libs/licences" "$stage/"
# The compiler's runtime in the executable (winpthreads among it) asks for its notice.
cp /usr/share/doc/mingw-w64-common/copyright "$stage/licences/mingw-w64.txt"
cp LICENSE "$stage/LICENSE.txt"
cp packaging/windows/README-windows.txt "$stage/README.txt"
# Fixed dates and modes, names in one order, no extra fields: the same zip from the same commit.
find "$stage" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
chmod 755 "$stage/riverduel.exe"
find "$stage" -exec env TZ=UTC touch -h -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$out/stage" && find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D "$out/$name.zip" -@)
# The installer beside it: the same folder, into Program Files, with a Start menu entry.
makensis -V2 -DSTAGE="$stage" -DVERSION="$version" -DOUT="$out/$name-setup.exe" packaging/windows/riverduel.nsi
step "made $out/$name.zip and $out/$name-setup.exe"
