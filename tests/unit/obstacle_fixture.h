// A river of synthetic obstacles: the four kinds filled with small coloured strips, two
// riders on the water, sounds recorded through the mixer seam. Every global touched is put
// back afterwards.
#pragma once
#include <gtest/gtest.h>

#include <allegro.h>
#include <vector>

#include "app/clock.h"
#include "app/game.h"
#include "audio/sound.h"
#include "harness.h"
#include "obstacles/lanes.h"
#include "presentation/assets.h"
#include "riders/rider.h"

namespace obstacle_test {

inline std::vector<SAMPLE*>& played()
{
    static std::vector<SAMPLE*> list;
    return list;
}
inline void recordPlay(SAMPLE* sample, int, int, int, int) { played().push_back(sample); }
inline void recordStop(SAMPLE*) {}

const int BRIDGE_HEIGHT = 60;

// Frame f of kind k is filled with colourOf(k, f), so a pixel tells what was drawn.
inline int colourOf(int kind, int frame)
{
    return makecol(40 + 50 * kind, 10 + 30 * frame, 200);
}

struct ObstacleWorld : ::testing::Test {
    ObstacleKind savedKinds[4];
    bool savedGameOver = false;
    uint8_t savedWinner = 0;
    float savedRiverSpeed = 0.0f;
    uint32_t savedTicks = 0;
    uint32_t savedLastSpawnTick = 0;
    Mixer savedMixer{};
    Rider savedRiders[2];
    SAMPLE* savedSamples[4] = {};
    BITMAP* savedShadow = nullptr;
    BITMAP* strips[4] = {};
    SAMPLE* samples[4] = {};
    Rider* pair[2] = {nullptr, nullptr};
    bool ready = false;

    static SAMPLE** sampleSlot(int kind)
    {
        static SAMPLE** const slots[4] = {&rockSample, &logSample, &burgerSample, &bridgeSample};
        return slots[kind];
    }

    void SetUp() override
    {
        if (!haveScreen())
            GTEST_SKIP() << "needs the 800 x 600 screen";
        ready = true;
        for (int k = 0; k < 4; ++k) {
            savedKinds[k] = obstacleKinds[k];
            savedSamples[k] = *sampleSlot(k);
        }
        savedGameOver = gameOver;
        savedWinner = winner;
        savedRiverSpeed = riverSpeed;
        savedTicks = ticks.load();
        savedLastSpawnTick = lastSpawnTick;
        savedMixer = mixer;
        savedShadow = bridgeShadowBitmap;
        for (int i = 0; i < 2; ++i) {
            if (!riders[i])
                riders[i] = new Rider;
            savedRiders[i] = *riders[i];
            pair[i] = riders[i];
        }

        setKind(KIND_ROCK, 100, 100, 3, 3, 3, 10, 0.0f, SND_ROCK);
        setKind(KIND_LOG, 200, 100, 4, 3, 2, 5, 5.0f, SND_LOG);
        setKind(KIND_BURGER, 50, 50, 1, 1, 7, 0, 0.0f, SND_BURGER);
        setKind(KIND_BRIDGE, SCREEN_W, BRIDGE_HEIGHT, 1, 1, 4, 10, 0.0f, SND_BRIDGE);
        for (int k = 0; k < 4; ++k) {
            samples[k] = create_sample(16, 0, 22050, 10);
            *sampleSlot(k) = samples[k];
        }
        mixer.play = recordPlay;
        mixer.stop = recordStop;
        played().clear();
        bridgeShadowBitmap = nullptr;

        gameOver = false;
        riverSpeed = 0.0f;
        ticks = 900;  // a whole cycle of every strip: first frames showing
        lastSpawnTick = 0;
        for (int i = 0; i < 2; ++i) {
            Rider& r = *riders[i];
            r.reset();
            r.index = static_cast<uint8_t>(i);
            r.state = STATE_SURFACE;
            r.x = i == 0 ? 250.0f : 550.0f;
            r.height = 0.0f;
            r.mass = 100.0f;
            r.health = 200;
            r.blinkUntil = 0;
        }
    }

    void TearDown() override
    {
        if (!ready)
            return;
        for (int k = 0; k < 4; ++k) {
            obstacleKinds[k] = savedKinds[k];
            *sampleSlot(k) = savedSamples[k];
            destroy_sample(samples[k]);
            destroy_bitmap(strips[k]);
        }
        gameOver = savedGameOver;
        winner = savedWinner;
        riverSpeed = savedRiverSpeed;
        ticks = savedTicks;
        lastSpawnTick = savedLastSpawnTick;
        mixer = savedMixer;
        bridgeShadowBitmap = savedShadow;
        for (int i = 0; i < 2; ++i)
            *riders[i] = savedRiders[i];
        releaseAllInput();
    }

    void setKind(int kind, int frameWidth, int frameHeight, int frames, int ticksPerFrame,
                 int layerMask, int damage, float ownSpeed, int sound)
    {
        strips[kind] = create_bitmap(frameWidth * frames, frameHeight);
        for (int f = 0; f < frames; ++f)
            rectfill(strips[kind], f * frameWidth, 0, (f + 1) * frameWidth - 1, frameHeight - 1,
                     colourOf(kind, f));
        ObstacleKind& k = obstacleKinds[kind];
        k.sprite.init(strips[kind], frameWidth, frameHeight, 0, 0, frames, 0, ticksPerFrame);
        k.layerMask = layerMask;
        k.damage = damage;
        k.ownSpeed = ownSpeed;
        k.sound = sound;
    }

    // An obstacle of the kind, then put where the test wants it.
    static Obstacle make(int kind, float x, float y, int phase = 0)
    {
        ObstacleKind& k = obstacleKinds[kind];
        Obstacle o(&k.sprite, k.layerMask, k.damage, k.ownSpeed, phase, k.sound);
        o.x = x;
        o.y = y;
        return o;
    }

    // Kinds of the sounds heard, in order, by the sample each one played.
    std::vector<int> heard() const
    {
        std::vector<int> kinds;
        for (SAMPLE* s : played())
            for (int k = 0; k < 4; ++k)
                if (s == samples[k])
                    kinds.push_back(k);
        return kinds;
    }
};

}  // namespace obstacle_test
