#!/usr/bin/env bash
# The computer against itself: --demo starts a game at once, plays it to its end screen and
# starts the next by itself; a key in that game returns to the menu, ESC there quits with 0.
# The recorded first game verifies to the line the game printed.
# Usage: demo.sh BUILD_DIR TEXT_MASK_TOOL
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
text_mask=${2:?text_mask tool}

# Beginners settle a game soonest: about two minutes on average (2477 passes over 20 seeded
# games of level 1 against itself); wait seven at most.
launch "$build" --demo 1 --record "$tmp/demo.rdr"
mouse_to 790 590
playing=""
for _ in $(seq 60); do
    shot "$tmp/now.png"
    if ! is_menu "$tmp/now.png" && [ "$(pixel "$tmp/now.png" 12 27)" = "255,0,0" ]; then playing=yes; break; fi
    sleep 0.5
done
[ -n "$playing" ] || fail "the demo did not start a game by itself"
pass "the demo starts a game without a click"

winner=""
if await_end_screen 420; then
    for name in Rudko Berto; do names_winner "$tmp/end.png" "$name" && winner=$name; done
fi
[ -n "$winner" ] || fail "the first demo game showed no end screen naming a rider"
pass "the first demo game ends with $winner the winner"

next=""
for _ in $(seq 30); do
    shot "$tmp/now.png"
    if ! shows_end "$tmp/now.png" && ! is_menu "$tmp/now.png"; then next=yes; break; fi
    sleep 0.5
done
[ -n "$next" ] || fail "the next demo game did not start by itself after the end screen"
sleep 2
shot "$tmp/now.png"
is_menu "$tmp/now.png" && fail "the second demo game went back to the menu by itself"
pass "the next game starts by itself"

press space
await_menu 5 || fail "a key in a demo game did not return to the menu"
sleep 1.5
shot "$tmp/menu.png"
is_menu "$tmp/menu.png" || fail "the menu did not stay after a key left the demo"
pass "a key returns to the menu and the demo waits there"

press Escape
wait_exit 10
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC after ESC in the menu"
pass "ESC in the menu ends the program with 0"

verifies_as_played "$tmp/demo.rdr" "$winner"
