#pragma once
#include <cstdint>
#include <string>

struct BITMAP;
struct GameSetup;
class Session;

class MenuButton {
public:
    MenuButton(int x, int y, int width, int height);
    virtual ~MenuButton();
    // The left button is down, or was pressed since the last look, with the pointer inside
    // (the painted block is one pixel larger).
    bool isClicked() const;
    void draw(BITMAP* dest) const;

    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

// From now on a press of the left button is kept until a menu looks at it, so a press and
// release between two passes counts as a click. forgetClicks drops a press not yet looked at.
void catchClicks();
void forgetClicks();
// True once for each press of the left button (a list's click, not a held button).
bool pressedSinceLastLook();

// One menu frame: black, the button, a line of status under it (when there is one), the
// pointer, copied to the screen.
void drawMenu(const MenuButton& button, const char* status = nullptr);

// What the menu on the screen shows besides the button, which never moves: the pointer and
// the status line. The menu is drawn only when `changed` says one of them differs from the
// last look; clearing `drawn` (a game took the screen) makes the next look draw.
struct ShownMenu {
    bool changed(int pointerX, int pointerY, const char* status);

    bool drawn = false;
    int pointerX = 0;
    int pointerY = 0;
    bool hasStatus = false;
    std::string status;
};

// The menu: one button that starts a game, ESC quits. Returns main's exit code.
int runMenu(const GameSetup& setup);
// The same menu with what the command line added: games driven by the session's feeds, its
// status line, games it starts by itself.
int runMenu(const GameSetup& setup, Session& session);
