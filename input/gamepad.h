#pragma once
#include "input/input.h"

// Starts the library's joystick driver. No pad, an unplugged pad or one that fails to start
// only means there are no pads: the keyboard works on and start-up goes on.
void startGamepads();
// Pad `pad` (0: the first) as a rider's three inputs: stick or d-pad left and right steer, the
// main face buttons act. Nothing pressed for a pad that is not there.
RiderInput gamepadInput(int pad);
