#!/usr/bin/env bash
# A recorded game against each of the computer's levels (played without a window through the
# feed that --record uses) verifies with the real program's --verify to the line it played.
# Usage: computer_levels.sh BUILD_DIR
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}

# The recording feed prints "FILE: LINE" as each game ends; the tool "LEVEL LINE".
"$build/tests/computer_games" "$tmp" 40 > "$tmp/out" || fail "the games against the levels did not play"
grep '^[1-5] ' "$tmp/out" > "$tmp/lines" || true
[ "$(wc -l < "$tmp/lines")" -eq 5 ] || fail "not five games: $(cat "$tmp/lines")"
while read -r level played; do
    case "$played" in "winner "*" steps "*" state "*) ;; *) fail "level $level played '$played'" ;; esac
    verified=$(cd "$build" && ./riverduel --verify "$tmp/level-$level.rdr") || fail "level $level's game does not verify"
    [ "$verified" = "$played" ] || fail "level $level's game verifies to '$verified', it played '$played'"
    pass "level $level: the recorded game verifies to the line it played: $played"
done < "$tmp/lines"
