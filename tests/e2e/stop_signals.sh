#!/usr/bin/env bash
# SIGTERM (a desktop logging out) and SIGINT (Ctrl+C) end the game as the close button does,
# in the menu and in a game, time after time: exit 0, and no shared-memory segment of the
# game's left on the system. A game killed outright (SIGKILL) leaves none either, once the X
# server has let go of it.
# Usage: stop_signals.sh BUILD_DIR ROUNDS
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
rounds=${2:-3}

# The system's shared-memory segments as "SHMID CREATOR_PID" lines. A segment left by some
# other program whose process id this game now has is not the game's: only the segments that
# appeared since `before` was taken count.
segments() { ipcs -m -p | awk '$1 ~ /^[0-9]+$/ { print $1, $3 }'; }
leftovers() { segments | grep -vxFf <(echo "$before") | awk -v pid="$1" '$2 == pid' | wc -l; }

for round in $(seq "$rounds"); do
    for signal in TERM INT KILL; do
        for where in menu game; do
            before=$(segments)
            start_game "$build"
            if [ "$where" = game ]; then
                click_at 200 120; mouse_to 790 590
                sleep "0.$((RANDOM % 9 + 1))"
            fi
            kill -"$signal" "$GAME_PID"
            wait_exit 5
            if [ "$signal" = KILL ]; then
                # The server lets go of a killed client's memory once it notices the closed
                # connection; the game cannot wait for that.
                for _ in $(seq 50); do [ "$(leftovers "$GAME_PID")" -eq 0 ] && break; sleep 0.1; done
                [ "$GAME_RC" -eq 137 ] || fail "SIGKILL in the $where (round $round) ended with $GAME_RC"
            else
                [ "$GAME_RC" -eq 0 ] || fail "SIG$signal in the $where (round $round) ended with $GAME_RC"
            fi
            [ "$(leftovers "$GAME_PID")" -eq 0 ] ||
                fail "SIG$signal in the $where (round $round) left shared memory behind"
        done
    done
done
pass "SIGTERM and SIGINT end the game cleanly, and SIGKILL leaves no memory behind, in the menu and in a game, $rounds rounds of each"
