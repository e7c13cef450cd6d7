#include <gtest/gtest.h>

#include <allegro.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "classic/obstacle.h"
#include "audio/sound.h"
#include "obstacles/obstacle.h"
#include "classic/assets.h"
#include "presentation/assets.h"
#include "presentation/image_source.h"
#include "presentation/scenery.h"
#include "classic/rider.h"
#include "file_writers.h"
#include "test_files.h"

namespace {

// The pictures of the game's list, as the catalogue names them.
std::vector<std::string> catalogue()
{
    std::vector<std::string> files;
    for (const std::string& name : assetNamesIn("bitmaps"))
        files.push_back("./bitmaps/" + name);
    return files;
}
const std::vector<std::string> CATALOGUE = catalogue();

SAMPLE** const SAMPLE_SLOTS[14] = {
    &musicSample, &jumpSample,      &landSample,      &emergeSample, &diveSample,
    &logSample,   &rockSample,      &burgerSample,    &bridgeSample, &bumpSamples[0],
    &bumpSamples[1], &stompSample, &bankSample,      &gameEndSample,
};

// The image sizes the catalogue implies; the water tile, bridge shadow and title are free.
void imageSize(const std::string& file, int bridgeHeight, int& w, int& h)
{
    static const std::map<std::string, std::pair<int, int>> sizes = {
        {"./bitmaps/zem0.bmp", {200, 100}},    {"./bitmaps/voda0.bmp", {200, 100}},
        {"./bitmaps/vzduch0.bmp", {50, 100}},  {"./bitmaps/naprah0.bmp", {200, 100}},
        {"./bitmaps/shadow.bmp", {50, 100}},   {"./bitmaps/zem1.bmp", {200, 100}},
        {"./bitmaps/voda1.bmp", {200, 100}},   {"./bitmaps/vzduch1.bmp", {50, 100}},
        {"./bitmaps/naprah1.bmp", {200, 100}}, {"./bitmaps/voda-textura.tga", {64, 48}},
        {"./bitmaps/brehlavy.bmp", {400, 600}}, {"./bitmaps/brehpravy.bmp", {400, 600}},
        {"./bitmaps/skala.bmp", {300, 100}},   {"./bitmaps/drevo.bmp", {800, 100}},
        {"./bitmaps/hambac.bmp", {50, 50}},    {"./bitmaps/most.tga", {800, 0}},
        {"./bitmaps/mosttien.tga", {800, 30}}, {"./bitmaps/kalvanto.bmp", {120, 40}},
    };
    const auto& size = sizes.at(file);
    w = size.first;
    h = size.second ? size.second : bridgeHeight;
}

// A short 8-bit mono PCM WAV.
void writeWav(const std::string& path)
{
    WavLayout layout;
    layout.bits = 8;
    layout.rate = 11025;
    layout.frames = 64;
    ASSERT_TRUE(writeBytes(path, wavFile(layout)));
}

// Every image the catalogue reads, in order, and what came of it.
BITMAP* (*fileReader)(const char*) = nullptr;
std::vector<std::string> tried;
std::vector<BITMAP*> loaded;
std::map<std::string, BITMAP*> loadedFrom;

BITMAP* recordingReader(const char* path)
{
    tried.push_back(path);
    BITMAP* bmp = fileReader(path);
    if (bmp) {
        loaded.push_back(bmp);
        loadedFrom[path] = bmp;
    }
    return bmp;
}

void expectSprite(const Sprite& sprite, BITMAP* bitmap, int w, int h, int hotX, int hotY,
                  int frames, uint32_t phase, int ticksPerFrame)
{
    EXPECT_EQ(sprite.bitmap, bitmap);
    EXPECT_EQ(sprite.frameWidth, w);
    EXPECT_EQ(sprite.frameHeight, h);
    EXPECT_EQ(sprite.hotX, hotX);
    EXPECT_EQ(sprite.hotY, hotY);
    EXPECT_EQ(sprite.frameCount, frames);
    EXPECT_EQ(sprite.phase, phase);
    EXPECT_EQ(sprite.ticksPerFrame, ticksPerFrame);
}

void expectUntouched(const Sprite& sprite)
{
    expectSprite(sprite, nullptr, 0, 0, 0, 0, 0, 0, 1);
}

// Runs loadAssets in a scratch directory holding the game's files but `missing`, and puts
// every global it fills back afterwards.
struct AssetsLoading : ::testing::Test {
    std::string dir;
    Rider* savedRiders[2];
    BITMAP* savedWaterTexture;
    int savedWaterSize[2];
    AnimatedSprite savedBanks[2];
    ObstacleKind savedKinds[4];
    BITMAP* savedTitle;
    BITMAP* savedShadow;
    SAMPLE* savedSamples[14];
    BITMAP* titleMarker = nullptr;

