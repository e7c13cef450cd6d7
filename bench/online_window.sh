#!/usr/bin/env bash
# An online duel between two copies of the game in their windows (each on an X server of its
# own), the joiner reaching the host through the network benchmark's proxy, which delays,
# jitters and drops datagrams. Both players hold random keys (0.2 to 1.5 s each) for SECONDS,
# then the host leaves with ESC; prints both sides' line of the online game, the processor
# each game used and the bytes each way.
# Usage: bench/online_window.sh BUILD_DIR [SECONDS [ROUND_TRIP_MS [JITTER_MS [LOSS]]]]
#        (it starts its own X servers; defaults 60 s, 100 ms, +-20 ms each way, 0.05 each way)
if [ -z "${ONLINE_WINDOW_INSIDE:-}" ]; then
    ONLINE_WINDOW_INSIDE=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
. "$(dirname "$0")/../tests/e2e/lib.sh"
build=$(cd "$1" && pwd)
seconds=${2:-60}; round_trip=${3:-100}; jitter=${4:-20}; loss=${5:-0.05}

port=$((20000 + RANDOM % 20000)); proxy_port=$((port + 1))
host_display=$DISPLAY
join_display=:$((1000 + RANDOM % 800))
Xvfb "$join_display" -screen 0 1024x768x24 -nolisten tcp >"$tmp/xvfb2.log" 2>&1 &
HELPER_PIDS+=("$!")
"$build/bench/net_proxy" "$proxy_port" "$port" $((round_trip / 2)) "$jitter" "$loss" $((seconds + 60)) \
    >"$tmp/proxy.log" 2>&1 &
PROXY_PID=$!
HELPER_PIDS+=("$PROXY_PID")

export HOME=$tmp # no sound device
GAME_LOG=$tmp/host.log start_game "$build" --host "$port"
HOST_PID=$GAME_PID; HELPER_PIDS+=("$HOST_PID")
DISPLAY=$join_display
GAME_LOG=$tmp/join.log start_game "$build" --join "127.0.0.1:$proxy_port"
JOIN_PID=$GAME_PID; HELPER_PIDS+=("$JOIN_PID")
for _ in $(seq 100); do grep -q "riding with the host" "$tmp/join.log" && break; sleep 0.1; done
click_at 200 120; mouse_to 790 590
sleep 1

# cpu_ns PID: nanoseconds on a processor of all the threads of PID so far.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d\n", s }'; }
host_cpu=$(cpu_ns "$HOST_PID"); join_cpu=$(cpu_ns "$JOIN_PID")
# play SIDE_DISPLAY KEYS...: random holds of one of KEYS until the time is up.
play() {
    local display=$1; shift
    local keys=("$@") end=$((SECONDS + seconds)) key
    while [ "$SECONDS" -lt "$end" ]; do
        key=${keys[$((RANDOM % ${#keys[@]}))]}
        DISPLAY=$display xdotool keydown "$key"
        sleep "$(awk -v r=$RANDOM 'BEGIN { printf "%.2f", 0.2 + 1.3 * r / 32767 }')"
        DISPLAY=$display xdotool keyup "$key"
    done
}
play "$host_display" a d s d a &
HELPER_PIDS+=("$!")
play "$join_display" Left Right Down Right Left &
HELPER_PIDS+=("$!")
wait "${HELPER_PIDS[-1]}" "${HELPER_PIDS[-2]}" || true
host_cpu=$(( $(cpu_ns "$HOST_PID") - host_cpu )); join_cpu=$(( $(cpu_ns "$JOIN_PID") - join_cpu ))
DISPLAY=$host_display press Escape
for _ in $(seq 100); do
    grep -q "^online game" "$tmp/host.log" && grep -q "^online game" "$tmp/join.log" && break
    sleep 0.1
done
kill "$PROXY_PID"; wait "$PROXY_PID" || true
echo "round trip $round_trip ms, +-$jitter ms jitter and $loss loss each way, $seconds s of play in the window"
echo "host:   $(grep "^online game" "$tmp/host.log" | tail -1), $(awk -v n="$host_cpu" -v s="$seconds" 'BEGIN { printf "%.1f", 100 * n / 1e9 / s }') % of a core"
echo "joiner: $(grep "^online game" "$tmp/join.log" | tail -1), $(awk -v n="$join_cpu" -v s="$seconds" 'BEGIN { printf "%.1f", 100 * n / 1e9 / s }') % of a core"
grep -E "games drifted|too slow|connection lost" "$tmp/host.log" "$tmp/join.log" || true
cat "$tmp/proxy.log"
