#!/usr/bin/env bash
# A click shorter than a pass (a touchpad's tap, xdotool's click) on the classic menu's
# button starts a game, every time.
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}

start_game "$build"
for round in 1 2 3 4 5 6; do
    mouse_to 250 120; xdotool click 1; mouse_to 700 500; sleep 1.0; shot "$tmp/game.png"
    is_menu "$tmp/game.png" && fail "click $round on the button did not start a game"
    press Escape
    await_menu 5 || fail "ESC did not bring the menu back after game $round"
done
pass "six short clicks started six games"
