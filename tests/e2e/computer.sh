#!/usr/bin/env bash
# One person against the computer: --computer 5 with the game recorded. The menu names the
# level; Rudko is left idle, the computer riding Berto wins and the end screen names it; the
# recording verifies to the line the game printed when it ended; a key returns to the menu
# and ESC quits with 0. (Level 5 settles an idle Rudko in half a minute on average, at most
# about two: the longest of 100 seeded games lasted 2429 passes, as an idle rider by its bank
# takes few knocks. The lower levels take their time; a recorded game against each is checked
# without a window.)
# Usage: computer.sh BUILD_DIR TEXT_MASK_TOOL
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
text_mask=${2:?text_mask tool}

start_game "$build" --computer 5 --record "$tmp/game.rdr"
mouse_to 790 590; sleep 0.3; shot "$tmp/menu.png"
# The status line, white, 12 pixels under the button: the level, then the pads.
status="computer: level 5 of 5; no gamepad found"
diff <(mask "$tmp/menu.png" 100 152 $((8 * ${#status})) 8 FFFFFF) <("$text_mask" "$status") >/dev/null ||
    fail "the menu does not read '$status'"
pass "the menu names the computer's level"

click_at 200 120; mouse_to 790 590
await_game 5 || fail "the button did not start a game"
pass "a game against the computer starts from the menu"

await_end_screen 180 || fail "no end screen within three minutes of an idle Rudko"
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
