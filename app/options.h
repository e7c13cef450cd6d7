#pragma once
// The command line.
#include <string>

// The port an online duel uses unless told otherwise (UDP).
constexpr int defaultPort = 24642;

// What the command line asks for. With no arguments, nothing: the plain two-player game.
struct Options {
    bool help = false;
    bool version = false;
    std::string record;  // --record FILE
    bool overwrite = false;
    std::string replay;  // --replay FILE
    std::string verify;  // --verify FILE
    int rollbackCheck = 0; // --rollback-check N: passes stepped ahead and again at every pass
    bool gamepads = false;
    bool computer = false;
    bool demo = false;
    int level = 3;       // --computer LEVEL, --demo LEVEL: 1 (a beginner) to 5 (an expert)
    bool host = false;
    std::string join;    // HOST[:PORT]
    std::string watch;   // --watch HOST[:PORT]
    bool lanOnly = false; // --lan-only: the host does not ask the router for its port
    int port = 0;        // 0: the default port
    int inputDelay = -1; // --input-delay N (0 to 4); -1: chosen from the round trip
    int scale = 1;       // --scale N, 1 to 4
    bool fullscreen = false;
    int volume = 100;    // --volume N (0 to 100), --mute
    bool smooth = false; // --smooth: pictures at the display's pace between the passes
    bool comfort = false; // --comfort: the menu, pause, matches, settings kept between runs
    // Which of the above the command line named, so that --comfort remembers only those.
    bool scaleGiven = false;
    bool volumeGiven = false;
    bool levelGiven = false;
};

// False with a one-line reason in `error` when the arguments make no sense.
bool parseOptions(int argc, char** argv, Options& options, std::string& error);
// The --help text.
const char* usage();
