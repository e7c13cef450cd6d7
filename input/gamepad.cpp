#include "input/gamepad.h"

#include <allegro.h>

static bool padsStarted = false;

void startGamepads()
{
    padsStarted = install_joystick(JOY_TYPE_AUTODETECT) == 0;
}

RiderInput gamepadInput(int pad)
{
    RiderInput input;
    if (!padsStarted || pad < 0 || pad >= num_joysticks)
        return input;
    poll_joystick();
    const JOYSTICK_INFO& info = joy[pad];
    if (info.num_sticks > 0 && info.stick[0].num_axis > 0) {
        input.left = info.stick[0].axis[0].d1 != 0;
        input.right = info.stick[0].axis[0].d2 != 0;
    }
    for (int b = 0; b < info.num_buttons && b < 4; ++b)
        input.action = input.action || info.button[b].b;
    return input;
}
