#pragma once
#include <cstdint>

struct BITMAP;
struct GameSetup;

class MenuButton {
public:
    MenuButton(int x, int y, int width, int height);
    virtual ~MenuButton();
    // The left button is down with the pointer inside (the painted block is one pixel larger).
    bool isClicked() const;
    void draw(BITMAP* dest) const;

    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

// One menu frame: black, the button, the pointer, copied to the screen.
void drawMenu(const MenuButton& button);

// The menu: one button that starts a game, ESC quits. Returns main's exit code.
int runMenu(const GameSetup& setup);
