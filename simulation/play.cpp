#include <chrono>
#include <cstring>
#include <random>
#include <thread>

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

GameRun::Turn GameRun::next()
{
    if (over_)
        return OVER;
    if (pass_ >= maxPasses_ || feed_.broken()) {
        finish();
        return OVER;
    }
    // The feed looks at the world as it stands at the tick of the pass it is asked for.
    world_.ticks = stage_.ownsClock() ? pass_ : stage_.timerTick();
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
    feed_.stepped(pass_, input, world_);
    if (guess)
        guessed_.push_back({std::move(before), input});
    ++pass_;
    if (!guess) {
        feed_.confirmed(settled_, input, world_);
        settled_ = pass_;
    }
    stage_.showPass(world_, input, cues);
    stage_.follow(world_, pass_);
    return STEPPED;
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
    world_.ticks = stage_.ownsClock() ? pass_ : stage_.timerTick();
    stage_.follow(world_, pass_);
    result_.decided = world_.gameOver;
    result_.winner = world_.winner;
    std::memcpy(result_.names, world_.names, sizeof result_.names);
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

GameResult playAlone(const GameSetup& setup, GameStart start, PassFeed& feed, uint32_t maxPasses)
{
    feed.begin(start);
    World world;
    startWorld(world, setup, start);
    Stage nowhere;
    return playGame(world, feed, nowhere, maxPasses);
}

uint32_t freshSeed()
{
    std::random_device device;
    return device();
}

