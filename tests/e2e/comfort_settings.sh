#!/usr/bin/env bash
# --comfort's settings: given options are kept, a damaged file is survived with one line, and
# the classic game reads and writes nothing.
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
export XDG_CONFIG_HOME=$tmp/config
kept=$XDG_CONFIG_HOME/riverduel/settings
in_menu() { shot "$tmp/m.png"; [ "$(pixel "$tmp/m.png" 20 300)" = "0,16,40" ]; }
comfort_once() {
    launch "$build" --comfort "$@"
    for _ in $(seq 40); do in_menu && break; sleep 0.25; done
    in_menu || fail "no comfort menu with $*"
    press Escape; wait_exit 5
    [ "$GAME_RC" -eq 0 ] || fail "exit $GAME_RC"
}

comfort_once --volume 30
grep -qx "volume=30" "$kept" || fail "--comfort --volume 30 was not kept"
comfort_once
grep -qx "volume=30" "$kept" || fail "the volume was forgotten by the next run"
pass "an option given with --comfort is kept"

head -c 3000 /dev/urandom > "$kept"
comfort_once
[ "$(grep -c "the defaults are used" "$GAME_OUT")" -eq 1 ] || fail "the damaged file was not reported in one line"
grep -qx "volume=100" "$kept" || fail "the damaged file was not replaced by the defaults"
pass "a file of random bytes is reported and survived"

rm -rf "$XDG_CONFIG_HOME"; mkdir -p "$XDG_CONFIG_HOME"
start_game "$build"
press Escape; wait_exit 5
[ -z "$(ls -A "$XDG_CONFIG_HOME")" ] || fail "the classic game wrote settings"
pass "the classic game writes nothing"
