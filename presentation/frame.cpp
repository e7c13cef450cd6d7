#include "presentation/frame.h"

#include <allegro.h>
#include <algorithm>

#include "presentation/assets.h"
#include "presentation/display.h"
#include "presentation/draw.h"
#include "presentation/looks.h"
#include "presentation/masked_copy.h"
#include "presentation/planks.h"
#include "presentation/scenery.h"
#include "simulation/world.h"

BITMAP* backBuffer = nullptr;

static void drawShown(BITMAP* dest, const Looks& looks, const ShownObstacle& o)
{
    if (AnimatedSprite* sprite = looks.kinds[o.kind])
        sprite->drawPhase(dest, static_cast<int>(o.x), static_cast<int>(o.y),
                          static_cast<uint32_t>(o.phase));
}

void drawBridgeShadow(BITMAP* dest, float bridgeY)
{
    if (!bridgeShadowBitmap)
        return;
    const int sy = static_cast<int>(static_cast<double>(bridgeY) + 20.0);
    maskedCopy(bridgeShadowBitmap, dest, 0, 0, 0, sy, SCREEN_W, bridgeShadowBitmap->h);
}

// Calls `draw` with `dest` clipped to each [top, bottom) stretch of `rows` in turn, then
// clipped as before.
template <class Draw>
static void inRows(BITMAP* dest, const std::vector<int>& rows, Draw draw)
{
    int x1, y1, x2, y2;
    get_clip_rect(dest, &x1, &y1, &x2, &y2);
    const int clipped = get_clip_state(dest);
    const int left = clipped ? x1 : 0;
    const int right = clipped ? x2 : dest->w - 1;
    for (size_t i = 0; i + 1 < rows.size(); i += 2) {
        set_clip_rect(dest, left, clipped ? std::max(y1, rows[i]) : rows[i], right,
                      clipped ? std::min(y2, rows[i + 1] - 1) : rows[i + 1] - 1);
        draw();
    }
    set_clip_rect(dest, x1, y1, x2, y2);
    set_clip_state(dest, clipped);
}

// The water and the banks in the rows the bridges' planks leave to be seen; then their scroll
// moves on by one pass, once.
static void drawScenery(BITMAP* dest, float riverSpeed, const std::vector<int>& rows)
{
    const float waterAt = water.scrollOffset;
    const float banksAt = banks.scrollOffset;
    inRows(dest, rows, [&] {
        water.scrollOffset = waterAt;
        banks.scrollOffset = banksAt;
        water.draw(dest, 4, 5, 50, 0, riverSpeed);
        banks.draw(dest, riverSpeed);
    });
}

// Riders go in three depths around the obstacles: dived riders under rocks, logs and burgers;
// floating riders over those but under bridges; jumping riders over everything. Within a layer
// the higher rider ends on top; on a tie the first rider does. A dived rider is drawn before the
// obstacles touch it, so it blinks as it did before they did.
void drawWorld(const World& w, BITMAP* dest)
{
    const int order[2] = {w.riders[0].height < w.riders[1].height ? 0 : 1,
                          w.riders[0].height < w.riders[1].height ? 1 : 0};
    const uint32_t now = w.ticks;
    const SpriteTime animated(now);
    const Looks looks = findLooks();

    std::vector<int> seen = uncoveredRows(w.shownBridges, dest->w, dest->h);
    if (seen.empty())
        seen = {0, 0};
    drawScenery(dest, w.riverSpeed, seen);

    for (int i : order)
        if (w.riders[i].state == STATE_SUBMERGED)
            drawRider(dest, looks.riders[i], w.riders[i], w.blinkBeforeLanes[i], now);
    for (const ShownObstacle& o : w.shownLower)
        drawShown(dest, looks, o);
    inRows(dest, seen, [&] {
        for (const ShownObstacle& bridge : w.shownBridges)
            drawBridgeShadow(dest, bridge.y);
    });

    for (int i : order)
        if (w.riders[i].state == STATE_SURFACE)
            drawRider(dest, looks.riders[i], w.riders[i], w.riders[i].blinkUntil, now);
    for (const ShownObstacle& o : w.shownBridges)
        drawShown(dest, looks, o);

    for (int i : order)
        if (w.riders[i].state & STATE_AIRBORNE)
            drawRider(dest, looks.riders[i], w.riders[i], w.riders[i].blinkUntil, now);

    drawHud(dest, w);
}

void showFrame()
{
    present(backBuffer);
}
