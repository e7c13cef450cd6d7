#include "simulation/simulation.h"

#include <allegro.h>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "app/clock.h"
#include "app/game.h"
#include "obstacles/lanes.h"
#include "presentation/frame.h"
#include "riders/collision.h"
#include "riders/rider.h"
#include "simulation/fnv.h"
#include "simulation/random_state.h"

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

bool stepPass(ObstacleLanes& lanes, const PassInput& input, bool draw)
{
    const uint32_t now = ticks;
    if (now < 10)
        riverSpeed = rampSpeed(now);
    if (gameOver) {
        riverSpeed = static_cast<float>(static_cast<double>(riverSpeed) - 0.1);
        if (riverSpeed <= 0.0f)
            return false;
    }
    updateRiders(input.riders);
    if (rand() % 10 == 0)
        lanes.spawnObstacle();
    if (draw) {
        renderFrame(lanes);
    } else {
        lanes.updateLowerLanes(nullptr, riders);
        lanes.updateBridgeLane(nullptr, riders);
    }
    return true;
}

static uint64_t hashRider(uint64_t h, const Rider& r)
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
    const AnimatedSprite* bodies[4] = {&r.surfaceSprite, &r.submergedSprite, &r.airborneSprite,
                                       &r.windUpSprite};
    int body = -1;
    for (int i = 0; i < 4; ++i)
        if (r.currentSprite == bodies[i])
            body = i;
    return mix(h, body);
}

static uint64_t hashLanes(const ObstacleLanes& lanes)
{
    uint64_t h = fnv1a(nullptr, 0);
    for (const auto& lane : lanes.lanes) {
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
    }
    return h;
}

StateHash hashGame(const ObstacleLanes& lanes)
{
    StateHash hash;
    uint64_t h = fnv1a(nullptr, 0);
    h = mix(h, ticks.load());
    h = mix(h, riverSpeed);
    h = mix(h, gameOver);
    // Until a game is decided, `winner` still holds the last game's, which nothing reads.
    h = mix(h, gameOver ? winner : uint8_t{0});
    h = mix(h, lastSpawnTick);
    h = mix(h, prevRiderHeightSign);
    hash.clock = h;
    hash.riders = hashRider(hashRider(fnv1a(nullptr, 0), *riders[0]), *riders[1]);
    hash.lanes = hashLanes(lanes);
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
