// Art and sound files are checked before they are decoded: damaged copies of real files must be
// refused (or load as a sane bitmap / sample), never crash the game at start-up.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "audio/wav_check.h"
#include "audio/wav_file.h"
#include "harness.h"
#include "presentation/image_check.h"
#include "presentation/image_file.h"

namespace {

using Bytes = std::vector<unsigned char>;

const char* const gameBitmaps[] = {
    "zem0.bmp",     "voda0.bmp",        "vzduch0.bmp",  "naprah0.bmp",   "shadow.bmp",
    "zem1.bmp",     "voda1.bmp",        "vzduch1.bmp",  "naprah1.bmp",   "voda-textura.tga",
    "brehlavy.bmp", "brehpravy.bmp",    "skala.bmp",    "drevo.bmp",     "hambac.bmp",
    "most.tga",     "mosttien.tga",     "kalvanto.bmp",
};
const char* const gameSounds[] = {
    "podklad.wav", "skok.wav",   "dopad.wav",  "vynor.wav",  "ponor.wav",
    "drevo.wav",   "skala.wav",  "hambac.wav", "most.wav",   "naraz1.wav",
    "naraz2.wav",  "naskok.wav", "boink.wav",  "game_end.wav",
};

class TempDir {
public:
    TempDir()
    {
        char name[] = "/tmp/riverduel-files-XXXXXX";
        path_ = mkdtemp(name) ? name : "";
    }
    ~TempDir()
    {
        for (const std::string& f : made_)
            unlink(f.c_str());
        rmdir(path_.c_str());
    }
    std::string file(const std::string& name)
    {
        const std::string full = path_ + "/" + name;
        made_.push_back(full);
        return full;
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::vector<std::string> made_;
};

bool readFile(const std::string& path, Bytes* out)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    out->clear();
    int c;
    while ((c = std::fgetc(f)) != EOF)
        out->push_back(static_cast<unsigned char>(c));
    std::fclose(f);
    return true;
}

void writeFile(const std::string& path, const Bytes& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    if (!bytes.empty()) {
        EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    }
    std::fclose(f);
}

void put16(Bytes& b, uint32_t v)
{
    b.push_back(v & 0xff);
    b.push_back((v >> 8) & 0xff);
}

void put32(Bytes& b, uint32_t v)
{
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}

void set32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = (v >> (8 * i)) & 0xff;
}

// A picture with every channel varying, a mask-coloured corner and a dark edge.
BITMAP* makePicture(int depth, int w, int h, int alpha = -1)
{
    BITMAP* bmp = create_bitmap_ex(depth, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int r = (x * 7) & 255, g = (y * 11) & 255, b = (x * y * 3) & 255;
            if (x < 4 && y < 3)
                r = 255, g = 0, b = 255;
            const int c = alpha >= 0 ? makeacol_depth(depth, r, g, b, alpha) : makecol_depth(depth, r, g, b);
            putpixel(bmp, x, y, c);
        }
    return bmp;
}

Bytes savedWith(int (*save)(const char*, BITMAP*, const RGB*), BITMAP* bmp, const RGB* pal,
                TempDir& dir, const char* name)
{
    const std::string path = dir.file(name);
    EXPECT_EQ(save(path.c_str(), bmp, pal), 0);
    Bytes bytes;
    readFile(path, &bytes);
    return bytes;
}

// The library writes 24-bit BMPs only; a 32-bit one (blue green red unused) is written by hand,
// top-down when asked, or with the V5 header and bit fields as image editors write it.
Bytes bmp32(BITMAP* bmp, bool topDown, bool v5 = false)
{
    Bytes b{'B', 'M'};
    const uint32_t pixels = bmp->w * bmp->h * 4;
    const uint32_t infoSize = v5 ? 124 : 40;
    put32(b, 14 + infoSize + pixels);
    put32(b, 0);
    put32(b, 14 + infoSize);
    put32(b, infoSize);
    put32(b, bmp->w);
    put32(b, topDown ? static_cast<uint32_t>(-bmp->h) : bmp->h);
    put16(b, 1);
    put16(b, 32);
    put32(b, v5 ? 3 : 0);
    put32(b, pixels);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    if (v5) {
        put32(b, 0x00ff0000);
        put32(b, 0x0000ff00);
        put32(b, 0x000000ff);
        put32(b, 0xff000000);
        b.resize(14 + infoSize, 0);
    }
    for (int row = 0; row < bmp->h; ++row) {
        const int y = topDown ? row : bmp->h - 1 - row;
        for (int x = 0; x < bmp->w; ++x) {
            const int c = getpixel(bmp, x, y);
            b.push_back(getb(c));
            b.push_back(getg(c));
            b.push_back(getr(c));
            b.push_back(0x80);
        }
    }
    return b;
}

