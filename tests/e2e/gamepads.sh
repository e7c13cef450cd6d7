#!/usr/bin/env bash
# A game with --gamepads through the library's own Linux joystick driver, recorded and then
# read back pass by pass.
#   pads:    two FIFOs that a preloaded library makes answer as Xbox-style pads (eight axes,
#            eleven buttons, triggers resting at one end). The first steers Rudko with its left
#            stick and d-pad and jumps with A; the second steers Berto with its d-pad. The first,
#            unplugged while held right, lets go, while the keyboard and the second pad play on;
#            plugged in again, its Y button acts.
#   missing: no device at the pad's path; the keyboard plays.
#   broken:  a plain file at the pad's path, which the driver fails to start; the keyboard plays.
#   named:   two pads that name themselves as Xbox 360 pads through the wireless receiver,
#            whose d-pad comes as buttons: the menu names them, A starts a game without the
#            mouse, the d-pads' buttons steer, Start leaves the game and Back quits from the
#            menu; a replay's end screen goes at a press of B.
# Usage: gamepads.sh BUILD_DIR FAKE_PAD_LIBRARY TEXT_MASK_TOOL pads|missing|broken|named
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
fake_pad=${2:?fake pad library}
text_mask=${3:?text_mask tool}
device=${4:?pads, missing, broken or named}
games=$(cd "$(dirname "$0")/../games" && pwd)

# The driver takes each pad's device from its configuration; the third pad's is never there,
# so that pads on the machine running the test stay out of it.
export HOME=$tmp/home
mkdir -p "$HOME"
cat > "$HOME/.allegrorc" <<CONFIG
[joystick]
joystick_device_0 = $tmp/js0
joystick_device_1 = $tmp/js1
joystick_device_2 = $tmp/js2
CONFIG

# event PAD TYPE NUMBER VALUE...: js_event records (time, value, type, number) into a pad,
# numbered from NUMBER on.
JS_BUTTON=1; JS_AXIS=2; JS_INIT=128
event() {
    local fd=$((3 + $1)) type=$2 number=$3 v; shift 3
    for v in "$@"; do
        v=$((v & 0xffff))
        printf "$(printf '\\x00\\x00\\x00\\x00\\x%02x\\x%02x\\x%02x\\x%02x' \
            $((v & 255)) $((v >> 8)) "$type" "$number")" >&"$fd"
        number=$((number + 1))
    done
}
axis() { event "$1" $JS_AXIS "$2" "$3"; }
button() { event "$1" $JS_BUTTON "$2" "$3"; }
# plug_in PAD: a fresh pad at its path, at rest: sticks centred, triggers released.
plug_in() {
    mkfifo "$tmp/js$1"
    eval "exec $((3 + $1))<>\"\$tmp/js\$1\""
    event "$1" $((JS_AXIS | JS_INIT)) 0 0 0 -32767 0 0 -32767 0 0
    event "$1" $((JS_BUTTON | JS_INIT)) 0 $(printf '0 %.0s' $(seq "${FAKE_PAD_BUTTONS:-11}"))
}
unplug() { rm -f "$tmp/js$1"; eval "exec $((3 + $1))>&-"; }

# A game built with AddressSanitizer wants its runtime loaded before anything preloaded.
asan=$(ldd "$build/riverduel" | awk '/libasan/ { print $3 }')
[ "$device" = named ] && export FAKE_PAD_NAME="Xbox 360 Wireless Receiver (XBOX)" FAKE_PAD_BUTTONS=15
case $device in
    pads|named) plug_in 0; plug_in 1
          GAME_WRAPPER="env LD_PRELOAD=${asan:+$asan:}$fake_pad FAKE_PADS=$tmp/js0:$tmp/js1 ${GAME_WRAPPER:-}" ;;
    missing) ;;
    broken) echo "not a joystick" > "$tmp/js0" ;;
    *) fail "unknown device kind '$device'" ;;
esac

# passes_of FILE: the bytes of the passes of a recording. They sit in blocks after the header
# (8 + 2 + 1 + the build's name + 15 bytes): each block is its count K (1 to 20), K passes and a
# 4-byte checksum; the end starts with 0xFF (docs/recording-format.md). The last pass leaves
# the game. Rudko's bits are 0-2 (left, right, action), Berto's 3-5.
passes_of() {
    local build_length
    build_length=$(od -An -tu1 -j10 -N1 "$1" | tr -d ' ')
    od -An -tu1 -v -j$((8 + 2 + 1 + build_length + 15)) "$1" | awk '
        { for (i = 1; i <= NF; i++) byte[n++] = $i }
        END { for (at = 0; at < n && byte[at] != 255; at += byte[at] + 5)
                  for (k = 1; k <= byte[at]; k++) printf "%d ", byte[at + k] }'
}
# inputs SHIFT: one rider's inputs in $passes, a word for each run of passes that hold the same.
inputs() {
    echo "$passes" | awk -v shift="$1" '
        { for (i = 1; i <= NF; i++) {
            b = int($i / shift) % 8
            c = b == 0 ? "-" : (b % 2 ? "L" : "") (int(b / 2) % 2 ? "R" : "") (b >= 4 ? "A" : "")
            if (c != last) seen = seen (n++ ? " " : "") c
            last = c
        } }
        END { print seen }'
}

