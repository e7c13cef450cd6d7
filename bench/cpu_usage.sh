#!/usr/bin/env bash
# Whole-process processor use of the game, as a share of one core, measured from
# /proc/PID/stat over an idle menu and over a game, each beside a bare Allegro window
# measured over the same seconds; "x floor" is the game's share over the bare window's.
# Usage: xvfb-run -a -s "-screen 0 1024x768x24" bench/cpu_usage.sh BUILD_DIR [SECONDS]
. "$(dirname "$0")/../tests/e2e/lib.sh"
build=$(cd "$1" && pwd)
seconds=${2:-10}
hz=$(getconf CLK_TCK)

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Voluntary context switches of the main thread: how often it goes to sleep and wakes.
wakeups() { awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$1/task/$1/status"; }

# share PID: "percent of one core used by PID, wake-ups a second of its main thread" over
# $seconds seconds.
share() {
    local a b wa wb
    a=$(cpu_ticks "$1"); wa=$(wakeups "$1"); sleep "$seconds"; b=$(cpu_ticks "$1"); wb=$(wakeups "$1")
    awk -v d=$((b - a)) -v w=$((wb - wa)) -v hz="$hz" -v s="$seconds" \
        'BEGIN { printf "%.1f %.0f", 100 * d / hz / s, w / s }'
}

# The bare window runs beside the game for the whole run and is measured over the same
# seconds as the menu and as the game: on a shared machine both see the same load.
start_game "$build"
"$build/bench/bare_window" >/dev/null 2>&1 & bare=$!
HELPER_PIDS+=("$bare")
sleep 1
xdotool windowraise "$WIN"; xdotool windowfocus --sync "$WIN"
mouse_to 600 300
share "$bare" >"$tmp/floor_menu" & sharer=$!
menu=$(share "$GAME_PID"); wait "$sharer"
click_at 200 120; mouse_to 700 500; sleep 0.5
share "$bare" >"$tmp/floor_game" & sharer=$!
game=$(share "$GAME_PID"); wait "$sharer"
peak=$(awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$GAME_PID/status")
press Escape; sleep 0.5; press Escape
wait_exit 5
kill "$bare"; wait "$bare" 2>/dev/null || true

floor_menu=$(cat "$tmp/floor_menu"); floor_game=$(cat "$tmp/floor_game")
floor=$(echo "$floor_menu $floor_game" | awk '{ printf "%.1f %.0f", ($1 + $3) / 2, ($2 + $4) / 2 }')
set -- $floor; floor_cpu=$1; floor_wake=$2
# ratio PERCENT FLOOR: the share of a core as a multiple of the bare window's beside it.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
printf '%-34s %8s %10s %10s\n' "what (over ${seconds} s)" "% core" "x floor" "wake-ups/s"
printf '%-34s %8s %10s %10s\n' "bare Allegro window (floor)" "$floor_cpu" "1.00" "$floor_wake"
set -- $floor_menu; f=$1
set -- $menu; printf '%-34s %8s %10s %10s\n' "menu, idle" "$1" "$(ratio "$1" "$f")" "$2"
set -- $floor_game; f=$1
set -- $game; printf '%-34s %8s %10s %10s\n' "game in progress" "$1" "$(ratio "$1" "$f")" "$2"
printf '%-34s %8s\n' "peak memory of the game, MB" "$peak"
