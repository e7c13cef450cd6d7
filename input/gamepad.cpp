#include "input/gamepad.h"

#include <allegro.h>

static bool padsStarted = false;

void startGamepads()
{
    padsStarted = install_joystick(JOY_TYPE_AUTODETECT) == 0;
}

RiderInput gamepadInput(int pad)
{
    if (!padsStarted || pad < 0 || pad >= num_joysticks)
        return RiderInput();
    poll_joystick();
    return padInput(joy[pad]);
}
