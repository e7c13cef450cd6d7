#include "computer/model.h"

#include <algorithm>
#include <cmath>
#include <allegro.h>

#include "simulation/world.h"

namespace computer {

// The rider with its press moved from the game's ticks to the computer's clock.
static RiderState seen(const RiderState& rider, uint32_t clock, uint32_t now)
{
    RiderState body = rider;
    // The wind-up body shows from the pass the press was taken.
    body.actionPressTick = clock - std::min(now - rider.actionPressTick, EPOCH);
    return body;
}

// Looked at before pass `pass`, at the tick it will run at.
void look(const World& world, int self, int32_t pass, const Skill& skill, uint64_t seed,
          View& view)
{
    const uint32_t now = world.ticks;
    view.clock = EPOCH + static_cast<uint32_t>(pass);
    view.over = world.gameOver;
    view.screenW = SCREEN_WIDTH;
    for (int i = 0; i < 2; ++i)
        view.riders[i] = seen(world.riders[i], view.clock, now);
    view.prevSign = world.prevRiderHeightSign;
    view.count = 0;
    for (int kind = 0; kind < 4; ++kind) {
        for (const ObstacleState& o : world.lanes[kind]) {
            // Not on the screen yet, or below the riders' row, past touching anyone.
            if (o.y + o.height <= 0.0f || o.y >= 550.0f)
                continue;
            if (view.count == MAX_SEEN)
                break;
            Thing& t = view.things[view.count++];
            // The same obstacle all the way down: where it is across the river, its size and kind.
            const uint64_t key = (static_cast<uint64_t>(static_cast<int64_t>(o.x * 8.0f)) << 24) ^
                                 (static_cast<uint64_t>(o.width) << 8) ^ static_cast<uint64_t>(kind);
            t.x = o.x + skill.misjudge * Dice::about(seed, key);
            t.late = static_cast<int16_t>(std::lround(skill.mistime * Dice::about(seed, ~key)));
            t.y = o.y;
            t.speed = static_cast<float>(static_cast<double>(world.riverSpeed) + o.ownSpeed);
            t.width = static_cast<int16_t>(o.width);
            t.height = static_cast<int16_t>(o.height);
            t.damage = static_cast<int16_t>(o.damage);
            t.layerMask = static_cast<uint8_t>(o.layerMask);
            t.touched = o.hitRider[self] != 0;
        }
    }
}

}  // namespace computer
