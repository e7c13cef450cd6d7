# Helpers for the end-to-end tests: they drive the real game window on an X server
# (run them under xvfb-run) with xdotool and read pixels back from screenshots.
#
# Sourcing this file makes the script strict and gives it a scratch directory $tmp; whatever
# way the script ends, the game it started and any helper it started in the background (its
# process id added to HELPER_PIDS) are killed and $tmp is removed. Every variable the trap
# reads is set before the trap is.
set -euo pipefail
GAME_PID=""
GAME_OUT=""
HELPER_PIDS=()
tmp=$(mktemp -d "${TMPDIR:-/tmp}/riverduel-test.XXXXXX")
cleanup() {
    local rc=$? pid
    for pid in $GAME_PID "${HELPER_PIDS[@]}"; do
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$tmp"
    exit "$rc"
}
trap cleanup EXIT

# fail MESSAGE: ends the test, with the last words of the game when it said anything.
fail() {
    if [ -n "${GAME_OUT:-}" ] && [ -s "$GAME_OUT" ]; then
        sed 's/^/  game: /' "$GAME_OUT" | tail -30 >&2
    fi
    echo "FAIL: $*" >&2
    exit 1
}
pass() { echo "ok: $*"; }

# free_port: a UDP port for a host, below the range the system hands clients (those of the
# tests running beside this one among them), and free when asked.
free_port() {
    local port _
    for _ in $(seq 40); do
        port=$((20000 + RANDOM % 12000))
        python3 -c 'import socket, sys; socket.socket(socket.AF_INET, socket.SOCK_DGRAM).bind(("", int(sys.argv[1])))' \
            "$port" 2>/dev/null && { echo "$port"; return; }
    done
    fail "no free UDP port from 20000 to 31999"
}

# find_window: waits for the game's window (WINDOW_SECONDS, 10 unless set), sets WIN, WIN_X,
# WIN_Y and gives it focus.
find_window() {
    WIN=""
    for _ in $(seq $((${WINDOW_SECONDS:-10} * 10))); do
        WIN=$(xdotool search --onlyvisible --classname riverduel 2>/dev/null | head -1 || true)
        [ -n "$WIN" ] && break
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its window appeared"
        sleep 0.1
    done
    [ -n "$WIN" ] || fail "no game window"
    eval "$(xdotool getwindowgeometry --shell "$WIN")"
    WIN_X=$X; WIN_Y=$Y
    xdotool windowfocus --sync "$WIN"
}

# own_display NAME: starts an X server of the test's own on a display nobody holds (the server
# chooses it) and sets NAME to that display once the server listens.
own_display() {
    local chosen=$tmp/display-$RANDOM
    : >"$chosen"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$chosen" >>"$tmp/xvfb.log" 2>&1 &
    HELPER_PIDS+=("$!")
    for _ in $(seq 100); do
        [ -s "$chosen" ] && break
        sleep 0.1
    done
    [ -s "$chosen" ] || fail "the test's own X server did not start"
    printf -v "$1" ':%s' "$(head -1 "$chosen")"
}

# wait_display: waits until the X server answers. xvfb-run can hand over a display whose
# server is not listening yet (or one that is still going away after the previous test).
wait_display() {
    for _ in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "no X server answers on display '${DISPLAY:-}'"
}

# start_cmd DIR COMMAND...: runs COMMAND in DIR as the game, sets GAME_PID and WIN, and
# returns once the menu is up; fails when the menu does not come within $MENU_TIMEOUT
# seconds (30 unless set: a game under valgrind needs longer).
start_cmd() {
    local dir=$1; shift
    wait_display
    GAME_OUT=${GAME_LOG:-$tmp/game.log}
    (cd "$dir" && exec "$@") >"$GAME_OUT" 2>&1 &
    GAME_PID=$!
    find_window
    # The window opens before the art is loaded: wait for the first menu frame.
    local probe=$tmp/probe.png limit=${MENU_TIMEOUT:-30}
    local deadline=$((SECONDS + limit))
    while :; do
        shot "$probe"
        is_menu "$probe" && break
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its menu appeared"
        [ "$SECONDS" -lt "$deadline" ] || fail "the menu did not appear within $limit s"
        sleep 0.25
    done
    sleep 0.3
}

# start_game DIR [ARGS...]: starts ./riverduel in DIR (under $GAME_WRAPPER, if set).
start_game() {
    local dir=$1; shift
    start_cmd "$dir" ${GAME_WRAPPER:-} ./riverduel "$@"
}

