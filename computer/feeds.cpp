#include <allegro.h>
#include <string>
#include <memory>

#include "classic/session.h"
#include "input/gamepad.h"
#include "simulation/feed.h"
#include "computer/computer.h"

namespace {

class ComputerFeed : public PassFeed {
public:
    ComputerFeed(PassFeed& inner, const bool rides[2], const int levels[2])
        : inner(inner), rides{rides[0], rides[1]}, levels{levels[0], levels[1]}
    {
    }

    void begin(GameStart& start) override
    {
        inner.begin(start);
        for (int i = 0; i < 2; ++i)
            computers[i].reset(rides[i] ? new ComputerRider(i, levels[i], start.seed) : nullptr);
    }
    void started(const World& world) override
    {
        seen = &world;
        inner.started(world);
    }
    bool gather(uint32_t pass, bool escape, PassInput& input) override
    {
        if (!inner.gather(pass, escape, input))
            return false;
        for (int i = 0; i < 2; ++i)
            if (computers[i])
                input.riders[i] = computers[i]->decide(*seen);
        return true;
    }
    void stepped(uint32_t pass, const PassInput& input, const World& world) override
    {
        seen = &world;
        inner.stepped(pass, input, world);
    }
    void ended(const GameResult& result) override { inner.ended(result); }
    bool broken() const override { return inner.broken(); }
    void waiting() override { inner.waiting(); }

private:
    PassFeed& inner;
    bool rides[2];
    int levels[2];
    std::unique_ptr<ComputerRider> computers[2];
    const World* seen = nullptr;
};

// One person's inputs for Rudko; ESC leaves.
class PlayerFeed : public PassFeed {
public:
    explicit PlayerFeed(bool gamepads) : gamepads(gamepads) {}
    bool gather(uint32_t, bool escape, PassInput& input) override
    {
        input.riders[0] = playerInput(gamepads);
        input.leave = escape;
        return true;
    }

private:
    bool gamepads;
};

// Nobody plays; ESC or any other key leaves.
class WatcherFeed : public PassFeed {
public:
    bool gather(uint32_t, bool escape, PassInput& input) override
    {
        bool anyKey = keypressed();
        for (int k = 1; k < KEY_MODIFIERS && !anyKey; ++k)
            anyKey = key[k] != 0;
        clear_keybuf();
        input.leave = escape || anyKey;
        return true;
    }
};

class ComputerSession : public Session {
public:
    ComputerSession(bool gamepads, int level)
        : player(gamepads), levels{level, level}, computer(player, berto, levels),
          level("computer: level " + std::to_string(level) + " of " + std::to_string(HIGHEST_LEVEL))
    {
    }
    PassFeed& feed() override { return computer; }
    // The level, and the pads when there are any to tell of.
    const char* status() const override
    {
        const char* pads = gamepadStatus();
        line = pads ? level + "; " + pads : level;
        return line.c_str();
    }

private:
    static constexpr bool berto[2] = {false, true};
    PlayerFeed player;
    int levels[2];
    ComputerFeed computer;
    std::string level;
    mutable std::string line;
};

class DemoSession : public Session {
public:
    explicit DemoSession(int level) : levels{level, level}, computer(watcher, both, levels) {}
    bool startsGame() override { return playing; }
    bool clicked() override { return playing = true; }
    PassFeed& feed() override { return computer; }
    int endScreenSeconds() const override { return 4; }
    // A game that ran to its end, with its end screen left to time out, leads to the next.
    bool afterGame(const GameResult& result) override
    {
        playing = result.decided && !result.dismissed;
        return true;
    }

private:
    static constexpr bool both[2] = {true, true};
    WatcherFeed watcher;
    int levels[2];
    ComputerFeed computer;
    bool playing = true;
};

}  // namespace

PassFeed* computerFeed(PassFeed& inner, const bool rides[2], const int levels[2])
{
    return new ComputerFeed(inner, rides, levels);
}

PassFeed* computerFeed(PassFeed& inner, const bool rides[2])
{
    const int levels[2] = {DEFAULT_LEVEL, DEFAULT_LEVEL};
    return new ComputerFeed(inner, rides, levels);
}

Session* computerSession(bool gamepads, int level)
{
    return new ComputerSession(gamepads, level);
}

Session* demoSession(int level)
{
    return new DemoSession(level);
}
