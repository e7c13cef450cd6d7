#!/usr/bin/env bash
# An online duel between two copies of the game on two X servers of this machine: the host
# on the display it is given, the joiner on a second one. The joiner's click starts the game
# on both; Rudko is driven into his bank on the host while Berto jumps on the joiner; both
# must show the same end screen, print the same line of the online game and record games that
# verify to the same line. Then the faults: a third machine is turned away while a game runs;
# the joiner stopped mid-game, the host shows that it waits and ESC tapped there leaves at
# once, and the joiner, resumed, follows; the joiner is killed mid-game (the host is back in
# its menu within 5 s), and ESC in the host's menu tells the joiner.
# Usage: online_duel.sh BUILD_DIR TEXT_MASK_TOOL
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
text_mask=${2:?text_mask tool}
HOST_PID=""; JOIN_PID=""; THIRD_PID=""

port=$(free_port)
host_display=$DISPLAY
own_display join_display

# The helpers of lib.sh work on one game: these switch between the two.
on_host() { DISPLAY=$host_display; GAME_PID=$HOST_PID; GAME_OUT=$tmp/host.log; WIN_X=$HOST_X; WIN_Y=$HOST_Y; }
on_join() { DISPLAY=$join_display; GAME_PID=$JOIN_PID; GAME_OUT=$tmp/join.log; WIN_X=$JOIN_X; WIN_Y=$JOIN_Y; }


# end_screen_reads NAME: the yellow line above the title art on the current display.
end_screen_reads() {
    local f=$tmp/end-$RANDOM.png
    shot "$f"
    names_winner "$f" "$1"
}

export HOME=$tmp # no sound device: the game starts without sound
GAME_LOG=$tmp/host.log start_game "$build" --host "$port" --lan-only --record "$tmp/host.rdr"
HOST_PID=$GAME_PID; HOST_X=$WIN_X; HOST_Y=$WIN_Y
HELPER_PIDS+=("$HOST_PID")
wait_line "$tmp/host.log" "waiting for a rider on UDP port $port" 15
# And the address to give a friend, where the machine has one besides loopback.
grep -qE "waiting for a rider on UDP port $port(: ask your friend to join [0-9.]+:$port( or [0-9.]+:$port)?)?\$" "$tmp/host.log" ||
    GAME_OUT=$tmp/host.log fail "the host's status line is not 'waiting for a rider on UDP port $port[: ask your friend to join ADDRESS:$port]'"

DISPLAY=$join_display
GAME_LOG=$tmp/join.log start_game "$build" --join "127.0.0.1:$port" --record "$tmp/join.rdr"
JOIN_PID=$GAME_PID; JOIN_X=$WIN_X; JOIN_Y=$WIN_Y
HELPER_PIDS+=("$JOIN_PID")
wait_line "$tmp/join.log" "riding with the host at 127.0.0.1:$port" 15
wait_line "$tmp/host.log" "Berto has joined" 15
on_join; shot "$tmp/join-menu.png"
mask "$tmp/join-menu.png" 100 152 200 8 FFFFFF | grep -q 1 || fail "no status line under the joiner's button"
pass "host and joiner meet; each menu shows the status line"

on_join; click_at 200 120; mouse_to 790 590
on_host; await_game 5 || fail "the joiner's click did not start the host's game"
on_join; await_game 5 || fail "the joiner's click did not start its own game"
pass "the joiner's click starts the game on both machines"

# Rudko into his bank on the host; Berto jumps now and then on the joiner.
on_host; DISPLAY=$host_display xdotool keydown a
drained=""
for i in $(seq 80); do
    on_join; [ $((i % 4)) = 0 ] && press Down
    on_host; shot "$tmp/now.png"
    if [ "$(pixel "$tmp/now.png" 13 27)" = "0,0,0" ]; then drained=yes; break; fi
    sleep 0.3
