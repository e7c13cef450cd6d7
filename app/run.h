#pragma once
// The program as the command line asks for it.

// A run with command-line options: --help, recording and replays, gamepads, the computer, an
// online duel. Returns the program's exit code.
int runWithOptions(int argc, char** argv);

// The library, the window and every art and sound file; on failure the player is told why
// and false comes back (the program then ends with 1).
bool startUp();