    void SetUp() override
    {
        char pattern[] = "/tmp/riverduel-assets-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        std::filesystem::create_directory(dir + "/bitmaps");
        std::filesystem::create_directory(dir + "/sound");

        savedRiders[0] = riders[0];
        savedRiders[1] = riders[1];
        savedWaterTexture = water.texture;
        savedWaterSize[0] = water.textureWidth;
        savedWaterSize[1] = water.textureHeight;
        savedBanks[0] = banks.left;
        savedBanks[1] = banks.right;
        for (int k = 0; k < 4; ++k)
            savedKinds[k] = obstacleKinds[k];
        savedTitle = titleBitmap;
        savedShadow = bridgeShadowBitmap;
        for (int i = 0; i < 14; ++i)
            savedSamples[i] = *SAMPLE_SLOTS[i];

        // The state of a fresh start: nothing loaded yet.
        riders[0] = riders[1] = nullptr;
        water.texture = nullptr;
        water.textureWidth = water.textureHeight = 0;
        banks.left = AnimatedSprite();
        banks.right = AnimatedSprite();
        for (ObstacleKind& kind : obstacleKinds) {
            kind.sprite = AnimatedSprite();
            kind.layerMask = kind.damage = kind.sound = 0;
            kind.ownSpeed = 0.0f;
        }
        titleMarker = create_bitmap(1, 1);
        titleBitmap = bridgeShadowBitmap = titleMarker;

        fileReader = imageReader;
        imageReader = recordingReader;
        tried.clear();
        loaded.clear();
        loadedFrom.clear();
    }

