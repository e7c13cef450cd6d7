#!/usr/bin/env bash
# How long --verify takes to play a long recorded game through (median of 5 runs), beside the
# game's own length, and the same cost scaled to a ten-minute game (12000 passes).
# Prints "MINUTES MS MS_FOR_TEN_MINUTES". Usage: bench/verify_time.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
"$build/bench/long_game" "$tmp/long.rdr" | tail -1 > "$tmp/line"
steps=$(awk '{ print $5 }' "$tmp/line")
for _ in 1 2 3 4 5; do
    start=$(date +%s%N)
    "$build/riverduel" --verify "$tmp/long.rdr" >/dev/null
    echo $(( ($(date +%s%N) - start) / 1000000 ))
done | sort -n | sed -n 3p > "$tmp/ms"
awk -v s="$steps" -v ms="$(cat "$tmp/ms")" 'BEGIN { printf "%.1f %d %d\n", s / 20 / 60, ms, ms * 12000 / s }'

