#include <allegro.h>
#include <cstdio>

#include "app/choices.h"
#include "app/clock.h"
#include "app/comfort.h"
#include "app/system.h"
#include "app/words.h"
#include "audio/sound.h"
#include "classic/live.h"
#include "simulation/simulation.h"

#define N_(text) text

namespace {

enum Line { VOLUME, SCALE, FULLSCREEN, KEY_FIRST, KEY_LAST = KEY_FIRST + 5, LEVEL, MATCH, NAME1, NAME2, BACK };

std::string keyLine(const Settings& s, int line, bool waiting)
{
    static const char* const inputs[3] = {N_("left"), N_("right"), N_("jump/dive")};
    const int rider = (line - KEY_FIRST) / 3, input = (line - KEY_FIRST) % 3;
    char text[96];
    std::snprintf(text, sizeof text, tr("%s's %s key: %s"), s.names[rider].c_str(), tr(inputs[input]),
                  waiting ? tr("press a key") : scancode_to_name(s.keys[rider][input]));
    return text;
}

std::vector<std::string> settingLines(const Settings& s, int selected, bool waiting)
{
    char text[6][96];
    std::snprintf(text[0], 96, tr("Volume < %d >"), s.volume);
    if (s.scale == 0)
        std::snprintf(text[1], 96, "%s", tr("Window < as large as fits >"));
    else
        std::snprintf(text[1], 96, tr("Window < %d times as large >"), s.scale);
    std::snprintf(text[2], 96, "%s", s.fullscreen ? tr("Full screen: on") : tr("Full screen: off"));
    std::snprintf(text[3], 96, tr("Computer level < %d >"), s.level);
    std::snprintf(text[4], 96, tr("Match: first to < %d >"), s.matchLength);
    std::vector<std::string> lines = {text[0], text[1], text[2]};
    for (int line = KEY_FIRST; line <= KEY_LAST; ++line)
        lines.push_back(keyLine(s, line, waiting && selected == line));
    lines.push_back(text[3]);
    lines.push_back(text[4]);
    for (int r = 0; r < 2; ++r)
        lines.push_back(std::string(r ? tr("Second rider: ") : tr("First rider: ")) + s.names[r] +
                        (selected == NAME1 + r ? "_" : ""));
    lines.push_back(tr("Back"));
    return lines;
}

int step(int value, int low, int high, int by)
{
    return value + by < low ? low : value + by > high ? high : value + by;
}

} // namespace

// The settings, changed in place: arrows change values, Return on a key waits for the key that
// replaces it (a key another input has is refused), names are typed in place. The window's
// changes take effect at the next start.
void runSettingsScreen(Settings& s, GameSetup& setup)
{
    ChoiceList list;
    list.top = 90;
    list.spacing = 30;
    list.size = 2;
    bool waiting = false;
    const char* note = tr("The window's changes take effect at the next start");
    uint32_t nextTick = ticks + 1;
    clear_keybuf();
    while (!closeRequested) {
        KeyPress press;
        Ask ask = Ask::nothing;
        const int line = list.selected;
        if (waiting) {
            if (nextKeyPress(press)) {
                const int rider = (line - KEY_FIRST) / 3, input = (line - KEY_FIRST) % 3;
                if (press.scancode == KEY_ESC)
                    waiting = false;
                else if (keyClashes(s, rider, input, press.scancode))
                    note = tr("That key is taken: choose another");
                else
                    s.keys[rider][input] = press.scancode, waiting = false;
            }
        } else {
            ask = askList(list, press);
        }
        if (ask == Ask::back || (ask == Ask::choose && line == BACK))
            break;
        const int by = ask == Ask::more ? 1 : ask == Ask::less ? -1 : 0;
        if (line == VOLUME && by) {
            s.volume = step(s.volume, 0, 100, by * 10);
            setSoundVolume(s.volume);
        }
        if (line == SCALE && by)
            s.scale = step(s.scale, 0, 4, by);
        if (line == FULLSCREEN && (by || ask == Ask::choose))
            s.fullscreen = !s.fullscreen;
        if (line == LEVEL && by)
            s.level = step(s.level, 1, 5, by);
        if (line == MATCH && by)
            s.matchLength = step(s.matchLength, 1, 9, by);
        if (line >= KEY_FIRST && line <= KEY_LAST && ask == Ask::choose)
            waiting = true, note = tr("Press the new key (ESC keeps the old one)");
        if ((line == NAME1 || line == NAME2) && ask == Ask::typed && s.names[line - NAME1].size() < 19)
            s.names[line - NAME1] += static_cast<char>(press.letter);
        if ((line == NAME1 || line == NAME2) && ask == Ask::erase && s.names[line - NAME1].size() > 1)
            s.names[line - NAME1].pop_back();
        list.lines = settingLines(s, list.selected, waiting);
        beginScreen(backBuffer);
        list.draw(backBuffer);
        endScreen(backBuffer, tr("Arrows change, Return chooses, ESC goes back"), note);
        nextTick = waitForTick(nextTick);
    }
    setup = comfortSetup(s);
}