    void TearDown() override
    {
        imageReader = fileReader;
        for (Rider* rider : riders)
            delete rider;
        riders[0] = savedRiders[0];
        riders[1] = savedRiders[1];
        water.texture = savedWaterTexture;
        water.textureWidth = savedWaterSize[0];
        water.textureHeight = savedWaterSize[1];
        banks.left = savedBanks[0];
        banks.right = savedBanks[1];
        for (int k = 0; k < 4; ++k)
            obstacleKinds[k] = savedKinds[k];
        titleBitmap = savedTitle;
        bridgeShadowBitmap = savedShadow;
        for (int i = 0; i < 14; ++i) {
            if (*SAMPLE_SLOTS[i] && *SAMPLE_SLOTS[i] != savedSamples[i])
                destroy_sample(*SAMPLE_SLOTS[i]);
            *SAMPLE_SLOTS[i] = savedSamples[i];
        }
        for (BITMAP* bmp : loaded)
            destroy_bitmap(bmp);
        if (titleMarker)
            destroy_bitmap(titleMarker);
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    void writeFiles(const std::set<std::string>& missing = {}, int bridgeHeight = 60)
    {
        for (const std::string& sound : assetNamesIn("sound")) {
            const std::string file = "./sound/" + sound;
            if (!missing.count(file))
                writeWav(dir + "/" + file);
        }
        int shade = 0;
        for (const std::string& file : CATALOGUE) {
            if (missing.count(file))
                continue;
            int w, h;
            imageSize(file, bridgeHeight, w, h);
            BITMAP* bmp = create_bitmap(w, h);
            clear_to_color(bmp, makecol(40 + 10 * shade, 100, 20 + 5 * shade));
            ++shade;
            ASSERT_EQ(save_bitmap((dir + "/" + file).c_str(), bmp, nullptr), 0) << file;
            destroy_bitmap(bmp);
        }
    }

    bool load()
    {
        char cwd[PATH_MAX];
        EXPECT_NE(getcwd(cwd, sizeof cwd), nullptr);
        EXPECT_EQ(chdir(dir.c_str()), 0);
        const bool failed = loadAssets();
        EXPECT_EQ(chdir(cwd), 0);
        return failed;
    }

    std::vector<std::string> catalogueUpTo(const char* last)
    {
        std::vector<std::string> files;
        for (const std::string& file : CATALOGUE) {
            files.push_back(file);
            if (file == last)
                break;
        }
        return files;
    }
    BITMAP* from(const char* file) { return loadedFrom.at(file); }
};

TEST_F(AssetsLoading, EveryFileGoesToItsSpriteWithTheCatalogueParameters)
{
    writeFiles();
    ASSERT_FALSE(load());
    EXPECT_EQ(tried, catalogueUpTo("./bitmaps/kalvanto.bmp"));
    ASSERT_NE(riders[0], nullptr);
    ASSERT_NE(riders[1], nullptr);
    EXPECT_NE(riders[0], riders[1]);

    const Rider& a = *riders[0];
    expectSprite(a.surfaceSprite, from("./bitmaps/zem0.bmp"), 50, 100, 25, 50, 4, 0, 5);
    expectSprite(a.submergedSprite, from("./bitmaps/voda0.bmp"), 50, 100, 25, 50, 4, 0, 5);
    expectSprite(a.airborneSprite, from("./bitmaps/vzduch0.bmp"), 50, 100, 25, 50, 1, 0, 1);
    expectSprite(a.windUpSprite, from("./bitmaps/naprah0.bmp"), 50, 100, 25, 50, 4, 0, 5);
    expectSprite(a.shadowSprite, from("./bitmaps/shadow.bmp"), 50, 100, 25, 50, 1, 0, 1);
    const Rider& b = *riders[1];
    expectSprite(b.surfaceSprite, from("./bitmaps/zem1.bmp"), 50, 100, 25, 50, 4, 10, 5);
    expectSprite(b.submergedSprite, from("./bitmaps/voda1.bmp"), 50, 100, 25, 50, 4, 10, 5);
    expectSprite(b.airborneSprite, from("./bitmaps/vzduch1.bmp"), 50, 100, 25, 50, 1, 0, 1);
    expectSprite(b.windUpSprite, from("./bitmaps/naprah1.bmp"), 50, 100, 25, 50, 4, 10, 5);
    // One shadow picture, read once, behind both riders.
    expectSprite(b.shadowSprite, from("./bitmaps/shadow.bmp"), 50, 100, 25, 50, 1, 0, 1);

    EXPECT_EQ(water.texture, from("./bitmaps/voda-textura.tga"));
    EXPECT_EQ(water.textureWidth, 64);
    EXPECT_EQ(water.textureHeight, 48);
    expectSprite(banks.left, from("./bitmaps/brehlavy.bmp"), 100, 600, 0, 0, 4, 0, 9);
    expectSprite(banks.right, from("./bitmaps/brehpravy.bmp"), 100, 600, 0, 0, 4, 0, 9);

    const ObstacleKind& rock = obstacleKinds[KIND_ROCK];
    expectSprite(rock.sprite, from("./bitmaps/skala.bmp"), 100, 100, 0, 0, 3, 0, 3);
    EXPECT_EQ(rock.layerMask, 3);
    EXPECT_EQ(rock.damage, 10);
    EXPECT_EQ(rock.ownSpeed, 0.0f);
    EXPECT_EQ(rock.sound, SND_ROCK);
    const ObstacleKind& log = obstacleKinds[KIND_LOG];
    expectSprite(log.sprite, from("./bitmaps/drevo.bmp"), 200, 100, 0, 0, 4, 0, 3);
    EXPECT_EQ(log.layerMask, 2);
    EXPECT_EQ(log.damage, 5);
    EXPECT_EQ(log.ownSpeed, 5.0f);
    EXPECT_EQ(log.sound, SND_LOG);
    const ObstacleKind& burger = obstacleKinds[KIND_BURGER];
    expectSprite(burger.sprite, from("./bitmaps/hambac.bmp"), 50, 50, 0, 0, 1, 0, 1);
    EXPECT_EQ(burger.layerMask, 7);
    EXPECT_EQ(burger.damage, 0);
    EXPECT_EQ(burger.ownSpeed, 0.0f);
    EXPECT_EQ(burger.sound, SND_BURGER);
    const ObstacleKind& bridge = obstacleKinds[KIND_BRIDGE];
    expectSprite(bridge.sprite, from("./bitmaps/most.tga"), 800, 60, 0, 0, 1, 0, 1);
    EXPECT_EQ(bridge.layerMask, 4);
    EXPECT_EQ(bridge.damage, 10);
    EXPECT_EQ(bridge.ownSpeed, 0.0f);
    EXPECT_EQ(bridge.sound, SND_BRIDGE);

    EXPECT_EQ(bridgeShadowBitmap, from("./bitmaps/mosttien.tga"));
    EXPECT_EQ(titleBitmap, from("./bitmaps/kalvanto.bmp"));
    for (SAMPLE** slot : SAMPLE_SLOTS)
        EXPECT_NE(*slot, nullptr);
}

struct AssetsMissingFile : AssetsLoading, ::testing::WithParamInterface<int> {};

TEST_P(AssetsMissingFile, LoadingStopsRightAfterTheMissingFile)
{
    const std::string missing = CATALOGUE[GetParam()];
    writeFiles({missing});
    EXPECT_TRUE(load());
    EXPECT_EQ(tried, catalogueUpTo(missing.c_str()));
    EXPECT_NE(riders[0], nullptr);
    EXPECT_NE(riders[1], nullptr);
}

INSTANTIATE_TEST_SUITE_P(AssetsEachFile, AssetsMissingFile, ::testing::Range(0, 18));

TEST_F(AssetsLoading, WithoutTheTitleEverythingElseIsLoadedAndTheTitleIsNull)
{
    writeFiles({"./bitmaps/kalvanto.bmp"});
    EXPECT_TRUE(load());
    EXPECT_EQ(titleBitmap, nullptr);
    EXPECT_EQ(bridgeShadowBitmap, from("./bitmaps/mosttien.tga"));
    ASSERT_NE(riders[0], nullptr);
    ASSERT_NE(riders[1], nullptr);
    EXPECT_EQ(riders[1]->windUpSprite.bitmap, from("./bitmaps/naprah1.bmp"));
    EXPECT_EQ(obstacleKinds[KIND_BRIDGE].sprite.bitmap, from("./bitmaps/most.tga"));
    EXPECT_EQ(obstacleKinds[KIND_BRIDGE].layerMask, 4);
}

TEST_F(AssetsLoading, WithoutTheBridgeShadowItIsNullAndTheTitleIsNotRead)
{
    writeFiles({"./bitmaps/mosttien.tga"});
    EXPECT_TRUE(load());
    EXPECT_EQ(bridgeShadowBitmap, nullptr);
    EXPECT_EQ(titleBitmap, titleMarker);
}

TEST_F(AssetsLoading, WithoutTheFirstRiderFrameOnlyTheRidersExist)
{
    writeFiles({"./bitmaps/zem0.bmp"});
    EXPECT_TRUE(load());
    EXPECT_EQ(tried, std::vector<std::string>{"./bitmaps/zem0.bmp"});
    ASSERT_NE(riders[0], nullptr);
    ASSERT_NE(riders[1], nullptr);
    for (const Rider* rider : riders) {
        expectUntouched(rider->surfaceSprite);
        expectUntouched(rider->shadowSprite);
    }
    EXPECT_EQ(water.texture, nullptr);
    expectUntouched(banks.left);
    EXPECT_NE(musicSample, nullptr);
}

TEST_F(AssetsLoading, ARiderGroupIsHandedOutOnlyOnceAllOfItIsRead)
{
    writeFiles({"./bitmaps/vzduch0.bmp"});
    EXPECT_TRUE(load());
    ASSERT_NE(riders[0], nullptr);
    expectUntouched(riders[0]->surfaceSprite);
    expectUntouched(riders[0]->submergedSprite);
    expectUntouched(riders[1]->shadowSprite);
}

TEST_F(AssetsLoading, WithoutTheLastSecondRiderFrameTheFirstRiderAndBothShadowsAreSet)
{
    writeFiles({"./bitmaps/naprah1.bmp"});
    EXPECT_TRUE(load());
    ASSERT_NE(riders[1], nullptr);
    expectSprite(riders[0]->windUpSprite, from("./bitmaps/naprah0.bmp"), 50, 100, 25, 50, 4, 0, 5);
    expectSprite(riders[1]->shadowSprite, from("./bitmaps/shadow.bmp"), 50, 100, 25, 50, 1, 0, 1);
    expectUntouched(riders[1]->surfaceSprite);
    expectUntouched(riders[1]->airborneSprite);
    EXPECT_EQ(water.texture, nullptr);
}

TEST_F(AssetsLoading, WithoutTheRightBankTheLeftIsSetAndNoObstacleIsRead)
{
    writeFiles({"./bitmaps/brehpravy.bmp"});
    EXPECT_TRUE(load());
    EXPECT_EQ(tried, catalogueUpTo("./bitmaps/brehpravy.bmp"));
    expectSprite(banks.left, from("./bitmaps/brehlavy.bmp"), 100, 600, 0, 0, 4, 0, 9);
    expectUntouched(banks.right);
    EXPECT_EQ(water.texture, from("./bitmaps/voda-textura.tga"));
    for (const ObstacleKind& kind : obstacleKinds) {
        expectUntouched(kind.sprite);
        EXPECT_EQ(kind.layerMask, 0);
        EXPECT_EQ(kind.damage, 0);
    }
    EXPECT_EQ(titleBitmap, titleMarker);
}

TEST_F(AssetsLoading, AMissingSoundStopsBeforeTheRidersAndTheArt)
{
    writeFiles({"./sound/naskok.wav"});
    EXPECT_TRUE(load());
    EXPECT_EQ(riders[0], nullptr);
    EXPECT_EQ(riders[1], nullptr);
    EXPECT_TRUE(tried.empty());
}

struct AssetsBridgeHeight : AssetsLoading, ::testing::WithParamInterface<int> {};

TEST_P(AssetsBridgeHeight, TheBridgeSpansTheScreenAndIsAsHighAsItsFile)
{
    writeFiles({}, GetParam());
    ASSERT_FALSE(load());
    expectSprite(obstacleKinds[KIND_BRIDGE].sprite, from("./bitmaps/most.tga"), 800, GetParam(),
                 0, 0, 1, 0, 1);
}

INSTANTIATE_TEST_SUITE_P(AssetsHeights, AssetsBridgeHeight, ::testing::Values(1, 37, 600));

} // namespace
