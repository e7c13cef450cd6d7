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
# Usage: gamepads.sh BUILD_DIR FAKE_PAD_LIBRARY pads|missing|broken
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
fake_pad=${2:?fake pad library}
device=${3:?pads, missing or broken}

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
    event "$1" $((JS_BUTTON | JS_INIT)) 0 0 0 0 0 0 0 0 0 0 0 0
}
unplug() { rm -f "$tmp/js$1"; eval "exec $((3 + $1))>&-"; }

# A game built with AddressSanitizer wants its runtime loaded before anything preloaded.
asan=$(ldd "$build/riverduel" | awk '/libasan/ { print $3 }')
case $device in
    pads) plug_in 0; plug_in 1
          GAME_WRAPPER="env LD_PRELOAD=${asan:+$asan:}$fake_pad FAKE_PADS=$tmp/js0:$tmp/js1 ${GAME_WRAPPER:-}" ;;
    missing) ;;
    broken) echo "not a joystick" > "$tmp/js0" ;;
    *) fail "unknown device kind '$device'" ;;
esac

recording=$tmp/game.rdrec
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

# The passes sit in blocks after the header (8 + 2 + 1 + the build's name + 15 bytes): each
# block is its count K (1 to 20), K passes and a 4-byte checksum; the end starts with 0xFF
# (docs/recording-format.md). The last pass leaves the game. Rudko's bits are 0-2 (left,
# right, action), Berto's 3-5.
[ -s "$recording" ] || fail "no recording was saved"
"$build/riverduel" --verify "$recording" >/dev/null || fail "the recording does not verify"
build_length=$(od -An -tu1 -j10 -N1 "$recording" | tr -d ' ')
passes=$(od -An -tu1 -v -j$((8 + 2 + 1 + build_length + 15)) "$recording" | awk '
    { for (i = 1; i <= NF; i++) byte[n++] = $i }
    END { for (at = 0; at < n && byte[at] != 255; at += byte[at] + 5)
              for (k = 1; k <= byte[at]; k++) printf "%d ", byte[at + k] }')
# inputs SHIFT: one rider's inputs, a word for each run of passes that hold the same ones.
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
seen=$(inputs 1)
[ "$seen" = "$rudko" ] || fail "Rudko's inputs, pass by pass: '$seen', expected '$rudko'"
pass "Rudko's inputs reached the game in order: $seen"
seen=$(inputs 8)
[ "$seen" = "$berto" ] || fail "Berto's inputs, pass by pass: '$seen', expected '$berto'"
pass "Berto's inputs reached the game in order: $seen"
