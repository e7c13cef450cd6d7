#include <cstring>

#include "classic/lanes.h"
#include "classic/collision.h"
#include "classic/live.h"
#include "classic/rider.h"
#include "classic/random.h"
#include "simulation/world.h"

void captureWorld(World& w, const ObstacleLanes* lanes)
{
    w.ticks = ticks.load();
    w.riverSpeed = riverSpeed;
    w.gameOver = gameOver;
    w.winner = winner;
    w.lastSpawnTick = lastSpawnTick;
    w.prevRiderHeightSign = prevRiderHeightSign;
    for (int i = 0; i < 2; ++i) {
        w.riders[i] = stateOf(*riders[i]);
        std::memcpy(w.names[i], riders[i]->name, sizeof w.names[i]);
    }
    for (int k = 0; k < 4; ++k) {
        w.lanes[k].clear();
        if (lanes)
            w.lanes[k].assign(lanes->lanes[k].begin(), lanes->lanes[k].end());
        // Whatever sprite it was given, an obstacle of this lane shows as the lane's kind.
        for (ObstacleState& o : w.lanes[k])
            o.kind = static_cast<uint8_t>(k);
    }
    w.random = currentRandom();
}

void publishWorld(const World& w, ObstacleLanes* lanes)
{
    riverSpeed = w.riverSpeed;
    gameOver = w.gameOver;
    winner = w.winner;
    lastSpawnTick = w.lastSpawnTick;
    prevRiderHeightSign = w.prevRiderHeightSign;
    for (int i = 0; i < 2; ++i)
        putState(*riders[i], w.riders[i]);
    if (lanes)
        for (int k = 0; k < 4; ++k)
            lanes->lanes[k].assign(w.lanes[k].begin(), w.lanes[k].end());
    adoptRandom(w.random);
}