# shot FILE: screenshot of the whole screen. The build's own tool (where the script has set
# `build`) writes it as a PPM and reads its pixels back for a fraction of ImageMagick's cost.
shooter() { [ -x "${build:-}/tests/screenshot" ] && echo "$build/tests/screenshot"; }
shot() {
    local tool
    if tool=$(shooter); then "$tool" "$1"; else import -window root "$1"; fi
}

# Where the game's 800 x 600 picture is in its window: all of it, unless a test of a larger
# window or the full screen sets these. Positions X Y below are the picture's pixels; each is
# looked for at the middle of the block of screen pixels that shows it.
PIC_X=0; PIC_Y=0; PIC_W=800; PIC_H=600
# on_screen X Y: "SX SY", the screen position of the middle of picture pixel X Y.
on_screen() {
    echo "$((WIN_X + PIC_X + (2 * $1 + 1) * PIC_W / 1600)) $((WIN_Y + PIC_Y + (2 * $2 + 1) * PIC_H / 1200))"
}

# screen_pixel FILE SX SY: "r,g,b" of a pixel of the whole screen.
screen_pixel() {
    local tool
    tool=$(shooter) && "$tool" "$1" "$2" "$3" 2>/dev/null && return
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; echo
}

# pixel FILE X Y: "r,g,b" of a pixel of the picture in a screenshot.
pixel() {
    screen_pixel "$1" $(on_screen "$2" "$3")
}

# await_pixel FILE X Y RGB: screenshots into FILE until the picture's pixel X,Y is RGB, up to
# 10 s; false if it never is.
await_pixel() {
    for _ in $(seq 40); do
        shot "$1"
        [ "$(pixel "$1" "$2" "$3")" = "$4" ] && return 0
        sleep 0.25
    done
    return 1
}

expect_pixel() {
    local got
    got=$(pixel "$1" "$2" "$3")
    [ "$got" = "$4" ] || fail "${5:-pixel} at ($2,$3): expected $4, got $got"
}

# mouse_to X Y: moves the pointer to a window position.
mouse_to() { xdotool mousemove --sync $(on_screen "$1" "$2"); }

click_at() {
    mouse_to "$1" "$2"
    xdotool mousedown 1; sleep 0.3; xdotool mouseup 1
}

# press KEY: held long enough for a 20 Hz pass to see it, as a person's press is.
press() { xdotool keydown "$1"; sleep 0.25; xdotool keyup "$1"; }

# wait_exit SECONDS: waits for the game to end, sets GAME_RC.
wait_exit() {
    for _ in $(seq $(($1 * 10))); do
        if ! kill -0 "$GAME_PID" 2>/dev/null; then
            GAME_RC=0
            wait "$GAME_PID" || GAME_RC=$?
            return 0
        fi
        sleep 0.1
    done
    fail "the game did not end within $1 s"
}

# is_menu FILE: the menu shows its black background and its blue button.
is_menu() {
    [ "$(pixel "$1" 250 120)" = "0,192,255" ] && [ "$(pixel "$1" 600 400)" = "0,0,0" ]
}

# use_sound_capture DIR: from now on the game's sound goes to DIR/out.raw through ALSA's
# file plugin (unsigned 16-bit samples, silence is 32768).
use_sound_capture() {
    export HOME=$1
    cat > "$HOME/.asoundrc" <<ASOUND
pcm.!default {
    type file
    slave.pcm "null"
    file "$HOME/out.raw"
    format "raw"
}
ASOUND
}

captured() { stat -c %s "$HOME/out.raw" 2>/dev/null || echo 0; }

# samples FROM TO: the captured samples between two byte offsets, as distances from silence.
samples() {
    local from=$(( $1 / 2 * 2 )) len=$(( ($2 - $1) / 2 * 2 ))
    [ "$len" -gt 0 ] || return 0
    od -An -tu2 -v -j "$from" -N "$len" "$HOME/out.raw" |
        awk '{ for (i = 1; i <= NF; i++) print $i - 32768 }'
}

# loudness FROM TO: the largest distance from silence in the captured bytes FROM..TO.
loudness() {
    samples "$1" "$2" | awk '{ d = $1 < 0 ? -$1 : $1; if (d > m) m = d } END { print m + 0 }'
}

# energy FROM TO: the root mean square distance from silence in the captured bytes FROM..TO.
energy() {
    samples "$1" "$2" | awk '{ s += $1 * $1; n++ } END { printf "%d\n", n ? sqrt(s / n) : 0 }'
}

