#include "app/options.h"

#include <cstdlib>
#include <cstring>

const char* usage()
{
    return "Usage: riverduel [OPTION]...\n"
           "River Duel: two riders on one river. Without options, two players share the keyboard:\n"
           "Rudko steers with A and D and acts with S, Berto with LEFT, RIGHT and DOWN.\n"
           "\n"
           "  --comfort          the game as a player expects it today: a menu that explains\n"
           "                     itself, pause (P), matches, settings kept between runs (in\n"
           "                     $XDG_CONFIG_HOME/riverduel/), messages in your language,\n"
           "                     pictures at the display's pace (--smooth); the options\n"
           "                     given with it are remembered\n"
           "  --gamepads         the first gamepad also steers Rudko, the second Berto\n"
           "  --computer [LEVEL] play Rudko against the computer riding Berto; LEVEL from 1\n"
           "                     (a beginner: slow to react, misjudges, rarely attacks) to 5\n"
           "                     (an expert), default 3\n"
           "  --demo [LEVEL]     watch the computer of LEVEL (default 3) ride both, one game\n"
           "                     after another\n"
           "  --host [PORT]      host an online duel (UDP port, default 24642); you ride Rudko\n"
           "  --join HOST[:PORT] join an online duel; you ride Berto\n"
           "  --watch HOST[:PORT] watch a host's online duels as a spectator, a second or two\n"
           "                     behind, one game after another (up to 4 spectators)\n"
           "  --lan-only         with --host: do not ask the router to open the port (the host\n"
           "                     otherwise asks it by UPnP and NAT-PMP and shows the address\n"
           "                     to give a friend)\n"
           "  --input-delay N    with --host: a key takes effect N passes (of 50 ms) later on\n"
           "                     both machines, 0 to 4; by default 0 when the round trip is\n"
           "                     under 60 ms, else 1\n"
           "  --record FILE      record every game as it is played, each to the first free\n"
           "                     name of FILE, NAME-2.EXT, NAME-3.EXT, ... (game.rdr,\n"
           "                     game-2.rdr, ...): an existing file is never replaced; a\n"
           "                     game cut off by a crash stays in FILE.part\n"
           "  --overwrite        with --record: game N replaces the N-th name of the series\n"
           "  --replay FILE      play a recorded game back in the window; ESC stops it\n"
           "  --verify FILE      play a recorded game through without a window and print\n"
           "                     \"winner NAME steps N state HEX\", followed by \" unfinished\"\n"
           "                     for a game cut off before it ended\n"
           "  --rollback-check N with --verify: at every pass also save the game, step N\n"
           "                     passes ahead, restore it and step them again; exit 3 naming\n"
           "                     the first pass and part that differ (N from 1 to 64)\n"
           "  --scale N          a window N times as large (N from 1 to 4), each pixel an N x N block;\n"
           "                     one too large for the desktop gets the largest that fits\n"
           "  --fullscreen       fill the desktop at its own resolution, the picture in its shape\n"
           "  --smooth           draw as many pictures a second as the display shows, each\n"
           "                     where everything is at that instant between the game's\n"
           "                     20 passes a second (the game itself plays as always)\n"
           "  --volume N         how loud the game plays, 0 (silent) to 100 (the default)\n"
           "  --mute             play silently: --volume 0\n"
           "  --help             show this help and exit\n"
           "  --version          show the version and exit\n"
           "\n"
           "The game reads its art from ./bitmaps/ and its sounds from ./sound/.\n"
           "Exit status: 0 when the player quits, 1 when the game cannot start, 2 for bad\n"
           "options, a FILE that cannot be recorded to, or an unreadable recording, 3 when a\n"
           "rollback check finds a difference.\n";
}

// A whole number from `low` to `high`, nothing else.
static bool parseNumber(const char* text, int low, int high, int& number)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < low || value > high)
        return false;
    number = static_cast<int>(value);
    return true;
}

static bool parsePort(const char* text, int& port)
{
    return parseNumber(text, 1, 65535, port);
}

