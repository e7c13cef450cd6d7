// Taking guessed passes back: the pass loop's part for feeds that guess (see GameRun).
#include "simulation/feed.h"

// True when the pass just stepped from `before` ends the game or decides it.
bool GameRun::endsGame(const World& before, bool stepped) const
{
    return !stepped || (world_.gameOver && !before.gameOver);
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
        stage_.follow(world_, pass_);
    }
    const uint32_t now = known < pass_ ? known : pass_;
    while (settled_ < now) {
        const World& after = guessed_.size() > 1 ? guessed_[1].before : world_;
        feed_.confirmed(settled_, guessed_.front().input, after);
        guessed_.pop_front();
        ++settled_;
    }
    world_.ticks = stage_.ownsClock() ? pass_ : stage_.timerTick();
    return whole;
}