// A run-length TGA (type 10, 24 bpp, top-down): runs of equal pixels, raw packets otherwise.
Bytes tgaRunLength(BITMAP* bmp)
{
    Bytes b(18, 0);
    b[2] = 10;
    b[12] = bmp->w & 0xff;
    b[13] = bmp->w >> 8;
    b[14] = bmp->h & 0xff;
    b[15] = bmp->h >> 8;
    b[16] = 24;
    b[17] = 0x20;
    std::vector<int> px;
    for (int y = 0; y < bmp->h; ++y)
        for (int x = 0; x < bmp->w; ++x)
            px.push_back(getpixel(bmp, x, y));
    auto pushPixel = [&](int c) {
        b.push_back(getb(c));
        b.push_back(getg(c));
        b.push_back(getr(c));
    };
    // Packets stay within a row, as writers are asked to.
    size_t i = 0;
    while (i < px.size()) {
        const size_t rowEnd = (i / bmp->w + 1) * bmp->w;
        size_t run = 1;
        while (i + run < rowEnd && run < 128 && px[i + run] == px[i])
            ++run;
        if (run > 1) {
            b.push_back(0x80 | (run - 1));
            pushPixel(px[i]);
        } else {
            size_t raw = 1;
            while (i + raw < rowEnd && raw < 128 && px[i + raw] != px[i + raw - 1])
                ++raw;
            b.push_back(raw - 1);
            for (size_t k = 0; k < raw; ++k)
                pushPixel(px[i + k]);
            run = raw;
        }
        i += run;
    }
    return b;
}

// A plain PCM WAV, by default with an odd-length LIST chunk before the data, as editors write
// them (the library's own reader does not skip the pad byte).
Bytes wavFile(int bits, int channels, int rate, int frames, bool withList = true)
{
    Bytes b{'R', 'I', 'F', 'F'};
    put32(b, 0);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(b, 16);
    put16(b, 1);
    put16(b, channels);
    put32(b, rate);
    put32(b, rate * channels * bits / 8);
    put16(b, channels * bits / 8);
    put16(b, bits);
    if (withList) {
        b.insert(b.end(), {'L', 'I', 'S', 'T'});
        put32(b, 5);
        b.insert(b.end(), {'I', 'N', 'F', 'O', 'x', 0});
    }
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    put32(b, frames * channels * bits / 8);
    for (int i = 0; i < frames * channels; ++i) {
        if (bits == 8)
            b.push_back((i * 37) & 255);
        else
            put16(b, static_cast<uint16_t>(i * 1237 - 30000));
    }
    set32(b, 4, b.size() - 8);
    return b;
}

struct Sample {
    std::string name; // extension decides the format
    Bytes bytes;
};

std::vector<Sample> syntheticImages(TempDir& dir)
{
    std::vector<Sample> out;
    BITMAP* pic32 = makePicture(32, 37, 21);
    BITMAP* pic24 = makePicture(24, 37, 21);
    BITMAP* picAlpha = makePicture(32, 37, 21, 255);
    BITMAP* pic8 = create_bitmap_ex(8, 13, 9);
    PALETTE pal;
    for (int i = 0; i < 256; ++i) {
        pal[i].r = i / 4;
        pal[i].g = 63 - i / 4;
        pal[i].b = (i * 5) & 63;
    }
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x)
            putpixel(pic8, x, y, (x * 19 + y * 7) & 255);
    out.push_back({"pic24.bmp", savedWith(save_bmp, pic32, nullptr, dir, "s24.bmp")});
    out.push_back({"pic8.bmp", savedWith(save_bmp, pic8, pal, dir, "s8.bmp")});
    out.push_back({"pic32.bmp", bmp32(pic32, false)});
    out.push_back({"pic32top.bmp", bmp32(pic32, true)});
    out.push_back({"pic32v5.bmp", bmp32(pic32, false, true)});
    out.push_back({"pic24.tga", savedWith(save_tga, pic24, nullptr, dir, "s24.tga")});
    out.push_back({"pic32.tga", savedWith(save_tga, pic32, nullptr, dir, "s32.tga")});
    out.push_back({"alpha32.tga", savedWith(save_tga, picAlpha, nullptr, dir, "a32.tga")});
    out.push_back({"rle24.tga", tgaRunLength(pic32)});
    destroy_bitmap(pic32);
    destroy_bitmap(pic24);
    destroy_bitmap(picAlpha);
    destroy_bitmap(pic8);
    return out;
}

