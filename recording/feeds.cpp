#include <cstdio>
#include <memory>

#include "simulation/identity.h"
#include "simulation/feed.h"
#include "recording/recording.h"

namespace {

class RecordingFeed : public PassFeed {
public:
    RecordingFeed(const std::string& first, bool overwrite) : writer(first, overwrite) {}

    PassFeed* inner = nullptr;
    int game = 1; // in the run, from 1

    void begin(GameStart& start) override
    {
        inner->begin(start);
        Recording head;
        head.build = buildIdentity();
        head.start = start;
        head.geometry = currentGeometry();
        passes = 0;
        tell("this game is not recorded", writer.begin(head, game));
    }
    bool gather(uint32_t pass, bool escape, PassInput& input) override
    {
        return inner->gather(pass, escape, input);
    }
    void started(const World& world) override { inner->started(world); }
    void stepped(uint32_t pass, const PassInput& input, const World& world) override
    {
        inner->stepped(pass, input, world);
    }
    uint32_t confirmedPasses() const override { return inner->confirmedPasses(); }
    bool regather(uint32_t pass, PassInput& input) override { return inner->regather(pass, input); }
    // Only passes known for good are recorded, never a guess.
    void confirmed(uint32_t pass, const PassInput& input, const World& world) override
    {
        inner->confirmed(pass, input, world);
        ++passes;
        if (writer.writing())
            tell("the recording stopped at pass " + std::to_string(pass), writer.add(packPass(input)));
    }
    void rolledBack(uint32_t from, uint32_t count) override { inner->rolledBack(from, count); }
    const char* waitingFor() const override { return inner->waitingFor(); }
    void ended(const GameResult& result) override
    {
        inner->ended(result);
        if (!writer.writing())
            return; // the player has been told why
        // A game cut short from outside (the other machine gone) is saved as left at the
        // pass it stopped at, so it plays back to the same state.
        if (passes == result.steps) {
            PassInput leave;
            leave.leave = true;
            tell("the recording stopped at pass " + std::to_string(passes), writer.add(packPass(leave)));
            if (!writer.writing())
                return;
        }
        std::string path;
        const std::string error = writer.finish(result.state.whole(), path);
        if (error.empty())
            std::printf("%s: %s\n", path.c_str(), resultLine(result).c_str());
        tell("the game was not saved", error);
        std::fflush(stdout);
    }
    bool broken() const override { return inner->broken(); }
    void waiting() override { inner->waiting(); }

private:
    static void tell(const std::string& what, const std::string& error)
    {
        if (!error.empty())
            std::fprintf(stderr, "riverduel: %s: %s\n", what.c_str(), error.c_str());
    }

    RecordingWriter writer;
    uint32_t passes = 0;
};

class RecordingSession : public Session {
public:
    RecordingSession(Session& inner, const std::string& first, bool overwrite)
        : inner(inner), recorder(first, overwrite)
    {
    }

    void poll() override { inner.poll(); }
    const char* status() const override { return inner.status(); }
    bool startsGame() override { return inner.startsGame(); }
    bool clicked() override { return inner.clicked(); }
    PassFeed& feed() override
    {
        recorder.inner = &inner.feed();
        recorder.game = ++games;
        return recorder;
    }
    int endScreenSeconds() const override { return inner.endScreenSeconds(); }
    bool afterGame(const GameResult& result) override { return inner.afterGame(result); }
    void quitting() override { inner.quitting(); }

private:
    Session& inner;
    int games = 0;
    RecordingFeed recorder;
};

class ReplayFeed : public PassFeed {
public:
    explicit ReplayFeed(const Recording& recording) : recording(recording) {}

    void begin(GameStart& start) override { start = recording.start; }
    bool gather(uint32_t pass, bool escape, PassInput& input) override
    {
        if (escape)
            stopped = true;
        else if (pass >= recording.passes.size())
            stopped = true; // the game should have ended by now: it played differently
        if (stopped)
            return false;
        unpackPass(recording.passes[pass], input);
        return true;
    }
    bool broken() const override { return stopped; }

private:
    const Recording& recording;
    bool stopped = false;
};

} // namespace

Session* recordEveryGame(Session& inner, const std::string& first, bool overwrite)
{
    return new RecordingSession(inner, first, overwrite);
}

PassFeed* recordingFeed(PassFeed& inner, const std::string& first)
{
    RecordingFeed* feed = new RecordingFeed(first, false);
    feed->inner = &inner;
    return feed;
}

PassFeed* replayFeed(const Recording& recording)
{
    return new ReplayFeed(recording);
}
