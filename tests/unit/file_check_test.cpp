// Damaged art and sound files are refused, saying what is wrong; start-up never blocks on a
// file, refuses what is not a plain file of a sane size, and says which file failed and where.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "audio/wav_file.h"
#include "files/files.h"
#include "file_writers.h"
#include "harness.h"
#include "presentation/image_file.h"
#include "test_files.h"

namespace {

struct Damage {
    const char* what;
    Bytes bytes;
    const char* reason; // part of what the refusal says
};

Bytes with32(Bytes b, size_t at, uint32_t v)
{
    set32(b, at, v);
    return b;
}

Bytes with16(Bytes b, size_t at, uint32_t v)
{
    set16(b, at, v);
    return b;
}

Bytes with8(Bytes b, size_t at, unsigned char v)
{
    b[at] = v;
    return b;
}

// A fresh buffer of the exact size, so that AddressSanitizer sees a read past its end.
Bytes cut(const Bytes& b, size_t drop)
{
    return Bytes(b.begin(), b.end() - drop);
}

std::string refusal(const Bytes& b, bool sound, ImageFormat format = ImageFormat::BMP)
{
    std::string why;
    if (sound) {
        SAMPLE* s = decodeWav(b.data(), b.size(), &why);
        if (s) {
            destroy_sample(s);
            return "(loaded)";
        }
    } else {
        BITMAP* bmp = decodeImage(b.data(), b.size(), format, &why);
        if (bmp) {
            destroy_bitmap(bmp);
            return "(loaded)";
        }
    }
    return why;
}

} // namespace

TEST(FileCheckRefuses, DamagedFilesSayWhatIsWrong)
{
    const Art art = makeArt(37, 21, 256);
    BmpLayout plain;
    const Bytes bmp = bmpFile(art, plain); // 37 x 21, 24 bits: rows of 112 bytes from 54
    BmpLayout paletted;
    paletted.bits = 8;
    const Bytes bmp8 = bmpFile(art, paletted);
    paletted.compression = 1;
    const Bytes rle8 = bmpFile(art, paletted);
    TgaLayout raw;
    const Bytes tga = tgaFile(art, raw);
    TgaLayout rle;
    rle.type = 10;
    const Bytes tgaRle = tgaFile(art, rle);
    TgaLayout mapped;
    mapped.type = 1, mapped.bits = 8;
    const Bytes tgaMapped = tgaFile(art, mapped);
    const Bytes wav = wavFile(WavLayout{}); // fmt at 12, data chunk at 36
    Art three = makeArt(3, 1, 256);
    three.index = {5, 6, 7};
    const Bytes literal = bmpFile(three, paletted); // one literal string of three, padded
    Bytes rleLong = rle8;
    rleLong[1078] = 38; // the first run of the bottom row claims one pixel more than the row

    const Damage images[] = {
        {"height INT_MIN", with32(bmp, 22, 0x80000000u), "pixels"},
        {"height that overflows an allocation", with32(bmp, 22, 0xa2000000u), "pixels"},
        {"width 0", with32(bmp, 18, 0), "pixels"},
        {"width -37", with32(bmp, 18, 0xffffffdbu), "pixels"},
        {"one column more than the file holds", with32(bmp, 18, 38), "cut short"},
        {"pixel data inside the header", with32(bmp, 10, 20), "inside"},
        {"pixel data past the end", with32(bmp, 10, 1u << 30), "past the end"},
        {"last row cut short", cut(bmp, 60), "cut short"},
        {"unknown header size", with32(bmp, 14, 64), "header"},
        {"7 bits per pixel", with16(bmp, 28, 7), "bits per pixel"},
        {"JPEG compression", with32(bmp, 30, 4), "compression"},
        {"bit fields on 24 bits", with32(bmp, 30, 3), "bit fields"},
        {"colour beyond a table of 16", with32(bmp8, 10, 54 + 64), "colour"},
        {"no colour table", with32(bmp8, 10, 54), "colour table"},
        {"run-length on 24 bits", with32(bmp, 30, 1), "run-length"},
        {"run past the end of a row", rleLong, "past the end of its row"},
        {"run-length data cut short", cut(rle8, 3), "cut short"},
        {"literal string whose pad is past the end", cut(literal, 5), "cut short"}, // found by the fuzzer
        {"run-length top row first", with32(rle8, 22, static_cast<uint32_t>(-21)), "top row first"},
    };
    for (const Damage& d : images)
        EXPECT_NE(refusal(d.bytes, false).find(d.reason), std::string::npos)
            << d.what << ": " << refusal(d.bytes, false);

    const Damage tgas[] = {
        {"colour map starting at entry 3", with16(tgaMapped, 3, 3), "starts at entry"},
        {"true colour with a colour map", with8(tga, 1, 1), "colour map type"},
        {"grey of 16 bits", with8(with8(tga, 2, 3), 16, 16), "grey"},
        {"image type 4", with8(tga, 2, 4), "image type"},
        {"12 bits per pixel", with8(tga, 16, 12), "true-colour"},
        {"width 0", with16(tga, 12, 0), "pixels"},
        {"interleaved rows", with8(tga, 17, 0x40), "interleaved"},
        {"raw pixels cut short", cut(tga, 1), "cut short"},
        {"image id past the end", with8(cut(tga, tga.size() - 18), 0, 200), "cut short"},
        {"colour map cut short", cut(tgaMapped, tgaMapped.size() - 30), "colour map is cut short"},
        {"run-length packets cut short", cut(tgaRle, 1), "do not add up"},
        {"raw pixels read as packets", with8(tga, 2, 10), "do not add up"},
    };
    for (const Damage& d : tgas)
        EXPECT_NE(refusal(d.bytes, false, ImageFormat::TGA).find(d.reason), std::string::npos)
            << d.what << ": " << refusal(d.bytes, false, ImageFormat::TGA);

    const Damage sounds[] = {
        {"no RIFF", with8(wav, 0, 'X'), "RIFF"},
        {"no WAVE", with8(wav, 8, 'X'), "RIFF"},
        {"floating point", with16(wav, 20, 3), "refused"},
        {"A-law", with16(wav, 20, 6), "8 or 16-bit PCM"},
        {"3 channels", with32(with16(with16(wav, 22, 3), 32, 6), 28, 22050 * 6), "channels"},
        {"24 bits", with32(with16(with16(wav, 34, 24), 32, 3), 28, 22050 * 3), "8 or 16-bit PCM"},
        {"rate of 10 a second", with32(with32(wav, 24, 10), 28, 20), "rate"},
        {"data cut short", cut(wav, 10), "cut short"},
        {"empty data chunk", with32(wav, 40, 0), "no sound"},
        {"no data chunk", with8(wav, 36, 'x'), "no sound data"},
        {"fmt chunk longer than the file", with32(wav, 16, 0xfffffff0u), "no sound data"},
    };
    for (const Damage& d : sounds)
        EXPECT_NE(refusal(d.bytes, true).find(d.reason), std::string::npos) << d.what << ": " << refusal(d.bytes, true);
}

