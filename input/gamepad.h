#pragma once
#include "input/input.h"
#include "input/pad_layout.h"

struct JOYSTICK_INFO;

// Starts the library's joystick driver. No pad, an unplugged pad or one that fails to start
// only means there are no pads: the keyboard works on and start-up goes on.
void startGamepads();

// Pad `pad` (0: the first) as a rider's three inputs right now. Nothing pressed for a pad that
// is not there or has been unplugged; a pad plugged in (again) is picked up.
RiderInput gamepadInput(int pad);

// A pad's buttons outside a ride: a face button starts a game from the menu and leaves the end
// screen; Start or Back does what ESC does.
struct PadCommands {
    bool face = false;
    bool escape = false;
};

// The pads' commands: `held` right now on any pad, `pressed` when newly down since the pad was
// last read (here or by gamepadInput), so a button held from one screen into the next does
// not act again. Nothing without pads.
struct PadPresses {
    PadCommands held;
    PadCommands pressed;
};
PadPresses gamepadCommands();

// The menu's line about the pads ("gamepads: NAME, NAME" or that none was found); nullptr
// when pads were not asked for.
const char* gamepadStatus();

// One pad as the library's Linux driver presents it: the left stick's horizontal axis and the
// d-pad steer (a d-pad of buttons where the layout says so), the four face buttons act.
// Triggers never steer.
RiderInput padInput(const JOYSTICK_INFO& pad, const PadLayout& layout = plainPadLayout());
PadCommands padCommands(const JOYSTICK_INFO& pad, const PadLayout& layout);
