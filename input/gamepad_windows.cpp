#include "input/gamepad.h"

#include <allegro.h>
#include <algorithm>
#include <string>

// On Windows the library's own driver finds the pads (DirectInput) as it starts; they are
// laid out as the plain pad, and a pad plugged in later is found when the game starts again.
namespace {

constexpr int watchedPads = 2;
bool wanted = false;
bool started = false;
PadCommands lastHeld[watchedPads];
std::string status;

} // namespace

void startGamepads()
{
    wanted = true;
    started = install_joystick(JOY_TYPE_AUTODETECT) == 0;
}

static const JOYSTICK_INFO* readPad(int pad)
{
    if (!started || pad >= num_joysticks) {
        lastHeld[pad] = PadCommands();
        return nullptr;
    }
    poll_joystick();
    lastHeld[pad] = padCommands(joy[pad], plainPadLayout());
    return &joy[pad];
}

RiderInput gamepadInput(int pad)
{
    if (!wanted || pad < 0 || pad >= watchedPads)
        return RiderInput();
    const JOYSTICK_INFO* read = readPad(pad);
    return read ? padInput(*read, plainPadLayout()) : RiderInput();
}

PadPresses gamepadCommands()
{
    PadPresses presses;
    if (!wanted)
        return presses;
    for (int pad = 0; pad < watchedPads; ++pad) {
        const PadCommands before = lastHeld[pad];
        if (!readPad(pad))
            continue;
        const PadCommands& now = lastHeld[pad];
        presses.held.face = presses.held.face || now.face;
        presses.held.escape = presses.held.escape || now.escape;
        presses.pressed.face = presses.pressed.face || (now.face && !before.face);
        presses.pressed.escape = presses.pressed.escape || (now.escape && !before.escape);
    }
    return presses;
}

const char* gamepadStatus()
{
    if (!wanted)
        return nullptr;
    const int found = started ? std::min(num_joysticks, watchedPads) : 0;
    status = found == 0 ? "no gamepad found" : found == 1 ? "gamepads: a gamepad" : "gamepads: two gamepads";
    return status.c_str();
}
