// Checks the art and sounds that the build draws and synthesises: every file the game loads
// exists, has the frame layout its sprite expects, is transparent where it should be, and the
// sounds load, fit in 16 bits without clipping and the tune loops cleanly.
#include <gtest/gtest.h>

#include <allegro.h>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "test_files.h"

namespace {

const std::string BITMAPS = RIVERDUEL_BUILD_DIR "/bitmaps/";
const std::string SOUNDS = RIVERDUEL_BUILD_DIR "/sound/";

struct Loaded {
    BITMAP* bmp;
    explicit Loaded(const std::string& name) : bmp(load_bitmap((BITMAPS + name).c_str(), nullptr)) {}
    ~Loaded()
    {
        if (bmp)
            destroy_bitmap(bmp);
    }
    Loaded(const Loaded&) = delete;
    Loaded& operator=(const Loaded&) = delete;
};

bool masked(BITMAP* b, int x, int y)
{
    return getpixel(b, x, y) == makecol(255, 0, 255);
}

int maskedCount(BITMAP* b, int x0, int y0, int w, int h)
{
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            n += masked(b, x, y);
    return n;
}

double colourDistance(int a, int b)
{
    return std::abs(getr(a) - getr(b)) + std::abs(getg(a) - getg(b)) + std::abs(getb(a) - getb(b));
}

struct Layout {
    const char* file;
    int width, height, frameWidth, frameHeight;
};

// The size each picture's sprite expects; 0 means "any".
const Layout SIZES[] = {
    {"zem0.bmp", 200, 100, 50, 100},      {"voda0.bmp", 200, 100, 50, 100},
    {"vzduch0.bmp", 50, 100, 50, 100},    {"naprah0.bmp", 200, 100, 50, 100},
    {"shadow.bmp", 50, 100, 50, 100},     {"zem1.bmp", 200, 100, 50, 100},
    {"voda1.bmp", 200, 100, 50, 100},     {"vzduch1.bmp", 50, 100, 50, 100},
    {"naprah1.bmp", 200, 100, 50, 100},   {"voda-textura.tga", 0, 0, 0, 0},
    {"brehlavy.bmp", 400, 600, 100, 600}, {"brehpravy.bmp", 400, 600, 100, 600},
    {"skala.bmp", 300, 100, 100, 100},    {"drevo.bmp", 800, 100, 200, 100},
    {"hambac.bmp", 50, 50, 50, 50},       {"most.tga", 800, 0, 800, 0},
    {"mosttien.tga", 800, 0, 800, 0},     {"kalvanto.bmp", 0, 0, 0, 0},
};

// Every picture of the game's list, with its expected size.
std::vector<Layout> layouts()
{
    std::vector<Layout> out;
    for (const std::string& name : assetNamesIn("bitmaps")) {
        bool found = false;
        for (const Layout& l : SIZES)
            if (name == l.file) {
                out.push_back(l);
                found = true;
            }
        EXPECT_TRUE(found) << name << " has no expected size";
    }
    return out;
}

TEST(GeneratedAssetsLayout, EveryCatalogueImageLoadsAtItsStripSize)
{
    const std::vector<Layout> all = layouts();
    EXPECT_EQ(all.size(), 18u);
    for (const Layout& l : all) {
        Loaded img(l.file);
        ASSERT_NE(img.bmp, nullptr) << l.file;
        if (l.width) {
            EXPECT_EQ(img.bmp->w, l.width) << l.file;
        }
        if (l.height) {
            EXPECT_EQ(img.bmp->h, l.height) << l.file;
        }
    }
    Loaded bridge("most.tga"), shadow("mosttien.tga"), title("kalvanto.bmp");
    EXPECT_GE(bridge.bmp->h, 40);
    EXPECT_LE(bridge.bmp->h, 200);
    EXPECT_GE(shadow.bmp->h, 20);
    // The end screen centres the title and writes "<name> is the" 20 pixels above it.
    EXPECT_LE(title.bmp->w, 800);
    EXPECT_LE(title.bmp->h, 300);
    EXPECT_GE(title.bmp->w, 300);
}

TEST(GeneratedAssetsLayout, SpriteFramesAreTransparentRoundTheirPicture)
{
    for (const Layout& l : layouts()) {
        if (!l.frameWidth || !l.frameHeight || l.frameHeight == 600)
            continue;
        Loaded img(l.file);
        ASSERT_NE(img.bmp, nullptr) << l.file;
        for (int fx = 0; fx < img.bmp->w; fx += l.frameWidth) {
            const int right = fx + l.frameWidth - 1, bottom = l.frameHeight - 1;
            EXPECT_TRUE(masked(img.bmp, fx, 0)) << l.file << " frame at " << fx;
            EXPECT_TRUE(masked(img.bmp, right, 0)) << l.file << " frame at " << fx;
            EXPECT_TRUE(masked(img.bmp, fx, bottom)) << l.file << " frame at " << fx;
            EXPECT_TRUE(masked(img.bmp, right, bottom)) << l.file << " frame at " << fx;
            const int opaque = l.frameWidth * l.frameHeight - maskedCount(img.bmp, fx, 0, l.frameWidth, l.frameHeight);
            EXPECT_GT(opaque, l.frameWidth * l.frameHeight / 10) << l.file << " frame at " << fx;
        }
    }
}

// Bounding box of the opaque pixels of one frame.
struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
};