done
on_host; xdotool keyup a
[ -n "$drained" ] || fail "Rudko's health did not run out against his bank"
for side in host join; do
    ok=""
    for _ in $(seq 40); do
        on_$side; end_screen_reads Berto && { ok=yes; break; }
        sleep 0.5
    done
    [ -n "$ok" ] || { on_$side; fail "the $side's end screen does not read 'Berto is the'"; }
done
pass "both machines show the same end screen: Berto is the champion"

on_host; press space; on_join; press space
on_host; await_menu 5 || fail "a key did not take the host back to its menu"
on_join; await_menu 5 || fail "a key did not take the joiner back to its menu"
[ -s "$tmp/host.rdr" ] && [ -s "$tmp/join.rdr" ] || fail "a side did not record the game"
host_line=$(cd "$build" && ./riverduel --verify "$tmp/host.rdr") || fail "the host's recording does not verify"
join_line=$(cd "$build" && ./riverduel --verify "$tmp/join.rdr") || fail "the joiner's recording does not verify"
[ "$host_line" = "$join_line" ] || fail "the recordings differ: '$host_line' and '$join_line'"
case "$host_line" in "winner Berto "*) ;; *) fail "unexpected result '$host_line'";; esac
pass "both recordings verify to '$host_line'"

# Each side's line of the game: the same passes and input delay (none on loopback), and the
# passes those of the recordings.
online='^online game: passes [0-9]+, input delay [0-4], rolled back [0-9]+ passes \(deepest [0-9]+\), stalled [0-9]+$'
host_online=$(grep -E "$online" "$tmp/host.log" | head -1) || fail "the host printed no line of the online game"
join_online=$(grep -E "$online" "$tmp/join.log" | head -1) || fail "the joiner printed no line of the online game"
steps=$(echo "$host_line" | sed -E 's/.* steps ([0-9]+) .*/\1/')
for line in "$host_online" "$join_online"; do
    case "$line" in "online game: passes $steps, input delay 0, "*) ;; *) fail "unexpected '$line' for $steps passes";; esac
done
pass "both sides print '${host_online%%, rolled*}, ...'"

# A second game, started on the host; a third machine tries to join it.
wait_line "$tmp/host.log" "Berto has joined" 15
on_host; click_at 200 120; mouse_to 790 590
sleep 1.0
DISPLAY=$join_display
(cd "$build" && exec ./riverduel --join "127.0.0.1:$port") >"$tmp/third.log" 2>&1 &
THIRD_PID=$!
HELPER_PIDS+=("$THIRD_PID")
wait_line "$tmp/third.log" "refused: that game already has two riders" 10
kill -9 "$THIRD_PID" 2>/dev/null || true; THIRD_PID=""
on_host; shot "$tmp/still.png"; is_menu "$tmp/still.png" && fail "the host's game stopped when a third machine knocked"
pass "a third machine is refused and the game goes on"

# The joiner stops answering: the host runs out of guesses and says it waits; ESC tapped
# there leaves at once; the joiner, resumed, leaves too and neither speaks of an end screen.
mark=$(wc -l <"$tmp/host.log")
kill -STOP "$JOIN_PID"; stopped_at=$(date +%s%N)
sleep 0.9
on_host; shot "$tmp/stalled.png"
# ESC first, the screenshot read after: on a busy machine reading it takes a second or two of
# the three the host waits before it gives the joiner up.
on_host; xdotool key Escape; tapped_at=$(date +%s%N)
# The game's line tells when it ended. Within 3 s of the joiner's last word it cannot have been
# the silent joiner's connection given up that ended it: it was the ESC.
ended=""
while [ $(( ($(date +%s%N) - tapped_at) / 1000000 )) -lt 2500 ]; do
    if tail -n +$((mark + 1)) "$tmp/host.log" | grep -q '^online game:'; then ended=$(date +%s%N); break; fi
    sleep 0.02
