#!/usr/bin/env bash
# Spectators in the window: a host and a joiner on this machine's loopback, each on an X
# server of its own, watched by two spectators (--watch) on a third and fourth. The host's
# click starts the game; Rudko rides into his bank; one spectator is killed midway. The other
# must hear the game and show its end screen naming the same champion a little after the
# riders do, and the riders' two recordings must verify to the same line.
# Usage: watch.sh BUILD_DIR TEXT_MASK_TOOL
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
text_mask=${2:?text_mask tool}

port=$(free_port)
host_display=$DISPLAY
own_display join_display; own_display seer_display; own_display doomed_display

# on DISPLAY PID: the helpers of lib.sh look at that game.
declare -A WX WY
on() { DISPLAY=$1; GAME_PID=$2; WIN_X=${WX[$1]}; WIN_Y=${WY[$1]}; }
# seen DISPLAY: notes where start_game found the window on DISPLAY.
seen() { WX[$1]=$WIN_X; WY[$1]=$WIN_Y; }

export HOME=$tmp # no sound device for the riders
GAME_LOG=$tmp/host.log start_game "$build" --host "$port" --lan-only --record "$tmp/host.rdr"
HOST_PID=$GAME_PID; HELPER_PIDS+=("$HOST_PID"); seen "$host_display"
DISPLAY=$join_display GAME_LOG=$tmp/join.log start_game "$build" --join "127.0.0.1:$port" --record "$tmp/join.rdr"
JOIN_PID=$GAME_PID; HELPER_PIDS+=("$JOIN_PID"); seen "$join_display"
mkdir -p "$tmp/seer"
use_sound_capture "$tmp/seer" # the spectator that watches to the end is heard
DISPLAY=$seer_display GAME_LOG=$tmp/seer.log start_game "$build" --watch "127.0.0.1:$port"
SEER_PID=$GAME_PID; HELPER_PIDS+=("$SEER_PID"); seen "$seer_display"
export HOME=$tmp
DISPLAY=$doomed_display GAME_LOG=$tmp/doomed.log start_game "$build" --watch "127.0.0.1:$port"
DOOMED_PID=$GAME_PID; HELPER_PIDS+=("$DOOMED_PID")
for log in seer doomed; do
    wait_line "$tmp/$log.log" "watching the riders at 127.0.0.1:$port" 15
done
wait_line "$tmp/host.log" "Berto has joined" 15
pass "two spectators and a joiner meet the host"

on "$host_display" "$HOST_PID"; GAME_OUT=$tmp/host.log
click_at 200 120; mouse_to 790 590
xdotool keydown a
sleep 5
kill -9 "$DOOMED_PID"
drained=""
for _ in $(seq 100); do
    shot "$tmp/now.png"
    if [ "$(pixel "$tmp/now.png" 13 27)" = "0,0,0" ]; then drained=yes; break; fi
    sleep 0.3
done
xdotool keyup a
[ -n "$drained" ] || fail "Rudko's health did not run out against his bank"
await_end_screen 20 || fail "the host shows no end screen"
names_winner "$tmp/end.png" Berto || fail "the host's end screen does not name Berto"
host_end=$SECONDS

on "$seer_display" "$SEER_PID"; GAME_OUT=$tmp/seer.log
await_end_screen 8 || fail "the spectator shows no end screen within 8 s of the riders'"
names_winner "$tmp/end.png" Berto || fail "the spectator's end screen does not name Berto"
lag=$((SECONDS - host_end))
heard=$(HOME=$tmp/seer; loudness 0 "$(captured)")
[ "$heard" -gt 1000 ] || fail "the spectator heard nothing of the game (loudest sample $heard)"
pass "the spectator shows the same end screen ${lag} s after the riders, with the game's sounds (loudest $heard)"

# The riders' game is the one they played, spectators or not.
on "$host_display" "$HOST_PID"; press space
on "$join_display" "$JOIN_PID"; press space
wait_line "$tmp/host.log" "$tmp/host.rdr: " 10
wait_line "$tmp/join.log" "$tmp/join.rdr: " 10
host_line=$(cd "$build" && ./riverduel --verify "$tmp/host.rdr") || fail "the host's recording does not verify"
join_line=$(cd "$build" && ./riverduel --verify "$tmp/join.rdr") || fail "the joiner's recording does not verify"
[ "$host_line" = "$join_line" ] || fail "the riders' recordings differ: '$host_line' and '$join_line'"
case "$host_line" in "winner Berto "*) ;; *) fail "unexpected result '$host_line'" ;; esac
kill -0 "$SEER_PID" || fail "the spectator did not live through the game"
pass "the killed spectator changed nothing: both recordings verify to '$host_line'"
