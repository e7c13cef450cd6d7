#pragma once
#include <cstdint>

#include "input/input.h"
#include "simulation/simulation.h"

struct GameSetup;

// Where one game's passes come from when more than the plain keyboard drives it. The game
// then runs on its own clock: pass N runs at `ticks` N, whatever the timer did meanwhile.
class PassFeed {
public:
    virtual ~PassFeed() = default;
    // Before the game's setup: may replace the start (a replay's or the host's).
    virtual void begin(GameStart& start) { (void)start; }
    // The inputs of pass `pass`, with `escape` true when ESC (or the close button) is down.
    // False: not known yet; the game shows the last frame and asks again a tick later.
    virtual bool gather(uint32_t pass, bool escape, PassInput& input) = 0;
    // After every pass that stepped, with the state as it stands.
    virtual void stepped(uint32_t pass, const PassInput& input, const ObstacleLanes& lanes)
    {
        (void)pass, (void)input, (void)lanes;
    }
    // Once the game has ended (before its end screen): false means the game was cut short
    // by the feed itself (a replay that ran out, the other machine gone).
    virtual void ended(const GameResult& result) { (void)result; }
    // True when the feed gave up on the game (drifted, disconnected): the game ends at once.
    virtual bool broken() const { return false; }
    // Every few milliseconds while the end screen waits for a key: a connection to another
    // machine stays alive here.
    virtual void waiting() {}
};

// Everything a run adds to the plain two-player game, asked for on the command line. The menu
// asks it at every pass.
class Session {
public:
    virtual ~Session() = default;
    // Once per menu pass, before anything else.
    virtual void poll() {}
    // A line shown under the menu button, or nullptr.
    virtual const char* status() const { return nullptr; }
    // True: start a game now without a click (a demo, the other machine's click).
    virtual bool startsGame() { return false; }
    // A click on the button: true starts the game here too.
    virtual bool clicked() { return true; }
    // The feed for the game about to start; it lives until afterGame.
    virtual PassFeed& feed() = 0;
    // Seconds the end screen waits for a key before going on by itself; 0 waits for ever.
    virtual int endScreenSeconds() const { return 0; }
    // The game and its end screen are over. False leaves the menu and ends the run.
    virtual bool afterGame(const GameResult& result) { (void)result; return true; }
    // ESC in the menu: the run is ending.
    virtual void quitting() {}
};

// One game driven by `feed`, shown in the window, at 20 passes a second.
GameResult runGame(const GameSetup& setup, PassFeed& feed, int endScreenSeconds = 0);

// The same game without a window, as fast as it goes, for at most `maxPasses` passes (a game
// still running then is cut short, as if left). Needs the rules brought up (startHeadless).
GameResult playHeadless(const GameSetup& setup, PassFeed& feed, uint32_t maxPasses);
