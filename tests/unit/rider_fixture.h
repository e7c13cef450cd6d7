#pragma once
// Shared set-up for the rider tests: both riders reset and placed as a game places them,
// every sample slot filled with a silent dummy so sound events can be observed through
// the mixer, and every global the riders touch put back afterwards.
#include <gtest/gtest.h>

#include <allegro.h>

#include <vector>

#include "app/clock.h"
#include "app/game.h"
#include "audio/sound.h"
#include "harness.h"
#include "riders/collision.h"
#include "riders/rider.h"

struct PlayedSound {
    SAMPLE* sample;
    int volume;
    int pan;
    int pitch;
    int loop;
};

inline std::vector<PlayedSound>& playedSounds()
{
    static std::vector<PlayedSound> played;
    return played;
}

inline std::vector<SAMPLE*>& stoppedSounds()
{
    static std::vector<SAMPLE*> stopped;
    return stopped;
}

inline void recordPlay(SAMPLE* sample, int volume, int pan, int pitch, int loop)
{
    playedSounds().push_back({sample, volume, pan, pitch, loop});
}

inline void recordStop(SAMPLE* sample)
{
    stoppedSounds().push_back(sample);
}

class RiderTest : public ::testing::Test {
protected:
    static constexpr int SLOTS = 14;

    static SAMPLE** const* slots()
    {
        static SAMPLE** const all[SLOTS] = {
            &musicSample,    &jumpSample,     &landSample,  &emergeSample, &diveSample,
            &logSample,      &rockSample,     &burgerSample, &bridgeSample, &bumpSamples[0],
            &bumpSamples[1], &stompSample,    &bankSample,  &gameEndSample,
        };
        return all;
    }

    static SAMPLE* dummy(int i)
    {
        static SAMPLE* dummies[SLOTS] = {};
        if (!dummies[i])
            dummies[i] = create_sample(16, 0, 22050, 10);
        return dummies[i];
    }

    void SetUp() override
    {
        for (int i = 0; i < 2; ++i) {
            created[i] = riders[i] == nullptr;
            if (created[i])
                riders[i] = new Rider;
            saved[i] = new Rider(*riders[i]);
        }
        for (int i = 0; i < SLOTS; ++i) {
            savedSlots[i] = *slots()[i];
            *slots()[i] = dummy(i);
        }
        savedTicks = ticks;
        savedGameOver = gameOver;
        savedWinner = winner;
        savedPrevHeightSign = prevRiderHeightSign;
        playedSounds().clear();
        stoppedSounds().clear();
        mixer = {recordPlay, recordStop};

        ticks = 1000;
        gameOver = false;
        winner = 0;
        releaseAllInput();
        a = riders[0];
        b = riders[1];
        a->reset();
        b->reset();
        a->index = 0;
        b->index = 1;
        a->x = 250.0f;
        b->x = 550.0f;
        a->leftKey = KEY_A;
        a->rightKey = KEY_D;
        a->actionKey = KEY_S;
        b->leftKey = KEY_LEFT;
        b->rightKey = KEY_RIGHT;
        b->actionKey = KEY_DOWN;
        prevRiderHeightSign = 0;
    }

    void TearDown() override
    {
        releaseAllInput();
        mixer = allegroMixer;
        for (int i = 0; i < SLOTS; ++i)
            *slots()[i] = savedSlots[i];
        ticks = savedTicks;
        gameOver = savedGameOver;
        winner = savedWinner;
        prevRiderHeightSign = savedPrevHeightSign;
        for (int i = 0; i < 2; ++i) {
            if (created[i]) {
                delete riders[i];
                riders[i] = nullptr;
            } else {
                *riders[i] = *saved[i];
            }
            delete saved[i];
        }
    }

    // One step of the game at the next tick.
    void step()
    {
        ++ticks;
        updateRiders();
    }

    // Events played so far, as the samples the mixer was handed.
    std::vector<SAMPLE*> samplesPlayed() const
    {
        std::vector<SAMPLE*> out;
        for (const PlayedSound& p : playedSounds())
            out.push_back(p.sample);
        return out;
    }

    static bool allowedPitch(int pitch)
    {
        return pitch >= 925 && pitch <= 1075 && (pitch - 925) % 25 == 0;
    }

    Rider* a = nullptr;
    Rider* b = nullptr;

private:
    bool created[2] = {false, false};
    Rider* saved[2] = {nullptr, nullptr};
    SAMPLE* savedSlots[SLOTS] = {};
    uint32_t savedTicks = 0;
    bool savedGameOver = false;
    uint8_t savedWinner = 0;
    int savedPrevHeightSign = 0;
};

#define SKIP_WITHOUT_SCREEN()                                                  \
    do {                                                                       \
        if (!haveScreen())                                                     \
            GTEST_SKIP() << "needs the 800 x 600 window for SCREEN_W";         \
    } while (0)
