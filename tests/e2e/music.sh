#!/usr/bin/env bash
# The music is heard during a game and stops when the game is left with ESC; the menu is silent.
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
use_sound_capture "$tmp"

start_game "$build"
sleep 1
menu_from=$(captured); sleep 1; menu_to=$(captured)
[ "$menu_to" -gt "$menu_from" ] || fail "no sound device output captured"
[ "$(loudness "$menu_from" "$menu_to")" -eq 0 ] || fail "the menu is not silent"
pass "the menu is silent"

click_at 200 120; sleep 1
game_from=$(captured); sleep 2; game_to=$(captured)
level=$(loudness "$game_from" "$game_to")
[ "$level" -gt 500 ] || fail "no music during the game (level $level)"
pass "the music plays during the game (level $level)"

press Escape; sleep 1
after_from=$(captured); sleep 1.5; after_to=$(captured)
[ "$(loudness "$after_from" "$after_to")" -eq 0 ] || fail "sound goes on after ESC"
pass "silence after ESC"

press Escape
wait_exit 5
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC"
