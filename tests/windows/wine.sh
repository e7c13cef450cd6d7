#!/usr/bin/env bash
# The Windows game under Wine, on this X server: it starts, a click starts a game, ESC leaves
# and ESC again ends it; every pinned recording verifies to its line; an online duel on
# 127.0.0.1 between the Linux game (host) and the Windows game (joiner, on an X server of
# its own) is played to its end, and both recordings verify alike on both systems.
# Usage: wine.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR [WINE_PREFIX]
#   WINE_PREFIX is a fresh prefix made beforehand by `wine.sh --prefix DIR`; without it, the
#   test makes its own first.
. "$(dirname "$0")/../e2e/lib.sh"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
make_prefix() {
    local started=$SECONDS
    wineboot -i >/dev/null 2>&1
    wineserver -w
    echo "Wine's prefix made in $((SECONDS - started)) s"
}
if [ "${1:-}" = --prefix ]; then
    export WINEPREFIX=${2:?prefix directory} HOME=${2:?}.home
    mkdir -p "$HOME"
    make_prefix
    exit
fi
build=${1:?Linux build directory}
windows=${2:?Windows build directory}
games=$(cd "$(dirname "$0")/../games" && pwd)

export WINEPREFIX=${3:-$tmp/wine} HOME=$tmp
# Wine on a fresh X server, beside the sanitized tests, has taken over 10 s to show its window.
WINDOW_SECONDS=40
trap 'rc=$?; wineserver -k 2>/dev/null; (exit "$rc"); cleanup' EXIT
[ -n "${3:-}" ] || make_prefix

# wverify FILE: the Windows game's line for a recording.
wverify() { (cd "$windows" && wine ./riverduel.exe --verify "$1" 2>&1 | tr -d '\r'); }

start_cmd "$windows" wine ./riverduel.exe
click_at 200 120; mouse_to 790 590
await_game 5 || fail "a click on the button did not start a game"
press Escape
await_menu 5 || fail "ESC did not leave the game"
press Escape
wait_exit 10
[ "$GAME_RC" = 0 ] || fail "ESC in the menu ended the game with $GAME_RC"
GAME_PID=""
pass "under Wine the menu opens, a click starts a game, ESC leaves it and ESC ends the game"

for recording in "$games"/*.rdr; do
    want=$(cat "${recording%.rdr}.line")
    got=$(wverify "$recording") || fail "$(basename "$recording") does not verify: $got"
    [ "$got" = "$want" ] || fail "$(basename "$recording") verifies to '$got', not '$want'"
done
pass "every pinned recording verifies to its line under Wine"

port=$(free_port)
GAME_LOG=$tmp/host.log start_game "$build" --host "$port" --lan-only --record "$tmp/host.rdr"
HOST_PID=$GAME_PID; HOST_X=$WIN_X; HOST_Y=$WIN_Y; host_display=$DISPLAY
HELPER_PIDS+=("$HOST_PID")
wait_line "$tmp/host.log" "waiting for a rider on UDP port $port" 15
own_display join_display
DISPLAY=$join_display
GAME_LOG=$tmp/join.log start_cmd "$windows" wine ./riverduel.exe --join "127.0.0.1:$port" --record "$tmp/join.rdr"
JOIN_PID=$GAME_PID; JOIN_X=$WIN_X; JOIN_Y=$WIN_Y
HELPER_PIDS+=("$JOIN_PID")
wait_line "$tmp/host.log" "Berto has joined" 20
on_host() { DISPLAY=$host_display; GAME_PID=$HOST_PID; GAME_OUT=$tmp/host.log; WIN_X=$HOST_X; WIN_Y=$HOST_Y; }
on_join() { DISPLAY=$join_display; GAME_PID=$JOIN_PID; GAME_OUT=$tmp/join.log; WIN_X=$JOIN_X; WIN_Y=$JOIN_Y; }
on_join; click_at 200 120; mouse_to 790 590
on_host; await_game 5 || fail "the Windows joiner's click did not start the Linux host's game"
on_join; await_game 5 || fail "the Windows joiner's click did not start its own game"
# Rudko into his bank on the host while Berto jumps on the joiner, until Rudko has lost.
on_host; xdotool keydown a
for i in $(seq 100); do
    on_join; [ $((i % 4)) = 0 ] && press Down
    grep -q "^online game: passes" "$tmp/host.log" && break
    sleep 0.3
done
on_host; xdotool keyup a
# Each side names its recording once it is saved, after the game's own summary.
wait_line "$tmp/host.log" "$tmp/host.rdr: " 20
wait_line "$tmp/join.log" "join.rdr: " 20
lines=()
for rdr in "$tmp/host.rdr" "$tmp/join.rdr"; do
    [ -s "$rdr" ] || fail "$(basename "$rdr") was not written"
    lines+=("$(cd "$build" && ./riverduel --verify "$rdr")" "$(wverify "$rdr")")
done
for line in "${lines[@]}"; do
    [ "$line" = "${lines[0]}" ] || fail "the recordings verify differently: ${lines[*]}"
done
case "${lines[0]}" in "winner Berto "*) ;; *) fail "unexpected result '${lines[0]}'";; esac
pass "a Linux host and a Windows joiner play a duel; both recordings verify to '${lines[0]}' on both systems"
