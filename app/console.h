#pragma once
// Where the game's messages go. On Linux, the terminal's standard output and error, as they are.
// On Windows the game is a windowed program: it writes to the console it was started from,
// or to where its output was sent; started without either (from Explorer or a shortcut), what
// it would have written to standard error is kept and, when the run ends in failure, shown in a
// message box.

// Finds the messages' way out, before anything is written.
void openConsole();
// Hands `code` back, having shown the kept messages when it says the run failed.
int closeConsole(int code);
