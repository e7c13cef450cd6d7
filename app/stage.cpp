#include "app/stage.h"

#include <allegro.h>

#include <atomic>

#include "app/clock.h"
#include "app/system.h"
#include "audio/sound.h"
#include "input/gamepad.h"
#include "presentation/frame.h"

namespace {

// A tap of ESC can come and go between two looks at key[] (the library reads the X server's
// events in batches): a driven game keeps every press until it has seen it.
std::atomic<bool> escapeTapped{false};

void noteKey(int scancode)
{
    if (scancode == KEY_ESC)
        escapeTapped = true;
}

} // namespace

WindowStage::WindowStage(bool ownClock_) : ownClock(ownClock_)
{
    if (ownClock && keyboard_lowlevel_callback == nullptr)
        keyboard_lowlevel_callback = noteKey;
    escapeTapped = false; // a press from before the game is not for it
    clockOwned = ownClock;
    next = ownClock ? paceTicks + 1 : ticks + 1;
}

WindowStage::~WindowStage()
{
    clockOwned = false;
}

// A pad's Start or Back leaves a driven game as ESC does.
bool WindowStage::escape()
{
    const bool tapped = ownClock && escapeTapped.exchange(false);
    return key[KEY_ESC] || tapped || closeRequested || (ownClock && gamepadCommands().held.escape);
}

void WindowStage::stall(const char* waitingFor)
{
    if (waitingFor && !waitShown) {
        const int w = text_length(font, waitingFor) + 16;
        const int y = SCREEN_H / 2 - 10;
        rectfill(backBuffer, SCREEN_W / 2 - w / 2, y, SCREEN_W / 2 + w / 2, y + 20, makecol(0, 0, 0));
        textout_centre_ex(backBuffer, font, waitingFor, SCREEN_W / 2, y + 6, makecol(255, 255, 255), -1);
        showFrame();
        waitShown = true;
    }
    Stage::stall(waitingFor);
}

void WindowStage::show(const World& world, const Cues& cues)
{
    waitShown = false;
    playCues(cues);
    drawWorld(world, backBuffer);
    showFrame();
    waitForRetrace();
    next = ownClock ? waitForPace(next) : waitForTick(next);
}