std::vector<Sample> syntheticSounds()
{
    return {
        {"m8.wav", wavFile(8, 1, 22050, 301)},
        {"s8.wav", wavFile(8, 2, 11025, 200)},
        {"m16.wav", wavFile(16, 1, 44100, 257)},
        {"s16.wav", wavFile(16, 2, 22050, 150)},
    };
}

// The generated art and sounds of the build, where the generator has made them.
std::vector<Sample> generatedFiles()
{
    std::vector<Sample> out;
    for (const char* name : gameBitmaps) {
        Bytes bytes;
        if (readFile(std::string(RIVERDUEL_BUILD_DIR "/bitmaps/") + name, &bytes))
            out.push_back({name, bytes});
    }
    for (const char* name : gameSounds) {
        Bytes bytes;
        if (readFile(std::string(RIVERDUEL_BUILD_DIR "/sound/") + name, &bytes))
            out.push_back({name, bytes});
    }
    return out;
}

bool isSound(const std::string& name)
{
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".wav") == 0;
}

ImageFormat formatOf(const std::string& name)
{
    ImageFormat format = ImageFormat::BMP;
    imageFormatFromPath(name.c_str(), &format);
    return format;
}

// The start-up path on a file, plus the pure check on the same bytes: they must agree, and
// whatever loads must be usable.
struct Tally {
    int loaded = 0;
    int refused = 0;
};

void loadAsStartupDoes(TempDir& dir, const Sample& s, const Bytes& bytes, const std::string& what,
                       Tally& tally)
{
    const std::string path = dir.path() + "/damaged-" + s.name;
    writeFile(path, bytes);
    if (isSound(s.name)) {
        const bool sound = wavBytesLookSound(bytes.data(), bytes.size());
        SAMPLE* sample = loadSampleFile(path.c_str());
        EXPECT_EQ(sound, sample != nullptr) << what;
        ++(sample ? tally.loaded : tally.refused);
        if (sample) {
            EXPECT_GT(sample->len, 0u) << what;
            EXPECT_TRUE(sample->bits == 8 || sample->bits == 16) << what;
            destroy_sample(sample);
        }
    } else {
        const bool sound = imageBytesLookSound(bytes.data(), bytes.size(), formatOf(s.name));
        BITMAP* bmp = loadImage(path.c_str());
        EXPECT_EQ(sound, bmp != nullptr) << what;
        ++(bmp ? tally.loaded : tally.refused);
        if (bmp) {
            EXPECT_GT(bmp->w, 0) << what;
            EXPECT_GT(bmp->h, 0) << what;
            destroy_bitmap(bmp);
        }
    }
    unlink(path.c_str());
}

struct Lcg {
    uint32_t state;
    uint32_t next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};

std::vector<size_t> headerBoundaries(const Sample& s)
{
    if (isSound(s.name))
        return {0, 4, 8, 12, 16, 20, 22, 24, 28, 32, 34, 36, 40, 44, 46};
    if (formatOf(s.name) == ImageFormat::TGA)
        return {0, 1, 2, 3, 5, 7, 8, 12, 14, 16, 17, 18, 19, 21};
    return {0, 2, 6, 10, 14, 18, 22, 26, 28, 30, 34, 46, 50, 54, 55, 58, 62};
}

