// The game's named operations on the live globals (updateRiders(), the rider's own steps,
// spawnObstacle(), updateLowerLanes() and updateBridgeLane(), the obstacle's own tests) do
// what the world's rules do: the same scripted game stepped both ways stays alike pass by
// pass, with the same sounds at the same pitches.
#include <string>
#include <vector>

#include "classic/obstacle.h"
#include "classic/world.h"
#include "classic/game.h"
#include "audio/sound.h"
#include "classic/lanes.h"
#include "presentation/assets.h"
#include "classic/frame.h"
#include "presentation/frame.h"
#include "classic/collision.h"
#include "classic/live.h"
#include "classic/rider.h"
#include "simulation/simulation.h"
#include "world_fixture.h"

namespace world_test {
namespace {

SAMPLE** const SLOTS[14] = {&musicSample,    &jumpSample,  &landSample,   &emergeSample, &diveSample,
                            &logSample,      &rockSample,  &burgerSample, &bridgeSample, &bumpSamples[0],
                            &bumpSamples[1], &stompSample, &bankSample,   &gameEndSample};

// What the mixer was handed: slot and pitch of each sound, or the slot stopped.
std::vector<std::string>* mixed = nullptr;
std::string slotOf(SAMPLE* sample)
{
    for (int i = 0; i < 14; ++i)
        if (*SLOTS[i] == sample)
            return std::to_string(i);
    return "?";
}
void notePlay(SAMPLE* sample, int, int, int pitch, int loop)
{
    mixed->push_back(slotOf(sample) + " at " + std::to_string(pitch) + " loop " + std::to_string(loop));
}
void noteStop(SAMPLE* sample)
{
    mixed->push_back(slotOf(sample) + " stopped");
}

// The live game set from the fixture's world, and everything it touched put back after.
struct LiveGame : RiverTest {
    World saved;
    uint32_t savedTicks = ticks;
    Mixer savedMixer = mixer;
    SAMPLE* savedSamples[14];
    Rider savedRiders[2];
    bool created[2] = {false, false};
    std::vector<std::string> live, world; // the mixer's calls each way
    uint32_t script = 7;                  // the players' keys, apart from the game's generator

    void SetUp() override
    {
        RiverTest::SetUp();
        if (IsSkipped())
            return;
        for (int i = 0; i < 2; ++i) {
            created[i] = !riders[i];
            if (created[i])
                riders[i] = new Rider;
            savedRiders[i] = *riders[i];
        }
        captureWorld(saved, nullptr);
        setupGame(defaultGameSetup()); // the riders' keys; the rest comes from the world
        for (int i = 0; i < 14; ++i) {
            savedSamples[i] = *SLOTS[i];
            *SLOTS[i] = create_sample(16, 0, 22050, 10);
        }
        mixer = {notePlay, noteStop};
    }
    void TearDown() override
    {
        if (!IsSkipped()) {
            releaseAllInput();
            publishWorld(saved, nullptr);
            ticks = savedTicks;
            mixer = savedMixer;
            for (int i = 0; i < 14; ++i) {
                destroy_sample(*SLOTS[i]);
                *SLOTS[i] = savedSamples[i];
            }
            for (int i = 0; i < 2; ++i) {
                *riders[i] = savedRiders[i];
                if (created[i]) {
                    delete riders[i];
                    riders[i] = nullptr;
                }
            }
        }
        RiverTest::TearDown();
    }

    // The next pass's keys, random but the same both ways; pressed in key[] too.
    PassInput nextKeys()
    {
        PassInput pass;
        for (int i = 0; i < 2; ++i) {
            RiderInput& in = pass.riders[i];
            bool* const keys[3] = {&in.left, &in.right, &in.action};
            for (bool* k : keys) {
                script = script * 1103515245u + 12345u;
                *k = (script >> 16) % 3 == 0;
            }
            in.action = in.action || (script >> 20) % 8 < 6; // long holds reach the dive
            key[riders[i]->leftKey] = in.left;
            key[riders[i]->rightKey] = in.right;
            key[riders[i]->actionKey] = in.action;
        }
        return pass;
    }

