#pragma once
// Small worlds built in code for the rules' tests: Rudko at 250 and Berto at 550 on the water
// at tick 1000, obstacles put into the lanes by hand, the world's own generator; stepped pass
// by pass with scripted inputs and heard through the cues the rules hand back.
#include <gtest/gtest.h>

#include <allegro.h>
#include <sstream>
#include <string>

#include "classic/obstacle.h"
#include "harness.h"
#include "obstacles/rules.h"
#include "simulation/world.h"

namespace world_test {

const RiderInput NONE{};
const RiderInput LEFT{true, false, false};
const RiderInput RIGHT{false, true, false};
const RiderInput ACTION{false, false, true};

// Every field of a rider, so that whole states compare in one line.
inline std::string describe(const RiderState& r)
{
    std::ostringstream out;
    out << "x " << r.x << " v " << r.velocity << " a " << r.acceleration << " h " << r.height
        << " vs " << r.verticalSpeed << " m " << r.mass << " hp " << r.health << " state "
        << int(r.state) << " body " << int(r.body) << " blink " << r.blinkUntil << " held "
        << r.actionHeld << " pressed " << r.actionPressTick << " i " << int(r.index);
    return out.str();
}

// The cues' events by name, in order ("stop-music" for the music's stop). Every pitch is
// checked on the way: one of the seven steps, or 1000 for the music and the end of a game.
inline std::string heard(const Cues& cues)
{
    static const char* const names[] = {"music", "jump",   "land",   "emerge", "dive",
                                        "log",   "rock",   "burger", "bridge", "bump",
                                        "stomp", "bank",   "game-end"};
    std::string out;
    for (int i = 0; i < cues.count; ++i) {
        const Cue& c = cues.list[i];
        out += std::string(out.empty() ? "" : " ") + (c.stop ? "stop-" : "") + names[c.event];
        const bool plain = c.event == SND_MUSIC || c.event == SND_GAME_END;
        const int pitch = c.stop ? 0 : plain ? 1000 : -1;
        if (pitch >= 0 ? c.pitch != pitch : c.pitch < 925 || c.pitch > 1075 || c.pitch % 25)
            ADD_FAILURE() << names[c.event] << " at pitch " << c.pitch;
        if (c.variant != 0 && !(c.event == SND_BUMP && c.variant == 1))
            ADD_FAILURE() << names[c.event] << " as variant " << int(c.variant);
    }
    return out;
}

struct WorldTest : ::testing::Test {
    World w;
    RiderState& a = w.riders[0];
    RiderState& b = w.riders[1];
    std::string sounds; // every cue heard so far, in order

    WorldTest()
    {
        w.ticks = 1000;
        a.x = 250.0f;
        b.x = 550.0f;
        b.index = 1;
    }

    // The rules' view of the world's decision, on the 800-pixel river.
    Contest contest() { return Contest{w.ticks, w.gameOver, w.winner, w.prevRiderHeightSign, 800}; }

    void hear(const Cues& cues)
    {
        const std::string now = heard(cues);
        if (!now.empty())
            sounds += (sounds.empty() ? "" : " ") + now;
    }

    // Runs one rule at the current tick with the world's generator, and hears its cues.
    template <class Rule>
    void rule(Rule&& run)
    {
        Cues cues;
        cues.random = &w.random;
        Contest c = contest();
        run(c, cues);
        hear(cues);
    }

    // One rider's keys alone at the current tick.
    void press(RiderState& r, RiderInput in)
    {
        rule([&](Contest& c, Cues& cues) { rules::handleInput(r, in, c.now, c.gameOver, cues); });
    }

    // Both riders' step at the current tick, then the clock on by one.
    void step(RiderInput first = NONE, RiderInput second = NONE)
    {
        const RiderInput inputs[2] = {first, second};
        rule([&](Contest& c, Cues& cues) { rules::stepRiders(a, b, inputs, c, cues); });
        ++w.ticks;
    }
};

const int BRIDGE_HEIGHT = 60;

// Frame f of kind k is filled with colourOf(k, f), so a pixel tells what was drawn.
inline int colourOf(int kind, int frame)
{
    return makecol(40 + 50 * kind, 10 + 30 * frame, 200);
}

// A world with a river: the game's four kinds (their sizes and rules as the game sets them)
// drawn as strips of plain colours, in obstacleKinds while the test runs.
struct RiverTest : WorldTest {
    ObstacleKind saved[4] = {obstacleKinds[0], obstacleKinds[1], obstacleKinds[2], obstacleKinds[3]};

    void SetUp() override
    {
        if (!haveScreen())
            FAIL() << "no 800 x 600 screen: the unit tests run under tests/e2e/xvfb.sh";
        static BITMAP* strips[4] = {};
        const int frames[4] = {3, 4, 1, 1}, widths[4] = {100, 200, 50, 800};
        const int heights[4] = {100, 100, 50, BRIDGE_HEIGHT};
        for (int k = 0; k < 4; ++k) {
            if (!strips[k]) {
                strips[k] = create_bitmap(widths[k] * frames[k], heights[k]);
                for (int f = 0; f < frames[k]; ++f)
                    rectfill(strips[k], f * widths[k], 0, (f + 1) * widths[k] - 1, heights[k] - 1,
                             colourOf(k, f));
            }
            setObstacleKind(k, strips[k], BRIDGE_HEIGHT);
        }
    }
    void TearDown() override
    {
        for (int k = 0; k < 4; ++k)
            obstacleKinds[k] = saved[k];
    }

    // An obstacle of the kind, put where the test wants it.
    static Obstacle make(int kind, float x, float y, int phase = 0)
    {
        ObstacleKind& k = obstacleKinds[kind];
        Obstacle o(&k.sprite, k.layerMask, k.damage, k.ownSpeed, phase, k.sound);
        o.x = x;
        o.y = y;
        return o;
    }
    ObstacleState& put(int kind, float x, float y)
    {
        w.lanes[kind].push_back(make(kind, x, y));
        return w.lanes[kind].back();
    }

    // The obstacles' part of the pass at the current tick, then the clock on by one.
    void flow()
    {
        rule([&](Contest&, Cues& cues) { moveObstacles(w, cues); });
        ++w.ticks;
    }
};

} // namespace world_test
