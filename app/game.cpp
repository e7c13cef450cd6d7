#include "app/game.h"

#include <allegro.h>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/clock.h"
#include "app/session.h"
#include "app/system.h"
#include "audio/sound.h"
#include "input/gamepad.h"
#include "obstacles/lanes.h"
#include "presentation/assets.h"
#include "presentation/display.h"
#include "presentation/frame.h"
#include "riders/rider.h"
#include "simulation/simulation.h"

float riverSpeed = 0.0f;
bool gameOver = false;
uint8_t winner = 0;

GameSetup defaultGameSetup()
{
    GameSetup setup{};
    std::strcpy(setup.riders[0].name, "Rudko");
    setup.riders[0].leftKey = KEY_A;
    setup.riders[0].rightKey = KEY_D;
    setup.riders[0].actionKey = KEY_S;
    std::strcpy(setup.riders[1].name, "Berto");
    setup.riders[1].leftKey = KEY_LEFT;
    setup.riders[1].rightKey = KEY_RIGHT;
    setup.riders[1].actionKey = KEY_DOWN;
    return setup;
}

float rampSpeed(uint32_t t)
{
    return static_cast<float>(std::sin(static_cast<double>(t) / 10.0 * 3.1415 / 2.0) * 15.0);
}

void setupGame(const GameSetup& setup)
{
    riverSpeed = 0.0f;
    gameOver = false;
    riders[0]->reset();
    riders[1]->reset();
    riders[0]->x = static_cast<float>((SCREEN_W - 200) / 4 + 100);
    riders[1]->x = static_cast<float>(((SCREEN_W - 200) * 3) / 4 + 100);
    for (int i = 0; i < 2; ++i) {
        const RiderSetup& from = setup.riders[i];
        std::memcpy(riders[i]->name, from.name, sizeof riders[i]->name);
        riders[i]->name[sizeof riders[i]->name - 1] = '\0';
        riders[i]->leftKey = from.leftKey;
        riders[i]->rightKey = from.rightKey;
        riders[i]->actionKey = from.actionKey;
    }
    riders[1]->index = 1;
}

// Keys held when the end screen appears (a rider still steering, its key auto-repeating)
// do not dismiss it: only a key pressed after it is shown does, or one let go and pressed again.
bool showEndScreen(int seconds, PassFeed* feed)
{
    clear_keybuf();
    const int w = titleBitmap->w;
    const int h = titleBitmap->h;
    masked_blit(titleBitmap, backBuffer, 0, 0, SCREEN_W / 2 - w / 2, SCREEN_H / 2 - h / 2, w, h);
    textprintf_centre_ex(backBuffer, font, SCREEN_W / 2, SCREEN_H / 2 - h / 2 - 20,
                         makecol(255, 255, 0), -1, "%s is the", riders[winner]->name);
    present(backBuffer);
    // A held key's repeats may still be queued when it is let go: its own presses count
    // again only from the pass after it was seen up.
    bool held[KEY_MAX];
    bool heldBefore[KEY_MAX];
    for (int k = 0; k < KEY_MAX; ++k)
        held[k] = heldBefore[k] = key[k] != 0;
    const int limit = seconds * 50;
    bool dismissed = false;
    gamepadCommands();  // a pad's button held from the game is no fresh press
    for (int waited = 0; !closeRequested && (seconds == 0 || waited < limit); ++waited) {
        const PadPresses pads = gamepadCommands();
        dismissed = pads.pressed.face || pads.pressed.escape;
        while (keypressed()) {
            int scancode = 0;
            ureadkey(&scancode);
            if (scancode <= 0 || scancode >= KEY_MAX || !(held[scancode] || heldBefore[scancode]))
                dismissed = true;
        }
        if (dismissed)
            break;
        for (int k = 0; k < KEY_MAX; ++k) {
            heldBefore[k] = held[k];
            held[k] = held[k] && key[k];
        }
        if (feed)
            feed->waiting();
        rest(20);
    }
    // ESC that dismissed the screen must not also end the menu.
    waitForEscapeRelease();
    return dismissed;
}

void waitForEscapeRelease()
{
    while (key[KEY_ESC] && !closeRequested)
        rest(20);
}

void runGame(const GameSetup& setup)
{
    ticks = 0;
    setupGame(setup);
    ObstacleLanes lanes;
    playSound(SND_MUSIC);
    uint32_t nextTick = ticks + 1;
    for (;;) {
        if (key[KEY_ESC] || closeRequested)
            break;
        PassInput input;
        input.riders[0] = keyboardInput(*riders[0]);
        input.riders[1] = keyboardInput(*riders[1]);
        if (!stepPass(lanes, input, true))
            break;
        waitForRetrace();
        nextTick = waitForTick(nextTick);
    }
    if (gameOver) {
        showEndScreen(0);
    } else {
        stopSound(SND_MUSIC);
        // The held ESC must not also end the menu.
        waitForEscapeRelease();
    }
}
