// Sound events: which sample, at which pitch, looping or not, and how many random numbers
// each event draws; and loading the fourteen samples from ./sound/.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "audio/sound.h"
#include "classic/sound.h"
#include "file_writers.h"
#include "harness.h"
#include "test_files.h"

namespace {

struct Played {
    SAMPLE* sample;
    int volume, pan, pitch, loop;
};
std::vector<Played> played;
std::vector<SAMPLE*> stopped;

void recordPlay(SAMPLE* sample, int volume, int pan, int pitch, int loop)
{
    played.push_back({sample, volume, pan, pitch, loop});
}

void recordStop(SAMPLE* sample)
{
    stopped.push_back(sample);
}

SAMPLE** const slotList[14] = {
    &musicSample, &jumpSample, &landSample,     &emergeSample,   &diveSample,
    &logSample,   &rockSample, &burgerSample,   &bridgeSample,   &bumpSamples[0],
    &bumpSamples[1], &stompSample, &bankSample, &gameEndSample,
};

const std::vector<std::string> soundFiles = assetNamesIn("sound");

// Keeps the slots and the mixer as other suites expect them.
struct SoundSlots : ::testing::Test {
    SAMPLE* saved[14];
    SAMPLE* dummies[14];

    void SetUp() override
    {
        for (int i = 0; i < 14; ++i) {
            saved[i] = *slotList[i];
            dummies[i] = create_sample(16, 0, 22050, 10);
            *slotList[i] = dummies[i];
        }
        played.clear();
        stopped.clear();
        mixer = {recordPlay, recordStop};
    }

    void TearDown() override
    {
        mixer = allegroMixer;
        for (int i = 0; i < 14; ++i) {
            *slotList[i] = saved[i];
            destroy_sample(dummies[i]);
        }
    }
};

int pitchFrom(int r)
{
    return 1000 + 25 * (r % 7 - 3);
}

TEST_F(SoundSlots, EachEventPlaysItsSampleAtItsPitch)
{
    struct Row {
        SoundEvent event;
        SAMPLE** slot;
        bool randomPitch;
        int loop;
    };
    const Row rows[] = {
        {SND_MUSIC, &musicSample, false, -1},   {SND_JUMP, &jumpSample, true, 0},
        {SND_LAND, &landSample, true, 0},       {SND_EMERGE, &emergeSample, true, 0},
        {SND_DIVE, &diveSample, true, 0},       {SND_LOG, &logSample, true, 0},
        {SND_ROCK, &rockSample, true, 0},       {SND_BURGER, &burgerSample, true, 0},
        {SND_BRIDGE, &bridgeSample, true, 0},   {SND_STOMP, &stompSample, true, 0},
        {SND_BANK, &bankSample, true, 0},       {SND_GAME_END, &gameEndSample, false, 0},
        // Numbers that name no event.
        {static_cast<SoundEvent>(13), &bumpSamples[0], true, 0},
        {static_cast<SoundEvent>(-1), &bumpSamples[0], true, 0},
        {static_cast<SoundEvent>(1000), &bumpSamples[0], true, 0},
    };
    for (const Row& row : rows) {
        for (unsigned seed : {1u, 7u, 12345u}) {
            srand(seed);
            const int first = rand();
            const int second = rand();
            srand(seed);
            played.clear();
            playSound(row.event);
            ASSERT_EQ(played.size(), 1u) << row.event;
            const Played& p = played[0];
            EXPECT_EQ(p.sample, *row.slot) << row.event;
            EXPECT_EQ(p.volume, 255);
            EXPECT_EQ(p.pan, 128);
            EXPECT_EQ(p.loop, row.loop) << row.event;
            EXPECT_EQ(p.pitch, row.randomPitch ? pitchFrom(first) : 1000) << row.event;
            // Exactly one random number for a random pitch, none otherwise.
            EXPECT_EQ(rand(), row.randomPitch ? second : first) << row.event;
        }
    }
}

TEST_F(SoundSlots, BumpDrawsThePitchFirstThenTheSample)
{
    bool heard[2] = {false, false};
    for (unsigned seed = 1; seed <= 60; ++seed) {
        srand(seed);
        const int first = rand();
        const int second = rand();
        const int third = rand();
        srand(seed);
        played.clear();
        playSound(SND_BUMP);
        ASSERT_EQ(played.size(), 1u);
        EXPECT_EQ(played[0].pitch, pitchFrom(first)) << seed;
        EXPECT_EQ(played[0].sample, bumpSamples[second % 2]) << seed;
        EXPECT_EQ(played[0].loop, 0);
        EXPECT_EQ(rand(), third) << seed;
        heard[second % 2] = true;
    }
    EXPECT_TRUE(heard[0]);
    EXPECT_TRUE(heard[1]);
}

TEST_F(SoundSlots, RandomPitchesAreTheSevenSteps)
{
    srand(99);
    bool seen[7] = {};
    for (int i = 0; i < 400; ++i)
        playSound(SND_JUMP);
    for (const Played& p : played) {
        ASSERT_EQ((p.pitch - 925) % 25, 0) << p.pitch;
        ASSERT_GE(p.pitch, 925);
        ASSERT_LE(p.pitch, 1075);
        seen[(p.pitch - 925) / 25] = true;
    }
    for (int step = 0; step < 7; ++step)
        EXPECT_TRUE(seen[step]) << step;
}

TEST_F(SoundSlots, OnlyTheMusicStops)
{
    for (int e = 1; e <= 13; ++e)
        stopSound(static_cast<SoundEvent>(e));
    EXPECT_TRUE(stopped.empty());
    stopSound(SND_MUSIC);
    ASSERT_EQ(stopped.size(), 1u);
    EXPECT_EQ(stopped[0], musicSample);
    EXPECT_TRUE(played.empty());
}

TEST_F(SoundSlots, ASampleThatNeverLoadedIsNotPlayed)
{
    musicSample = nullptr;
    jumpSample = nullptr;
    playSound(SND_MUSIC);
    playSound(SND_JUMP);
    stopSound(SND_MUSIC);
    EXPECT_TRUE(played.empty());
    EXPECT_TRUE(stopped.empty());
}

// A 16-bit mono WAV whose length tells which file it was.
void writeWav(const std::string& path, int frames)
{
    WavLayout layout;
    layout.frames = frames;
    ASSERT_TRUE(writeBytes(path, wavFile(layout)));
}

// Runs loadSounds in a fresh working directory holding the given files of ./sound/.
struct SoundLoading : ::testing::Test {
    SAMPLE* saved[14];
    std::string dir;
    std::string oldCwd;