namespace {

// Loads `path` as start-up does, timing it. The FIFO and the huge file must be refused at once.
std::string loadingProblem(const std::string& path, bool sound, double* seconds)
{
    forgetFileProblem();
    const auto start = std::chrono::steady_clock::now();
    if (sound) {
        SAMPLE* s = loadSampleFile(path.c_str());
        EXPECT_EQ(s, nullptr) << path;
    } else {
        BITMAP* b = loadImage(path.c_str());
        EXPECT_EQ(b, nullptr) << path;
    }
    *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(fileProblemPath(), path);
    return fileProblemWhy();
}

} // namespace

TEST(FileCheckReading, WhatIsNotAPlainFileOfASaneSizeIsRefusedWithoutReadingIt)
{
    TempDir dir;
    const std::string fifo = dir.file("fifo.bmp"), huge = dir.file("huge.wav"), empty = dir.file("empty.tga");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int fd = open(huge.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 2LL << 30), 0); // 2 GB, and sparse: nothing to read but zeros
    close(fd);
    ASSERT_TRUE(writeBytes(empty, {}));
    const std::string damaged = dir.file("damaged.bmp");
    ASSERT_TRUE(writeBytes(damaged, {'B', 'M', 1, 2, 3}));

    struct Case {
        std::string path;
        bool sound;
        const char* reason;
    };
    const Case cases[] = {
        {fifo, false, "not a regular file: it is a FIFO"},
        {fifo, true, "not a regular file: it is a FIFO"},
        {dir.path(), false, "not a .bmp or .tga file"},
        {dir.path() + "/", true, "not a regular file: it is a directory"},
        {huge, true, "too large: 2147483648 bytes"},
        {dir.file("none.bmp"), false, "missing"},
        {dir.file("none.wav"), true, "missing"},
        {empty, false, "empty"},
        {damaged, false, "damaged: not a BMP file"},
    };
    for (const Case& c : cases) {
        double seconds = 0;
        const std::string why = loadingProblem(c.path, c.sound, &seconds);
        EXPECT_NE(why.find(c.reason), std::string::npos) << c.path << ": " << why;
        EXPECT_LT(seconds, 1.0) << c.path;
    }
    // The art's limit: a huge picture file is refused the same way.
    const std::string hugeArt = dir.file("huge.tga");
    ASSERT_EQ(rename(huge.c_str(), hugeArt.c_str()), 0);
    double seconds = 0;
    EXPECT_NE(loadingProblem(hugeArt, false, &seconds).find("too large"), std::string::npos);
}

TEST(FileCheckReading, TheReportNamesTheFileWhatWasWrongAndTheFolder)
{
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    noteFileProblem("./bitmaps/zem0.bmp", "missing");
    char* text = nullptr;
    size_t length = 0;
    FILE* out = open_memstream(&text, &length);
    reportFileProblem(out);
    std::fclose(out);
    const std::string report(text, length);
    std::free(text);
    EXPECT_NE(report.find("./bitmaps/zem0.bmp: missing"), std::string::npos) << report;
    EXPECT_NE(report.find(std::string(cwd) + ","), std::string::npos) << report;
    EXPECT_NE(report.find("bitmaps/ and sound/"), std::string::npos) << report;

    forgetFileProblem();
    out = open_memstream(&text, &length);
    reportFileProblem(out);
    std::fclose(out);
    EXPECT_EQ(length, 0u);
    std::free(text);
}
