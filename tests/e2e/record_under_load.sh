#!/usr/bin/env bash
# Twenty games recorded: two through the real window with random keys while a processor hog
# runs beside them, eighteen in-process through the input seam (no clock there for a hog to
# upset). Each recording must verify, twice, to the line the game printed when it recorded it.
# Usage: record_under_load.sh BUILD_DIR
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
for _ in 1 2; do sha256sum /dev/zero & HELPER_PIDS+=($!); done

keys=(a d s Left Right Down)
random_keys() {
    local until=$((SECONDS + $1))
    while [ "$SECONDS" -lt "$until" ]; do
        local k=${keys[RANDOM % 6]}
        xdotool keydown "$k"; sleep "0.$((RANDOM % 9 + 1))"; xdotool keyup "$k"
    done
}

start_game "$build" --record "$tmp/window.rdr"
click_at 200 120; mouse_to 790 590
random_keys 5
# Into the left bank until the game is decided (the game's clock, not the wall's, under load).
xdotool keydown a
for _ in $(seq 300); do grep -q "window.rdr:" "$GAME_OUT" && break; sleep 0.2; done
xdotool keyup a
sleep 0.5; press space; sleep 0.5
click_at 200 120; mouse_to 790 590
random_keys 3
press Escape; sleep 0.5; press Escape
wait_exit 10
[ "$GAME_RC" -eq 0 ] || fail "the recording game ended with $GAME_RC"
grep -h '\.rdr: winner' "$GAME_OUT" > "$tmp/lines" || true
[ "$(wc -l < "$tmp/lines")" -eq 2 ] || fail "the window games did not both print their lines"
kill "${HELPER_PIDS[@]}"

"$build/tests/random_games" "$tmp" 18 "$RANDOM" >> "$tmp/lines" || fail "in-process games failed"
[ "$(wc -l < "$tmp/lines")" -eq 20 ] || fail "not twenty recorded games"

while IFS= read -r recorded; do
    file=${recorded%%: *}
    line=${recorded#*: }
    for run in 1 2; do
        got=$("$build/riverduel" --verify "$file") || fail "verify of $file failed (run $run)"
        [ "$got" = "$line" ] || fail "$file verifies to '$got', recorded as '$line' (run $run)"
    done
done < "$tmp/lines"
grep -q "winner Rudko\|winner Berto" <(head -1 "$tmp/lines") || fail "the first window game was not decided"
pass "20 games recorded under load verify twice to the lines they were recorded with"
