#!/usr/bin/env bash
# The real program on a private X server: the menu's button and pointer, clicks on and off
# the hit area, a game left with ESC (the held key must not also end the menu), and ESC in
# the menu ending the program with exit code 0.
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}

start_game "$build"

mouse_to 600 300; sleep 0.3; shot "$tmp/menu.png"
is_menu "$tmp/menu.png" || fail "menu not shown"
expect_pixel "$tmp/menu.png" 100 100 "0,192,255" "button corner"
expect_pixel "$tmp/menu.png" 400 140 "0,192,255" "button's painted corner"
expect_pixel "$tmp/menu.png" 401 141 "0,0,0" "outside the button"
expect_pixel "$tmp/menu.png" 600 300 "255,255,255" "pointer centre"
expect_pixel "$tmp/menu.png" 603 300 "255,255,255" "pointer rim"
expect_pixel "$tmp/menu.png" 605 300 "0,0,0" "beyond the pointer"
pass "menu shows the button and the pointer"

click_at 400 140; sleep 0.5; mouse_to 600 300; sleep 0.3; shot "$tmp/edge.png"
is_menu "$tmp/edge.png" || fail "a click on the painted edge started a game"
click_at 401 120; sleep 0.5; mouse_to 600 300; sleep 0.3; shot "$tmp/edge2.png"
is_menu "$tmp/edge2.png" || fail "a click right of the button started a game"
pass "clicks outside the hit area leave the menu alone"

click_at 399 139; mouse_to 700 500
await_game 5 || fail "a click inside the hit area did not start a game"
pass "a click inside the hit area starts a game"

xdotool keydown Escape; sleep 1.0
kill -0 "$GAME_PID" 2>/dev/null || fail "holding ESC in a game ended the program"
shot "$tmp/held.png"
is_menu "$tmp/held.png" && fail "the game returned to the menu while ESC was still held"
xdotool keyup Escape
await_menu 5 || fail "ESC did not bring the menu back"
sleep 0.5
kill -0 "$GAME_PID" 2>/dev/null || fail "the held ESC also ended the menu"
pass "ESC leaves the game and waits for its release"

press Escape
wait_exit 5
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC after ESC in the menu"
pass "ESC in the menu ends the program with 0"
