#!/usr/bin/env bash
# The window's close button ends the program cleanly, with exit code 0, from the menu and
# from the middle of a game; the window's title names the game.
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
send_close=${2:?send_close tool}

start_game "$build"
title=$(xdotool getwindowname "$WIN")
[ "$title" = "River Duel" ] || fail "window title is '$title'"
pass "the window is called River Duel"

"$send_close" "$WIN"
wait_exit 5
[ "$GAME_RC" -eq 0 ] || fail "closing the window in the menu gave exit code $GAME_RC"
pass "closing the window in the menu ends the program with 0"

start_game "$build"
click_at 200 120
await_game 5 || fail "the button did not start a game"
"$send_close" "$WIN"
wait_exit 5
[ "$GAME_RC" -eq 0 ] || fail "closing the window during a game gave exit code $GAME_RC"
pass "closing the window during a game ends the program with 0"
