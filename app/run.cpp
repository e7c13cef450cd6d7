#include "app/run.h"
#include "classic/session.h"
#include "classic/game.h"

#include <allegro.h>
#include <cstdio>
#include <memory>

#include "app/comfort.h"
#include "app/console.h"
#include "app/game.h"
#include "app/stage.h"
#include "app/words.h"
#include "simulation/identity.h"
#include "app/menu.h"
#include "app/options.h"
#include "simulation/feed.h"
#include "app/window.h"
#include "audio/sound.h"
#include "app/system.h"
#include "computer/computer.h"
#include "files/files.h"
#include "input/gamepad.h"
#include "network/network.h"
#include "classic/assets.h"
#include "presentation/assets.h"
#include "recording/recording.h"
#include "classic/headless.h"

static int refuse(const std::string& path, const std::string& why)
{
    std::fprintf(stderr, "riverduel: %s: %s\n", path.c_str(), why.c_str());
    return 2;
}

static int verify(const std::string& path, int rollbackCheck)
{
    Recording recording;
    std::string error = loadRecording(path, recording);
    if (!error.empty())
        return refuse(path, error);
    if (!startHeadless(recording.geometry))
        return refuse(path, "the game cannot start without a window");
    GameResult result;
    bool apart = false;
    error = rollbackCheck ? checkRollback(recording, rollbackCheck, result, apart)
                          : replayRecording(recording, result);
    if (apart) {
        std::fprintf(stderr, "riverduel: %s: rolled back %d passes, %s\n", path.c_str(),
                     rollbackCheck, error.c_str());
        return 3;
    }
    if (!error.empty())
        return refuse(path, error);
    if (!recording.finished) {
        // Cut off before the game ended: its line so far, and no final state to compare.
        std::printf("%s unfinished\n", resultLine(result).c_str());
        if (recording.tornBytes > 0)
            std::fprintf(stderr, "riverduel: %s: its last %zu bytes, cut off in the middle of a write, are left out\n",
                         path.c_str(), recording.tornBytes);
        return 0;
    }
    std::printf("%s\n", resultLine(result).c_str());
    if (result.state.whole() != recording.finalState) {
        std::fprintf(stderr, "riverduel: %s: this game ends it in another state than %s did\n",
                     path.c_str(), recording.build.c_str());
        return 1;
    }
    return 0;
}

// One player at this machine: either key set or the first pad.
static RiderInput onlinePlayer()
{
    return playerInput(true);
}

static int replay(const GameSetup& setup, const Recording& recording, const std::string& path)
{
    if (currentGeometry().bridgeHeight != recording.geometry.bridgeHeight)
        return refuse(path, "recorded with a bridge " + std::to_string(recording.geometry.bridgeHeight) +
                                " pixels high; this game's bridge is " +
                                std::to_string(currentGeometry().bridgeHeight));
    std::unique_ptr<PassFeed> feed(replayFeed(recording));
    runGame(setup, *feed);
    return 0;
}

bool startUp()
{
    if (initSystem()) {
        reportGraphicsFailure();
        return false;
    }
    if (loadAssets()) {
        // The dialog names no file; a terminal learns which one, and where it was looked for.
        reportFileProblem(stderr);
        allegro_message("%s", classicOr("Nastala chyba.\nSkuste skontrolovat, ci su pristupne vsetky potrebne subory.",
                                        "Something went wrong.\nCheck that all the game's files can be read."));
        return false;
    }
    keepLoadedArt();
    return true;
}

static int runOptions(int argc, char** argv)
{
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "riverduel: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(usage(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts(buildIdentity());
        return 0;
    }
    if (!options.verify.empty())
        return verify(options.verify, options.rollbackCheck);
    Recording recording;
    if (!options.replay.empty()) {
        error = loadRecording(options.replay, recording);
        if (!error.empty())
            return refuse(options.replay, error);
    }

    // --comfort reads its settings first: they choose the window and the volume.
    Settings settings;
    if (options.comfort)
        settings = prepareComfort(options);
    windowRequest.scale = options.scale;
    windowRequest.fullscreen = options.fullscreen;
    // --comfort draws at the display's pace too.
    windowRequest.smooth = options.smooth || options.comfort;
    setSoundVolume(options.volume);

    // Where the games will go is checked before anyone plays.
    if (!options.record.empty()) {
        error = checkRecordingTarget(options.record);
        if (!error.empty())
            return refuse(options.record, error);
    }

    if (!startUp())
        return 1;
    const GameSetup setup = options.comfort ? comfortSetup(settings) : defaultGameSetup();
    const bool online = options.host || !options.join.empty();
    const bool gamepads = options.gamepads || options.computer || online;
    if (gamepads)
        startGamepads();
    if (options.comfort) {
        pauseOnFocusLoss();
        const int seat = options.host ? 0 : !options.join.empty() ? 1 : -1;
        comfortGames(setup, 0, seat);
        // An online game or a replay is what the command line named; the rest is the menu's.
        if (options.replay.empty() && !online && options.watch.empty())
            return runComfortMenu(setup, settings, gamepads, options.record, options.computer,
                                  options.demo);
    }
    // A replay's riders are the recording's; a pad only stops it or leaves its end screen.
    if (!options.replay.empty())
        return replay(setup, recording, options.replay);

    const uint16_t port = static_cast<uint16_t>(options.port ? options.port : defaultPort);
    std::unique_ptr<Session> session;
    if (options.host)
        session = hostDuel(port, onlinePlayer, !options.lanOnly, options.inputDelay);
    else if (!options.watch.empty())
        session = watchDuel(options.watch, port);
    else if (online)
        session = joinDuel(options.join, port, onlinePlayer);
    else if (options.computer)
        session.reset(computerSession(gamepads, options.level));
    else if (options.demo)
        session.reset(demoSession(options.level));
    else
        session.reset(new LocalSession(gamepads));
    std::unique_ptr<Session> recorder;
    if (!options.record.empty())
        recorder.reset(recordEveryGame(*session, options.record, options.overwrite));
    return runMenu(setup, recorder ? *recorder : *session);
}

int runWithOptions(int argc, char** argv)
{
    openConsole();
    return closeConsole(runOptions(argc, argv));
}
