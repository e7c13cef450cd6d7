#!/usr/bin/env bash
# How loud the game plays, and a machine without sound.
#   The same recorded game replayed at --volume 100, 50 and 0 (and --mute) is heard through
#   ALSA's file output: at 50 about half as loud as at 100 (root mean square), at 0 silent.
#   With no sound device to open, one line on standard error says so (none of the sound
#   library's own), and the game plays on.
# Usage: volume.sh BUILD_DIR
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
games=$(cd "$(dirname "$0")/../games" && pwd)

# heard ARGS...: root mean square level of the first 4 seconds of the replay, played with ARGS.
heard() {
    local home
    home=$(mktemp -d "$tmp/home.XXXXXX")
    use_sound_capture "$home"
    launch "$build" --replay "$games/rudko_wins.rdr" "$@"
    sleep 4
    local level
    level=$(energy 0 "$(captured)")
    press Escape
    wait_exit 5
    [ "$GAME_RC" -eq 0 ] || fail "the replay with $* ended with $GAME_RC"
    echo "$level"
}
full=$(heard --volume 100)
half=$(heard --volume 50)
none=$(heard --volume 0)
muted=$(heard --mute)
[ "$full" -gt 500 ] || fail "nothing heard at full volume (level $full)"
[ $((half * 100)) -ge $((full * 40)) ] && [ $((half * 100)) -le $((full * 60)) ] ||
    fail "--volume 50 plays at $half, not about half of $full"
[ "$none" -eq 0 ] || fail "--volume 0 is heard (level $none)"
[ "$muted" -eq 0 ] || fail "--mute is heard (level $muted)"
pass "levels heard: $full at 100, $half at 50, $none at 0 and $muted muted"

export HOME=$tmp/nosound
mkdir -p "$HOME"
cat > "$HOME/.asoundrc" <<ASOUND
pcm.!default { type plug slave.pcm "nowhere" }
ASOUND
start_game "$build"
click_at 250 120; mouse_to 700 500; sleep 1.5
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended without a sound device"
press Escape; sleep 0.5
await_menu 3 || fail "no menu after ESC in a game without sound"
press Escape
wait_exit 5
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC without a sound device"
grep -q "ALSA" "$GAME_OUT" && fail "the sound library's own lines were shown"
[ "$(wc -l < "$GAME_OUT")" -eq 1 ] && grep -q "plays silently" "$GAME_OUT" ||
    fail "no one line saying the game plays silently: $(cat "$GAME_OUT")"
pass "without a sound device: '$(cat "$GAME_OUT")', and a game plays"
