#include "simulation/simulation.h"

#include <allegro.h>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "obstacles/lanes.h"
#include "riders/collision.h"
#include "riders/live.h"
#include "riders/rider.h"
#include "simulation/fnv.h"
#include "simulation/random_state.h"

GameSetup defaultGameSetup()
{
    GameSetup setup{};
    std::strcpy(setup.riders[0].name, "Rudko");
    setup.riders[0].leftKey = KEY_A;
    setup.riders[0].rightKey = KEY_D;
    setup.riders[0].actionKey = KEY_S;
    std::strcpy(setup.riders[1].name, "Berto");
    setup.riders[1].leftKey = KEY_LEFT;
    setup.riders[1].rightKey = KEY_RIGHT;
    setup.riders[1].actionKey = KEY_DOWN;
    return setup;
}

void setupGame(const GameSetup& setup)
{
    riverSpeed = 0.0f;
    gameOver = false;
    riders[0]->reset();
    riders[1]->reset();
    riders[0]->x = static_cast<float>((SCREEN_WIDTH - 200) / 4 + 100);
    riders[1]->x = static_cast<float>(((SCREEN_WIDTH - 200) * 3) / 4 + 100);
    for (int i = 0; i < 2; ++i) {
        const RiderSetup& from = setup.riders[i];
        std::memcpy(riders[i]->name, from.name, sizeof riders[i]->name);
        riders[i]->name[sizeof riders[i]->name - 1] = '\0';
        riders[i]->leftKey = from.leftKey;
        riders[i]->rightKey = from.rightKey;
        riders[i]->actionKey = from.actionKey;
    }
    riders[1]->index = 1;
}

GameStart currentStart(uint32_t seed)
{
    GameStart start;
    start.seed = seed;
    start.lastSpawnTick = lastSpawnTick;
    start.prevRiderHeightSign = prevRiderHeightSign;
    return start;
}

void beginGame(const GameSetup& setup, const GameStart& start)
{
    ticks = 0;
    seedRandom(start.seed);
    lastSpawnTick = start.lastSpawnTick;
    prevRiderHeightSign = start.prevRiderHeightSign;
    setupGame(setup);
}

void startWorld(World& world, const GameSetup& setup, const GameStart& start)
{
    beginGame(setup, start);
    captureWorld(world, nullptr);
    world.ticks = 0;
}

static uint64_t hashRider(uint64_t h, const RiderState& r)
{
    h = mix(h, r.height);
    h = mix(h, r.verticalSpeed);
    h = mix(h, r.x);
    h = mix(h, r.velocity);
    h = mix(h, r.acceleration);
    h = mix(h, r.mass);
    h = mix(h, r.health);
    h = mix(h, r.index);
    h = mix(h, r.state);
    h = mix(h, r.blinkUntil);
    h = mix(h, r.actionHeld);
    h = mix(h, r.actionPressTick);
    return mix(h, static_cast<int>(r.body));
}

template <class Lane>
static uint64_t hashLane(uint64_t h, const Lane& lane)
{
    h = mix(h, static_cast<uint32_t>(lane.size()));
    for (const Obstacle& o : lane) {
        h = mix(h, o.y);
        h = mix(h, o.ownSpeed);
        h = mix(h, o.phase);
        h = mix(h, o.damage);
        h = mix(h, o.hitRider[0]);
        h = mix(h, o.hitRider[1]);
        h = mix(h, o.sound);
        h = mix(h, o.height);
        h = mix(h, o.x);
        h = mix(h, o.width);
        h = mix(h, o.layerMask);
    }
    return h;
}

StateHash hashWorld(const World& w)
{
    StateHash hash;
    uint64_t h = fnv1a(nullptr, 0);
    h = mix(h, w.ticks);
    h = mix(h, w.riverSpeed);
    h = mix(h, w.gameOver);
    // Until a game is decided, `winner` still holds the last game's, which nothing reads.
    h = mix(h, w.gameOver ? w.winner : uint8_t{0});
    h = mix(h, w.lastSpawnTick);
    h = mix(h, w.prevRiderHeightSign);
    hash.clock = h;
    hash.riders = hashRider(hashRider(fnv1a(nullptr, 0), w.riders[0]), w.riders[1]);
    h = fnv1a(nullptr, 0);
    for (const auto& lane : w.lanes)
        h = hashLane(h, lane);
    hash.lanes = h;
    hash.random = fnv1a(w.random.words, sizeof w.random.words);
    return hash;
}

StateHash hashGame(const ObstacleLanes& lanes)
{
    World world;
    captureWorld(world, &lanes);
    StateHash hash = hashWorld(world);
    hash.random = hashRandom();
    return hash;
}

uint64_t StateHash::whole() const
{
    const uint64_t parts[4] = {clock, riders, lanes, random};
    return fnv1a(parts, sizeof parts);
}

const char* firstDifference(const StateHash& a, const StateHash& b)
{
    if (a.clock != b.clock)
        return "clock";
    if (a.riders != b.riders)
        return "riders";
    if (a.lanes != b.lanes)
        return "lanes";
    if (a.random != b.random)
        return "random";
    return "";
}

std::string resultLine(const GameResult& result)
{
    char line[96];
    const char* name = result.decided && riders[result.winner] ? riders[result.winner]->name : "none";
    std::snprintf(line, sizeof line, "winner %s steps %" PRIu32 " state %016" PRIx64, name,
                  result.steps, result.state.whole());
    return line;
}
