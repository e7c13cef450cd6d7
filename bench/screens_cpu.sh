#!/usr/bin/env bash
# Processor use of a game in the plain window beside the same in a full screen of 1920 x 1080
# (the picture scaled to 1440 x 1080) and in a window of twice the size, replaying one game, one after another on
# one X server of that size. The full screen's target: at most 1.5 times the plain window's (the
# game's own processor). The X server's share over the same seconds is shown beside it, since
# the server now does the scaling.
# Usage: bench/screens_cpu.sh BUILD_DIR [SECONDS [ROUNDS]]   (it starts its own X server)
if [ -z "${SCREENS_CPU_INSIDE:-}" ]; then
    SCREENS_CPU_INSIDE=1 exec xvfb-run -a -s "-screen 0 1920x1280x24" bash "$0" "$@"
fi
. "$(dirname "$0")/../tests/e2e/lib.sh"
build=$(cd "$1" && pwd)
seconds=${2:-10}

# cpu_ns PID: nanoseconds on a processor of all the threads of PID so far (finer than the
# clock ticks of /proc/PID/stat, which a few seconds of a lightly loaded game need).
# Printed with %.0f: the X server passes 2^31 ns within a run, where mawk's %d stops.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f\n", s }'; }
# game_share ARGS...: "GAME SERVER", percent of one core a game started with ARGS and the X
# server use over $seconds seconds of play: the same recorded game each time (45 s long), so
# each draws the same frames.
game=$(cd "$(dirname "$0")/../tests/games" && pwd)/long_river.rdr
# The X server xvfb-run started for this script.
server=$(pgrep -P "$PPID" -x Xvfb) || fail "no Xvfb of this script's own"
game_share() {
    launch "$build" --replay "$game" "$@"
    sleep 2
    local a b sa sb
    a=$(cpu_ns "$GAME_PID"); sa=$(cpu_ns "$server"); sleep "$seconds"
    b=$(cpu_ns "$GAME_PID"); sb=$(cpu_ns "$server")
    kill "$GAME_PID"; wait "$GAME_PID" 2>/dev/null || true; GAME_PID=""
    awk -v d=$((b - a)) -v sd=$((sb - sa)) -v s="$seconds" \
        'BEGIN { printf "%.2f %.2f\n", 100 * d / 1e9 / s, 100 * sd / 1e9 / s }'
}
# Rounds of the three side by side, so that whatever else the machine does falls on all three
# alike; each is the median of its rounds.
rounds=${3:-3}
plains=(); fulls=(); doubles=(); plain_servers=(); full_servers=(); double_servers=()
for _ in $(seq "$rounds"); do
    read -r g x < <(game_share); plains+=("$g"); plain_servers+=("$x")
    read -r g x < <(game_share --fullscreen); fulls+=("$g"); full_servers+=("$x")
    read -r g x < <(game_share --scale 2); doubles+=("$g"); double_servers+=("$x")
done
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
plain=$(median "${plains[@]}"); full=$(median "${fulls[@]}"); double=$(median "${doubles[@]}")
ratio() { awk -v a="$1" -v b="$plain" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
printf '%-46s %8s %8s %8s   %s\n' "a replayed game (median of $rounds x ${seconds} s)" "% core" "x plain" "X server" "rounds (game / X server)"
printf '%-46s %8s %8s %8s   %s\n' "plain 800 x 600 window" "$plain" "1.00" "$(median "${plain_servers[@]}")" \
    "${plains[*]} / ${plain_servers[*]}"
printf '%-46s %8s %8s %8s   %s\n' "full screen 1920 x 1080 (picture 1440 x 1080)" "$full" "$(ratio "$full")" \
    "$(median "${full_servers[@]}")" "${fulls[*]} / ${full_servers[*]}"
printf '%-46s %8s %8s %8s   %s\n' "--scale 2 window (1600 x 1200)" "$double" "$(ratio "$double")" \
    "$(median "${double_servers[@]}")" "${doubles[*]} / ${double_servers[*]}"
