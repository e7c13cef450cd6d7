#include "app/menu.h"

#include <allegro.h>

#include <atomic>

#include "app/clock.h"
#include "app/game.h"
#include "simulation/feed.h"
#include "app/system.h"
#include "input/gamepad.h"
#include "presentation/display.h"
#include "classic/rider.h"

MenuButton::MenuButton(int x, int y, int width, int height)
    : x(x), y(y), width(width), height(height)
{
}

MenuButton::~MenuButton() = default;

// A tap (a touchpad's, xdotool's) can press and release the button between two passes: the
// library's thread notes every press, and the next look counts it as the button being down.
static std::atomic<bool> pressNoted{false};

static void noteMouse(int flags)
{
    if (flags & MOUSE_FLAG_LEFT_DOWN)
        pressNoted = true;
}
END_OF_STATIC_FUNCTION(noteMouse)

void catchClicks()
{
    LOCK_FUNCTION(noteMouse);
    LOCK_VARIABLE(pressNoted);
    mouse_callback = noteMouse;
}

bool pressedSinceLastLook()
{
    return pressNoted.exchange(false);
}

void forgetClicks()
{
    pressNoted = false;
}

bool MenuButton::isClicked() const
{
    const int mx = pictureMouseX();
    const int my = pictureMouseY();
    const bool down = (mouse_b & 1) || pressNoted.exchange(false);
    return down && x <= mx && mx < x + width && y <= my && my < y + height;
}

void MenuButton::draw(BITMAP* dest) const
{
    rectfill(dest, x, y, x + width, y + height, makecol(0, 192, 255));
}

void drawMenu(const MenuButton& button, const char* status)
{
    clear_to_color(backBuffer, 0);
    button.draw(backBuffer);
    if (status)
        textout_ex(backBuffer, font, status, button.x, button.y + button.height + 12,
                   makecol(255, 255, 255), -1);
    circlefill(backBuffer, pictureMouseX(), pictureMouseY(), 3, 0xFFFFFF);
    present(backBuffer);
}

bool ShownMenu::changed(int x, int y, const char* now)
{
    if (drawn && x == pointerX && y == pointerY && hasStatus == (now != nullptr) &&
        (!now || status == now))
        return false;
    drawn = true;
    pointerX = x;
    pointerY = y;
    hasStatus = now != nullptr;
    status = now ? now : "";
    return true;
}

// Should the pointer move while drawMenu reads it again, the next look sees it moved.
static void showMenu(ShownMenu& shown, const MenuButton& button, const char* status = nullptr)
{
    if (shown.changed(mouse_x, mouse_y, status))
        drawMenu(button, status);
}

int runMenu(const GameSetup& setup)
{
    MenuButton button(100, 100, 300, 40);
    ShownMenu shown;
    uint32_t nextTick = ticks + 1;
    while (!key[KEY_ESC] && !closeRequested) {
        showMenu(shown, button);
        if (button.isClicked()) {
            runGame(setup);
            forgetClicks(); // a click in the game was for the game
            shown.drawn = false;
            // The counter now holds the game's length: start pacing afresh from 0.
            ticks = 0;
            nextTick = ticks;
        }
        nextTick = waitForTick(nextTick);
    }
    freeRiders();
    return 0;
}

int runMenu(const GameSetup& setup, Session& session)
{
    MenuButton button(100, 100, 300, 40);
    ShownMenu shown;
    uint32_t nextTick = ticks + 1;
    for (;;) {
        session.poll();
        const PadPresses pads = gamepadCommands();
        if (key[KEY_ESC] || closeRequested || pads.pressed.escape) {
            session.quitting();
            break;
        }
        showMenu(shown, button, session.status() ? session.status() : gamepadStatus());
        const bool clicked = button.isClicked() || pads.pressed.face;
        const bool start = session.startsGame() || (clicked && session.clicked());
        if (start) {
            const GameResult result = runGame(setup, session.feed(), session.endScreenSeconds());
            forgetClicks();
            shown.drawn = false;
            ticks = 0;
            nextTick = ticks;
            if (!session.afterGame(result))
                break;
        }
        nextTick = waitForTick(nextTick);
    }
    freeRiders();
    return 0;
}
