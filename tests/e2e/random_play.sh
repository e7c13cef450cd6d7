#!/usr/bin/env bash
# Both riders steer, jump and dive at random through the obstacles; the game must not crash
# and must end with 0. Each round holds every key once, in a random order and for a random
# time; the action keys are tapped (a jump) in odd rounds and held past a second (a dive) in
# even ones, so that a few rounds cover every move of both riders.
# Usage: random_play.sh BUILD_DIR [ROUNDS] [SEED]
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
rounds=${2:-4}
RANDOM=${3:-7}
use_sound_capture "$tmp"

start_game "$build"
click_at 200 120; mouse_to 790 590
for round in $(seq "$rounds"); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    # On the menu (after a decided game) start the next one.
    shot "$tmp/now.png"
    if is_menu "$tmp/now.png"; then click_at 200 120; mouse_to 790 590; fi
    keys=(a d s Left Right Down)
    for i in 5 4 3 2 1; do j=$((RANDOM % (i + 1))); k=${keys[i]}; keys[i]=${keys[j]}; keys[j]=$k; done
    for key in "${keys[@]}"; do
        held="0.$((RANDOM % 9 + 1))"
        case "$key/$((round % 2))" in s/0 | Down/0) held="1.$((RANDOM % 5))" ;; esac
        xdotool keydown "$key"; sleep "$held"; xdotool keyup "$key"
    done
done
if ! kill -0 "$GAME_PID" 2>/dev/null; then
    rc=0; wait "$GAME_PID" || rc=$?
    fail "the game ended by itself with status $rc"
fi
pass "no crash in $rounds rounds of random play"
for _ in 1 2 3; do
    kill -0 "$GAME_PID" 2>/dev/null || break
    press Escape; sleep 1
done
wait_exit 20
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC"
pass "ESC ends the program with 0"
