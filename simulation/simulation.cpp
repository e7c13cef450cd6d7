#include "simulation/simulation.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "simulation/fnv.h"

void startWorld(World& world, const GameSetup& setup, const GameStart& start)
{
    world = World();
    world.random = seededRandom(start.seed);
    world.lastSpawnTick = start.lastSpawnTick;
    world.prevRiderHeightSign = start.prevRiderHeightSign;
    world.riders[0].x = static_cast<float>((SCREEN_WIDTH - 200) / 4 + 100);
    world.riders[1].x = static_cast<float>(((SCREEN_WIDTH - 200) * 3) / 4 + 100);
    world.riders[1].index = 1;
    for (int i = 0; i < 2; ++i) {
        std::memcpy(world.names[i], setup.riders[i].name, sizeof world.names[i]);
        world.names[i][sizeof world.names[i] - 1] = '\0';
    }
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
    for (const ObstacleState& o : lane) {
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
    const char* name = result.decided ? result.names[result.winner % 2] : "none";
    std::snprintf(line, sizeof line, "winner %s steps %" PRIu32 " state %016" PRIx64, name,
                  result.steps, result.state.whole());
    return line;
}
