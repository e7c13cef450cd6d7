#pragma once
// --comfort: the game as a player finds it today. Its settings are read (and what the command
// line gave is remembered) before the window opens; then a menu that says what to do, games
// that pause, matches, and words in the player's language.
#include <string>

#include "app/settings.h"

struct GameSetup;
struct Options;
class Session;

// Reads the settings, takes what `options` gave into them and writes them back, and puts them
// into `options` (volume, window, level) and the language. A damaged file is one line on
// standard error (kept for the menu's status line); the game always starts.
Settings prepareComfort(Options& options);
// The riders' names and keys as set.
GameSetup comfortSetup(const Settings& settings);
// What a game needs once the window is up: pausing, the HUD's words, the end screen's.
// This machine rides rider `seat` (0 or 1) of an online game; -1: a local game.
void comfortGames(const GameSetup& setup, int matchLength, int seat);
// The comfort menu, until the player quits. `record`, when not empty, records every game;
// `computer` or `demo` start that entry at once (the command line asked for it).
int runComfortMenu(const GameSetup& setup, Settings& settings, bool gamepads, const std::string& record,
                   bool computer = false, bool demo = false);
