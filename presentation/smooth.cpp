#include "presentation/smooth.h"

#include <allegro.h>
#include <cmath>

#include "presentation/frame.h"
#include "presentation/scenery.h"
#include "simulation/world.h"

static float between(float a, float b, float f)
{
    return static_cast<float>(a + (static_cast<double>(b) - a) * f);
}

// Obstacles only drift down, each keeping its column and its phase: its next place is the
// nearest one below it with both, not yet taken by another.
static void blendShown(const std::vector<ShownObstacle>& now, const std::vector<ShownObstacle>& ahead,
                       float f, float drift, std::vector<ShownObstacle>& out)
{
    out = now;
    std::vector<bool> taken(ahead.size(), false);
    for (ShownObstacle& o : out) {
        int next = -1;
        for (size_t i = 0; i < ahead.size(); ++i) {
            const ShownObstacle& a = ahead[i];
            if (taken[i] || a.x != o.x || a.phase != o.phase || a.kind != o.kind || a.y < o.y)
                continue;
            if (next < 0 || a.y < ahead[next].y)
                next = static_cast<int>(i);
        }
        if (next >= 0) {
            taken[next] = true;
            o.y = between(o.y, ahead[next].y, f);
        } else {
            o.y = static_cast<float>(o.y + static_cast<double>(drift) * f);
        }
    }
}

void blendWorld(const World& now, const World& ahead, float f, World& out)
{
    out = now;
    for (int i = 0; i < 2; ++i) {
        out.riders[i].x = between(now.riders[i].x, ahead.riders[i].x, f);
        out.riders[i].height = between(now.riders[i].height, ahead.riders[i].height, f);
    }
    blendShown(now.shownLower, ahead.shownLower, f, now.riverSpeed, out.shownLower);
    blendShown(now.shownBridges, ahead.shownBridges, f, now.riverSpeed, out.shownBridges);
}

// Where a scroll that has just moved on by `step` stood `f` of a step after its last picture.
static float scrolledBack(float offset, double step, float f, int size)
{
    const double at = std::fmod(offset - step * (1.0 - f), size);
    return static_cast<float>(at < 0.0 ? at + size : at);
}

void drawBetween(const World& w, float f, BITMAP* dest)
{
    const float waterAfter = water.scrollOffset;
    const float banksAfter = banks.scrollOffset;
    if (water.textureHeight > 0)
        water.scrollOffset = scrolledBack(waterAfter, static_cast<double>(water.flowSpeed) + w.riverSpeed, f,
                                          water.textureHeight);
    banks.scrollOffset = scrolledBack(banksAfter, w.riverSpeed, f, SCREEN_H);
    drawWorld(w, dest);
    water.scrollOffset = waterAfter;
    banks.scrollOffset = banksAfter;
}
