#!/usr/bin/env bash
# --scale 2 on a 1024 x 768 desktop opens the largest window that fits it, and says so.
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}

start_game "$build" --scale 2
eval "$(xdotool getwindowgeometry --shell "$WIN")"
[ "$WIDTH" -le 1024 ] && [ "$HEIGHT" -le 768 ] || fail "a ${WIDTH} x ${HEIGHT} window on a 1024 x 768 desktop"
[ "$(grep -c 'scale 1 does' "$GAME_OUT")" -eq 1 ] || fail "no one line saying the scale was lowered"
pass "--scale 2 opened a ${WIDTH} x ${HEIGHT} window and said why"
