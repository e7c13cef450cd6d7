#!/usr/bin/env bash
# Two checkouts of the same source, in two directories of different depth, built and packaged
# with the same SOURCE_DATE_EPOCH, give the same .deb byte for byte.
# Usage: package_reproducible.sh SOURCE_DIR
. "$(dirname "$0")/lib.sh"
src=$(cd "${1:?source directory}" && pwd)

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

debs=()
for where in first "second/one level deeper"; do
    checkout "$tmp/$where/riverduel"
    tree=$tmp/$where/build
    { cmake -S "$tmp/$where/riverduel" -B "$tree" -DBUILD_TESTING=OFF -DCMAKE_INSTALL_PREFIX=/usr \
          -DCMAKE_INSTALL_BINDIR=games -DCMAKE_INSTALL_DATADIR=share/games &&
      cmake --build "$tree" -j2 &&
      (cd "$tree" && SOURCE_DATE_EPOCH=1700000000 cpack -G DEB); } >"$tmp/build.log" 2>&1 ||
        { tail -40 "$tmp/build.log" >&2; fail "building the package in $where"; }
    debs+=("$(echo "$tree"/riverduel_*_*.deb)")
done

if ! cmp "${debs[@]}"; then
    for i in 0 1; do dpkg-deb --ctrl-tarfile "${debs[$i]}" | tar -xOf - ./md5sums >"$tmp/md5sums$i"; done
    diff "$tmp/md5sums0" "$tmp/md5sums1" >&2 || true
    fail "the two packages differ"
fi
pass "two checkouts give the same $(basename "${debs[0]}"), $(stat -c %s "${debs[0]}") bytes"
