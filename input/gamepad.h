#pragma once
#include "input/input.h"

struct JOYSTICK_INFO;

// Starts the library's joystick driver. No pad, an unplugged pad or one that fails to start
// only means there are no pads: the keyboard works on and start-up goes on.
void startGamepads();

// Pad `pad` (0: the first) as a rider's three inputs right now. Nothing pressed for a pad that
// is not there or has been unplugged; a pad plugged in (again) is picked up.
RiderInput gamepadInput(int pad);

// One pad as the library's Linux driver presents it: the left stick's horizontal axis and the
// d-pad steer, the four face buttons (A, B, X, Y: the first four) act. Triggers never steer.
RiderInput padInput(const JOYSTICK_INFO& pad);
