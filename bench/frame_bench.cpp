#include <allegro.h>
#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

#include "classic/obstacle.h"
#include "classic/game.h"
#include "app/clock.h"
#include "app/game.h"
#include "classic/lanes.h"
#include "presentation/display.h"
#include "classic/frame.h"
#include "presentation/frame.h"
#include "presentation/smooth.h"
#include "simulation/world.h"
#include "classic/rider.h"
#include "classic/world.h"

// The yardstick: copying one 800 x 600 frame of 32-bit pixels.
static void BM_FrameCopy(benchmark::State& state)
{
    std::vector<uint32_t> from(800 * 600, 0x336699), to(800 * 600);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof from[0]);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameCopy);

static Obstacle place(int kind, float x, float y)
{
    ObstacleKind& k = obstacleKinds[kind];
    Obstacle obstacle(&k.sprite, k.layerMask, k.damage, k.ownSpeed, kind * 3, k.sound);
    obstacle.x = x;
    obstacle.y = y;
    return obstacle;
}

// A busy scene: both riders (one in the air), four rocks, three logs, three burgers and a
// bridge with its shadow. Nothing is hit, so it stays the same from frame to frame.
static void busyScene(ObstacleLanes& lanes)
{
    setupGame(defaultGameSetup());
    riders[1]->height = 60.0f;
    riders[1]->state = STATE_AIRBORNE;
    riders[1]->currentSprite = &riders[1]->airborneSprite;
    gameOver = true;
    riverSpeed = 0.0f;
    const float rockX[4] = {120, 300, 450, 580}, logX[3] = {150, 350, 480};
    for (int i = 0; i < 4; ++i)
        lanes.lanes[KIND_ROCK].push_back(place(KIND_ROCK, rockX[i], 400.0f - 120 * i));
    for (int i = 0; i < 3; ++i)
        lanes.lanes[KIND_LOG].push_back(place(KIND_LOG, logX[i], 350.0f - 150 * i));
    for (int i = 0; i < 3; ++i)
        lanes.lanes[KIND_BURGER].push_back(place(KIND_BURGER, 200.0f + 150 * i, 300.0f - 90 * i));
    lanes.lanes[KIND_BRIDGE].push_back(place(KIND_BRIDGE, 0.0f, 150.0f));
}

// The busy scene as the classic game shows it: every layer and the HUD drawn into the back
// buffer, which is then copied to the window.
static void BM_RenderBusyFrame(benchmark::State& state)
{
    ObstacleLanes lanes;
    busyScene(lanes);
    const std::list<Obstacle> start[4] = {lanes.lanes[0], lanes.lanes[1], lanes.lanes[2],
                                          lanes.lanes[3]};
    for (auto _ : state) {
        ++ticks;
        renderFrame(lanes);
        // Logs drift on their own: put everything back where it was.
        for (int k = 0; k < 4; ++k) {
            auto from = start[k].begin();
            for (Obstacle& obstacle : lanes.lanes[k])
                obstacle.y = (from++)->y;
        }
    }
    gameOver = false;
}
BENCHMARK(BM_RenderBusyFrame);

// The busy scene as --smooth shows it between two passes: half way from the pass to a copy
// stepped a pass ahead, composed in the window's own memory and sent.
static void BM_SmoothBusyPicture(benchmark::State& state)
{
    ObstacleLanes lanes;
    busyScene(lanes);
    World now;
    captureWorld(now, &lanes);
    now.riverSpeed = 14.8f;
    Cues cues;
    moveObstacles(now, cues);
    World ahead = now;
    ++ahead.ticks;
    stepWorld(ahead, PassInput(), cues);
    BITMAP* picture = pictureInScreen();
    if (!picture) {
        state.SkipWithError("needs the plain X11 window");
        return;
    }
    World between;
    for (auto _ : state) {
        ++ticks;
        blendWorld(now, ahead, 0.5f, between);
        drawBetween(between, 0.5f, picture);
        present(picture);
    }
    gameOver = false;
}
BENCHMARK(BM_SmoothBusyPicture);
