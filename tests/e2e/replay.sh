#!/usr/bin/env bash
# Recorded games in the window: --help names every option, a damaged recording is refused
# before any window opens, a pinned game plays back to its end screen, and ESC stops a replay.
# Usage: replay.sh BUILD_DIR TEXT_MASK_TOOL
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
text_mask=${2:?text_mask tool}
games=$(cd "$(dirname "$0")/../games" && pwd)

help=$("$build/riverduel" --help) || fail "--help did not exit 0"
for option in --record --replay --verify --gamepads --computer --demo --host --join --help; do
    grep -q -- "$option" <<<"$help" || fail "--help does not list $option"
done
pass "--help lists every option"

head -c 40 "$games/rudko_wins.rdr" > "$tmp/cut.rdr"
rc=0; "$build/riverduel" --replay "$tmp/cut.rdr" 2>"$tmp/err" || rc=$?
[ "$rc" -eq 2 ] || fail "a truncated recording gave exit $rc"
[ "$(wc -l < "$tmp/err")" -eq 1 ] && grep -q "cut.rdr: truncated recording" "$tmp/err" ||
    fail "a truncated recording was not explained in one line: $(cat "$tmp/err")"
pass "a truncated recording is refused with one line and exit 2"

title_h=$(identify -format %h "$build/bitmaps/kalvanto.bmp")
text_top=$((300 - title_h / 2 - 20))
start_game_window() {
    wait_display
    GAME_OUT=$tmp/game.log
    (cd "$build" && exec ./riverduel "$@") >"$GAME_OUT" 2>&1 &
    GAME_PID=$!
    find_window
}

start_game_window --replay "$games/rudko_wins.rdr"
ended=""
for _ in $(seq 80); do
    shot "$tmp/now.png"
    if mask "$tmp/now.png" 352 "$text_top" 96 8 FFFF00 | grep -q 1; then ended=yes; break; fi
    sleep 0.5
done
[ -n "$ended" ] || fail "the replay did not reach its end screen"
diff <(mask "$tmp/now.png" 352 "$text_top" 96 8 FFFF00) <("$text_mask" "Rudko is the") >/dev/null ||
    fail "the replay's end screen does not name Rudko"
press space
wait_exit 5
[ "$GAME_RC" -eq 0 ] || fail "the replay ended with $GAME_RC"
pass "a pinned game replays to its end screen, and a key ends the program with 0"

start_game_window --replay "$games/long_river.rdr"
sleep 2; press Escape
wait_exit 3
[ "$GAME_RC" -eq 0 ] || fail "ESC in a replay ended with $GAME_RC"
pass "ESC stops a replay with exit 0"
