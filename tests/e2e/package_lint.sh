#!/usr/bin/env bash
# The package made by package_build.sh as Debian would judge it: lintian finds no error and
# no warning, and the game is built hardened (position-independent, full RELRO with
# BIND_NOW, stack protector, fortified C library calls).
# Usage: package_lint.sh BUILD_DIR
. "$(dirname "$0")/lib.sh"
build=$(cd "${1:?build directory}" && pwd)
deb=$(package_file "$build")

# lintian judges by itself here (exit 0 whatever it finds): anything else means it did not run.
lintian --fail-on none --display-info "$deb" >"$tmp/lintian.txt" 2>&1 ||
    { cat "$tmp/lintian.txt"; fail "lintian could not check the package"; }
cat "$tmp/lintian.txt"
! grep -q '^[EW]: ' "$tmp/lintian.txt" || fail "lintian: $(grep -c '^[EW]: ' "$tmp/lintian.txt") error(s) or warning(s)"
pass "lintian: no error, no warning"

dpkg-deb -x "$deb" "$tmp/root"
game=$tmp/root/usr/lib/games/riverduel/riverduel
readelf -hW "$game" | grep -q 'Type: *DYN' || fail "the game is not position-independent"
readelf -lW "$game" | grep -q GNU_RELRO || fail "the game has no RELRO segment"
readelf -dW "$game" | grep -q 'BIND_NOW' || fail "the game is not linked with BIND_NOW"
symbols=$(readelf --dyn-syms -W "$game")
grep -q ' __stack_chk_fail@' <<<"$symbols" || fail "the game has no stack protector"
# (No pipe into grep -q: under pipefail its early exit would fail the pipe's first grep.)
fortified=$(grep -v __stack_chk_fail <<<"$symbols")
grep -q ' __[a-z_]*_chk@' <<<"$fortified" || fail "the game calls no fortified C library function"
pass "the game is PIE, full RELRO, BIND_NOW, stack-protected and fortified"
