#!/usr/bin/env bash
# Processor use of the classic game (one picture a pass) beside --smooth (the display's pace,
# 60 pictures a second under Xvfb), replaying one game, in the plain window and in a window of
# twice the size, in rounds one after another on one X server. The target: smooth at most twice
# the classic game's own processor. The X server's share over the same seconds is shown beside.
# Usage: bench/smooth_cpu.sh BUILD_DIR [SECONDS [ROUNDS]]   (it starts its own X server)
if [ -z "${SMOOTH_CPU_INSIDE:-}" ]; then
    SMOOTH_CPU_INSIDE=1 exec xvfb-run -a -s "-screen 0 1920x1280x24" bash "$0" "$@"
fi
. "$(dirname "$0")/../tests/e2e/lib.sh"
build=$(cd "$1" && pwd)
seconds=${2:-8}
rounds=${3:-3}

cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f\n", s }'; }
game=$(cd "$(dirname "$0")/../tests/games" && pwd)/long_river.rdr
server=$(pgrep -P "$PPID" -x Xvfb) || fail "no Xvfb of this script's own"
# game_share ARGS...: "GAME SERVER", percent of one core of the replay and of the X server.
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
modes=("" "--smooth" "--scale 2" "--scale 2 --smooth")
names=("classic, plain window" "smooth, plain window" "classic, --scale 2" "smooth, --scale 2")
declare -A games servers
for _ in $(seq "$rounds"); do
    for i in "${!modes[@]}"; do
        # shellcheck disable=SC2086
        read -r g x < <(game_share ${modes[$i]})
        games[$i]+="$g "; servers[$i]+="$x "
    done
done
median() { printf '%s\n' $@ | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
printf '%-24s %8s %10s %9s   %s\n' "median of $rounds x ${seconds} s" "% core" "x classic" "X server" "rounds (game / X server)"
for i in "${!modes[@]}"; do
    g=$(median ${games[$i]}); base=$(median ${games[$((i / 2 * 2))]})
    printf '%-24s %8s %10s %9s   %s\n' "${names[$i]}" "$g" "$(awk -v a="$g" -v b="$base" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')" \
        "$(median ${servers[$i]})" "${games[$i]}/ ${servers[$i]}"
done
