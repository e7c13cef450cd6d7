#!/usr/bin/env bash
# --comfort's menu, walked by keys: each entry reaches its mode and ESC comes back; P pauses a
# game (the picture stops) and resumes it, losing the focus pauses it, and the paused game's
# recording replays exactly; Quit ends the program with 0.
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
export XDG_CONFIG_HOME=$tmp/config
use_sound_capture "$tmp"

# The comfort screens' dark blue where a game shows its bank; a chosen line's band.
in_menu() { shot "$tmp/m.png"; [ "$(pixel "$tmp/m.png" 20 300)" = "0,16,40" ]; }
chosen_at() { shot "$tmp/c.png"; [ "$(pixel "$tmp/c.png" 65 "$1")" = "0,96,160" ]; }
await() { for _ in $(seq 20); do "$@" && return 0; sleep 0.25; done; return 1; }
not_menu() { ! in_menu; }
game_then_back() {
    press Return
    await not_menu || fail "$1 did not start a game"
    press Escape
    await in_menu || fail "ESC did not bring the menu back from $1"
    pass "$1 starts a game and ESC comes back"
}

launch "$build" --comfort --record "$tmp/paused.rdr"
await in_menu || fail "no comfort menu"
chosen_at 212 || fail "two players is not the line chosen when the menu opens"

press Return
await not_menu || fail "Return did not start a two-player game"
mouse_to 400 580
heard() { local from; from=$(captured); sleep "$1"; loudness "$from" "$(captured)"; }
[ "$(heard 1)" -gt 500 ] || fail "no music in the game"
press p; sleep 0.6; shot "$tmp/p1.png"; quiet=$(heard 0.6); shot "$tmp/p2.png"
cmp -s "$tmp/p1.png" "$tmp/p2.png" || fail "the picture moves on while paused"
[ "$quiet" -eq 0 ] || fail "the music plays on while paused (level $quiet)"
press p; sleep 0.6; shot "$tmp/p3.png"
cmp -s "$tmp/p2.png" "$tmp/p3.png" && fail "P did not resume the game"
[ "$(heard 1)" -gt 500 ] || fail "the music did not go on with the game"
pass "P pauses the game (the picture and the music stop) and resumes it"
xmessage -geometry +850+650 elsewhere 2>/dev/null & HELPER_PIDS+=($!)
other=""
for _ in $(seq 30); do other=$(xdotool search --class xmessage | head -1 || true); [ -n "$other" ] && break; sleep 0.1; done
xdotool windowfocus "$other"; sleep 0.6; shot "$tmp/f1.png"; sleep 0.6; shot "$tmp/f2.png"
cmp -s "$tmp/f1.png" "$tmp/f2.png" || fail "the game runs on when its window loses the focus"
pass "the game pauses when its window loses the focus"
xdotool windowfocus --sync "$WIN"
press Escape
await in_menu || fail "ESC did not bring the menu back from the game"
wait_line "$GAME_OUT" "$tmp/paused.rdr: " 5
played=$(sed -n "s|^$tmp/paused.rdr: ||p" "$GAME_OUT")
[ "$(cd "$build" && ./riverduel --verify "$tmp/paused.rdr")" = "$played" ] ||
    fail "the paused game does not replay to the line it played: $played"
pass "the paused game's recording replays exactly"

press Down; game_then_back "against the computer"
press Down; game_then_back "watch two computers"
for entry in "host:waiting for a rider" "join:connecting to 127.0.0.1:9" "watch:to watch"; do
    press Down
    [ "${entry%%:*}" = join ] && xdotool type --delay 80 "127.0.0.1:9"
    press Return
    wait_line "$GAME_OUT" "${entry#*:}" 15
    press Escape; sleep 0.5
    await in_menu || fail "ESC did not come back from ${entry%%:*}"
    pass "${entry%%:*} online reaches its mode"
done
press Down; press Return
await chosen_at 88 || fail "no settings screen"
press Escape
await in_menu || fail "ESC did not come back from the settings"
pass "settings open and ESC comes back"
grep -qx "address=127.0.0.1:9" "$XDG_CONFIG_HOME/riverduel/settings" || fail "the address joined is not remembered"

press Down; press Return
wait_exit 5
[ "$GAME_RC" -eq 0 ] || fail "Quit ended the program with $GAME_RC"
pass "Quit ends the program with 0"
