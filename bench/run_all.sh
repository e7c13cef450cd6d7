#!/usr/bin/env bash
# Every benchmark of River Duel in one table. Builds nothing: run it after a build.
# Usage: bench/run_all.sh [BUILD_DIR] [SECONDS_OF_PLAY]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
seconds=${2:-30}
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")

csv=$("${xvfb[@]}" "$build/bench/riverduel_bench" --benchmark_format=csv --benchmark_min_time=1 2>/dev/null)
ns() { echo "$csv" | awk -F, -v n="\"$1\"" '$1 == n { print $3 }'; }
# The same in processor time: the frame's wall time also holds its waits on the X server.
cpu_ns() { echo "$csv" | awk -F, -v n="\"$1\"" '$1 == n { print $4 }'; }
copy=$(ns BM_FrameCopy); frame=$(ns BM_RenderBusyFrame)
cpucopy=$(cpu_ns BM_FrameCopy); cpuframe=$(cpu_ns BM_RenderBusyFrame)
step=$(ns BM_UpdateRiders); lanes=$(ns BM_SpawnAndLaneStep)
decision=$(ns BM_ComputerDecision/iterations:8/manual_time)
save=$(ns BM_SaveBusyWorld); restore=$(ns BM_RestoreBusyWorld); worldstep=$(ns BM_StepWorld)
gather=$(ns BM_GatherPlain); recorded=$(ns BM_GatherRecorded)
set -- $(bash "$here/verify_time.sh" "$build"); verify_min=$1; verify_ms=$2; verify_ten=$3

startups=()
for _ in 1 2 3 4 5; do
    startups+=("$(cd "$build" && "${xvfb[@]}" ./bench/startup_time 2>/dev/null | tr '\n' ' ')")
done
startup=$(printf '%s\n' "${startups[@]}" | awk '{ print $2 }' | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
peak=$(printf '%s\n' "${startups[@]}" | awk '{ print $4 }' | sort -n | tail -1)

cpu=$("${xvfb[@]}" bash "$here/cpu_usage.sh" "$build" "$seconds")
# Each processor row: "% core", "x floor", "wake-ups/s" in its last three columns.
col() { echo "$cpu" | awk -v what="$1" -v n="$2" 'index($0, what) == 1 { print $(NF - 3 + n) }'; }
floor=$(col "bare Allegro" 1); floorwake=$(col "bare Allegro" 3)
menu=$(col "menu, idle" 1); menux=$(col "menu, idle" 2); menuwake=$(col "menu, idle" 3)
game=$(col "game in progress" 1); gamex=$(col "game in progress" 2); gamewake=$(col "game in progress" 3)
gamepeak=$(echo "$cpu" | awk '/peak memory/ { print $NF }')
# The larger screens beside the plain window, on an X server of their own (1920 x 1280).
screens=$(bash "$here/screens_cpu.sh" "$build" "$(( seconds < 10 ? seconds : 10 ))" 3)
# Each row: name, % core, x plain, then the 3 rounds.
screen_row() { echo "$screens" | awk -v what="$1" 'index($0, what) == 1 { print $(NF - 4), $(NF - 3) }'; }

row() { printf '%-52s %14s %s\n' "$1" "$2" "$3"; }
row "measure" "value" "target"
row "memcpy of one 800x600x32 frame" "$(printf '%.0f ns' "$copy")" ""
row "renderFrame, busy scene" "$(printf '%.0f ns' "$frame")" ""
row "renderFrame / frame copy" "$(awk -v a="$frame" -v b="$copy" 'BEGIN { printf "%.2f x", a / b }')" "<= 5 x"
row "renderFrame / frame copy, processor time" "$(awk -v a="$cpuframe" -v b="$cpucopy" 'BEGIN { printf "%.2f x", a / b }')" "<= 5 x"
row "renderFrame share of the 50 ms tick" "$(awk -v a="$frame" 'BEGIN { printf "%.2f %%", a / 5e7 * 100 }')" "< 2 %"
row "updateRiders, one step" "$(printf '%.0f ns' "$step")" ""
row "spawn attempt + lane steps" "$(printf '%.0f ns' "$lanes")" ""
row "save / restore a busy world" "$(printf '%.0f / %.0f ns' "$save" "$restore")" "< 1000 ns"
row "one silent pass of a world (stepWorld)" "$(printf '%.0f ns' "$worldstep")" ""
row "one decision of the computer rider (processor time)" "$(printf '%.1f us' "$decision")" "< 50 us"
row "a pass's inputs, plain / recorded" "$(printf '%.1f / %.1f ns' "$gather" "$recorded")" ""
row "--verify of a recorded ${verify_min}-minute game" "$verify_ms ms" ""
row "--verify, scaled to a 10-minute game" "$verify_ten ms" "< 2000 ms"
row "start-up to first menu frame (median of 5)" "$startup ms" "< 200 ms"
row "peak memory at the first menu frame" "$peak MB" "< 40 MB"
row "peak memory of the game after ${seconds} s of play" "$gamepeak MB" "< 40 MB"
row "processor, bare Allegro window (floor)" "$floor %" ""
row "processor, menu idle" "$menu % ($menux x)" "<= 1.5 x floor"
row "processor, ${seconds} s game" "$game % ($gamex x)" "<= 1.5 x floor"
set -- $(screen_row "plain 800 x 600")
row "processor, replayed game, plain window" "$1 %" ""
set -- $(screen_row "full screen 1920 x 1080")
row "processor, replayed game, 1920 x 1080 full screen" "$1 % ($2 x)" "<= 1.5 x plain window"
set -- $(screen_row "--scale 2")
row "processor, replayed game, --scale 2 window" "$1 % ($2 x)" ""
row "main thread wake-ups, bare window" "$floorwake /s" ""
row "main thread wake-ups, menu idle" "$menuwake /s" "< 100 /s"
row "main thread wake-ups, game" "$gamewake /s" "< 100 /s"
# An online pair in a game, junk datagrams at the host's port on loopback at rising rates.
flood=$("$build/bench/net_flood" --seconds 3 --rates 100000,200000,300000 2>/dev/null | awk '/^survives/ { print $2 }')
row "junk datagrams a second an online pair plays through" "$flood /s" ">= 100000 /s"
# The smooth pictures: a picture's cost, the processor beside the classic game, the delay.
smoothpic=$(cpu_ns BM_SmoothBusyPicture)
row "smooth picture / frame copy, processor time" "$(awk -v a="$smoothpic" -v b="$cpucopy" 'BEGIN { printf "%.2f x", a / b }')" "<= 2 x"
smooth=$(bash "$here/smooth_cpu.sh" "$build" "$(( seconds < 8 ? seconds : 8 ))" 3)
set -- $(echo "$smooth" | awk 'index($0, "smooth, plain window") == 1 { print $4, $5 }')
row "processor, replayed game, --smooth" "$1 % ($2 x)" "<= 2 x classic"
delay=$(cd "$build" && "${xvfb[@]}" ./bench/pass_delay 100 3 2>/dev/null)
set -- $(echo "$delay" | awk '$1 == "classic" || $1 == "smooth" { print $3 }')
row "pass to its picture, median, classic / smooth" "$1 / $2 ms" "smooth <= classic"
