#pragma once

// A run with command-line options: --help, recording and replays, gamepads, the computer, an
// online duel. Returns the program's exit code.
int runWithOptions(int argc, char** argv);
