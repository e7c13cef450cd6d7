#!/usr/bin/env bash
# Records the pinned games by playing the real program with xdotool, then pins each game's
# result line beside it. Run it (under tests/e2e/xvfb.sh) only when a change to how the game
# plays is meant; the test suite then checks every recording still plays to its line.
# Usage: tests/e2e/xvfb.sh bash tests/games/record.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e/lib.sh"
tmp=$(mktemp -d)
GAME_PID=""
trap 'kill -9 $GAME_PID 2>/dev/null; rm -rf "$tmp"' EXIT

down() { xdotool keydown "$@"; }
up() { xdotool keyup "$@"; }
tap() { xdotool keydown "$1"; sleep "${2:-0.15}"; xdotool keyup "$1"; }

# play NAME: records one game driven by the function NAME.
play() {
    start_game "$build" --record "$tmp/$1.rdr"
    click_at 200 120; mouse_to 700 560; sleep 0.3
    "$1"
    for _ in $(seq 300); do grep -q "$1.rdr:" "$GAME_OUT" && break; sleep 0.2; done
    sleep 1; press Return; sleep 0.5; press Escape
    wait_exit 10
    grep "$1.rdr:" "$GAME_OUT" | sed 's/^[^:]*: //' > "$here/$1.line"
    cp "$tmp/$1.rdr" "$here/$1.rdr"
    echo "$1: $(cat "$here/$1.line")"
}

# Berto runs into the right bank until he is out of health; Rudko hops about.
rudko_wins() {
    tap s; sleep 1; down Right; sleep 20; up Right
}

# Rudko runs into the left bank; Berto dives and jumps.
berto_wins() {
    down Down; sleep 1.5; up Down; tap Down; down a; sleep 20; up a
}

# A little steering, a jump and a dive, then ESC before anyone has won.
left_with_esc() {
    down a; sleep 0.6; up a; tap s; sleep 1; down Down; sleep 1.3; up Down; sleep 1
    press Escape
}

# Both riders side by side, Rudko jumping onto Berto again and again.
stomping() {
    down d; down Left; sleep 0.9; up d; up Left
    for _ in $(seq 12); do tap s 0.3; sleep 1.2; done
    down a; sleep 20; up a
}

# A long river: both riders weave, jump and dive past everything the river brings, bounce off
# both banks, and in the end Berto gives up against the right bank.
long_river() {
    for round in $(seq 8); do
        down a; sleep 1.2; up a; tap s 0.4; sleep 0.8
        down Right; sleep 0.7; up Right; down Down; sleep 1.6; up Down
        down d; sleep 1.5; up d; tap Down 0.2; sleep 0.6
        down Left; sleep 1.4; up Left; down s; sleep 1.4; up s
    done
    down a; down Right; sleep 25; up a; up Right
}

# The game is decided, then ESC during the slow-down: the end screen still comes.
decided_then_esc() {
    down Right; sleep 11; press Escape; up Right
}

for game in rudko_wins berto_wins left_with_esc stomping long_river decided_then_esc; do
    play "$game"
done
