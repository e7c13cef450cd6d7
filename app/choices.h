#pragma once
// A list of lines to choose from, by arrows, Return, Space, mouse or pad: the comfort menu and
// its settings. Drawn in the picture's pixels; the pointer picks the line under it.
#include <string>
#include <vector>

struct BITMAP;

struct ChoiceList {
    std::vector<std::string> lines;
    int selected = 0;
    int top = 230;
    int spacing = 34;
    int size = 2; // each pixel of the font a size x size block

    void draw(BITMAP* dest) const;
    // The line under the picture's pixel row `y` (and column `x`), or -1.
    int at(int x, int y) const;
};

// One key press from the library's buffer, or false when there is none.
struct KeyPress {
    int scancode = 0;
    int letter = 0; // the character it types, 0 for none
};
bool nextKeyPress(KeyPress& press);

// What the player asked of a list this pass.
enum class Ask { nothing, up, down, less, more, choose, back, typed, erase };
// Reads the keys, the pointer and the pads; `press` holds the key behind `typed`. Moving the
// pointer over a line selects it.
Ask askList(ChoiceList& list, KeyPress& press);

// The screen's frame: a black picture with the game's name large at its top; `footer` at the
// bottom, `status` under it in grey; then the pointer and the picture to the screen.
void beginScreen(BITMAP* dest);
void endScreen(BITMAP* dest, const char* footer, const char* status);
