#include <chrono>
#include <random>
#include <thread>

#include "input/gamepad.h"
#include "riders/live.h"
#include "riders/rider.h"
#include "simulation/feed.h"

void Stage::stall(const char*)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

GameRun::GameRun(World& world, PassFeed& feed, Stage& stage, uint32_t maxPasses)
    : world_(world), feed_(feed), stage_(stage), maxPasses_(maxPasses)
{
    feed_.started(world_);
}

// True when the pass just stepped from `before` ends the game or decides it.
bool GameRun::endsGame(const World& before, bool stepped) const
{
    return !stepped || (world_.gameOver && !before.gameOver);
}

GameRun::Turn GameRun::next()
{
    if (over_)
        return OVER;
    if (pass_ >= maxPasses_ || feed_.broken()) {
        finish();
        return OVER;
    }
    // The feed looks at the world as it stands at the tick of the pass it is asked for.
    world_.ticks = stage_.ownsClock() ? pass_ : ticks.load();
    const bool escape = stage_.escape();
    PassInput input;
    const bool given = feed_.gather(pass_, escape, input);
    if (!settle())
        return WAITING; // taken back to a pass that ends the game: it waits for its inputs
    if (!given)
        return WAITING;
    const bool guess = pass_ >= feed_.confirmedPasses();
    if (input.leave && guess)
        return WAITING;
    Cues cues;
    if (input.leave) {
        feed_.confirmed(pass_, input, world_);
        finish();
        return OVER;
    }
    World before;
    if (guess) {
        before = world_;
        before.ticks = pass_ > 0 ? pass_ - 1 : 0; // the world after the pass before
    }
    const bool stepped = stepWorld(world_, input, cues);
    if (guess && endsGame(before, stepped)) {
        world_ = before;
        return WAITING;
    }
    if (!stepped) {
        feed_.confirmed(pass_, input, world_);
        finish();
        return OVER;
    }
    ++result_.steps;
    publishWorld(world_, nullptr);
    feed_.stepped(pass_, input, world_);
    if (guess)
        guessed_.push_back({std::move(before), input});
    ++pass_;
    if (!guess) {
        feed_.confirmed(settled_, input, world_);
        settled_ = pass_;
    }
    stage_.show(world_, cues);
    if (stage_.ownsClock())
        ticks = pass_;
    return STEPPED;
}

// Takes back the first guessed pass whose real inputs differ and steps the passes after it
// again with what is known now, then tells the feed of every pass now known for good. False
// when a pass stepped again would end the game: the game goes back to it, to wait.
bool GameRun::settle()
{
    const uint32_t known = feed_.confirmedPasses();
    if (guessed_.empty())
        return true;
    world_.ticks = pass_ - 1; // as it stood after the last pass shown
    const uint32_t upTo = known < pass_ ? known : pass_;
    uint32_t wrong = upTo;
    for (uint32_t p = settled_; p < upTo; ++p) {
        PassInput real;
        if (!feed_.regather(p, real) || packPass(real) != packPass(guessed_[p - settled_].input)) {
            wrong = p;
            break;
        }
    }
    bool whole = true;
    if (wrong < upTo) {
        world_ = guessed_[wrong - settled_].before;
        const uint32_t shown = pass_;
        uint32_t p = wrong;
        for (; p < shown; ++p) {
            Guessed& pass = guessed_[p - settled_];
            pass.before = world_;
            const bool ok = feed_.regather(p, pass.input) && !pass.input.leave;
            Cues unheard;
            if (ok) {
                world_.ticks = p;
                const bool stepped = stepWorld(world_, pass.input, unheard);
                if (!endsGame(pass.before, stepped))
                    continue;
            }
            world_ = pass.before;
            guessed_.erase(guessed_.begin() + (p - settled_), guessed_.end());
            pass_ = p;
            result_.steps = p;
            whole = false;
            break;
        }
        feed_.rolledBack(wrong, p - wrong);
        publishWorld(world_, nullptr);
        if (stage_.ownsClock())
            ticks = pass_;
    }
    const uint32_t now = known < pass_ ? known : pass_;
    while (settled_ < now) {
        const World& after = guessed_.size() > 1 ? guessed_[1].before : world_;
        feed_.confirmed(settled_, guessed_.front().input, after);
        guessed_.pop_front();
        ++settled_;
    }
    world_.ticks = stage_.ownsClock() ? pass_ : ticks.load();
    return whole;
}

void GameRun::finish()
{
    over_ = true;
    // Only what both sides know for good counts: guessed passes are taken back.
    if (!guessed_.empty()) {
        world_ = guessed_.front().before;
        guessed_.clear();
        pass_ = result_.steps = settled_;
    }
    world_.ticks = stage_.ownsClock() ? pass_ : ticks.load();
    publishWorld(world_, nullptr);
    result_.decided = world_.gameOver;
    result_.winner = world_.winner;
    result_.state = hashWorld(world_);
    feed_.ended(result_);
}

GameResult playGame(World& world, PassFeed& feed, Stage& stage, uint32_t maxPasses)
{
    GameRun run(world, feed, stage, maxPasses);
    for (GameRun::Turn turn; (turn = run.next()) != GameRun::OVER;)
        if (turn == GameRun::WAITING)
            stage.stall(feed.waitingFor());
    return run.result();
}

uint32_t freshSeed()
{
    std::random_device device;
    return device();
}

GameResult playHeadless(const GameSetup& setup, PassFeed& feed, uint32_t maxPasses)
{
    GameStart start = currentStart(freshSeed());
    feed.begin(start);
    World world;
    startWorld(world, setup, start);
    Stage nowhere;
    return playGame(world, feed, nowhere, maxPasses);
}

LocalSession::LocalSession(bool gamepads)
{
    localFeed.gamepads = gamepads;
}

PassFeed& LocalSession::feed()
{
    return localFeed;
}

bool LocalSession::Feed::gather(uint32_t, bool escape, PassInput& input)
{
    for (int i = 0; i < 2; ++i) {
        input.riders[i] = keyboardInput(*riders[i]);
        if (gamepads)
            input.riders[i] = combine(input.riders[i], gamepadInput(i));
    }
    input.leave = escape;
    return true;
}

RiderInput playerInput(bool gamepads)
{
    RiderInput keys = combine(keyboardInput(*riders[0]), keyboardInput(*riders[1]));
    return gamepads ? combine(keys, gamepadInput(0)) : keys;
}
