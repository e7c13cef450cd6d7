// The smooth view: the copy stepped a pass ahead leaves the game alone, a picture between two
// passes goes from one to the other, and what a bridge's planks hide is never drawn to show.
#include <gtest/gtest.h>

#include <unistd.h>
#include <climits>
#include <cstring>

#include "classic/obstacle.h"
#include "classic/game.h"
#include "harness.h"
#include "classic/assets.h"
#include "presentation/assets.h"
#include "presentation/draw.h"
#include "presentation/scenery.h"
#include "presentation/smooth.h"
#include "simulation/simulation.h"

// A game 30 passes in with the real (kept) art, Rudko steering right and Berto diving, a rock
// put in at y 200 and a bridge at y 100, shown as its last pass left them.
static World gameUnderWay(PassInput& input)
{
    char cwd[PATH_MAX];
    EXPECT_TRUE(haveScreen() && getcwd(cwd, sizeof cwd) && chdir(RIVERDUEL_BUILD_DIR) == 0);
    EXPECT_FALSE(loadAssets());
    EXPECT_EQ(chdir(cwd), 0);
    keepLoadedArt(); // only kept art is known to be solid
    World w;
    startWorld(w, defaultGameSetup(), currentStart(26));
    input.riders[0].right = input.riders[1].action = true;
    Cues cues;
    for (; w.ticks < 30; ++w.ticks)
        stepWorld(w, input, cues);
    const float put[2][3] = {{KIND_ROCK, 300.0f, 200.0f}, {KIND_BRIDGE, 0.0f, 100.0f}};
    for (const auto& p : put) {
        std::vector<ObstacleState>& lane = w.lanes[static_cast<int>(p[0])];
        lane.push_back(freshObstacle(static_cast<int>(p[0]), 0));
        lane.back().x = p[1];
        lane.back().y = p[2];
    }
    stepWorld(w, input, cues);
    return w;
}

TEST(SmoothView, PicturesGoFromThePassToTheCopyAheadAndTheGameIsUntouched)
{
    PassInput input;
    const World now = gameUnderWay(input);
    const StateHash before = hashWorld(now);
    World ahead = now, between;
    ++ahead.ticks;
    Cues silent;
    ASSERT_TRUE(stepWorld(ahead, input, silent));
    EXPECT_EQ(hashWorld(now), before);
    for (float f : {0.0f, 0.5f, 1.0f}) {
        blendWorld(now, ahead, f, between);
        EXPECT_FLOAT_EQ(between.riders[0].x, now.riders[0].x + (ahead.riders[0].x - now.riders[0].x) * f);
        EXPECT_FLOAT_EQ(between.riders[1].height, now.riders[1].height + (ahead.riders[1].height - now.riders[1].height) * f);
        EXPECT_EQ(between.riders[1].body, now.riders[1].body);
        // The rock and the bridge go from where the pass showed them to where they are now.
        const ShownObstacle* rock = nullptr;
        for (const ShownObstacle& o : between.shownLower)
            rock = o.x == 300.0f && o.kind == KIND_ROCK ? &o : rock;
        ASSERT_NE(rock, nullptr);
        EXPECT_FLOAT_EQ(rock->y, 200.0f + (now.lanes[KIND_ROCK].back().y - 200.0f) * f);
        EXPECT_FLOAT_EQ(between.shownBridges.back().y, 100.0f + (now.lanes[KIND_BRIDGE].back().y - 100.0f) * f);
    }
}

TEST(SmoothView, WhatABridgesPlanksHideIsNeverSeenAndTheScrollStaysPut)
{
    PassInput input;
    const World w = gameUnderWay(input);
    BITMAP* planked = create_bitmap(SCREEN_W, SCREEN_H);
    BITMAP* whole = create_bitmap(SCREEN_W, SCREEN_H);
    clear_to_color(planked, makecol(255, 0, 0));
    clear_to_color(whole, makecol(0, 255, 0));
    const float waterAt = water.scrollOffset, banksAt = banks.scrollOffset;
    drawBetween(w, 0.5f, planked);
    // Everything under the bridge drawn in full, then its shadow and itself (the riders and the
    // HUD are far from it).
    World bare = w;
    bare.shownBridges.clear();
    drawBetween(bare, 0.5f, whole);
    for (const ShownObstacle& bridge : w.shownBridges) {
        drawBridgeShadow(whole, bridge.y);
        obstacleKinds[bridge.kind].sprite.drawPhase(whole, static_cast<int>(bridge.x), static_cast<int>(bridge.y), bridge.phase);
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
