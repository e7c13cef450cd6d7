#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/options.h"

namespace {

// The command line "riverduel ARGS...", parsed.
bool parse(const std::vector<std::string>& args, Options& options, std::string& error)
{
    std::vector<char*> argv{const_cast<char*>("riverduel")};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    return parseOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

struct OptionCase {
    std::vector<std::string> args;
    int scale;
    bool fullscreen;
    int volume;
    const char* error;  // nullptr when the arguments are good
};

// The window's size and the volume as the command line asks for them, and every way to ask
// wrongly.
const OptionCase cases[] = {
    {{}, 1, false, 100, nullptr},
    {{"--scale", "2"}, 2, false, 100, nullptr},
    {{"--scale", "4", "--volume", "0"}, 4, false, 0, nullptr},
    {{"--fullscreen", "--volume", "50"}, 1, true, 50, nullptr},
    {{"--mute", "--gamepads"}, 1, false, 0, nullptr},
    {{"--volume", "100", "--mute"}, 1, false, 0, nullptr},
    {{"--scale", "5"}, 1, false, 100, "--scale needs a whole number from 1 to 4"},
    {{"--scale", "0"}, 1, false, 100, "--scale needs a whole number from 1 to 4"},
    {{"--scale", "2x"}, 1, false, 100, "--scale needs a whole number from 1 to 4"},
    {{"--scale"}, 1, false, 100, "--scale needs a whole number from 1 to 4"},
    {{"--volume", "101"}, 1, false, 100, "--volume needs a whole number from 0 to 100"},
    {{"--volume", "-1"}, 1, false, 100, "--volume needs a whole number from 0 to 100"},
    {{"--volume", ""}, 1, false, 100, "--volume needs a whole number from 0 to 100"},
    {{"--scale", "2", "--fullscreen"}, 2, true, 100, "choose one of --scale and --fullscreen"},
};

TEST(Options, WindowSizeAndVolume)
{
    for (const OptionCase& c : cases) {
        Options options;
        std::string error;
        const bool good = parse(c.args, options, error);
        const std::string shown = c.args.empty() ? "(none)" : c.args[0] + " ...";
        if (c.error) {
            EXPECT_FALSE(good) << shown;
            EXPECT_EQ(error, c.error) << shown;
            continue;
        }
        EXPECT_TRUE(good) << shown << ": " << error;
        EXPECT_EQ(options.scale, c.scale) << shown;
        EXPECT_EQ(options.fullscreen, c.fullscreen) << shown;
        EXPECT_EQ(options.volume, c.volume) << shown;
    }
}

// The host's input delay: 0 to 4 passes, by the round trip when not given.
TEST(Options, InputDelay)
{
    const struct {
        std::vector<std::string> args;
        int delay;
        const char* error;
    } delays[] = {
        {{"--host"}, -1, nullptr},
        {{"--host", "--input-delay", "0"}, 0, nullptr},
        {{"--input-delay", "4", "--host", "5000"}, 4, nullptr},
        {{"--host", "--input-delay", "5"}, -1, "--input-delay needs a number of passes from 0 to 4"},
        {{"--host", "--input-delay"}, -1, "--input-delay needs a number of passes from 0 to 4"},
        {{"--join", "h", "--input-delay", "1"}, -1, "--input-delay goes with --host (the host chooses it for both)"},
    };
    for (const auto& c : delays) {
        Options options;
        std::string error;
        const bool good = parse(c.args, options, error);
        EXPECT_EQ(good, c.error == nullptr) << c.args[0];
        EXPECT_EQ(error, c.error ? c.error : "") << c.args[0];
        if (good) {
            EXPECT_EQ(options.inputDelay, c.delay) << c.args[0];
        }
    }
}

} // namespace

namespace {

struct OnlineCase {
    std::vector<std::string> args;
    std::string watch;
    int port;
    bool lanOnly;
    const char* error; // nullptr when the arguments are good
};

// Watching a host and hosting for one network only, and the ways to ask for them wrongly.
const OnlineCase onlineCases[] = {
    {{"--watch", "example.org"}, "example.org", 0, false, nullptr},
    {{"--watch", "10.0.0.2:5000"}, "10.0.0.2", 5000, false, nullptr},
    {{"--host", "5000", "--lan-only"}, "", 5000, true, nullptr},
    {{"--watch"}, "", 0, false, "--watch needs HOST or HOST:PORT"},
    {{"--watch", "h:70000"}, "", 0, false, "--watch: not HOST:PORT: h:70000"},
    {{"--lan-only"}, "", 0, false, "--lan-only goes with --host"},
    {{"--join", "h", "--lan-only"}, "", 0, false, "--lan-only goes with --host"},
    {{"--host", "--watch", "h"}, "", 0, false,
     "choose one of --replay, --verify, --computer, --demo, --host, --join and --watch"},
};

TEST(Options, WatchingAndHostingForOneNetwork)
{
    for (const OnlineCase& c : onlineCases) {
        Options options;
        std::string error;
        const bool good = parse(c.args, options, error);
        const std::string shown = c.args[0] + " ...";
        if (c.error) {
            EXPECT_FALSE(good) << shown;
            EXPECT_EQ(error, c.error) << shown;
            continue;
        }
        EXPECT_TRUE(good) << shown << ": " << error;
        EXPECT_EQ(options.watch, c.watch) << shown;
        EXPECT_EQ(options.port, c.port) << shown;
        EXPECT_EQ(options.lanOnly, c.lanOnly) << shown;
    }
}

struct LevelCase {
    std::vector<std::string> args;
    bool computer, demo;
    int level;
    const char* error;
};

// The computer's level: 3 unless a number from 1 to 5 follows --computer or --demo.
const LevelCase levelCases[] = {
    {{}, false, false, 3, nullptr},
    {{"--computer"}, true, false, 3, nullptr},
    {{"--computer", "--gamepads"}, true, false, 3, nullptr},
    {{"--computer", "1"}, true, false, 1, nullptr},
    {{"--gamepads", "--computer", "5", "--mute"}, true, false, 5, nullptr},
    {{"--demo"}, false, true, 3, nullptr},
    {{"--demo", "2"}, false, true, 2, nullptr},
    {{"--computer", "6"}, false, false, 3, "--computer: LEVEL is a whole number from 1 to 5, not 6"},
    {{"--demo", "0"}, false, false, 3, "--demo: LEVEL is a whole number from 1 to 5, not 0"},
    {{"--computer", "easy"}, false, false, 3, "--computer: LEVEL is a whole number from 1 to 5, not easy"},
};

TEST(Options, ComputerLevel)
{
    for (const LevelCase& c : levelCases) {
        Options options;
        std::string error;
        const bool good = parse(c.args, options, error);
        std::string shown;
        for (const std::string& arg : c.args)
            shown += arg + " ";
        if (c.error) {
            EXPECT_FALSE(good) << shown;
            EXPECT_EQ(error, c.error) << shown;
            continue;
        }
        EXPECT_TRUE(good) << shown << ": " << error;
        EXPECT_EQ(options.computer, c.computer) << shown;
        EXPECT_EQ(options.demo, c.demo) << shown;
        EXPECT_EQ(options.level, c.level) << shown;
    }
}

} // namespace