Box opaqueBox(BITMAP* b, int fx, int w, int h)
{
    Box box;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (!masked(b, fx + x, y)) {
                box.x0 = std::min(box.x0, x);
                box.x1 = std::max(box.x1, x);
                box.y0 = std::min(box.y0, y);
                box.y1 = std::max(box.y1, y);
            }
    return box;
}

TEST(GeneratedAssetsRiders, BodiesStayInsideTheirFrameCentredOnTheHotSpot)
{
    const char* files[] = {"zem0.bmp",   "voda0.bmp",   "vzduch0.bmp", "naprah0.bmp", "shadow.bmp",
                           "zem1.bmp",   "voda1.bmp",   "vzduch1.bmp", "naprah1.bmp"};
    for (const char* file : files) {
        Loaded img(file);
        ASSERT_NE(img.bmp, nullptr) << file;
        for (int fx = 0; fx < img.bmp->w; fx += 50) {
            const Box box = opaqueBox(img.bmp, fx, 50, 100);
            // Not cut off by the frame's edges ...
            EXPECT_GT(box.x0, 0) << file << " frame at " << fx;
            EXPECT_LT(box.x1, 49) << file << " frame at " << fx;
            EXPECT_GT(box.y0, 0) << file << " frame at " << fx;
            EXPECT_LT(box.y1, 99) << file << " frame at " << fx;
            // ... and centred across on the hot spot (25, 50).
            EXPECT_NEAR((box.x0 + box.x1 + 1) / 2.0, 25.0, 3.0) << file << " frame at " << fx;
        }
    }
}

TEST(GeneratedAssetsRiders, AirborneRiderLooksBiggerThanTheFloatingOne)
{
    for (const char* n : {"0", "1"}) {
        Loaded floating(std::string("zem") + n + ".bmp"), air(std::string("vzduch") + n + ".bmp");
        const int floatingArea = 50 * 100 - maskedCount(floating.bmp, 0, 0, 50, 100);
        const int airArea = 50 * 100 - maskedCount(air.bmp, 0, 0, 50, 100);
        EXPECT_GT(airArea, floatingArea * 11 / 10) << n;
    }
}

// Mean of red minus blue over the opaque pixels: positive for warm pictures, negative for cool.
double warmth(BITMAP* b)
{
    double sum = 0;
    int n = 0;
    for (int y = 0; y < b->h; ++y)
        for (int x = 0; x < b->w; ++x) {
            const int c = getpixel(b, x, y);
            if (c == makecol(255, 0, 255))
                continue;
            sum += getr(c) - getb(c);
            ++n;
        }
    return n ? sum / n : 0;
}

TEST(GeneratedAssetsRiders, FirstRiderIsWarmAndSecondCoolInEveryPose)
{
    for (const char* pose : {"zem", "vzduch", "naprah"}) {
        Loaded first(std::string(pose) + "0.bmp"), second(std::string(pose) + "1.bmp");
        EXPECT_GT(warmth(first.bmp), 30.0) << pose;
        EXPECT_LT(warmth(second.bmp), -5.0) << pose;
    }
    // Under the water both are mostly blue, the second still the cooler of the two.
    Loaded first("voda0.bmp"), second("voda1.bmp");
    EXPECT_LT(warmth(first.bmp), 0.0);
    EXPECT_LT(warmth(second.bmp), warmth(first.bmp));
}

