#!/usr/bin/env bash
# Recorded games in the window: --help names every option, a damaged recording is refused
# before any window opens, a pinned game plays back to its end screen, and ESC stops a replay.
# Usage: replay.sh BUILD_DIR TEXT_MASK_TOOL
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
text_mask=${2:?text_mask tool}
games=$(cd "$(dirname "$0")/../games" && pwd)

help=$("$build/riverduel" --help) || fail "--help did not exit 0"
for option in --record --overwrite --replay --verify --rollback-check --gamepads --computer --demo \
              --host --join --input-delay --watch --lan-only --scale --fullscreen --volume --mute --help; do
    grep -q -- "$option" <<<"$help" || fail "--help does not list $option"
done
pass "--help lists every option"

head -c 40 "$games/rudko_wins.rdr" > "$tmp/cut.rdr"
rc=0; "$build/riverduel" --replay "$tmp/cut.rdr" 2>"$tmp/err" || rc=$?
[ "$rc" -eq 2 ] || fail "a truncated recording gave exit $rc"
[ "$(wc -l < "$tmp/err")" -eq 1 ] && grep -q "cut.rdr: truncated recording" "$tmp/err" ||
    fail "a truncated recording was not explained in one line: $(cat "$tmp/err")"
pass "a truncated recording is refused with one line and exit 2"

launch "$build" --replay "$games/rudko_wins.rdr"
await_end_screen 40 || fail "the replay did not reach its end screen"
names_winner "$tmp/end.png" Rudko ||
    fail "the replay's end screen does not name Rudko"
press space
wait_exit 5
[ "$GAME_RC" -eq 0 ] || fail "the replay ended with $GAME_RC"
pass "a pinned game replays to its end screen, and a key ends the program with 0"

launch "$build" --replay "$games/long_river.rdr"
sleep 2; press Escape
wait_exit 3
[ "$GAME_RC" -eq 0 ] || fail "ESC in a replay ended with $GAME_RC"
pass "ESC stops a replay with exit 0"
