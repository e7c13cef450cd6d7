#include "app/choices.h"

#include <allegro.h>

#include "app/menu.h"
#include "app/words.h"
#include "input/gamepad.h"
#include "presentation/display.h"
#include "presentation/hud_text.h"

void ChoiceList::draw(BITMAP* dest) const
{
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const int y = top + i * spacing;
        const bool chosen = i == selected;
        if (chosen)
            rectfill(dest, 60, y - 6, SCREEN_W - 60, y + 8 * size + 5, makecol(0, 96, 160));
        drawBigText(dest, lines[i].c_str(), SCREEN_W / 2, y, size,
                    chosen ? makecol(255, 255, 255) : makecol(170, 200, 220));
    }
}

int ChoiceList::at(int x, int y) const
{
    if (x < 60 || x > SCREEN_W - 60 || y < top - 6)
        return -1;
    const int line = (y - top + 6) / spacing;
    return line < static_cast<int>(lines.size()) ? line : -1;
}

bool nextKeyPress(KeyPress& press)
{
    if (!keypressed())
        return false;
    int scancode = 0;
    const int c = ureadkey(&scancode);
    press.scancode = scancode;
    press.letter = c >= 32 && c < 127 ? c : 0;
    return true;
}

Ask askList(ChoiceList& list, KeyPress& press)
{
    static int lastX = -1, lastY = -1;
    const int x = pictureMouseX(), y = pictureMouseY();
    const bool moved = lastX >= 0 && (x != lastX || y != lastY); // not where it rested at the start
    lastX = x, lastY = y;
    const int under = list.at(x, y);
    if (moved && under >= 0)
        list.selected = under;
    if (pressedSinceLastLook() && under >= 0) {
        list.selected = under;
        return Ask::choose;
    }
    const PadPresses pads = gamepadCommands();
    if (pads.pressed.face)
        return Ask::choose;
    if (pads.pressed.escape)
        return Ask::back;
    const int count = static_cast<int>(list.lines.size());
    // A pad steers through the list: left goes up, right goes down, once for each push.
    static RiderInput padBefore;
    const RiderInput pad = combine(gamepadInput(0), gamepadInput(1));
    const bool up = pad.left && !padBefore.left, down = pad.right && !padBefore.right;
    padBefore = pad;
    if (up || down) {
        list.selected = (list.selected + (up ? count - 1 : 1)) % count;
        return up ? Ask::up : Ask::down;
    }
    while (nextKeyPress(press)) {
        switch (press.scancode) {
        case KEY_UP: list.selected = (list.selected + count - 1) % count; return Ask::up;
        case KEY_DOWN: list.selected = (list.selected + 1) % count; return Ask::down;
        case KEY_LEFT: return Ask::less;
        case KEY_RIGHT: return Ask::more;
        case KEY_ENTER: case KEY_ENTER_PAD: case KEY_SPACE: return Ask::choose;
        case KEY_ESC: return Ask::back;
        case KEY_BACKSPACE: return Ask::erase;
        default:
            if (press.letter)
                return Ask::typed;
        }
    }
    return Ask::nothing;
}

void beginScreen(BITMAP* dest)
{
    clear_to_color(dest, makecol(0, 16, 40));
    drawBigText(dest, tr("River Duel"), SCREEN_W / 2, 16, 5, makecol(255, 220, 0));
}

void endScreen(BITMAP* dest, const char* footer, const char* status)
{
    if (footer)
        textout_centre_ex(dest, font, footer, SCREEN_W / 2, SCREEN_H - 34, makecol(255, 255, 255), -1);
    if (status)
        textout_centre_ex(dest, font, status, SCREEN_W / 2, SCREEN_H - 18, makecol(160, 160, 160), -1);
    circlefill(dest, pictureMouseX(), pictureMouseY(), 3, 0xFFFFFF);
    present(dest);
}