TEST(GeneratedAssetsRiders, ShadowIsOneDarkColourAndAnimatedStripsMove)
{
    Loaded shadow("shadow.bmp");
    int colour = -1;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 50; ++x)
            if (!masked(shadow.bmp, x, y)) {
                if (colour < 0)
                    colour = getpixel(shadow.bmp, x, y);
                ASSERT_EQ(getpixel(shadow.bmp, x, y), colour);
            }
    ASSERT_GE(colour, 0);
    EXPECT_LT(getr(colour) + getg(colour) + getb(colour), 150);

    const Layout animated[] = {{"zem0.bmp", 200, 100, 50, 100},     {"voda1.bmp", 200, 100, 50, 100},
                               {"naprah0.bmp", 200, 100, 50, 100},  {"skala.bmp", 300, 100, 100, 100},
                               {"drevo.bmp", 800, 100, 200, 100},   {"brehlavy.bmp", 400, 600, 100, 600},
                               {"brehpravy.bmp", 400, 600, 100, 600}};
    for (const Layout& l : animated) {
        Loaded img(l.file);
        const int frames = l.width / l.frameWidth;
        for (int f = 0; f < frames; ++f) {
            const int g = (f + 1) % frames;
            int differing = 0;
            for (int y = 0; y < l.frameHeight; ++y)
                for (int x = 0; x < l.frameWidth; ++x)
                    differing += getpixel(img.bmp, f * l.frameWidth + x, y) != getpixel(img.bmp, g * l.frameWidth + x, y);
            EXPECT_GT(differing, 20) << l.file << " frames " << f << " and " << g;
        }
    }
}

// Mean colour difference between columns (or rows) a and b of a picture.
double lineDifference(BITMAP* b, int a, int c, bool columns)
{
    const int n = columns ? b->h : b->w;
    double sum = 0;
    for (int i = 0; i < n; ++i)
        sum += columns ? colourDistance(getpixel(b, a, i), getpixel(b, c, i))
                       : colourDistance(getpixel(b, i, a), getpixel(b, i, c));
    return sum / n;
}

// The mean difference between neighbouring lines inside the picture.
double innerDifference(BITMAP* b, bool columns)
{
    const int n = columns ? b->w : b->h;
    double sum = 0;
    for (int i = 0; i + 1 < n; ++i)
        sum += lineDifference(b, i, i + 1, columns);
    return sum / (n - 1);
}

TEST(GeneratedAssetsScenery, WaterTileIsOpaqueCoversTheRiverAndTilesWithoutSeams)
{
    Loaded tile("voda-textura.tga");
    ASSERT_NE(tile.bmp, nullptr);
    // water.draw(backBuffer, 4, 5, 50, 0) must reach the right bank at 700 and the bottom at 600.
    EXPECT_GE(tile.bmp->w, 163);
    EXPECT_GE(tile.bmp->h, 120);
    EXPECT_EQ(maskedCount(tile.bmp, 0, 0, tile.bmp->w, tile.bmp->h), 0);
    const double across = lineDifference(tile.bmp, tile.bmp->w - 1, 0, true);
    const double down = lineDifference(tile.bmp, tile.bmp->h - 1, 0, false);
    EXPECT_LT(across, 2.0 * innerDifference(tile.bmp, true) + 4.0);
    EXPECT_LT(down, 2.0 * innerDifference(tile.bmp, false) + 4.0);
    // Blue water.
    const int middle = getpixel(tile.bmp, tile.bmp->w / 2, tile.bmp->h / 2);
    EXPECT_GT(getb(middle), getr(middle));
}

TEST(GeneratedAssetsScenery, BanksHoldLandOnTheirOuterSideAndWaterInside)
{
    Loaded left("brehlavy.bmp"), right("brehpravy.bmp");
    ASSERT_NE(left.bmp, nullptr);
    ASSERT_NE(right.bmp, nullptr);
    for (int f = 0; f < 4; ++f) {
        const int fx = f * 100;
        for (int y = 0; y < 600; ++y) {
            // The water tiling starts at x 50 and ends at 850, so the banks must cover the
            // screen up to there with land.
            ASSERT_EQ(maskedCount(left.bmp, fx, y, 50, 1), 0) << "left frame " << f << " row " << y;
            ASSERT_EQ(maskedCount(right.bmp, fx + 50, y, 50, 1), 0) << "right frame " << f << " row " << y;
            // The river side is open water in every row.
            ASSERT_TRUE(masked(left.bmp, fx + 99, y)) << "left frame " << f << " row " << y;
            ASSERT_TRUE(masked(right.bmp, fx, y)) << "right frame " << f << " row " << y;
        }
        // Two copies 600 pixels apart scroll down the screen: the strip joins itself.
        for (BITMAP* b : {left.bmp, right.bmp}) {
            double seam = 0, inner = 0;
            for (int x = fx; x < fx + 100; ++x) {
                seam += colourDistance(getpixel(b, x, 599), getpixel(b, x, 0));
                for (int y = 0; y < 599; ++y)
                    inner += colourDistance(getpixel(b, x, y), getpixel(b, x, y + 1));
            }
            EXPECT_LT(seam / 100, 2.0 * inner / (100 * 599) + 30.0) << "frame " << f;
        }
    }
}

