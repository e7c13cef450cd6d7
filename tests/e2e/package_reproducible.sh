#!/usr/bin/env bash
# A second checkout of the same source, in a directory of another depth, built afresh and
# packaged, gives the same .deb byte for byte as the suite's own build (the package that
# package_build.sh made, dated by the changelog as this one is; once built, it waits up to
# 10 minutes for that package, which the test command makes beside it).
# Usage: package_reproducible.sh SOURCE_DIR BUILD_DIR
src=$(cd "${1:?source directory}" && pwd)
build=$(cd "${2:?build directory}" && pwd)
# The scratch directory lies in the build tree: see `launcher` below.
TMPDIR=$build . "$(dirname "$0")/lib.sh"
unset SOURCE_DATE_EPOCH
# The tree package_build.sh packed, and how it was compiled: a compiler launcher such as ccache
# may write the paths it sees relative to the tree (its base_dir) into the objects, so the second
# build goes through the same launcher, lies where the first lies in its source, and is a unity
# build when the first was.
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
tree=$build
[ "$(cache CMAKE_INSTALL_BINDIR)" = games ] && [ "$(cache CMAKE_INSTALL_DATADIR)" = share/games ] ||
    tree=$build/debian-games
launcher=$(sed -n "s/^CMAKE_CXX_COMPILER_LAUNCHER:[A-Z]*=//p" "$tree/CMakeCache.txt")
unity=$(sed -n "s/^CMAKE_UNITY_BUILD:[A-Z]*=//p" "$tree/CMakeCache.txt")
place=$(realpath -m --relative-to="$src" "$tree")
case "$place" in ../*) place=../build ;; esac

# checkout DIR: the source's files as git knows them (tracked or new, not ignored) into DIR.
checkout() {
    mkdir -p "$1"
    if git -C "$src" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git -C "$src" ls-files -z --cached --others --exclude-standard |
            tar -C "$src" --null -T - --ignore-failed-read -cf - | tar -C "$1" -xf -
    else
        tar -C "$src" --exclude=./.git --exclude='./build*' -cf - . | tar -C "$1" -xf -
    fi
}

# The build takes only the processor time the other tests leave.
idle=(chrt --idle 0)
"${idle[@]}" true 2>/dev/null || idle=(nice -n 19)

other="$tmp/one level/deeper/riverduel"
checkout "$other"
second=$(realpath -m "$other/$place")
{ cmake -S "$other" -B "$second" -DBUILD_TESTING=OFF -DCMAKE_INSTALL_PREFIX=/usr \
      -DCMAKE_INSTALL_BINDIR=games -DCMAKE_INSTALL_DATADIR=share/games \
      ${launcher:+-DCMAKE_CXX_COMPILER_LAUNCHER=$launcher} ${unity:+-DCMAKE_UNITY_BUILD=$unity} &&
  "${idle[@]}" cmake --build "$second" -j2 &&
  (cd "$second" && cpack -G DEB); } >"$tmp/build.log" 2>&1 ||
    { tail -40 "$tmp/build.log" >&2; fail "building the package in a second checkout"; }
for _ in $(seq 600); do [ -d "$build/deb" ] && break; sleep 1; done
main=$(package_file "$build")
debs=("$main" "$second"/riverduel_*_*.deb)
[ "${#debs[@]}" -eq 2 ] && [ -f "${debs[0]}" ] && [ -f "${debs[1]}" ] || fail "expected two packages, got ${debs[*]}"

if ! cmp "${debs[@]}"; then
    for i in 0 1; do dpkg-deb --ctrl-tarfile "${debs[$i]}" | tar -xOf - ./md5sums >"$tmp/md5sums$i"; done
    diff "$tmp/md5sums0" "$tmp/md5sums1" >&2 || true
    fail "the second checkout's package differs from the suite's"
fi
pass "a second checkout gives the same $(basename "${debs[0]}") as the suite's build, $(stat -c %s "${debs[0]}") bytes"
