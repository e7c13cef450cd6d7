#!/usr/bin/env bash
# A whole game as players play it: start, let the river ramp up, drive one rider into its
# bank until its health is gone, watch the river slow down, read the end screen, go back to
# the menu, start a second game that starts afresh, leave it with ESC, quit with ESC.
# Usage: playthrough.sh BUILD_DIR TEXT_MASK_TOOL LOSER(0|1)
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
text_mask=${2:?text_mask tool}
loser=${3:?losing rider, 0 or 1}
use_sound_capture "$tmp"
GAME_LOG=$tmp/game.log

if [ "$loser" = 0 ]; then bank_key=a; winner=Berto; else bank_key=Right; winner=Rudko; fi

start_game "$build"
click_at 200 120; mouse_to 790 590
sleep 1.0
music_from=$(captured); sleep 1.5; music_to=$(captured)
music=$(loudness "$music_from" "$music_to")
[ "$music" -gt 500 ] || fail "no music during play (level $music)"
pass "music during play (level $music)"
shot "$tmp/cruise.png"
# The README's screenshot is a copy of this one.
convert "$tmp/cruise.png" -crop "800x600+$WIN_X+$WIN_Y" +repage "$build/screenshot-loser$loser.png"
expect_pixel "$tmp/cruise.png" 12 27 "255,0,0" "left health bar"
expect_pixel "$tmp/cruise.png" 788 27 "255,0,0" "right health bar"

# Drive the loser into its bank and keep it there until its health is gone, and on through
# the slow-down: a key still held (and repeating) when the end screen comes must not dismiss it.
if [ "$loser" = 0 ]; then bar_x=13; half_x=60; else bar_x=787; half_x=740; fi
xdotool keydown "$bank_key"
bank_from=$(captured)
half_at=""
drained=""
for _ in $(seq 60); do
    shot "$tmp/now.png"
    [ -z "$half_at" ] && [ "$(pixel "$tmp/now.png" "$half_x" 27)" = "0,0,0" ] && half_at=$(captured)
    if [ "$(pixel "$tmp/now.png" "$bar_x" 27)" = "0,0,0" ]; then drained=yes; break; fi
    sleep 0.5
done
decided_at=$(captured)
[ -n "$drained" ] || fail "rider $loser's health did not run out against its bank"
pass "rider $loser's health ran out against its bank"
# Twenty knocks of 5 health each, until half the bar is gone (before the fanfare). The tune
# keeps an even level, so the bank's thuds show as energy over it, about twice the music's.
music_energy=$(energy "$music_from" "$music_to")
bank_energy=$(energy "$bank_from" "${half_at:-$decided_at}")
[ $((bank_energy * 10)) -gt $((music_energy * 14)) ] ||
    fail "no bank sounds over the music (energy $bank_energy vs $music_energy)"
pass "bank sounds heard (energy $bank_energy over the music's $music_energy)"

await_end_screen 20 || fail "no end screen within 20 s of the game being decided"
end_at=$(captured)
sleep 1; shot "$tmp/held.png"
xdotool keyup "$bank_key"
shows_end "$tmp/held.png" ||
    fail "the end screen vanished under a key held from before the game was decided"
pass "a key held through the slow-down leaves the end screen up"

names_winner "$tmp/end.png" "$winner" ||
    fail "the end screen does not read '$winner is the' in yellow centred above the title"
pass "the end screen names $winner"
loser_x=$([ "$loser" = 0 ] && echo 12 || echo 788)
expect_pixel "$tmp/end.png" "$loser_x" 27 "255,0,0" "the loser's health bar at 0"

# The decision stops the music at once and plays the fanfare, which fades out (2.4 s); the river
# then slows down in silence. So the game's last sound before the end screen is the fanfare's
# quiet tail: under 4000 over its last 30,000 samples, where the music's reach 4900 and more.
# Byte offsets, not clocks: the capture runs ahead of the screen by a second or two.
tail_peak=$(samples "${half_at:-$bank_from}" "$end_at" | awk '
    { c = int(NR / 1024); d = $1 < 0 ? -$1 : $1; if (d > peak[c]) peak[c] = d; if (d > 500) last = c }
    END { m = 0; for (c = last - 29; c <= last; c++) if (c >= 0 && peak[c] > m) m = peak[c]; print m }')
[ "$tail_peak" -gt 500 ] && [ "$tail_peak" -lt 4000 ] ||
    fail "no end fanfare: the last sound before the end screen peaks at $tail_peak"
pass "the end fanfare plays"

# Rider 0's game goes on with a space, rider 1's with ESC, which must not also quit.
if [ "$loser" = 0 ]; then press space; else press Escape; fi
await_menu 5 || fail "a key on the end screen did not return to the menu"
sleep 0.5
kill -0 "$GAME_PID" 2>/dev/null || fail "the key that left the end screen also ended the program"
pass "a key returns to the menu, and the program runs on"

# Looked at early, at its first frame with a HUD, before the river brings anything to the
# riders: a slow machine (valgrind) only waits longer, and a shot taken at a fixed time could
# catch the blank screen between the menu and the game.
click_at 200 120; mouse_to 790 590
await_pixel "$tmp/second.png" 108 27 255,0,0 || true
for point in "108 27 255,0,0" "692 27 255,0,0" "12 42 0,0,255" "13 42 0,0,0" "788 42 0,0,255" "787 42 0,0,0"; do
    set -- $point
    expect_pixel "$tmp/second.png" "$1" "$2" "$3" "second game's HUD"
done
pass "the second game starts with full health and light riders"

press Escape
await_menu 5 || fail "ESC did not leave the second game"
press Escape
wait_exit 10
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC"
pass "ESC in the menu ends the program with 0"
