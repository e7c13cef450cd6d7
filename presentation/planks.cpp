#include "presentation/planks.h"

#include <allegro.h>
#include <algorithm>
#include <utility>

#include "presentation/looks.h"
#include "presentation/masked_copy.h"
#include "simulation/world.h"

// The longest stretch of rows [top, bottom) in which every frame of the sprite is solid from
// its left edge to its right. Only the game's kept art is known to be solid anywhere.
static std::pair<int, int> solidRows(const AnimatedSprite& sprite)
{
    std::pair<int, int> best{0, 0};
    int runTop = 0;
    for (int y = 0; y <= sprite.frameHeight; ++y) {
        bool solid = y < sprite.frameHeight;
        for (int f = 0; solid && f < std::max(sprite.frameCount, 1); ++f)
            solid = keptSolid(sprite.bitmap, y, f * sprite.frameWidth, (f + 1) * sprite.frameWidth);
        if (!solid) {
            if (y - runTop > best.second - best.first)
                best = {runTop, y};
            runTop = y + 1;
        }
    }
    return best;
}

std::vector<int> uncoveredRows(const std::vector<ShownObstacle>& bridges, int pictureW, int pictureH)
{
    std::vector<std::pair<int, int>> covered;
    const Looks looks = findLooks();
    for (const ShownObstacle& bridge : bridges) {
        if (!looks.kinds[bridge.kind])
            continue;
        const AnimatedSprite& s = *looks.kinds[bridge.kind];
        const int left = static_cast<int>(bridge.x) - s.hotX;
        const std::pair<int, int> solid = solidRows(s);
        if (left > 0 || left + s.frameWidth < pictureW || solid.first >= solid.second)
            continue;
        const int top = static_cast<int>(bridge.y) - s.hotY;
        covered.push_back({top + solid.first, top + solid.second});
    }
    std::sort(covered.begin(), covered.end());
    std::vector<int> rows;
    int from = 0;
    for (const auto& band : covered) {
        if (band.first > from)
            rows.insert(rows.end(), {from, std::min(band.first, pictureH)});
        from = std::max(from, band.second);
    }
    if (from < pictureH)
        rows.insert(rows.end(), {from, pictureH});
    return rows;
}
