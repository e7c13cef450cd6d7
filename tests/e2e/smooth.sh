#!/usr/bin/env bash
# Pictures a second in a game under way, grabbed every 2 ms from a patch of the left bank and
# the water beside it: the classic game shows one picture a pass (20 a second); --smooth shows
# the display's pace (Xvfb's 60 Hz): at least 50 different pictures a second, none for longer
# than 40 ms. A busy machine only ever makes pictures late, so each game gets up to five
# rounds of 1.5 s and the first good one counts.
# Usage: smooth.sh BUILD_DIR PICTURE_RATE
. "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
rate_tool=$2

# rounds GOOD ARGS...: plays a game started with ARGS and measures rounds until one satisfies
# the awk condition GOOD on "rate longest" (at most five); prints that round, or the last.
rounds() {
    local good=$1 round r=0 h=0 sx sy; shift
    start_game "$build" "$@"
    click_at 200 120
    mouse_to 780 580
    sleep 1.5
    read -r sx sy < <(on_screen 40 150)
    for round in 1 2 3 4 5; do
        read -r r h < <("$rate_tool" "$sx" "$sy" 120 200 1.5)
        echo "  ${*:-classic} round $round: $r pictures a second, the longest $h ms" >&2
        awk -v r="$r" -v h="$h" "BEGIN { exit !($good) }" && break
    done
    press Escape; sleep 0.3; press Escape
    wait_exit 5
    echo "$r $h"
}

read -r classic _ < <(rounds 'r >= 17 && r <= 22')
read -r smooth hold < <(rounds 'r >= 50 && h <= 40' --smooth)
awk -v r="$classic" 'BEGIN { exit !(r >= 17 && r <= 22) }' || fail "the classic game showed $classic pictures a second, not 20"
awk -v r="$smooth" 'BEGIN { exit !(r >= 50) }' || fail "the smooth game showed $smooth pictures a second, fewer than 50"
[ "$hold" -le 40 ] || fail "a smooth picture stayed $hold ms"
pass "classic $classic, smooth $smooth pictures a second (the longest $hold ms)"