void damageAndLoad(TempDir& dir, const Sample& s, int mutations, uint32_t seed, Tally& tally)
{
    ASSERT_FALSE(s.bytes.empty()) << s.name;
    std::vector<size_t> cuts = headerBoundaries(s);
    const size_t n = s.bytes.size();
    for (size_t extra : {n / 3, n / 2, n - 2, n - 1})
        cuts.push_back(extra);
    for (size_t cut : cuts)
        if (cut < n)
            loadAsStartupDoes(dir, s, Bytes(s.bytes.begin(), s.bytes.begin() + cut),
                              s.name + " cut at " + std::to_string(cut), tally);

    Lcg lcg{seed};
    for (int m = 0; m < mutations; ++m) {
        Bytes bytes = s.bytes;
        const int changes = 1 + lcg.next() % 3;
        for (int c = 0; c < changes; ++c) {
            // Mostly the headers, sometimes anywhere.
            const size_t at = lcg.next() % 4 == 0 ? lcg.next() % n : lcg.next() % std::min<size_t>(n, 64);
            switch (lcg.next() % 4) {
            case 0: bytes[at] ^= 1u << (lcg.next() % 8); break;
            case 1: bytes[at] = 0xff; break;
            case 2: bytes[at] = 0x00; break;
            default: bytes[at] = lcg.next() & 0xff; break;
            }
        }
        if (lcg.next() % 8 == 0)
            bytes.resize(lcg.next() % n);
        loadAsStartupDoes(dir, s, bytes, s.name + " mutation " + std::to_string(m), tally);
    }
}

} // namespace

TEST(FileCheckDecode, ImagesMatchWhatTheLibraryReadsFromHealthyFiles)
{
    TempDir dir;
    for (const Sample& s : syntheticImages(dir)) {
        const std::string path = dir.file(s.name);
        writeFile(path, s.bytes);
        BITMAP* ours = loadImage(path.c_str());
        // The library reads neither top-down BMPs nor V5 headers; the same picture stored
        // bottom-up with the plain header stands in.
        const bool plainStandsIn = s.name == "pic32top.bmp" || s.name == "pic32v5.bmp";
        const std::string reference = plainStandsIn ? dir.file("pic32.bmp") : path;
        BITMAP* library = load_bitmap(reference.c_str(), nullptr);
        ASSERT_NE(ours, nullptr) << s.name;
        ASSERT_NE(library, nullptr) << s.name;
        EXPECT_EQ(bitmap_color_depth(ours), get_color_depth()) << s.name;
        ASSERT_EQ(ours->w, library->w) << s.name;
        ASSERT_EQ(ours->h, library->h) << s.name;
        int mismatches = 0;
        for (int y = 0; y < ours->h; ++y)
            for (int x = 0; x < ours->w; ++x) {
                const int a = getpixel(ours, x, y), b = getpixel(library, x, y);
                if (getr(a) != getr(b) || getg(a) != getg(b) || getb(a) != getb(b))
                    ++mismatches;
            }
        EXPECT_EQ(mismatches, 0) << s.name;
        if (s.name != "pic8.bmp") {
            // The mask corner stays exactly the mask colour, whatever alpha the file carried.
            EXPECT_EQ(getpixel(ours, 0, 0), bitmap_mask_color(ours)) << s.name;
            EXPECT_EQ(getpixel(ours, 3, 2), bitmap_mask_color(ours)) << s.name;
            EXPECT_NE(getpixel(ours, 4, 2), bitmap_mask_color(ours)) << s.name;
        }
        destroy_bitmap(ours);
        destroy_bitmap(library);
    }
}

