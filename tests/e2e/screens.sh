#!/usr/bin/env bash
# The game on larger screens, on a screen of the size the test is run with (XVFB_SCREEN):
#   fullscreen: --fullscreen fills the screen, the picture as large as fits in its shape with
#               black bars beside it; the pointer is drawn where it is and a click on the shown
#               button starts a game whose HUD and banks are in their scaled places; a replay's
#               end screen names its winner at the line's scaled place.
#   scale2:     --scale 2 opens a 1600 x 1200 window, each pixel of the picture a 2 x 2 block
#               (scaled by the X server, or by the game on a server without RENDER).
#   refused:    a full screen the library cannot give (its configuration names a driver this
#               X server lacks): one line on standard error, and the plain window plays.
# In each the window is River Duel's to the desktop: its class, and an icon of its own.
# Usage: screens.sh BUILD_DIR TEXT_MASK_TOOL fullscreen|scale2|refused ICON_SIZE_TOOL
. "$(dirname "$0")/lib.sh"
build=${1:?build directory}
text_mask=${2:?text_mask tool}
mode=${3:?fullscreen, scale2 or refused}
icon_size=${4:?icon_size tool}
games=$(cd "$(dirname "$0")/../games" && pwd)
wait_display
# Run on a server without RENDER (XVFB_ARGS), the game scales the picture itself.
if [[ "${XVFB_ARGS:-}" == *"-extension RENDER"* ]] && xdpyinfo | grep -qw RENDER; then
    fail "the X server was to have no RENDER"
fi
read -r screen_w screen_h < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')

# window_size: "W H" of the game's window.
window_size() { xdotool getwindowgeometry --shell "$WIN" | awk -F= '/^WIDTH|^HEIGHT/ { printf "%s ", $2 }'; }

if [ "$mode" = fullscreen ]; then
    args=(--fullscreen)
    # 4:3 in the screen: full height on a wide screen.
    if [ $((screen_w * 3)) -le $((screen_h * 4)) ]; then PIC_W=$screen_w; PIC_H=$((screen_w * 3 / 4))
    else PIC_H=$screen_h; PIC_W=$((screen_h * 4 / 3)); fi
    PIC_X=$(((screen_w - PIC_W) / 2)); PIC_Y=$(((screen_h - PIC_H) / 2))
    want_size="$screen_w $screen_h "
elif [ "$mode" = scale2 ]; then
    args=(--scale 2)
    PIC_W=1600; PIC_H=1200
    want_size="1600 1200 "
else
    export HOME=$tmp/home
    mkdir -p "$HOME"
    printf '[graphics]\ngfx_card = DGA2\n' > "$HOME/.allegrorc"
    start_game "$build" --fullscreen
    [ "$(window_size)" = "800 600 " ] || fail "the window is $(window_size)instead of the plain 800 x 600"
    [ "$(grep -c "cannot fill the $screen_w x $screen_h desktop (.*); playing in a window" "$GAME_OUT")" = 1 ] ||
        fail "no line saying the desktop could not be filled"
    click_at 250 120; mouse_to 700 500
    await_game 5 || fail "the button did not start a game"
    expect_pixel "$tmp/game.png" 12 27 "255,0,0" "the left health bar"
    press Escape; sleep 0.8; press Escape
    wait_exit 5
    [ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC"
    pass "a full screen that cannot be had: '$(grep "cannot fill" "$GAME_OUT")', and the plain window plays"
    exit 0
fi

start_game "$build" "${args[@]}"
[ "$(window_size)" = "$want_size" ] || fail "the window is $(window_size)instead of $want_size"
grep -q "playing in a window" "$GAME_OUT" && fail "the game fell back to a window"
pass "$mode: the window is ${want_size% }, the picture ${PIC_W}x$PIC_H at $PIC_X,$PIC_Y"
[ "$(xprop -id "$WIN" WM_CLASS)" = 'WM_CLASS(STRING) = "riverduel", "River Duel"' ] ||
    fail "the window's class: $(xprop -id "$WIN" WM_CLASS)"
if [ "$mode" = scale2 ]; then
    # The icon the desktop shows: the game's 64 pixel one, not the library's 48 pixel one.
    [ "$("$icon_size" "$WIN")" = "64 64" ] || fail "the window's icon is not the game's 64 pixel one: '$("$icon_size" "$WIN")'"
fi
pass "the window's class is riverduel / River Duel, with the game's icon"

mouse_to 600 400; sleep 0.3; shot "$tmp/menu.png"
expect_pixel "$tmp/menu.png" 600 400 "255,255,255" "the pointer"
expect_pixel "$tmp/menu.png" 100 100 "0,192,255" "the button's top left corner"
expect_pixel "$tmp/menu.png" 99 100 "0,0,0" "left of the button"
expect_pixel "$tmp/menu.png" 400 140 "0,192,255" "the button's bottom right corner"
expect_pixel "$tmp/menu.png" 401 141 "0,0,0" "below right of the button"
if [ "$PIC_X" -gt 0 ]; then
    for x in 0 $((PIC_X - 1)) $((PIC_X + PIC_W)) $((screen_w - 1)); do
        [ "$(screen_pixel "$tmp/menu.png" "$x" $((screen_h / 2)))" = "0,0,0" ] || fail "the bar at x $x is not black"
    done
fi
pass "the pointer and the button are where the picture puts them"

# Read from the game's first frame with a HUD, not the blank screen that comes before it.
click_at 250 120; mouse_to 700 500
await_pixel "$tmp/game.png" 12 27 255,0,0 || true
expect_pixel "$tmp/game.png" 12 27 "255,0,0" "the left health bar"
expect_pixel "$tmp/game.png" 788 27 "255,0,0" "the right health bar"
for spot in "20 300" "780 300"; do
    [ "$(pixel "$tmp/game.png" $spot)" != "0,0,0" ] || fail "no bank at $spot"
done
if [ "$mode" = scale2 ]; then
    # The left health bar's pixel 12,27 is the screen's 24..25, 54..55.
    for at in "24 54" "25 54" "24 55" "25 55"; do
        [ "$(screen_pixel "$tmp/game.png" $((WIN_X + ${at% *})) $((WIN_Y + ${at#* })))" = "255,0,0" ] ||
            fail "the health bar's pixel is no 2 x 2 block at $at"
    done
else
    [ "$(screen_pixel "$tmp/game.png" $((PIC_X / 2)) $((screen_h / 2)))" = "0,0,0" ] || fail "the bar is not black in a game"
fi
pass "a click on the shown button started a game; its HUD and banks are in place"
press Escape; sleep 0.8
await_menu 3 || fail "ESC did not lead back to the menu"
press Escape
wait_exit 5
[ "$GAME_RC" -eq 0 ] || fail "exit code $GAME_RC after ESC in the menu"

if [ "$mode" = fullscreen ]; then
    launch "$build" "${args[@]}" --replay "$games/rudko_wins.rdr"
    # Its 291 passes take 14.5 s, and each look at a 3840 x 2160 screen is a 33 MB screenshot.
    sleep 12
    await_end_screen 30 || fail "the replay did not reach its end screen"
    names_winner "$tmp/end.png" Rudko || fail "the end screen's line does not read 'Rudko is the' at its scaled place"
    pass "the end screen names the winner at its scaled place"
    press space
    wait_exit 5
fi
