#!/usr/bin/env bash
# Whole-process processor use of the game, as a share of one core, measured from
# /proc/PID/stat over an idle menu and over a game, beside a bare Allegro window.
# Usage: xvfb-run -a -s "-screen 0 1024x768x24" bench/cpu_usage.sh BUILD_DIR [SECONDS]
set -uo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-10}
. "$(dirname "$0")/../tests/e2e/lib.sh"
hz=$(getconf CLK_TCK)
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# share PID: percent of one core used by PID over $seconds seconds.
share() {
    local a b
    a=$(cpu_ticks "$1"); sleep "$seconds"; b=$(cpu_ticks "$1")
    awk -v d=$((b - a)) -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.1f", 100 * d / hz / s }'
}

"$build/bench/bare_window" >/dev/null 2>&1 & bare=$!
sleep 1
floor=$(share $bare)
kill $bare; wait $bare 2>/dev/null

start_game "$build"
mouse_to 600 300
menu=$(share "$GAME_PID")
click_at 200 120; mouse_to 700 500; sleep 0.5
game=$(share "$GAME_PID")
peak=$(awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$GAME_PID/status")
press Escape; sleep 0.5; press Escape
wait_exit 5

printf '%-34s %8s\n' "what (over ${seconds} s)" "% core"
printf '%-34s %8s\n' "bare Allegro window (floor)" "$floor"
printf '%-34s %8s\n' "menu, idle" "$menu"
printf '%-34s %8s\n' "game in progress" "$game"
printf '%-34s %8s\n' "peak memory of the game, MB" "$peak"
