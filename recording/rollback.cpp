// A sync test for rolling back: the game must come out the same however often a pass is
// stepped again from a saved world.
#include <vector>

#include "recording/recording.h"
#include "simulation/feed.h"

namespace {

struct Ahead {
    StateHash hash;
    Cues cues;
};

bool sameCues(const Cues& a, const Cues& b)
{
    if (a.count != b.count)
        return false;
    for (int i = 0; i < a.count; ++i)
        if (!(a.list[i] == b.list[i]))
            return false;
    return true;
}

class RollbackCheck : public Stage {
public:
    RollbackCheck(const Recording& recording, int ahead, PassStepper step)
        : recording(recording), ahead(ahead), step(step)
    {
    }

    void show(const World& world, const Cues& cues) override
    {
        if (!why.empty())
            return;
        const uint32_t pass = world.ticks;
        if (!predicted.empty())
            compare(pass, predicted.front(), Ahead{hashWorld(world), cues});
        saved = world;
        trial = saved;
        stepAhead(pass + 1, first);
        trial = saved;
        stepAhead(pass + 1, second);
        for (size_t k = 0; k < first.size() && k < second.size() && why.empty(); ++k)
            compare(pass + 1 + static_cast<uint32_t>(k), first[k], second[k]);
        if (first.size() != second.size() && why.empty())
            why = "pass " + std::to_string(pass + 1) + ": the game ends at another pass";
        predicted.swap(first);
    }

    std::string why;

private:
    void stepAhead(uint32_t from, std::vector<Ahead>& out)
    {
        out.clear();
        for (uint32_t p = from; p < from + static_cast<uint32_t>(ahead) && p < recording.passes.size(); ++p) {
            PassInput input;
            unpackPass(recording.passes[p], input);
            if (input.leave)
                break;
            trial.ticks = p;
            Ahead a;
            if (!step(trial, input, a.cues))
                break;
            a.hash = hashWorld(trial);
            out.push_back(a);
        }
    }

    void compare(uint32_t pass, const Ahead& a, const Ahead& b)
    {
        if (!why.empty())
            return;
        const char* part = firstDifference(a.hash, b.hash);
        if (!*part && !sameCues(a.cues, b.cues))
            part = "sounds";
        if (*part)
            why = "pass " + std::to_string(pass) + ": the " + part + " differ";
    }

    const Recording& recording;
    int ahead;
    PassStepper step;
    World saved, trial;
    std::vector<Ahead> first, second, predicted;
};

} // namespace

std::string checkRollback(const Recording& recording, int ahead, GameResult& result, bool& apart,
                          PassStepper step)
{
    RollbackCheck check(recording, ahead, step);
    const std::string why = playRecording(recording, check, result);
    apart = !check.why.empty();
    return apart ? check.why : why;
}