done
[ -n "$ended" ] || { kill -CONT "$JOIN_PID"; fail "ESC tapped while the game waited did not end the host's game"; }
left_ms=$(( (ended - tapped_at) / 1000000 ))
silent_ms=$(( (ended - stopped_at) / 1000000 ))
[ "$silent_ms" -lt 3000 ] ||
    { kill -CONT "$JOIN_PID"; fail "the game ended $silent_ms ms into the joiner's silence: too late to tell the ESC from a lost connection"; }
# Resumed at once: silent for a few seconds more (screenshots are slow on a busy machine), the
# joiner would be given up for lost.
kill -CONT "$JOIN_PID"
diff <(mask "$tmp/stalled.png" 292 296 216 8 FFFFFF) <("$text_mask" "waiting for the other rider") >/dev/null ||
    fail "the stalled host does not show 'waiting for the other rider'"
back=""
for _ in $(seq 30); do
    on_host; shot "$tmp/now.png"
    if is_menu "$tmp/now.png"; then back=yes; break; fi
    sleep 0.1
done
[ -n "$back" ] || fail "ESC tapped while the game waited did not take the host back to its menu"
back=""
for _ in $(seq 30); do
    on_join; shot "$tmp/now.png"
    if is_menu "$tmp/now.png"; then back=yes; break; fi
    sleep 0.2
done
[ -n "$back" ] || fail "the joiner, resumed, did not follow the host out of the game"
sleep 0.5
if tail -n +$((mark + 1)) "$tmp/host.log" | grep "end screen"; then
    fail "the host spoke of an end screen after a game left with ESC"
fi
pass "the host shows it waits for a stopped joiner; ESC tapped leaves at once (the game ended $left_ms ms after it); the joiner follows"

# A third game, for the joiner to vanish from.
started=""
for _ in $(seq 10); do
    on_host; click_at 200 120; mouse_to 790 590
    sleep 0.5
    on_host; shot "$tmp/now.png"
    if ! is_menu "$tmp/now.png"; then started=yes; break; fi
done
[ -n "$started" ] || fail "the host could not start a third game"
sleep 1

kill -9 "$JOIN_PID"; killed_at=$(date +%s%N)
back=""
for _ in $(seq 70); do
    on_host; shot "$tmp/now.png"
    if is_menu "$tmp/now.png"; then back=yes; break; fi
    sleep 0.1
done
waited=$(( ($(date +%s%N) - killed_at) / 1000000 ))
[ -n "$back" ] || fail "the host was not back in its menu 7 s after the joiner was killed"
[ "$waited" -lt 5000 ] || fail "the host took $waited ms to notice the joiner was gone"
grep -q "connection lost" "$tmp/host.log" || fail "the host does not say the connection was lost"
wait_line "$tmp/host.log" "connection lost - waiting for a rider on UDP port $port" 2
recorded=$(grep -F "$tmp/host-3.rdr: " "$tmp/host.log") || fail "the game cut short was not recorded"
cut_line=$(cd "$build" && ./riverduel --verify "$tmp/host-3.rdr") || fail "the cut-short game does not verify"
[ "$cut_line" = "${recorded#*: }" ] || fail "the cut-short game verifies to '$cut_line', recorded as '$recorded'"
pass "the joiner killed mid-game: the host is back in its menu after $waited ms, waiting again, its game recorded"

# A new joiner; ESC in the host's menu tells it, and the host ends with 0.
DISPLAY=$join_display
GAME_LOG=$tmp/join2.log start_game "$build" --join "127.0.0.1:$port"
JOIN_PID=$GAME_PID
HELPER_PIDS+=("$JOIN_PID")
wait_line "$tmp/join2.log" "riding with the host" 5
on_host; press Escape
GAME_PID=$HOST_PID; wait_exit 10
[ "$GAME_RC" -eq 0 ] || fail "the host ended with $GAME_RC"
wait_line "$tmp/join2.log" "the other rider left" 5
pass "ESC in the host's menu ends it with 0 and the joiner is told"
