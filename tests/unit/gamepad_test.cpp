#include <gtest/gtest.h>

#include <allegro.h>
#include <string>
#include <vector>

#include "input/gamepad.h"

namespace {

// A pad as Allegro's Linux driver fills JOYSTICK_INFO from the kernel's axis values (-32767 to
// 32767) and buttons: axes paired into sticks from the first, a lone last axis a one-axis
// throttle, at most five sticks; an axis reads as pushed past a quarter of its travel.
JOYSTICK_INFO linuxPad(const std::vector<int>& axes, unsigned buttons, int buttonCount = 11)
{
    JOYSTICK_INFO pad = {};
    const int axisCount = std::min<int>(axes.size(), MAX_JOYSTICK_STICKS * MAX_JOYSTICK_AXIS);
    int s = 0;
    for (int a = 0; s < MAX_JOYSTICK_STICKS && a < axisCount; ++s) {
        JOYSTICK_STICK_INFO& stick = pad.stick[s];
        stick.num_axis = a == axisCount - 1 ? 1 : 2;
        stick.flags = JOYFLAG_ANALOGUE | (stick.num_axis == 1 ? JOYFLAG_UNSIGNED : JOYFLAG_SIGNED);
        for (int i = 0; i < stick.num_axis; ++i, ++a) {
            stick.axis[i].pos = axes[a] * 127 / 32767;
            stick.axis[i].d1 = axes[a] < -8192;
            stick.axis[i].d2 = axes[a] > 8192;
        }
    }
    pad.num_sticks = s;
    pad.num_buttons = buttonCount;
    for (int b = 0; b < buttonCount; ++b)
        pad.button[b].b = (buttons >> b) & 1;
    return pad;
}

std::string show(RiderInput input)
{
    return std::string(input.left ? "L" : ".") + (input.right ? "R" : ".") + (input.action ? "A" : ".");
}

constexpr int F = 32767; // all the way
constexpr int T = -32767; // a trigger at rest
constexpr unsigned A = 1, B = 2, X = 4, Y = 8, LB = 16, START = 128;

struct Case {
    const char* pad;
    std::vector<int> axes;
    unsigned buttons;
    const char* expected;
};

// Xbox and PlayStation pads: left stick X Y, left trigger, right stick X Y, right trigger,
// d-pad X Y; A (cross) B X Y, shoulders, back, start, guide, stick clicks.
const Case cases[] = {
    {"at rest, triggers up", {0, 0, T, 0, 0, T, 0, 0}, 0, "..."},
    {"left stick left", {-F, 0, T, 0, 0, T, 0, 0}, 0, "L.."},
    {"left stick right, a little up", {20000, -9000, T, 0, 0, T, 0, 0}, 0, ".R."},
    {"left stick within its dead zone", {-8000, 0, T, 0, 0, T, 0, 0}, 0, "..."},
    {"d-pad left", {0, 0, T, 0, 0, T, -F, 0}, 0, "L.."},
    {"d-pad right and down", {0, 0, T, 0, 0, T, F, F}, 0, ".R."},
    {"stick left, d-pad right", {-F, 0, T, 0, 0, T, F, 0}, 0, "LR."},
    {"both triggers pulled", {0, 0, F, 0, 0, F, 0, 0}, 0, "..."},
    {"right stick left and up", {0, 0, T, -F, -F, T, 0, 0}, 0, "..."},
    {"left stick up, d-pad up", {0, -F, T, 0, 0, T, 0, -F}, 0, "..."},
    {"A", {0, 0, T, 0, 0, T, 0, 0}, A, "..A"},
    {"B", {0, 0, T, 0, 0, T, 0, 0}, B, "..A"},
    {"X", {0, 0, T, 0, 0, T, 0, 0}, X, "..A"},
    {"Y held, stick right", {F, 0, T, 0, 0, T, 0, 0}, Y, ".RA"},
    {"shoulder and start", {0, 0, T, 0, 0, T, 0, 0}, LB | START, "..."},
    // Triggers as buttons: left stick, right stick, d-pad.
    {"three sticks, d-pad left", {0, 0, 0, 0, -F, 0}, 0, "L.."},
    {"three sticks, right stick right", {0, 0, F, 0, 0, 0}, 0, "..."},
    // A plain pad whose d-pad is its only pair of axes.
    {"d-pad only, right", {F, 0}, B, ".RA"},
    // A stick and a throttle lever pulled back.
    {"stick and throttle", {0, 0, T}, 0, "..."},
    {"stick right, throttle", {F, 0, T}, 0, ".R."},
    // More axes than five sticks hold: the last kept pair is a pressure axis at rest.
    {"cut short", {0, 0, T, 0, 0, T, 0, 0, T, T, T, T, T, T, T, T, T, T}, 0, "..."},
    {"cut short, stick left", {-F, 0, T, 0, 0, T, 0, 0, T, T, T, T, T, T, T, T}, 0, "L.."},
    // No axes at all.
    {"buttons only", {}, 0, "..."},
    {"buttons only, A", {}, A, "..A"},
};

TEST(GamepadMapping, PadStatesAsRiderInputs)
{
    for (const Case& c : cases)
        EXPECT_EQ(show(padInput(linuxPad(c.axes, c.buttons))), c.expected) << c.pad;
}

TEST(GamepadMapping, ButtonsBeyondThePadsOwnAreNotRead)
{
    JOYSTICK_INFO pad = linuxPad({0, 0}, 0, 2);
    pad.button[2].b = pad.button[3].b = 1; // stale values past num_buttons
    EXPECT_EQ(show(padInput(pad)), "...");
    pad.button[1].b = 1;
    EXPECT_EQ(show(padInput(pad)), "..A");
}

} // namespace
