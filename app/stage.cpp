#include "app/stage.h"

#include <allegro.h>

#include "app/clock.h"
#include "app/system.h"
#include "audio/sound.h"
#include "presentation/frame.h"

WindowStage::WindowStage(bool ownClock_) : ownClock(ownClock_)
{
    clockOwned = ownClock;
    next = ownClock ? paceTicks + 1 : ticks + 1;
}

WindowStage::~WindowStage()
{
    clockOwned = false;
}

bool WindowStage::escape()
{
    return key[KEY_ESC] || closeRequested;
}

void WindowStage::show(const World& world, const Cues& cues)
{
    playCues(cues);
    drawWorld(world, backBuffer);
    showFrame();
    waitForRetrace();
    next = ownClock ? waitForPace(next) : waitForTick(next);
}
