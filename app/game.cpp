#include "app/game.h"
#include "classic/world.h"
#include "classic/session.h"
#include "classic/game.h"

#include <allegro.h>
#include <cstdlib>
#include <cstring>

#include "app/clock.h"
#include "app/stage.h"
#include "app/system.h"
#include "audio/sound.h"
#include "classic/sound.h"
#include "input/gamepad.h"
#include "classic/lanes.h"
#include "presentation/assets.h"
#include "presentation/display.h"
#include "presentation/frame.h"
#include "classic/rider.h"

void (*endScreenWords)(BITMAP* dest, const GameResult& result) = nullptr;

// Keys held when the end screen appears (a rider still steering, its key auto-repeating)
// do not dismiss it: only a key pressed after it is shown does, or one let go and pressed again.
bool showEndScreen(const char* champion, int seconds, PassFeed* feed, const GameResult* result)
{
    clear_keybuf();
    const int w = titleBitmap->w;
    const int h = titleBitmap->h;
    if (endScreenWords && result) {
        endScreenWords(backBuffer, *result);
    } else {
        masked_blit(titleBitmap, backBuffer, 0, 0, SCREEN_W / 2 - w / 2, SCREEN_H / 2 - h / 2, w, h);
        textprintf_centre_ex(backBuffer, font, SCREEN_W / 2, SCREEN_H / 2 - h / 2 - 20,
                             makecol(255, 255, 0), -1, "%s is the", champion);
    }
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

bool stepPass(ObstacleLanes& lanes, const PassInput& input, bool draw)
{
    World world;
    captureWorld(world, &lanes);
    Cues cues;
    const bool stepped = stepWorld(world, input, cues);
    publishWorld(world, &lanes);
    if (stepped && draw) {
        drawWorld(world, backBuffer);
        showFrame();
    }
    playCues(cues);
    return stepped;
}

void runGame(const GameSetup& setup)
{
    ticks = 0;
    setupGame(setup);
    World world;
    captureWorld(world, nullptr);
    playSound(SND_MUSIC);
    LocalSession keyboard(false);
    WindowStage window(false);
    const GameResult result = playGame(world, keyboard.feed(), window);
    if (result.decided) {
        showEndScreen(result.names[result.winner], 0, nullptr, &result);
    } else {
        stopSound(SND_MUSIC);
        // The held ESC must not also end the menu.
        waitForEscapeRelease();
    }
}
