#include "app/stage.h"

#include <allegro.h>

#include <atomic>

#include "app/clock.h"
#include "app/system.h"
#include "app/window.h"
#include "audio/sound.h"
#include "input/gamepad.h"
#include "presentation/display.h"
#include "presentation/frame.h"
#include "presentation/smooth.h"

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

WindowStage::WindowStage(bool ownClock_) : ownClock(ownClock_), smooth(windowRequest.smooth)
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
    passShownAt = std::chrono::steady_clock::now();
    ++pictures;
    waitForRetrace();
    next = ownClock ? waitForPace(next) : waitForTick(next);
}

// Pictures a second: the display's refresh rate, 60 when it cannot be known.
static int picturesPerSecond()
{
    static const int rate = displayRefreshRate();
    return rate >= 20 && rate <= 500 ? rate : 60;
}

void WindowStage::showPass(const World& world, const PassInput& input, const Cues& cues)
{
    if (!smooth) {
        show(world, cues);
        return;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    waitShown = false;
    playCues(cues);
    drawWorld(world, backBuffer);
    showFrame();
    passShownAt = Clock::now();
    ++pictures;
    // The guess is made after the pass is on the screen, so it adds nothing to its delay. A
    // copy's luck is its own: the game's world and generator are untouched.
    ahead = world;
    ++ahead.ticks;
    Cues silent;
    if (!stepWorld(ahead, input, silent))
        ahead = world;
    const std::chrono::duration<double> pass(0.05);
    const std::chrono::duration<double> period(1.0 / picturesPerSecond());
    // The last picture comes at least half a refresh before the next pass's own.
    for (int k = 1; k * period < pass - period / 2; ++k) {
        const Clock::time_point at = start + std::chrono::duration_cast<Clock::duration>(k * period);
        if (waitForTickUntil(ownClock, next, at))
            break;
        const float f = static_cast<float>(std::chrono::duration<double>(Clock::now() - start) / pass);
        blendWorld(world, ahead, f < 1.0f ? f : 1.0f, between);
        drawBetween(between, f < 1.0f ? f : 1.0f, backBuffer);
        showFrame();
        ++pictures;
    }
    next = ownClock ? waitForPace(next) : waitForTick(next);
}
