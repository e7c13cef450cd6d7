#!/usr/bin/env bash
# One person against the computer: --computer with the game recorded. Rudko is left idle,
# the computer riding Berto wins and the end screen names it; the recording verifies to the
# line the game printed when it ended; a key returns to the menu and ESC quits with 0.
# Usage: computer.sh BUILD_DIR TEXT_MASK_TOOL
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
text_mask=${2:?text_mask tool}

start_game "$build" --computer --record "$tmp/game.rdr"
click_at 200 120; mouse_to 790 590; sleep 1.0
shot "$tmp/start.png"
is_menu "$tmp/start.png" && fail "the button did not start a game"
pass "a game against the computer starts from the menu"

await_end_screen 60 || fail "no end screen within a minute of an idle Rudko"
names_winner "$tmp/end.png" Berto ||
    fail "the end screen does not name Berto, the computer's rider"
pass "the computer's Berto beats an idle Rudko"

verifies_as_played "$tmp/game.rdr" Berto

press space
await_menu 5 || fail "a key on the end screen did not return to the menu"
press Escape
wait_exit 10
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC after ESC in the menu"
pass "ESC in the menu ends the program with 0"
