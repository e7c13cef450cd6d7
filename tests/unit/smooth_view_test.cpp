// The smooth view: the copy stepped a pass ahead leaves the game alone, a picture between two
// passes goes from one to the other, and what the planks of a bridge hide is never drawn to show.
#include <gtest/gtest.h>

#include <unistd.h>
#include <climits>
#include <cstring>

#include "harness.h"
#include "presentation/assets.h"
#include "presentation/draw.h"
#include "presentation/frame.h"
#include "presentation/scenery.h"
#include "presentation/smooth.h"
#include "riders/live.h"
#include "simulation/simulation.h"

namespace {

void put(World& w, int kind, float x, float y)
{
    const ObstacleKind& k = obstacleKinds[kind];
    w.lanes[kind].push_back(Obstacle(&obstacleKinds[kind].sprite, k.layerMask, k.damage, k.ownSpeed, 0, k.sound));
    w.lanes[kind].back().x = x;
    w.lanes[kind].back().y = y;
}

// A started game 30 passes in, Rudko steering right and Berto charging, a rock and a bridge
// put in its way, shown as its last pass left them.
World gameUnderWay()
{
    World w;
    startWorld(w, defaultGameSetup(), currentStart(26));
    PassInput input;
    input.riders[0].right = true;
    input.riders[1].action = true;
    Cues cues;
    for (uint32_t pass = 0; pass < 30; ++pass, ++w.ticks)
        stepWorld(w, input, cues);
    put(w, KIND_ROCK, 300.0f, 200.0f);
    put(w, KIND_BRIDGE, 0.0f, 100.0f);
    stepWorld(w, input, cues);
    return w;
}

// The game's riders and obstacle kinds with the generated art, kept as the game keeps it (only
// kept art is known to be solid).
void withTheRealArt()
{
    ASSERT_TRUE(haveScreen()) << "the scene is drawn in the real window with the real art";
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(RIVERDUEL_BUILD_DIR), 0);
    ASSERT_FALSE(loadAssets());
    ASSERT_EQ(chdir(cwd), 0);
    keepLoadedArt();
}

} // namespace

TEST(SmoothView, PicturesGoFromThePassToTheCopyAheadAndTheGameIsUntouched)
{
    withTheRealArt();
    const World now = gameUnderWay();
    const StateHash before = hashWorld(now);
    const RandomState libraryBefore = currentRandom();
    World ahead = now;
    ++ahead.ticks;
    PassInput input;
    input.riders[0].right = true;
    Cues silent;
    ASSERT_TRUE(stepWorld(ahead, input, silent));
    EXPECT_EQ(hashWorld(now), before);
    EXPECT_EQ(std::memcmp(currentRandom().bytes, libraryBefore.bytes, sizeof libraryBefore.bytes), 0);

    World between;
    const float f[3] = {0.0f, 0.5f, 1.0f};
    for (float at : f) {
        blendWorld(now, ahead, at, between);
        for (int i = 0; i < 2; ++i) {
            EXPECT_FLOAT_EQ(between.riders[i].x, now.riders[i].x + (ahead.riders[i].x - now.riders[i].x) * at);
            EXPECT_FLOAT_EQ(between.riders[i].height,
                            now.riders[i].height + (ahead.riders[i].height - now.riders[i].height) * at);
            EXPECT_EQ(between.riders[i].body, now.riders[i].body);
            EXPECT_EQ(between.riders[i].health, now.riders[i].health);
        }
        // The rock put in at 200 drifts with the river; the shown list has it where it was.
        const ShownObstacle* rock = nullptr;
        for (const ShownObstacle& o : between.shownLower)
            rock = o.x == 300.0f && o.sprite == &obstacleKinds[KIND_ROCK].sprite ? &o : rock;
        ASSERT_NE(rock, nullptr);
        EXPECT_FLOAT_EQ(rock->y, 200.0f + (now.lanes[KIND_ROCK].back().y - 200.0f) * at);
        EXPECT_FLOAT_EQ(between.shownBridges.back().y, 100.0f + (now.lanes[KIND_BRIDGE].back().y - 100.0f) * at);
    }
    EXPECT_GT(now.riverSpeed, 10.0f);
}

TEST(SmoothView, WhatABridgesPlanksHideIsNeverSeenAndTheScrollStaysPut)
{
    withTheRealArt();
    const World w = gameUnderWay();
    BITMAP* planked = create_bitmap(SCREEN_W, SCREEN_H);
    BITMAP* whole = create_bitmap(SCREEN_W, SCREEN_H);
    clear_to_color(planked, makecol(255, 0, 0));
    clear_to_color(whole, makecol(0, 255, 0));
    const float waterAt = water.scrollOffset, banksAt = banks.scrollOffset;

    // Everything under the bridge drawn in full, then the bridge: the riders and the HUD are far
    // from it.
    drawBetween(w, 0.5f, planked);
    World bare = w;
    bare.shownBridges.clear();
    drawBetween(bare, 0.5f, whole);
    for (const ShownObstacle& bridge : w.shownBridges) {
        drawBridgeShadow(whole, bridge.y);
        bridge.sprite->drawPhase(whole, static_cast<int>(bridge.x), static_cast<int>(bridge.y), bridge.phase);
    }
    EXPECT_EQ(water.scrollOffset, waterAt);
    EXPECT_EQ(banks.scrollOffset, banksAt);
    int differ = 0;
    for (int y = 0; y < SCREEN_H; ++y)
        differ += std::memcmp(planked->line[y], whole->line[y], SCREEN_W * 4) != 0;
    EXPECT_EQ(differ, 0) << "rows drawn differently";
    destroy_bitmap(planked);
    destroy_bitmap(whole);
}
