#include <algorithm>
#include <allegro.h>

#include "input/gamepad.h"

// The Linux driver lists a pad's axes in the kernel's order: the left stick, then triggers and
// the right stick, then the d-pad's hat. It pairs them into sticks from the first, a lone last
// axis becoming a one-axis throttle, and keeps at most five sticks. So the left stick is stick
// 0 and the d-pad the last stick. The sticks between hold triggers, which rest at one end of
// their travel and so would read as held left: they are never read.
static bool steers(const JOYSTICK_STICK_INFO& stick)
{
    return stick.num_axis >= 2;
}

static void steerWith(const JOYSTICK_STICK_INFO& stick, RiderInput& input)
{
    input.left = input.left || stick.axis[0].d1;
    input.right = input.right || stick.axis[0].d2;
}

static bool down(const JOYSTICK_INFO& pad, int button)
{
    return button >= 0 && button < std::min(pad.num_buttons, MAX_JOYSTICK_BUTTONS) && pad.button[button].b;
}

RiderInput padInput(const JOYSTICK_INFO& pad, const PadLayout& layout)
{
    RiderInput input;
    const int sticks = std::min(pad.num_sticks, MAX_JOYSTICK_STICKS);
    if (sticks > 0 && steers(pad.stick[0]))
        steerWith(pad.stick[0], input);
    // With all five sticks taken the driver may have cut the pad short, and its last stick is
    // then not the d-pad (on some pads, buttons' pressure axes that rest at one end).
    if (sticks > 1 && sticks < MAX_JOYSTICK_STICKS && steers(pad.stick[sticks - 1]))
        steerWith(pad.stick[sticks - 1], input);
    input.left = input.left || down(pad, layout.dpadLeft);
    input.right = input.right || down(pad, layout.dpadRight);
    for (int b : layout.face)
        input.action = input.action || down(pad, b);
    return input;
}

PadCommands padCommands(const JOYSTICK_INFO& pad, const PadLayout& layout)
{
    PadCommands commands;
    for (int b : layout.face)
        commands.face = commands.face || down(pad, b);
    commands.escape = down(pad, layout.start) || down(pad, layout.back);
    return commands;
}
