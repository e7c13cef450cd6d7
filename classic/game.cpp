#include "classic/game.h"

#include <allegro.h>
#include <cstring>

#include "classic/collision.h"
#include "classic/lanes.h"
#include "classic/live.h"
#include "classic/random.h"
#include "classic/rider.h"
#include "classic/world.h"

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


StateHash hashGame(const ObstacleLanes& lanes)
{
    World world;
    captureWorld(world, &lanes);
    StateHash hash = hashWorld(world);
    hash.random = hashRandom();
    return hash;
}