    // Plays `passes` passes of a scripted game: the live globals through `liveStep`, the
    // world through `worldStep`, comparing the whole state and the sounds after each pass.
    template <class LiveStep, class WorldStep>
    void playBothWays(int passes, ObstacleLanes* lanes, LiveStep liveStep, WorldStep worldStep)
    {
        publishWorld(w, lanes);
        for (int pass = 0; pass < passes; ++pass) {
            ticks = w.ticks;
            const PassInput input = nextKeys();
            mixed = &live;
            liveStep(input);
            Cues cues;
            worldStep(input, cues);
            hear(cues);
            mixed = &world;
            playCues(cues);
            World now;
            captureWorld(now, lanes);
            const StateHash a = hashWorld(now), b = hashWorld(w);
            ASSERT_EQ(a, b) << "pass " << pass << ": " << firstDifference(a, b);
            ASSERT_EQ(live, world) << "pass " << pass;
            ++w.ticks;
        }
    }
};

// updateRiders() reading each rider's keys, and the rider's own steps one by one, step as
// the rules do; Rudko and Berto start close, so that they meet, jump, dive and hit the banks.
TEST_F(LiveGame, RiderOperationsStepAsTheRules)
{
    void (*const ways[2])(const PassInput&) = {
        [](const PassInput&) { updateRiders(); },
        [](const PassInput& in) {
            riders[0]->handleInput();
            riders[1]->handleInput(in.riders[1]);
            for (Rider* r : riders) {
                r->applyDrag();
                r->integrateVelocity();
            }
            resolveRiderCollision();
            riders[0]->move();
            riders[1]->move();
        },
    };
    a.x = 380.0f;
    b.x = 420.0f;
    const World start = w;
    for (auto way : ways) {
        w = start;
        script = 7;
        sounds.clear();
        playBothWays(600, nullptr, way, [&](const PassInput& in, Cues& cues) {
            Contest c = contest();
            cues.random = &w.random;
            rules::stepRiders(a, b, in.riders, c, cues);
        });
        for (const char* event : {"jump", "land", "dive", "emerge", "bump", "stomp", "bank"})
            EXPECT_NE(sounds.find(event), std::string::npos) << event << " never heard";
    }
}

// The game loop as it was before the world: the slow-down once decided, riders, a spawn one
// pass in ten, then the obstacles through the lane updates or through renderFrame, all on the
// live globals, beside stepWorld on the cruising river, until the game has stopped. Hit sounds
// draw their pitches from the generator, so a game whose draws go astray parts at once.
TEST_F(LiveGame, SpawnObstacleAndTheLaneUpdatesStepAsTheWorld)
{
    BITMAP* canvas = create_bitmap(800, 600);
    BITMAP* const savedBack = backBuffer;
    backBuffer = canvas;
    const World start = w;
    for (const bool frames : {false, true}) {
        SCOPED_TRACE(frames ? "renderFrame" : "lane updates");
        ObstacleLanes lanes;
        w = start;
        w.riverSpeed = 14.815228f;
        script = 7;
        sounds.clear();
        live.clear();
        world.clear();
        playBothWays(
            1200, &lanes,
            [&](const PassInput& in) {
                if (gameOver) {
                    riverSpeed = static_cast<float>(static_cast<double>(riverSpeed) - 0.1);
                    if (riverSpeed <= 0.0f)
                        return;
                }
                updateRiders(in.riders);
                if (rand() % 10 == 0)
                    lanes.spawnObstacle();
                if (frames) {
                    renderFrame(lanes);
                    return;
                }
                lanes.updateLowerLanes(canvas, riders);
                lanes.updateBridgeLane(canvas, riders);
            },
            [&](const PassInput& in, Cues& cues) { stepWorld(w, in, cues); });
        EXPECT_LE(riverSpeed, 0.0f) << "the game was decided and slowed to a stop";
        for (const char* event : {"rock", "log", "burger", "bridge", "game-end"})
            EXPECT_NE(sounds.find(event), std::string::npos) << event << " never heard";
    }
    backBuffer = savedBack;
    destroy_bitmap(canvas);
}

// The obstacle's own move, test and hit on the live riders are the rules' on their states.
TEST_F(LiveGame, ObstacleOwnOperationsAreTheRules)
{
    publishWorld(w, nullptr);
    riverSpeed = 14.8f;
    ticks = 4242;
    for (int kind = 0; kind < 4; ++kind) {
        for (float y : {340.0f, 400.0f, 560.0f, 640.0f, 690.0f}) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " at " << y);
            Obstacle o = make(kind, kind == KIND_BRIDGE ? 0.0f : 200.0f, y), copy = o;
            riders[0]->state = kind == KIND_BRIDGE ? STATE_AIRBORNE : STATE_SURFACE;
            RiderState r = stateOf(*riders[0]);
            o.move();
            rules::moveDown(copy, 14.8f);
            EXPECT_EQ(o.y, copy.y);
            EXPECT_EQ(o.isGone(), rules::gone(copy, 600));
            EXPECT_EQ(o.hits(*riders[0]), rules::touches(copy, r));
            EXPECT_EQ(o.hitRider[0], copy.hitRider[0]);
        }
    }
    Obstacle rock = make(KIND_ROCK, 0.0f, 0.0f);
    RiderState before = stateOf(*riders[1]);
    mixed = &live;
    applyHit(1, rock, riders);
    rule([&](Contest&, Cues& cues) { rules::hit(before, rock, 4242, cues); });
    EXPECT_EQ(describe(stateOf(*riders[1])), describe(before));
    EXPECT_EQ(before.health, 190);
    EXPECT_EQ(live.size(), 1u);
    EXPECT_EQ(sounds, "rock");
}