TEST(FileCheckDecode, SoundsMatchWhatTheLibraryReadsFromHealthyFiles)
{
    TempDir dir;
    struct Kind {
        int bits, channels, rate, frames;
    };
    for (const Kind k : {Kind{8, 1, 22050, 301}, Kind{8, 2, 11025, 200}, Kind{16, 1, 44100, 257},
                         Kind{16, 2, 22050, 150}}) {
        const std::string what = std::to_string(k.bits) + " bits, " + std::to_string(k.channels) + " channels";
        const std::string path = dir.file("sound.wav");
        writeFile(path, wavFile(k.bits, k.channels, k.rate, k.frames));
        SAMPLE* ours = loadSampleFile(path.c_str());
        const std::string plainPath = dir.file("plain.wav");
        writeFile(plainPath, wavFile(k.bits, k.channels, k.rate, k.frames, false));
        SAMPLE* library = load_sample(plainPath.c_str());
        ASSERT_NE(ours, nullptr) << what;
        ASSERT_NE(library, nullptr) << what;
        EXPECT_EQ(ours->bits, k.bits) << what;
        EXPECT_EQ(ours->stereo != 0, k.channels == 2) << what;
        EXPECT_EQ(ours->freq, k.rate) << what;
        EXPECT_EQ(ours->len, static_cast<unsigned long>(k.frames)) << what;
        EXPECT_EQ(ours->bits, library->bits) << what;
        EXPECT_EQ(ours->stereo, library->stereo) << what;
        EXPECT_EQ(ours->freq, library->freq) << what;
        ASSERT_EQ(ours->len, library->len) << what;
        const size_t bytes = ours->len * (ours->stereo ? 2 : 1) * (ours->bits / 8);
        EXPECT_EQ(std::memcmp(ours->data, library->data, bytes), 0) << what;
        destroy_sample(ours);
        destroy_sample(library);
    }
}

TEST(FileCheckDecode, MissingUnknownAndEmptyFilesAreRefused)
{
    TempDir dir;
    EXPECT_EQ(loadImage((dir.path() + "/none.bmp").c_str()), nullptr);
    EXPECT_EQ(loadSampleFile((dir.path() + "/none.wav").c_str()), nullptr);
    EXPECT_EQ(loadImage(dir.path().c_str()), nullptr);
    EXPECT_EQ(loadSampleFile(dir.path().c_str()), nullptr);
    const std::string empty = dir.file("empty.tga");
    writeFile(empty, {});
    EXPECT_EQ(loadImage(empty.c_str()), nullptr);
    // A sound BMP under a name the game does not read as art.
    const std::string other = dir.file("picture.pcx");
    writeFile(other, syntheticImages(dir)[0].bytes);
    EXPECT_EQ(loadImage(other.c_str()), nullptr);
    ImageFormat f;
    EXPECT_TRUE(imageFormatFromPath("./bitmaps/MOST.TGA", &f));
    EXPECT_EQ(f, ImageFormat::TGA);
    EXPECT_FALSE(imageFormatFromPath("bmp", &f));
}

