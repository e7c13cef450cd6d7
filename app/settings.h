#pragma once
// What --comfort remembers between runs, in $XDG_CONFIG_HOME/riverduel/settings
// (~/.config/riverduel/settings without it). The classic game reads and writes none of it.
#include <string>

struct Settings {
    int volume = 100;     // 0 to 100
    int scale = 0;        // 1 to 4; 0: the largest whole scale that fits the desktop
    bool fullscreen = false;
    int keys[2][3];       // each rider's left, right and action key (Allegro key codes)
    int level = 3;        // the computer's, 1 to 5
    int matchLength = 3;  // first to this many games wins the match, 1 to 9
    std::string names[2]; // up to 19 letters each
    std::string address;  // the last address joined
    Settings();
};

// The file's place; empty when neither XDG_CONFIG_HOME nor HOME says where.
std::string settingsPath();
// The settings as text, and back. decodeSettings fills `settings` only when all of `text`
// makes sense, else says in `why` what does not.
std::string encodeSettings(const Settings& settings);
bool decodeSettings(const std::string& text, Settings& settings, std::string& why);
// Reads the file at `path`: a missing one gives the defaults quietly; a damaged or unreadable
// one gives the defaults and a one-line `problem`.
Settings readSettings(const std::string& path, std::string& problem);
// Writes a new file beside `path` and renames it into place, so a crash leaves the old or the
// new settings, never half of them. Empty, or why it could not.
std::string writeSettings(const std::string& path, const Settings& settings);
// True when `code` cannot be rider `rider`'s input `input` (0 left, 1 right, 2 action): another
// input has it, or it is one of the game's own keys (ESC, P, Pause).
bool keyClashes(const Settings& settings, int rider, int input, int code);
