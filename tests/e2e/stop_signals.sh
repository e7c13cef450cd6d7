#!/usr/bin/env bash
# SIGTERM (a desktop logging out) and SIGINT (Ctrl+C) end the game as the close button does,
# in the menu and in a game, time after time: exit 0, and no shared-memory segment of the
# game's left behind on the X server.
# Usage: stop_signals.sh BUILD_DIR ROUNDS
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
rounds=${2:-8}

# leftovers PID: shared-memory segments created by PID that are still there.
leftovers() { ipcs -m -p | awk -v pid="$1" '$3 == pid' | wc -l; }

for round in $(seq "$rounds"); do
    for signal in TERM INT; do
        for where in menu game; do
            start_game "$build"
            if [ "$where" = game ]; then
                click_at 200 120; mouse_to 790 590
                sleep "0.$((RANDOM % 9 + 1))"
            fi
            kill -"$signal" "$GAME_PID"
            wait_exit 5
            [ "$GAME_RC" -eq 0 ] || fail "SIG$signal in the $where (round $round) ended with $GAME_RC"
            [ "$(leftovers "$GAME_PID")" -eq 0 ] ||
                fail "SIG$signal in the $where (round $round) left shared memory behind"
        done
    done
done
pass "SIGTERM and SIGINT end the game cleanly, in the menu and in a game, $rounds rounds of each"