// The damage that crashes the library's own loader, and its neighbours.
TEST(FileCheckRefuses, ImageHeadersThatCrashTheLibrary)
{
    TempDir dir;
    const std::vector<Sample> images = syntheticImages(dir);
    BITMAP* pic = makePicture(32, 37, 21);
    auto named = [&](const std::string& name) {
        for (const Sample& s : images)
            if (s.name == name)
                return s.bytes;
        ADD_FAILURE() << name;
        return Bytes{};
    };
    const Bytes bmp = named("pic24.bmp"); // 37 x 21
    const Bytes tga = named("pic24.tga");
    auto bmpWith = [&](size_t at, uint32_t v) {
        Bytes b = bmp;
        set32(b, at, v);
        return imageBytesLookSound(b.data(), b.size(), ImageFormat::BMP);
    };
    ASSERT_TRUE(imageBytesLookSound(bmp.data(), bmp.size(), ImageFormat::BMP));
    EXPECT_FALSE(bmpWith(22, 0xa2000000)); // height -1577058304: the allocation overflows
    EXPECT_FALSE(bmpWith(22, 0x80000000)); // height INT_MIN
    EXPECT_FALSE(bmpWith(22, 0));
    EXPECT_FALSE(bmpWith(18, 0xffffffdb)); // width -37
    EXPECT_FALSE(bmpWith(18, 0));
    EXPECT_FALSE(bmpWith(18, 8193));
    EXPECT_FALSE(bmpWith(18, 38));         // one more column than the file holds
    EXPECT_FALSE(bmpWith(10, 56));         // pixel data offset runs the rows past the end
    EXPECT_FALSE(bmpWith(10, 20));         // pixel data inside the header
    EXPECT_FALSE(bmpWith(14, 12));         // OS/2 header
    EXPECT_FALSE(bmpWith(30, 1));          // RLE8
    EXPECT_FALSE(bmpWith(30, 3));          // bit fields
    EXPECT_FALSE(bmpWith(2, bmp.size() + 1));
    EXPECT_TRUE(bmpWith(22, static_cast<uint32_t>(-21))); // top-down is fine
    EXPECT_TRUE(bmpWith(2, 0));                           // so is an unset file size
    Bytes b16 = bmp;
    b16[28] = 16;
    EXPECT_FALSE(imageBytesLookSound(b16.data(), b16.size(), ImageFormat::BMP));

    Bytes v5 = named("pic32v5.bmp");
    ASSERT_TRUE(imageBytesLookSound(v5.data(), v5.size(), ImageFormat::BMP));
    set32(v5, 14 + 40, 0xff000000); // red in the alpha byte: not the plain layout
    EXPECT_FALSE(imageBytesLookSound(v5.data(), v5.size(), ImageFormat::BMP));
    Bytes fields = bmp32(pic, false);
    set32(fields, 30, 3); // bit fields announced, but the masks would lie in the pixels
    EXPECT_FALSE(imageBytesLookSound(fields.data(), fields.size(), ImageFormat::BMP));

    const Bytes bmp8 = named("pic8.bmp");
    ASSERT_TRUE(imageBytesLookSound(bmp8.data(), bmp8.size(), ImageFormat::BMP));
    Bytes fewColours = bmp8;
    set32(fewColours, 46, 16); // palette of 16, but the pixels use indices up to 255
    EXPECT_FALSE(imageBytesLookSound(fewColours.data(), fewColours.size(), ImageFormat::BMP));
    Bytes manyColours = bmp8;
    set32(manyColours, 46, 257);
    EXPECT_FALSE(imageBytesLookSound(manyColours.data(), manyColours.size(), ImageFormat::BMP));

    auto tgaWith = [&](size_t at, unsigned char v) {
        Bytes t = tga;
        t[at] = v;
        return imageBytesLookSound(t.data(), t.size(), ImageFormat::TGA);
    };
    ASSERT_TRUE(imageBytesLookSound(tga.data(), tga.size(), ImageFormat::TGA));
    // A colour map of 65535 entries overruns the library's 256-entry palette on the stack.
    Bytes mapped = tga;
    mapped[1] = 1;
    mapped[2] = 1;
    mapped[5] = mapped[6] = 0xff;
    mapped[7] = 24;
    mapped[16] = 8;
    EXPECT_FALSE(imageBytesLookSound(mapped.data(), mapped.size(), ImageFormat::TGA));
    mapped[2] = 2;
    mapped[16] = 24;
    EXPECT_FALSE(imageBytesLookSound(mapped.data(), mapped.size(), ImageFormat::TGA));
    EXPECT_FALSE(tgaWith(5, 3));    // colour map length without a colour map
    EXPECT_FALSE(tgaWith(2, 10));   // raw pixels read as packets run past the pixel count
    EXPECT_FALSE(tgaWith(2, 3));    // grey
    EXPECT_FALSE(tgaWith(16, 16));
    EXPECT_FALSE(tgaWith(16, 32));  // twice the bytes the file holds
    EXPECT_FALSE(tgaWith(12, 38));
    EXPECT_FALSE(tgaWith(14, 0));
    EXPECT_FALSE(tgaWith(0, 1));    // an image id pushes the last row past the end
    EXPECT_FALSE(tgaWith(17, 0xc0)); // interleaving
    EXPECT_FALSE(tgaWith(17, 0x08)); // alpha bits on 24 bpp
    EXPECT_TRUE(tgaWith(17, 0x20));
    EXPECT_TRUE(tgaWith(17, 0x10));
    Bytes withId = tga;
    withId[0] = 3;
    withId.insert(withId.begin() + 18, {'i', 'd', '!'});
    EXPECT_TRUE(imageBytesLookSound(withId.data(), withId.size(), ImageFormat::TGA));

    const Bytes rle = named("rle24.tga");
    ASSERT_TRUE(imageBytesLookSound(rle.data(), rle.size(), ImageFormat::TGA));
    Bytes rleShort(rle.begin(), rle.end() - 1);
    EXPECT_FALSE(imageBytesLookSound(rleShort.data(), rleShort.size(), ImageFormat::TGA));
    Bytes rleLong = rle;
    rleLong[18] |= 0x7f; // first packet claims 128 pixels: the packets no longer add up
    EXPECT_FALSE(imageBytesLookSound(rleLong.data(), rleLong.size(), ImageFormat::TGA));
    destroy_bitmap(pic);
}

