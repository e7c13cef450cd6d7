#include "app/stage.h"

#include <allegro.h>

#include <atomic>

#include "app/clock.h"
#include "app/system.h"
#include "app/window.h"
#include "audio/sound.h"
#include "input/gamepad.h"
#include "app/words.h"
#include "presentation/display.h"
#include "presentation/frame.h"
#include "presentation/hud_text.h"
#include "presentation/smooth.h"
#include "classic/live.h"

namespace {

// A tap of ESC can come and go between two looks at key[] (the library reads the X server's
// events in batches): a driven game keeps every press until it has seen it.
std::atomic<bool> escapeTapped{false};
std::atomic<bool> pauseTapped{false};
std::atomic<bool> focusLost{false};

void noteKey(int scancode)
{
    if (scancode == KEY_ESC)
        escapeTapped = true;
    if (scancode == KEY_P || scancode == KEY_PAUSE)
        pauseTapped = true;
}

void noteFocusLoss()
{
    focusLost = true;
}

} // namespace

Pausing pausing = Pausing::never;

void pauseOnFocusLoss()
{
    set_display_switch_mode(SWITCH_BACKGROUND);
    set_display_switch_callback(SWITCH_OUT, noteFocusLoss);
}

WindowStage::WindowStage(bool ownClock_) : ownClock(ownClock_), smooth(windowRequest.smooth)
{
    if (ownClock && keyboard_lowlevel_callback == nullptr)
        keyboard_lowlevel_callback = noteKey;
    escapeTapped = false; // a press from before the game is not for it
    pauseTapped = false;
    focusLost = false;
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
    // Before the pass's inputs are gathered: a pause adds no pass to the game.
    const bool asked = pauseTapped.exchange(false);
    const bool lost = focusLost.exchange(false);
    if ((asked || lost) && ownClock && pausing == Pausing::local && holdStill())
        return true;
    if (asked && pausing == Pausing::online)
        refusalShown = 60;
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

bool WindowStage::holdStill()
{
    holdMusic(true);
    drawBanner(backBuffer, tr("Paused"), tr("P, Return or Space goes on; ESC leaves the game"));
    showFrame();
    clear_keybuf();
    bool leave = false;
    bool letGo = false; // the P that paused counts again only once it is up
    for (;;) {
        rest(20);
        if (closeRequested || key[KEY_ESC] || escapeTapped.exchange(false)) {
            leave = true;
            break;
        }
        letGo = letGo || (!key[KEY_P] && !key[KEY_PAUSE]);
        bool goOn = pauseTapped.exchange(false) && letGo;
        while (keypressed()) {
            int scancode = 0;
            ureadkey(&scancode);
            goOn = goOn || scancode == KEY_ENTER || scancode == KEY_SPACE;
        }
        if (goOn || gamepadCommands().pressed.face)
            break;
    }
    focusLost = false;
    holdMusic(false);
    next = ownClock ? paceTicks + 1 : ticks + 1;
    return leave;
}

void WindowStage::show(const World& world, const Cues& cues)
{
    waitShown = false;
    playCues(cues);
    drawWorld(world, backBuffer);
    if (refusalShown > 0) {
        --refusalShown;
        drawBanner(backBuffer, tr("An online game cannot be paused"), nullptr);
    }
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