// Each obstacle is drawn where it stood before it moved: rocks, logs and burgers in that
// order, then the shadows 20 pixels under the bridges (rows truncated toward zero, none
// without a shadow image), and the bridges over them with the bridge lane.
TEST_F(LiveGame, LaneUpdatesDrawWhereEachObstacleStoodAndShadowsUnderTheBridges)
{
    publishWorld(w, nullptr);
    BITMAP* canvas = create_bitmap(800, 600);
    BITMAP* shadow = create_bitmap(800, 50);
    const int dark = makecol(1, 2, 3);
    clear_to_color(shadow, dark);
    BITMAP* const savedShadow = bridgeShadowBitmap;
    riverSpeed = 14.8f;
    ticks = 900; // a whole cycle of every strip: first frames showing
    struct Pixel {
        int x, y, colour;
    };
    const int rock = colourOf(KIND_ROCK, 0), log = colourOf(KIND_LOG, 0);
    const int burger = colourOf(KIND_BURGER, 0), bridge = colourOf(KIND_BRIDGE, 0);
    const struct {
        bool lower; // a rock, a log and a burger overlapping, and a bridge over the burger
        std::vector<float> bridges;
        BITMAP* shadow;
        std::vector<Pixel> afterLower, afterBridges;
    } scenes[] = {
        {true, {150.0f}, shadow, {{350, 100, rock}, {450, 120, log}, {310, 165, burger}, {310, 170, dark}}, {}},
        {false,
         {200.7f, -60.5f},
         shadow,
         {{400, 219, 0}, {400, 220, dark}, {0, 269, dark}, {799, 269, dark}, {400, 270, 0}, {400, 9, dark},
          {400, 10, 0}},
         {{400, 200, bridge}, {400, 259, bridge}, {400, 260, dark}, {400, 199, 0}}},
        {false, {100.0f}, nullptr, {{400, 130, 0}}, {{400, 130, bridge}}},
    };
    for (const auto& scene : scenes) {
        SCOPED_TRACE(scene.bridges[0]);
        clear_to_color(canvas, 0);
        bridgeShadowBitmap = scene.shadow;
        ObstacleLanes lanes;
        for (int k = 0; k < 3 && scene.lower; ++k)
            lanes.lanes[k].push_back(make(k, 300.0f, 100.0f + 20.0f * k));
        for (float y : scene.bridges)
            lanes.lanes[KIND_BRIDGE].push_back(make(KIND_BRIDGE, 0.0f, y));
        lanes.updateLowerLanes(canvas, riders);
        for (const Pixel& p : scene.afterLower)
            EXPECT_EQ(getpixel(canvas, p.x, p.y), p.colour) << p.x << ", " << p.y;
        lanes.updateBridgeLane(canvas, riders);
        for (const Pixel& p : scene.afterBridges)
            EXPECT_EQ(getpixel(canvas, p.x, p.y), p.colour) << p.x << ", " << p.y;
    }
    bridgeShadowBitmap = savedShadow;
    destroy_bitmap(shadow);
    destroy_bitmap(canvas);
}

} // namespace
} // namespace world_test