TEST(GeneratedAssetsScenery, BridgeSpansTheScreenAndItsShadowIsDithered)
{
    Loaded bridge("most.tga"), shadow("mosttien.tga");
    for (int x = 0; x < 800; ++x)
        ASSERT_FALSE(masked(bridge.bmp, x, bridge.bmp->h / 2)) << x;
    int dark = 0;
    for (int y = 0; y < shadow.bmp->h; ++y)
        for (int x = 0; x < 800; ++x) {
            if (masked(shadow.bmp, x, y))
                continue;
            ++dark;
            const int c = getpixel(shadow.bmp, x, y);
            ASSERT_LT(getr(c) + getg(c) + getb(c), 120) << x << "," << y;
            // Every shadow pixel has water showing beside it.
            if (x + 1 < 800) {
                ASSERT_TRUE(masked(shadow.bmp, x + 1, y)) << x << "," << y;
            }
            if (y + 1 < shadow.bmp->h) {
                ASSERT_TRUE(masked(shadow.bmp, x, y + 1)) << x << "," << y;
            }
        }
    EXPECT_GT(dark, 800 * shadow.bmp->h / 4);
}

TEST(GeneratedAssetsScenery, IconIsASmallBitmap)
{
    BITMAP* icon = load_bitmap(RIVERDUEL_BUILD_DIR "/icon/riverduel.bmp", nullptr);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->w, 48);
    EXPECT_EQ(icon->h, 48);
    destroy_bitmap(icon);
}

// Signed 16-bit view of a loaded sample (the library keeps 16-bit data unsigned).
std::vector<int> samplesOf(SAMPLE* s)
{
    std::vector<int> out(s->len);
    for (unsigned long i = 0; i < s->len; ++i)
        out[i] = s->bits == 16 ? static_cast<int>(static_cast<const uint16_t*>(s->data)[i]) - 0x8000
                               : (static_cast<int>(static_cast<const uint8_t*>(s->data)[i]) - 0x80) * 256;
    return out;
}


TEST(GeneratedAssetsSounds, EverySoundLoadsAsAudibleUnclippedMono)
{
    for (const std::string& file : assetNamesIn("sound")) {
        SAMPLE* s = load_sample((SOUNDS + file).c_str());
        ASSERT_NE(s, nullptr) << file;
        EXPECT_EQ(s->stereo, 0) << file;
        EXPECT_GE(s->freq, 11025) << file;
        const std::vector<int> v = samplesOf(s);
        int peak = 0;
        for (int x : v)
            peak = std::max(peak, std::abs(x));
        EXPECT_LT(peak, 32000) << file;
        EXPECT_GT(peak, 8000) << file;
        const double seconds = static_cast<double>(s->len) / s->freq;
        if (file != "podklad.wav") {
            EXPECT_LT(seconds, 3.0) << file;
        }
        // Effects fade out rather than stop on a click.
        EXPECT_LT(std::abs(v.back()), 300) << file;
        destroy_sample(s);
    }
}

TEST(GeneratedAssetsSounds, TuneLastsTenToTwentySecondsAndLoopsWithoutAClick)
{
    SAMPLE* s = load_sample((SOUNDS + "podklad.wav").c_str());
    ASSERT_NE(s, nullptr);
    const double seconds = static_cast<double>(s->len) / s->freq;
    EXPECT_GE(seconds, 10.0);
    EXPECT_LE(seconds, 20.0);
    const std::vector<int> v = samplesOf(s);
    EXPECT_LT(std::abs(v.front()), 200);
    EXPECT_LT(std::abs(v.back()), 200);
    EXPECT_LT(std::abs(v.back() - v.front()), 200);
    // The step across the loop point is no bigger than the steps inside the tune.
    int largestStep = 0;
    for (size_t i = 1; i < v.size(); ++i)
        largestStep = std::max(largestStep, std::abs(v[i] - v[i - 1]));
    EXPECT_LE(std::abs(v.front() - v.back()), largestStep);
    destroy_sample(s);
}

