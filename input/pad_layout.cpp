#include "input/pad_layout.h"

#include <cctype>
#include <cstring>

namespace {

const PadLayout plain = {"", 0, {0, 1, 2, 3}, -1, -1, -1, -1};

// The layouts of common pads under the Linux kernel's drivers (xpad, hid-sony,
// hid-playstation, and the plain HID driver for pads in their own modes).
const PadLayout known[] = {
    // Xbox 360, Xbox One and Series pads and pads that present themselves as one: A B X Y,
    // shoulders, Back (View), Start (Menu), Guide, stick clicks; the d-pad is axes.
    {"X-Box", 11, {0, 1, 2, 3}, 7, 6, -1, -1},
    {"Xbox", 11, {0, 1, 2, 3}, 7, 6, -1, -1},
    // Through the wireless receiver (and with xpad's dpad_to_buttons) the d-pad comes as four
    // more buttons: left, right, up, down.
    {"Xbox", 15, {0, 1, 2, 3}, 7, 6, 11, 12},
    {"X-Box", 15, {0, 1, 2, 3}, 7, 6, 11, 12},
    // PlayStation 3, newer kernels: cross circle triangle square, L1 R1 L2 R2, Select, Start,
    // PS, stick clicks, then the d-pad as buttons: up, down, left, right.
    {"PLAYSTATION(R)3", 17, {0, 1, 2, 3}, 9, 8, 15, 16},
    // PlayStation 3, older kernels: Select, L3, R3, Start, up, right, down, left, L2, R2, L1,
    // R1, triangle, circle, cross, square, PS.
    {"PLAYSTATION(R)3", 19, {14, 13, 12, 15}, 3, 0, 7, 5},
    // PlayStation 4 and 5: cross circle triangle square, L1 R1 L2 R2, Share (Create),
    // Options, PS, stick clicks; the d-pad is axes.
    {"Wireless Controller", 13, {0, 1, 2, 3}, 9, 8, -1, -1},
    {"DualSense", 13, {0, 1, 2, 3}, 9, 8, -1, -1},
    {"DualShock", 13, {0, 1, 2, 3}, 9, 8, -1, -1},
    // 8BitDo pads in their own (D-input) mode: A B, a gap, X Y, a gap, L R L2 R2, Select,
    // Start, Home, stick clicks; the d-pad is axes.
    {"8BitDo", 15, {0, 1, 3, 4}, 11, 10, -1, -1},
    {"8Bitdo", 15, {0, 1, 3, 4}, 11, 10, -1, -1},
    // SNES-style USB pads: X A B Y, L R, two unused, Select, Start; the d-pad is axes.
    {"USB Gamepad", 10, {0, 1, 2, 3}, 9, 8, -1, -1},
    {"SNES", 10, {0, 1, 2, 3}, 9, 8, -1, -1},
};

bool contains(const char* name, const char* part)
{
    const size_t n = std::strlen(name), m = std::strlen(part);
    for (size_t at = 0; at + m <= n; ++at) {
        size_t i = 0;
        while (i < m && std::tolower(static_cast<unsigned char>(name[at + i])) ==
                            std::tolower(static_cast<unsigned char>(part[i])))
            ++i;
        if (i == m)
            return true;
    }
    return false;
}

} // namespace

const PadLayout& plainPadLayout()
{
    return plain;
}

const PadLayout& padLayout(const char* name, int buttons)
{
    for (const PadLayout& layout : known)
        if (layout.buttons == buttons && contains(name ? name : "", layout.name))
            return layout;
    return plain;
}
