#!/usr/bin/env bash
# The computer against itself: --demo starts a game at once and plays it; a key in that game
# returns to the menu, ESC there quits with 0, and the game left verifies from its recording.
# Usage: demo.sh BUILD_DIR TEXT_MASK_TOOL
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
text_mask=${2:?text_mask tool}

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

# The river moves on: the game plays by itself. (That a game run to its
# end leads to the next is in the headless tests: a level-1 game takes two minutes here.)
sleep 3
shot "$tmp/later.png"
[ "$(compare -metric AE "$tmp/now.png" "$tmp/later.png" null: 2>&1 || true)" != 0 ] ||
    fail "the demo's picture did not change in 3 s"
pass "the demo plays by itself"

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

# The game the key left is kept, and plays back to the line it was left with.
verifies_as_played "$tmp/demo.rdr" none
