#include <cstdio>
#include <memory>
#include <sys/stat.h>

#include "simulation/identity.h"
#include "simulation/feed.h"
#include "recording/recording.h"

std::string recordingPath(const std::string& first, int game)
{
    if (game <= 1)
        return first;
    const size_t slash = first.rfind('/');
    size_t dot = first.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1)
        dot = first.size();
    for (int n = game;; ++n) {
        const std::string path = first.substr(0, dot) + "-" + std::to_string(n) + first.substr(dot);
        struct stat info;
        if (stat(path.c_str(), &info) != 0)
            return path;
    }
}

namespace {

class RecordingFeed : public PassFeed {
public:
    PassFeed* inner = nullptr;
    std::string path;

    void begin(GameStart& start) override
    {
        inner->begin(start);
        recording = Recording();
        recording.build = buildIdentity();
        recording.start = start;
        recording.geometry = currentGeometry();
    }
    bool gather(uint32_t pass, bool escape, PassInput& input) override
    {
        if (!inner->gather(pass, escape, input))
            return false;
        recording.passes.push_back(packPass(input));
        return true;
    }
    void started(const World& world) override { inner->started(world); }
    void stepped(uint32_t pass, const PassInput& input, const World& world) override
    {
        inner->stepped(pass, input, world);
    }
    void ended(const GameResult& result) override
    {
        inner->ended(result);
        // A game cut short from outside (the other machine gone) is saved as left at the
        // pass it stopped at, so it plays back to the same state.
        if (recording.passes.size() == result.steps) {
            PassInput leave;
            leave.leave = true;
            recording.passes.push_back(packPass(leave));
        }
        recording.finalState = result.state.whole();
        const std::string error = saveRecording(path, recording);
        if (error.empty())
            std::printf("%s: %s\n", path.c_str(), resultLine(result).c_str());
        else
            std::fprintf(stderr, "riverduel: the game was not recorded: %s\n", error.c_str());
        std::fflush(stdout);
    }
    bool broken() const override { return inner->broken(); }
    void waiting() override { inner->waiting(); }

private:
    Recording recording;
};

class RecordingSession : public Session {
public:
    RecordingSession(Session& inner, const std::string& first) : inner(inner), first(first) {}

    void poll() override { inner.poll(); }
    const char* status() const override { return inner.status(); }
    bool startsGame() override { return inner.startsGame(); }
    bool clicked() override { return inner.clicked(); }
    PassFeed& feed() override
    {
        recorder.inner = &inner.feed();
        recorder.path = recordingPath(first, ++games);
        return recorder;
    }
    int endScreenSeconds() const override { return inner.endScreenSeconds(); }
    bool afterGame(const GameResult& result) override { return inner.afterGame(result); }
    void quitting() override { inner.quitting(); }

private:
    Session& inner;
    std::string first;
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

Session* recordEveryGame(Session& inner, const std::string& firstPath)
{
    return new RecordingSession(inner, firstPath);
}

PassFeed* recordingFeed(PassFeed& inner, const std::string& path)
{
    RecordingFeed* feed = new RecordingFeed;
    feed->inner = &inner;
    feed->path = path;
    return feed;
}

PassFeed* replayFeed(const Recording& recording)
{
    return new ReplayFeed(recording);
}
