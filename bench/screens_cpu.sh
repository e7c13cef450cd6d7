#!/usr/bin/env bash
# Processor use of a game in the plain window beside the same in a full screen of 1920 x 1080
# (the picture scaled to 1440 x 1080) and in a window of twice the size, replaying one game, one after another on
# one X server of that size. The full screen's target: at most 1.5 times the plain window's.
# Usage: bench/screens_cpu.sh BUILD_DIR [SECONDS [ROUNDS]]   (it starts its own X server)
if [ -z "${SCREENS_CPU_INSIDE:-}" ]; then
    SCREENS_CPU_INSIDE=1 exec xvfb-run -a -s "-screen 0 1920x1280x24" bash "$0" "$@"
fi
. "$(dirname "$0")/../tests/e2e/lib.sh"
build=$(cd "$1" && pwd)
seconds=${2:-10}

# cpu_ns PID: nanoseconds on a processor of all the threads of PID so far (finer than the
# clock ticks of /proc/PID/stat, which a few seconds of a lightly loaded game need).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d\n", s }'; }
# game_share ARGS...: percent of one core a game started with ARGS uses over $seconds seconds
# of play: the same recorded game each time (45 s long), so each draws the same frames.
game=$(cd "$(dirname "$0")/../tests/games" && pwd)/long_river.rdr
game_share() {
    launch "$build" --replay "$game" "$@"
    sleep 2
    local a b
    a=$(cpu_ns "$GAME_PID"); sleep "$seconds"; b=$(cpu_ns "$GAME_PID")
    kill "$GAME_PID"; wait "$GAME_PID" 2>/dev/null || true; GAME_PID=""
    awk -v d=$((b - a)) -v s="$seconds" 'BEGIN { printf "%.2f", 100 * d / 1e9 / s }'
}
# Rounds of the three side by side, so that whatever else the machine does falls on all three
# alike; each is the median of its rounds.
rounds=${3:-3}
plains=(); fulls=(); doubles=()
for _ in $(seq "$rounds"); do
    plains+=("$(game_share)")
    fulls+=("$(game_share --fullscreen)")
    doubles+=("$(game_share --scale 2)")
done
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
plain=$(median "${plains[@]}"); full=$(median "${fulls[@]}"); double=$(median "${doubles[@]}")
ratio() { awk -v a="$1" -v b="$plain" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
printf '%-46s %8s %8s   %s\n' "a replayed game (median of $rounds x ${seconds} s)" "% core" "x plain" "rounds"
printf '%-46s %8s %8s   %s\n' "plain 800 x 600 window" "$plain" "1.00" "${plains[*]}"
printf '%-46s %8s %8s   %s\n' "full screen 1920 x 1080 (picture 1440 x 1080)" "$full" "$(ratio "$full")" "${fulls[*]}"
printf '%-46s %8s %8s   %s\n' "--scale 2 window (1600 x 1200)" "$double" "$(ratio "$double")" "${doubles[*]}"
