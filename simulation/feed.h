#pragma once
// Where a game's passes come from and where they are shown, and the one loop that plays a
// game from them: the keyboard game, driven games, replays, verifying and the benchmarks.
#include <cstdint>
#include <deque>

#include "input/input.h"
#include "simulation/simulation.h"

// Where one game's passes come from when more than the plain keyboard drives it. The game
// then runs on its own clock: pass N runs at `ticks` N, whatever the timer did meanwhile.
class PassFeed {
public:
    virtual ~PassFeed() = default;
    // Before the game's setup: may replace the start (a replay's or the host's).
    virtual void begin(GameStart& start) { (void)start; }
    // Once the game is set up, before its first pass: the world it will play in, which stays
    // the same object for the whole game.
    virtual void started(const World& world) { (void)world; }
    // The inputs of pass `pass`, with `escape` true when ESC (or the close button) is down.
    // False: not known yet; the game shows the last frame and asks again a tick later.
    virtual bool gather(uint32_t pass, bool escape, PassInput& input) = 0;
    // After every pass that stepped, with the world as it stands (a guessed pass too).
    virtual void stepped(uint32_t pass, const PassInput& input, const World& world)
    {
        (void)pass, (void)input, (void)world;
    }
    // A feed may hand out guessed inputs (an online duel guesses the other machine's): the
    // passes before confirmedPasses() are known for good, later ones may be guesses that the
    // game takes back and steps again when they turn out wrong. UINT32_MAX: nothing is a guess.
    virtual uint32_t confirmedPasses() const { return UINT32_MAX; }
    // The inputs of a pass already gathered, as best known now, to step it again.
    virtual bool regather(uint32_t pass, PassInput& input) { (void)pass, (void)input; return false; }
    // Each pass once it is known for good and the world stepped with its real inputs, in order
    // and once each, with the world after it; last the pass that ended the game (a leave, or the
    // slow-down's end), when there is one, with the world it left.
    virtual void confirmed(uint32_t pass, const PassInput& input, const World& world)
    {
        (void)pass, (void)input, (void)world;
    }
    // The game went back to pass `from` and stepped `passes` passes again, silently.
    virtual void rolledBack(uint32_t from, uint32_t passes) { (void)from, (void)passes; }
    // Shown over the last frame while the game waits for this feed, or nullptr.
    virtual const char* waitingFor() const { return nullptr; }
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

// Where a game is played: the window, or nowhere (as fast as it goes).
class Stage {
public:
    virtual ~Stage() = default;
    // ESC or the close button, asked before each pass.
    virtual bool escape() { return false; }
    // True: the game runs on its own clock, pass N at tick N.
    // False: a timer moves on and each pass runs at the tick it finds, timerTick().
    virtual bool ownsClock() const { return true; }
    virtual uint32_t timerTick() const { return 0; }
    // The world after each pass stepped, taken back or ended, with the passes stepped so far:
    // for a stage that keeps the classic game's globals alongside.
    virtual void follow(const World& world, uint32_t passes) { (void)world, (void)passes; }
    // The feed has no inputs yet; `waitingFor` (or nullptr) says for what.
    virtual void stall(const char* waitingFor);
    // After each pass: draw it, play its sounds, wait for the next.
    virtual void show(const World& world, const Cues& cues) { (void)world, (void)cues; }
    // The same with the inputs the pass was stepped with, which a stage that draws between
    // passes holds to guess the next one.
    virtual void showPass(const World& world, const PassInput& input, const Cues& cues)
    {
        (void)input;
        show(world, cues);
    }
};

// One game being played, a pass at a time, so that one thread can play two (the network
// benchmark's two sides). The stage is told of the world after every pass.
// From a feed that guesses, a pass is shown at once; the world before each guessed pass is
// kept until its inputs are known, and when they differ the world is put back there and
// stepped again to the present before the next frame, silently (each pass's sounds are played
// once, when it is first shown). The game never ends on a guess: a pass that would end it
// (decide it, finish its slow-down, leave) waits until its inputs are known for good.
class GameRun {
public:
    GameRun(World& world, PassFeed& feed, Stage& stage, uint32_t maxPasses = UINT32_MAX);
    enum Turn { STEPPED, WAITING, OVER };
    // Tries the next pass: stepped and shown; the feed has no inputs yet; or the game is over
    // (it ended, was left, the feed broke, or `maxPasses` were stepped: cut short, as if left).
    Turn next();
    const GameResult& result() const { return result_; }
    uint32_t pass() const { return pass_; }

private:
    struct Guessed {
        World before;
        PassInput input;
    };
    void finish();
    bool settle();
    bool endsGame(const World& before, bool stepped) const;
    World& world_;
    PassFeed& feed_;
    Stage& stage_;
    uint32_t maxPasses_;
    uint32_t pass_ = 0;    // passes stepped and shown
    uint32_t settled_ = 0; // passes known for good and told to the feed
    std::deque<Guessed> guessed_; // passes settled_ .. pass_ - 1
    bool over_ = false;
    GameResult result_;
};

// Plays `world` (started) from `feed` on `stage` until it is over.
GameResult playGame(World& world, PassFeed& feed, Stage& stage, uint32_t maxPasses = UINT32_MAX);

// A game without a window from `start` (the feed may replace it), as fast as it goes. It
// touches nothing outside its own world, so games in separate threads play as they do alone.
GameResult playAlone(const GameSetup& setup, GameStart start, PassFeed& feed, uint32_t maxPasses);

// A fresh seed for a game from the system's entropy.
uint32_t freshSeed();