recording=$tmp/game.rdrec
if [ "$device" = named ]; then
    start_game "$build" --gamepads --record "$recording"
    mouse_to 790 590; sleep 0.3; shot "$tmp/menu.png"
    # The status line, white, 12 pixels under the button.
    status="gamepads: $FAKE_PAD_NAME, $FAKE_PAD_NAME"
    diff <(mask "$tmp/menu.png" 100 152 $((8 * ${#status})) 8 FFFFFF) <("$text_mask" "$status") >/dev/null ||
        fail "the menu does not read '$status'"
    pass "the menu names both pads"
    button 0 0 1; sleep 0.3; button 0 0 0               # A starts a game
    is_menu "$tmp/menu.png" && await_game 5 || fail "A on the pad did not start a game"
    button 0 11 1; sleep 0.6; button 0 11 0; sleep 0.4  # first pad: d-pad left
    button 0 0 1; sleep 0.3; button 0 0 0; sleep 0.6    # first pad: A
    button 1 12 1; sleep 0.6; button 1 12 0; sleep 0.4  # second pad: d-pad right
    button 0 7 1; sleep 0.3; button 0 7 0               # Start leaves the game
    await_menu 3 || fail "Start on the pad did not leave the game"
    sleep 0.5
    kill -0 "$GAME_PID" 2>/dev/null || fail "the Start that left the game also ended the program"
    pass "A started a game and Start left it"
    button 1 6 1; sleep 0.3; button 1 6 0               # Back in the menu quits
    wait_exit 5
    [ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC after Back in the menu"
    passes=$(passes_of "$recording")
    # The A that started the game may still be down in its first passes.
    seen=$(inputs 1); [[ "$seen" =~ ^(A\ )?"- L - A -"$ ]] || fail "Rudko's inputs, pass by pass: '$seen'"
    seen=$(inputs 8); [ "$seen" = "- R -" ] || fail "Berto's inputs, pass by pass: '$seen'"
    pass "the d-pads' buttons steered and A acted; Back in the menu quit with 0"

    launch "$build" --gamepads --replay "$games/rudko_wins.rdr"
    await_end_screen 40 || fail "the replay did not reach its end screen"
    button 1 1 1; sleep 0.3; button 1 1 0               # B leaves the end screen
    wait_exit 5
    [ "$GAME_RC" -eq 0 ] || fail "the replay ended with $GAME_RC"
    pass "B on a pad left the end screen"
    exit 0
fi

start_game "$build" --gamepads --record "$recording"
pass "the game starts with --gamepads ($device)"
click_at 250 120; mouse_to 790 590
sleep 1.0

if [ "$device" = pads ]; then
    axis 0 0 -32767; sleep 0.6; axis 0 0 0; sleep 0.4   # first pad: left stick left
    axis 0 6 32767; sleep 0.6; axis 0 6 0; sleep 0.4    # first pad: d-pad right
    button 0 0 1; sleep 0.3; button 0 0 0; sleep 0.6    # first pad: A
    axis 1 6 -32767; sleep 0.6; axis 1 6 0; sleep 0.4   # second pad: d-pad left
    axis 0 0 32767; sleep 0.6; unplug 0; sleep 0.6      # first pad right, then unplugged
    hold a 0.6; sleep 0.4                               # the keyboard still steers Rudko
    button 1 1 1; sleep 0.3; button 1 1 0; sleep 0.6    # the second pad still acts: B
    plug_in 0; sleep 0.6
    button 0 3 1; sleep 0.3; button 0 3 0; sleep 0.6    # Y on the first pad, plugged in again
    rudko="- L - R - A - R - L - A -"
    berto="- L - A -"
else
    hold d 0.6; sleep 0.4
    hold s 0.3; sleep 0.4
    rudko="- R - A -"
    berto="-"
fi
press Escape; sleep 0.8
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended instead of going back to the menu"
press Escape
wait_exit 5
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC after ESC in the menu"

[ -s "$recording" ] || fail "no recording was saved"
"$build/riverduel" --verify "$recording" >/dev/null || fail "the recording does not verify"
passes=$(passes_of "$recording")
seen=$(inputs 1)
[ "$seen" = "$rudko" ] || fail "Rudko's inputs, pass by pass: '$seen', expected '$rudko'"
pass "Rudko's inputs reached the game in order: $seen"
seen=$(inputs 8)
[ "$seen" = "$berto" ] || fail "Berto's inputs, pass by pass: '$seen', expected '$berto'"
pass "Berto's inputs reached the game in order: $seen"
