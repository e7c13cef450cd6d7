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

namespace {

// Pads known by name and button count, each pressed the way its players would.
struct LayoutCase {
    const char* name;
    int buttons;
    std::vector<int> pressed;  // button numbers held
    const char* expected;      // rider input, then F for a face button and E for Start or Back
};

std::string showAll(const char* name, int buttons, const std::vector<int>& pressed)
{
    unsigned bits = 0;
    for (int b : pressed)
        bits |= 1u << b;
    const JOYSTICK_INFO pad = linuxPad({0, 0, T, 0, 0, T, 0, 0}, bits, buttons);
    const PadLayout& layout = padLayout(name, buttons);
    const PadCommands commands = padCommands(pad, layout);
    return show(padInput(pad, layout)) + (commands.face ? "F" : ".") + (commands.escape ? "E" : ".");
}

const LayoutCase layoutCases[] = {
    {"Microsoft X-Box 360 pad", 11, {0}, "..AF."},
    {"Microsoft X-Box 360 pad", 11, {7}, "....E"},        // Start
    {"Microsoft X-Box One pad", 11, {6}, "....E"},        // View
    {"Microsoft X-Box 360 pad", 11, {4, 5, 8}, "....."},  // shoulders and Guide do nothing
    {"Xbox 360 Wireless Receiver (XBOX)", 15, {11}, "L...."},
    {"Xbox 360 Wireless Receiver (XBOX)", 15, {12, 3}, ".RAF."},
    {"Xbox 360 Wireless Receiver (XBOX)", 15, {13, 14}, "....."},  // up and down
    {"Sony PLAYSTATION(R)3 Controller", 17, {15}, "L...."},
    {"Sony PLAYSTATION(R)3 Controller", 17, {16, 0}, ".RAF."},
    {"Sony PLAYSTATION(R)3 Controller", 17, {9}, "....E"},
    {"Sony PLAYSTATION(R)3 Controller", 19, {14}, "..AF."},  // cross, older kernels
    {"Sony PLAYSTATION(R)3 Controller", 19, {7}, "L...."},
    {"Sony PLAYSTATION(R)3 Controller", 19, {0}, "....E"},   // Select
    {"Sony PLAYSTATION(R)3 Controller", 19, {1, 2}, "....."}, // stick clicks
    {"Sony Interactive Entertainment Wireless Controller", 13, {9}, "....E"},
    {"Sony Interactive Entertainment DualSense Wireless Controller", 13, {2}, "..AF."},
    {"8BitDo SN30 Pro", 15, {4}, "..AF."},
    {"8BitDo SN30 Pro", 15, {2}, "....."},
    {"8BitDo SN30 Pro", 15, {11}, "....E"},
    {"USB Gamepad ", 10, {9}, "....E"},
    // Unknown pads: the face buttons first, no Start known.
    {"River Duel test pad", 11, {1}, "..AF."},
    {"River Duel test pad", 11, {7}, "....."},
    {"Microsoft X-Box 360 pad", 12, {7}, "....."},  // a count the table does not know
};

TEST(GamepadMapping, KnownPadsByNameAndButtonCount)
{
    for (const LayoutCase& c : layoutCases)
        EXPECT_EQ(showAll(c.name, c.buttons, c.pressed), c.expected) << c.name << " " << c.buttons;
}

} // namespace