bool parseOptions(int argc, char** argv, Options& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc || !*argv[i + 1]) {
                error = arg + " needs a file name";
                return false;
            }
            into = argv[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--record") {
            if (!value(options.record))
                return false;
        } else if (arg == "--overwrite") {
            options.overwrite = true;
        } else if (arg == "--replay") {
            if (!value(options.replay))
                return false;
        } else if (arg == "--verify") {
            if (!value(options.verify))
                return false;
        } else if (arg == "--rollback-check") {
            if (i + 1 >= argc || !parseNumber(argv[i + 1], 1, 64, options.rollbackCheck)) {
                error = "--rollback-check needs a number of passes from 1 to 64";
                return false;
            }
            ++i;
        } else if (arg == "--input-delay") {
            if (i + 1 >= argc || !parseNumber(argv[i + 1], 0, 4, options.inputDelay)) {
                error = "--input-delay needs a number of passes from 0 to 4";
                return false;
            }
            ++i;
        } else if (arg == "--scale" || arg == "--volume") {
            const bool scale = arg == "--scale";
            (scale ? options.scaleGiven : options.volumeGiven) = true;
            if (i + 1 >= argc || !parseNumber(argv[i + 1], scale ? 1 : 0, scale ? 4 : 100,
                                              scale ? options.scale : options.volume)) {
                error = arg + (scale ? " needs a whole number from 1 to 4" : " needs a whole number from 0 to 100");
                return false;
            }
            ++i;
        } else if (arg == "--fullscreen") {
            options.fullscreen = true;
        } else if (arg == "--smooth") {
            options.smooth = true;
        } else if (arg == "--mute") {
            options.volume = 0;
            options.volumeGiven = true;
        } else if (arg == "--comfort") {
            options.comfort = true;
        } else if (arg == "--gamepads") {
            options.gamepads = true;
        } else if (arg == "--computer" || arg == "--demo") {
            (arg == "--computer" ? options.computer : options.demo) = true;
            options.levelGiven = options.levelGiven || (i + 1 < argc && argv[i + 1][0] != '-');
            if (i + 1 < argc && argv[i + 1][0] != '-' && !parseNumber(argv[++i], 1, 5, options.level)) {
                error = arg + ": LEVEL is a whole number from 1 to 5, not " + argv[i];
                return false;
            }
        } else if (arg == "--host") {
            options.host = true;
            if (i + 1 < argc && argv[i + 1][0] != '-' && !parsePort(argv[++i], options.port)) {
                error = std::string("--host: not a port: ") + argv[i];
                return false;
            }
        } else if (arg == "--join" || arg == "--watch") {
            if (i + 1 >= argc || !*argv[i + 1]) {
                error = arg + " needs HOST or HOST:PORT";
                return false;
            }
            std::string& where = arg == "--join" ? options.join : options.watch;
            where = argv[++i];
            const size_t colon = where.rfind(':');
            if (colon != std::string::npos) {
                if (!parsePort(where.c_str() + colon + 1, options.port) || colon == 0) {
                    error = arg + ": not HOST:PORT: " + where;
                    return false;
                }
                where.resize(colon);
            }
        } else if (arg == "--lan-only") {
            options.lanOnly = true;
        } else {
            error = "unknown option " + arg + " (try --help)";
            return false;
        }
    }
    const bool online = options.host || !options.join.empty();
    const int modes = (!options.replay.empty()) + (!options.verify.empty()) + options.computer +
                      options.demo + online + (options.host && !options.join.empty()) +
                      (!options.watch.empty());
    if (modes > 1) {
        error = "choose one of --replay, --verify, --computer, --demo, --host, --join and --watch";
        return false;
    }
    if (options.lanOnly && !options.host) {
        error = "--lan-only goes with --host";
        return false;
    }
    if (options.overwrite && options.record.empty()) {
        error = "--overwrite goes with --record";
        return false;
    }
    if (options.rollbackCheck && options.verify.empty()) {
        error = "--rollback-check goes with --verify FILE";
        return false;
    }
    if (options.inputDelay >= 0 && !options.host) {
        error = "--input-delay goes with --host (the host chooses it for both)";
        return false;
    }
    if (options.fullscreen && options.scale != 1) {
        error = "choose one of --scale and --fullscreen";
        return false;
    }
    if ((!options.replay.empty() || !options.verify.empty()) && !options.record.empty()) {
        error = "--record cannot record a replay";
        return false;
    }
    return true;
}