# mask FILE X Y W H COLOUR: rows of 0/1, 1 where the picture's pixel is exactly #COLOUR.
mask() {
    local from to tool size
    from=($(on_screen "$2" "$3")); to=($(on_screen $(($2 + $4 - 1)) $(($3 + $5 - 1))))
    size=("$((to[0] - from[0] + 1))" "$((to[1] - from[1] + 1))")
    { tool=$(shooter) && "$tool" "$1" "${from[@]}" "${size[@]}" 2>/dev/null ||
          convert "$1" -crop "${size[0]}x${size[1]}+${from[0]}+${from[1]}" +repage txt:-; } |
        awk -v x0="$2" -v y0="$3" -v w="$4" -v h="$5" -v c="#$6" -v pw="$PIC_W" -v ph="$PIC_H" '
            function at(p, size) { return int((2 * p + 1) * size / 1600) }
            /^[0-9]/ { split($1, p, /[,:]/); m[p[2], p[1]] = (index($0, c " ") > 0) }
            END { for (y = 0; y < h; y++) { r = ""
                    sy = int((2 * (y0 + y) + 1) * ph / 1200) - int((2 * y0 + 1) * ph / 1200)
                    for (x = 0; x < w; x++) r = r (m[sy, at(x0 + x, pw) - at(x0, pw)] ? 1 : 0)
                    print r } }'
}

# hold KEY SECONDS
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }

# package_file BUILD_DIR: the one Debian package that package_build.sh left in BUILD_DIR/deb.
package_file() {
    local debs=("$1"/deb/riverduel_*_*.deb)
    [ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || fail "no package in $1/deb: run package_build.sh first"
    echo "${debs[0]}"
}

# await_menu [SECONDS]: true once the menu shows, false when it has not within SECONDS (3).
await_menu() {
    local i
    for i in $(seq $(( ${1:-3} * 4 ))); do
        shot "$tmp/await.png"
        is_menu "$tmp/await.png" && return 0
        sleep 0.25
    done
    return 1
}
# await_game [SECONDS]: true once the menu has given way to a game (its screenshot left in
# $tmp/game.png), false when it has not within SECONDS (3). A busy machine draws late.
await_game() {
    local i
    for i in $(seq $(( ${1:-3} * 4 ))); do
        shot "$tmp/game.png"
        is_menu "$tmp/game.png" || return 0
        sleep 0.25
    done
    return 1
}

# The end screen's yellow "NAME is the" line, 20 px above the title art of $build, as rows
# of 0/1; the script sets `build` and `text_mask` (the tool that draws text as the font does).
end_text() {
    local h # the title art's height, from its BMP header
    h=$(od -An -td4 -j22 -N4 "$build/bitmaps/kalvanto.bmp")
    h=$((h < 0 ? -h : h))
    mask "$1" 352 $((300 - h / 2 - 20)) 96 8 FFFF00
}
# shows_end FILE: the end screen's line is in the screenshot.
shows_end() { end_text "$1" | grep -q 1; }
# names_winner FILE NAME: the line reads "NAME is the", pixel for pixel as the font draws it.
names_winner() { diff <(end_text "$1") <("$text_mask" "$2 is the") >/dev/null; }
# await_end_screen SECONDS: true once the end screen shows (its screenshot left in
# $tmp/end.png), false when it has not within SECONDS.
await_end_screen() {
    local deadline=$((SECONDS + $1))
    while [ "$SECONDS" -lt "$deadline" ]; do
        shot "$tmp/end.png"
        shows_end "$tmp/end.png" && return 0
        sleep 0.5
    done
    return 1
}
# launch DIR ARGS...: starts ./riverduel in DIR without waiting for its menu (a replay, a
# demo), sets GAME_PID and WIN.
launch() {
    local dir=$1; shift
    wait_display
    GAME_OUT=${GAME_LOG:-$tmp/game.log}
    (cd "$dir" && exec ${GAME_WRAPPER:-} ./riverduel "$@") >"$GAME_OUT" 2>&1 &
    GAME_PID=$!
    find_window
}

# verifies_as_played FILE WINNER: the game printed FILE's result line naming WINNER as it
# ended, and --verify plays FILE to that same line.
verifies_as_played() {
    local played verified
    played=$(sed -n "s|^$1: ||p" "$GAME_OUT")
    case "$played" in "winner $2 steps "*) ;; *) fail "no result naming $2 printed for $1: '$played'" ;; esac
    verified=$(cd "$build" && ./riverduel --verify "$1") || fail "$1 does not verify"
    [ "$verified" = "$played" ] || fail "$1 verifies to '$verified', the game played '$played'"
    pass "the recorded game verifies to the line it played: $played"
}

# wait_line LOG TEXT SECONDS: waits for a game to print a line containing TEXT.
wait_line() {
    for _ in $(seq $(($3 * 10))); do
        grep -qF -- "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    GAME_OUT=$1 fail "no '$2' within $3 s"
}
