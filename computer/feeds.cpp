#include <allegro.h>
#include <memory>

#include "simulation/feed.h"
#include "computer/computer.h"

namespace {

class ComputerFeed : public PassFeed {
public:
    ComputerFeed(PassFeed& inner, const bool rides[2]) : inner(inner), rides{rides[0], rides[1]} {}

    void begin(GameStart& start) override
    {
        inner.begin(start);
        for (int i = 0; i < 2; ++i)
            computers[i].reset(rides[i] ? new ComputerRider(i) : nullptr);
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
    explicit ComputerSession(bool gamepads) : player(gamepads), computer(player, berto) {}
    PassFeed& feed() override { return computer; }

private:
    static constexpr bool berto[2] = {false, true};
    PlayerFeed player;
    ComputerFeed computer;
};

class DemoSession : public Session {
public:
    DemoSession() : computer(watcher, both) {}
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
    ComputerFeed computer;
    bool playing = true;
};

}  // namespace

PassFeed* computerFeed(PassFeed& inner, const bool rides[2])
{
    return new ComputerFeed(inner, rides);
}

Session* computerSession(bool gamepads)
{
    return new ComputerSession(gamepads);
}

Session* demoSession()
{
    return new DemoSession;
}