TEST(FileCheckRefuses, SoundHeadersOutsideWhatTheGamePlays)
{
    const Bytes wav = wavFile(16, 2, 22050, 150);
    ASSERT_TRUE(wavBytesLookSound(wav.data(), wav.size()));
    const size_t fmt = 20, list = 36, data = 50;
    auto with16 = [&](size_t at, uint32_t v) {
        Bytes w = wav;
        w[at] = v & 0xff;
        w[at + 1] = v >> 8;
        return wavBytesLookSound(w.data(), w.size());
    };
    auto with32 = [&](size_t at, uint32_t v) {
        Bytes w = wav;
        set32(w, at, v);
        return wavBytesLookSound(w.data(), w.size());
    };
    EXPECT_FALSE(with16(fmt, 3));       // float
    EXPECT_FALSE(with16(fmt, 0xfffe));  // extensible
    EXPECT_FALSE(with16(fmt + 2, 0));
    EXPECT_FALSE(with16(fmt + 2, 6));
    EXPECT_FALSE(with32(fmt + 4, 0));
    EXPECT_FALSE(with32(fmt + 4, 10000000));
    EXPECT_FALSE(with16(fmt + 12, 2));  // block size that does not fit the format
    EXPECT_FALSE(with16(fmt + 14, 24));
    EXPECT_FALSE(with32(16, 0xfffffff0)); // fmt chunk past the end
    EXPECT_FALSE(with32(16, 8));
    EXPECT_FALSE(with32(list + 4, 0x7ffffff0));
    EXPECT_FALSE(with32(data + 4, wav.size()));  // data past the end
    EXPECT_FALSE(with32(data + 4, 3));           // not one whole frame
    EXPECT_FALSE(with32(4, wav.size()));         // RIFF claims more than the file
    EXPECT_TRUE(with32(data + 4, 8));            // a shorter data chunk is fine
    Bytes noFormat = wav;
    std::memcpy(noFormat.data() + 12, "junk", 4);
    EXPECT_FALSE(wavBytesLookSound(noFormat.data(), noFormat.size()));
    Bytes wave = wav;
    wave[8] = 'X';
    EXPECT_FALSE(wavBytesLookSound(wave.data(), wave.size()));
}

// Every real file the game reads, and samples of each kind it can read, cut short at every
// header field and damaged by a fixed sequence of byte changes, through the start-up loaders.
TEST(FileCheckCorpus, DamagedFilesLoadOrAreRefusedWithoutHarm)
{
    TempDir dir;
    std::vector<Sample> corpus = syntheticImages(dir);
    for (Sample& s : syntheticSounds())
        corpus.push_back(s);
    const size_t synthetic = corpus.size();
    for (Sample& s : generatedFiles())
        corpus.push_back(s);
    if (corpus.size() == synthetic)
        std::printf("[ note     ] no generated art or sound in " RIVERDUEL_BUILD_DIR "; synthetic files only\n");

    uint32_t seed = 20240611u;
    Tally tally;
    for (size_t i = 0; i < corpus.size(); ++i) {
        const std::string path = dir.file("whole-" + corpus[i].name);
        writeFile(path, corpus[i].bytes);
        if (isSound(corpus[i].name)) {
            SAMPLE* sample = loadSampleFile(path.c_str());
            EXPECT_NE(sample, nullptr) << corpus[i].name;
            if (sample)
                destroy_sample(sample);
        } else {
            BITMAP* bmp = loadImage(path.c_str());
            EXPECT_NE(bmp, nullptr) << corpus[i].name;
            if (bmp)
                destroy_bitmap(bmp);
        }
        damageAndLoad(dir, corpus[i], i < synthetic ? 300 : 150, seed + 7919u * i, tally);
    }
    // Both outcomes are exercised: harmless changes still decode, harmful ones are refused.
    EXPECT_GT(tally.loaded, static_cast<int>(corpus.size()) * 20);
    EXPECT_GT(tally.refused, static_cast<int>(corpus.size()) * 20);
    std::printf("[ note     ] %zu files, %d damaged copies loaded, %d refused\n", corpus.size(),
                tally.loaded, tally.refused);
}
