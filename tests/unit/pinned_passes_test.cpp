// The pinned games pass by pass, with the real art and sounds: the sounds each pass asks for
// (which sample, at which pitch), the state after each pass, and every frame of one game to
// the pixel. Any change to the rules, the order of a pass or the drawing shows up here.
#include <gtest/gtest.h>

#include <unistd.h>
#include <climits>
#include <cstdio>
#include <string>

#include "classic/obstacle.h"
#include "classic/game.h"
#include "app/clock.h"
#include "app/game.h"
#include "app/system.h"
#include "audio/sound.h"
#include "classic/sound.h"
#include "harness.h"
#include "classic/lanes.h"
#include "classic/assets.h"
#include "presentation/assets.h"
#include "presentation/scenery.h"
#include "recording/recording.h"
#include "classic/rider.h"
#include "simulation/fnv.h"
#include "simulation/simulation.h"

namespace {

SAMPLE** const SLOTS[14] = {&musicSample,    &jumpSample,  &landSample,   &emergeSample, &diveSample,
                            &logSample,      &rockSample,  &burgerSample, &bridgeSample, &bumpSamples[0],
                            &bumpSamples[1], &stompSample, &bankSample,   &gameEndSample};

uint64_t cueDigest;
uint32_t cueCount;

int slotOf(SAMPLE* sample)
{
    for (int i = 0; i < 14; ++i)
        if (*SLOTS[i] == sample)
            return i;
    return -1;
}

void notePlay(SAMPLE* sample, int, int, int pitch, int loop)
{
    const int32_t cue[4] = {static_cast<int32_t>(ticks.load()), slotOf(sample), pitch, loop};
    cueDigest = fnv1a(cue, sizeof cue, cueDigest);
    ++cueCount;
}

void noteStop(SAMPLE* sample)
{
    const int32_t cue[4] = {static_cast<int32_t>(ticks.load()), slotOf(sample), -1, -1};
    cueDigest = fnv1a(cue, sizeof cue, cueDigest);
    ++cueCount;
}

struct Pins {
    const char* game;
    uint32_t cues;
    uint64_t cueDigest, stateDigest, frameDigest;
};

// Digests of every pinned game; the frames are hashed for one of them.
const Pins PINNED[] = {
    {"berto_wins", 48, 0x5ff923e663f866f7ull, 0x289366b4cbaab276ull, 0},
    {"decided_then_esc", 48, 0x3ec7983c4055c60dull, 0x4f13fbb80048c5feull, 0},
    {"left_with_esc", 9, 0x761e61b451dffd52ull, 0xe14ab07566da5433ull, 0},
    {"long_river", 97, 0xf4179ec01d95a58full, 0x27c18937d64ef60bull, 0x635a10645166182cull},
    {"rudko_wins", 48, 0x923eb194d8d71f5full, 0x53199c12d7e7ed1eull, 0},
    {"stomping", 75, 0x344f38828b83abd9ull, 0x8561477eaa57dd0eull, 0},
};
const char* const FRAMED = "long_river";

uint64_t hashPicture(BITMAP* bmp, uint64_t digest)
{
    for (int y = 0; y < bmp->h; ++y)
        digest = fnv1a(bmp->line[y], static_cast<size_t>(bmp->w) * 4, digest);
    return digest;
}

} // namespace

TEST(PinnedPasses, SoundsStatesAndFramesOfEveryPinnedGameStayTheSame)
{
    ASSERT_TRUE(haveScreen()) << "the frames are drawn in the real window";
    Rider* savedRiders[2] = {riders[0], riders[1]};
    ObstacleKind savedKinds[4];
    for (int k = 0; k < 4; ++k)
        savedKinds[k] = obstacleKinds[k];
    SAMPLE* savedSamples[14];
    for (int i = 0; i < 14; ++i)
        savedSamples[i] = *SLOTS[i];
    const WaterSurface savedWater = water;
    const AnimatedSprite savedBanks[2] = {banks.left, banks.right};
    BITMAP* savedTitle = titleBitmap;
    BITMAP* savedShadow = bridgeShadowBitmap;
    const Mixer savedMixer = mixer;

    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(RIVERDUEL_BUILD_DIR), 0);
    ASSERT_FALSE(loadAssets());
    ASSERT_EQ(chdir(cwd), 0);
    mixer = Mixer{notePlay, noteStop};

    for (const Pins& pin : PINNED) {
        Recording recording;
        const std::string file = std::string(RIVERDUEL_SOURCE_DIR "/tests/games/") + pin.game + ".rdr";
        ASSERT_EQ(loadRecording(file, recording), "") << file;
        const bool framed = std::string(pin.game) == FRAMED;
        cueDigest = fnv1a(nullptr, 0);
        cueCount = 0;
        uint64_t stateDigest = fnv1a(nullptr, 0);
        uint64_t frameDigest = fnv1a(nullptr, 0);
        water.scrollOffset = 0.0f;
        banks.scrollOffset = 0.0f;
        clockOwned = true;
        beginGame(defaultGameSetup(), recording.start);
        ObstacleLanes lanes;
        playSound(SND_MUSIC);
        for (size_t pass = 0; pass < recording.passes.size(); ++pass) {
            ticks = static_cast<uint32_t>(pass);
            PassInput input;
            unpackPass(recording.passes[pass], input);
            if (input.leave || !stepPass(lanes, input, framed))
                break;
            stateDigest = mix(stateDigest, hashGame(lanes).whole());
            if (framed)
                frameDigest = hashPicture(backBuffer, frameDigest);
        }
        clockOwned = false;
        const bool same = cueCount == pin.cues && cueDigest == pin.cueDigest &&
                          stateDigest == pin.stateDigest && (!framed || frameDigest == pin.frameDigest);
        if (!same)
            std::printf("    {\"%s\", %u, 0x%016llxull, 0x%016llxull, 0x%016llxull},\n", pin.game,
                        cueCount, static_cast<unsigned long long>(cueDigest),
                        static_cast<unsigned long long>(stateDigest),
                        static_cast<unsigned long long>(framed ? frameDigest : 0));
        EXPECT_EQ(cueCount, pin.cues) << pin.game;
        EXPECT_EQ(cueDigest, pin.cueDigest) << pin.game << ": other sounds, pitches or moments";
        EXPECT_EQ(stateDigest, pin.stateDigest) << pin.game << ": another state at some pass";
        if (framed) {
            EXPECT_EQ(frameDigest, pin.frameDigest) << pin.game << ": some frame looks different";
        }
    }

    mixer = savedMixer;
    delete riders[0];
    delete riders[1];
    riders[0] = savedRiders[0];
    riders[1] = savedRiders[1];
    for (int k = 0; k < 4; ++k)
        obstacleKinds[k] = savedKinds[k];
    for (int i = 0; i < 14; ++i)
        *SLOTS[i] = savedSamples[i];
    water = savedWater;
    banks.left = savedBanks[0];
    banks.right = savedBanks[1];
    titleBitmap = savedTitle;
    bridgeShadowBitmap = savedShadow;
}
