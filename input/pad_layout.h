#pragma once

// Where a pad's buttons are, as the Linux joystick driver numbers them. Most pads put the four
// face buttons first and the d-pad on a pair of axes; some report the d-pad as buttons, or
// number their buttons otherwise. Such pads are known by the name and the number of buttons
// they report.
struct PadLayout {
    const char* name;   // a part of the name the pad reports ("" for the plain layout)
    int buttons;        // how many buttons it reports
    int face[4];        // the face buttons (A B X Y, cross circle triangle square): act, start, leave
    int start;          // Start (Options, Menu, +): what ESC does; -1 when unknown
    int back;           // Back (Select, Share, View, -): the same
    int dpadLeft;       // the d-pad's left and right as buttons; -1 when the d-pad is axes
    int dpadRight;
};

// The layout for a pad reporting `name` and `buttons`; the plain layout (the face buttons
// first, the d-pad on axes, no Start known) for any other pad.
const PadLayout& padLayout(const char* name, int buttons);
const PadLayout& plainPadLayout();
