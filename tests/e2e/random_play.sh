#!/usr/bin/env bash
# Both riders steer, jump and dive at random through the obstacles for a while; the game
# must not crash and must end with 0. Usage: random_play.sh BUILD_DIR [SECONDS] [SEED]
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
seconds=${2:-60}
RANDOM=${3:-7}
use_sound_capture "$tmp"

keys=(a d s Left Right Down)
start_game "$build"
click_at 200 120; mouse_to 790 590
end=$((SECONDS + seconds))
while [ "$SECONDS" -lt "$end" ]; do
    kill -0 "$GAME_PID" 2>/dev/null || break
    # On the menu (after a decided game) start the next one.
    shot "$tmp/now.png"
    if is_menu "$tmp/now.png"; then click_at 200 120; mouse_to 790 590; fi
    for _ in 1 2 3 4; do
        key=${keys[RANDOM % 6]}
        xdotool keydown "$key"; sleep "0.$((RANDOM % 9 + 1))"; xdotool keyup "$key"
    done
done
if ! kill -0 "$GAME_PID" 2>/dev/null; then
    rc=0; wait "$GAME_PID" || rc=$?
    fail "the game ended by itself with status $rc"
fi
pass "no crash in ${seconds} s of random play"
for _ in 1 2 3; do
    kill -0 "$GAME_PID" 2>/dev/null || break
    press Escape; sleep 1
done
wait_exit 20
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC"
pass "ESC ends the program with 0"