    void SetUp() override
    {
        for (int i = 0; i < 14; ++i) {
            saved[i] = *slotList[i];
            *slotList[i] = nullptr;
        }
        char name[] = "/tmp/riverduel-sound-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
        ASSERT_EQ(mkdir((dir + "/sound").c_str(), 0755), 0);
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        oldCwd = cwd;
    }

    void TearDown() override
    {
        EXPECT_EQ(chdir(oldCwd.c_str()), 0);
        for (int i = 0; i < 14; ++i) {
            if (*slotList[i])
                destroy_sample(*slotList[i]);
            *slotList[i] = saved[i];
            unlink((dir + "/sound/" + soundFiles[i]).c_str());
        }
        rmdir((dir + "/sound").c_str());
        rmdir(dir.c_str());
    }

    bool loadWithout(int missing)
    {
        for (int i = 0; i < 14; ++i)
            if (i != missing)
                writeWav(dir + "/sound/" + soundFiles[i], 20 + i);
        EXPECT_EQ(chdir(dir.c_str()), 0);
        return loadSounds();
    }
};

TEST_F(SoundLoading, AllFourteenLoadIntoTheirSlots)
{
    EXPECT_FALSE(loadWithout(-1));
    for (int i = 0; i < 14; ++i) {
        ASSERT_NE(*slotList[i], nullptr) << soundFiles[i];
        EXPECT_EQ((*slotList[i])->len, static_cast<unsigned long>(20 + i)) << soundFiles[i];
    }
}

TEST_F(SoundLoading, MissingLastFileFailsAfterThirteen)
{
    EXPECT_TRUE(loadWithout(13));
    for (int i = 0; i < 13; ++i)
        EXPECT_NE(*slotList[i], nullptr) << soundFiles[i];
    EXPECT_EQ(gameEndSample, nullptr);
}

TEST_F(SoundLoading, MissingMusicStopsBeforeAnythingElse)
{
    EXPECT_TRUE(loadWithout(0));
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(*slotList[i], nullptr) << soundFiles[i];
}

TEST_F(SoundLoading, DamagedFileInTheMiddleStopsThere)
{
    for (int i = 0; i < 14; ++i)
        writeWav(dir + "/sound/" + soundFiles[i], 20 + i);
    FILE* f = std::fopen((dir + "/sound/most.wav").c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 20, SEEK_SET);
    std::fputc(3, f); // floating-point samples
    std::fclose(f);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    EXPECT_TRUE(loadSounds());
    for (int i = 0; i < 8; ++i)
        EXPECT_NE(*slotList[i], nullptr) << soundFiles[i];
    for (int i = 8; i < 14; ++i)
        EXPECT_EQ(*slotList[i], nullptr) << soundFiles[i];
}

} // namespace