TEST(GeneratedAssetsSounds, TheTwoBumpsSoundDifferent)
{
    SAMPLE* a = load_sample((SOUNDS + "naraz1.wav").c_str());
    SAMPLE* b = load_sample((SOUNDS + "naraz2.wav").c_str());
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    const std::vector<int> va = samplesOf(a), vb = samplesOf(b);
    double diff = 0;
    for (size_t i = 0; i < std::min(va.size(), vb.size()); ++i)
        diff += std::abs(va[i] - vb[i]);
    EXPECT_GT(diff / std::min(va.size(), vb.size()), 1000.0);
    destroy_sample(a);
    destroy_sample(b);
}

// Lays all the art out on one sheet, over a mock river scene, for a look by eye.
TEST(GeneratedAssetsContactSheet, AllArtOnOneSheet)
{
    BITMAP* sheet = create_bitmap(1060, 1200);
    clear_to_color(sheet, makecol(96, 96, 104));
    Loaded water("voda-textura.tga"), left("brehlavy.bmp"), right("brehpravy.bmp"), rock("skala.bmp"),
        log("drevo.bmp"), burger("hambac.bmp"), bridge("most.tga"), shadow("mosttien.tga"), title("kalvanto.bmp"),
        zem0("zem0.bmp"), zem1("zem1.bmp"), voda0("voda0.bmp"), voda1("voda1.bmp"), air0("vzduch0.bmp"),
        air1("vzduch1.bmp"), windUp0("naprah0.bmp"), windUp1("naprah1.bmp"), riderShadow("shadow.bmp");
    BITMAP* scene = create_bitmap(800, 600);
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 4; ++j)
            blit(water.bmp, scene, 0, 0, 50 + j * water.bmp->w, i * water.bmp->h, water.bmp->w, water.bmp->h);
    masked_blit(left.bmp, scene, 0, 0, 0, 0, 100, 600);
    masked_blit(right.bmp, scene, 100, 0, 700, 0, 100, 600);
    masked_blit(rock.bmp, scene, 0, 0, 150, 300, 100, 100);
    masked_blit(log.bmp, scene, 200, 0, 420, 260, 200, 100);
    masked_blit(burger.bmp, scene, 0, 0, 330, 380, 50, 50);
    masked_blit(shadow.bmp, scene, 0, 0, 0, 80 + 20, 800, shadow.bmp->h);
    masked_blit(bridge.bmp, scene, 0, 0, 0, 80, 800, bridge.bmp->h);
    masked_blit(voda1.bmp, scene, 50, 0, 520, 466, 50, 100);
    masked_blit(zem0.bmp, scene, 0, 0, 300, 450, 50, 100);
    masked_blit(riderShadow.bmp, scene, 0, 0, 420, 450, 50, 100);
    masked_blit(air1.bmp, scene, 0, 0, 420, 400, 50, 100);
    masked_blit(windUp0.bmp, scene, 100, 0, 620, 450, 50, 100);
    blit(scene, sheet, 0, 0, 10, 10, 800, 600);
    destroy_bitmap(scene);

    int y = 620;
    for (BITMAP* strip : {zem0.bmp, zem1.bmp, voda0.bmp, voda1.bmp}) {
        masked_blit(strip, sheet, 0, 0, 10 + (y >= 840 ? 220 : 0), 620 + ((y - 620) % 220), 200, 100);
        y += 110;
    }
    masked_blit(windUp0.bmp, sheet, 0, 0, 440, 620, 200, 100);
    masked_blit(windUp1.bmp, sheet, 0, 0, 440, 730, 200, 100);
    masked_blit(air0.bmp, sheet, 0, 0, 660, 620, 50, 100);
    masked_blit(air1.bmp, sheet, 0, 0, 720, 620, 50, 100);
    masked_blit(riderShadow.bmp, sheet, 0, 0, 780, 620, 50, 100);
    masked_blit(burger.bmp, sheet, 0, 0, 660, 740, 50, 50);
    masked_blit(rock.bmp, sheet, 0, 0, 10, 840, 300, 100);
    masked_blit(log.bmp, sheet, 0, 0, 10, 950, 800, 100);
    masked_blit(title.bmp, sheet, 0, 0, 10, 1060, title.bmp->w, title.bmp->h);
    masked_blit(left.bmp, sheet, 0, 0, 820, 10, 100, 600);
    masked_blit(right.bmp, sheet, 300, 0, 930, 10, 100, 600);
    const std::string path = RIVERDUEL_BUILD_DIR "/contact_sheet.bmp";
    EXPECT_EQ(save_bmp(path.c_str(), sheet, nullptr), 0);
    destroy_bitmap(sheet);
}

} // namespace
