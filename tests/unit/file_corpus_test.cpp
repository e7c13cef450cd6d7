// Every file the game reads, and a file of every kind it can read, cut short at every header
// field and damaged by a fixed sequence of byte changes, through the start-up loaders: each
// copy loads as a usable picture or sound, or is refused with a reason, and nothing crashes
// (this test also runs built with AddressSanitizer).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <unistd.h>

#include "audio/wav_file.h"
#include "files/files.h"
#include "file_writers.h"
#include "harness.h"
#include "presentation/image_file.h"
#include "test_files.h"

namespace {

bool isSound(const std::string& name)
{
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".wav") == 0;
}

bool isTga(const std::string& name)
{
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".tga") == 0;
}

struct Tally {
    int loaded = 0;
    int refused = 0;
};

void loadAsStartupDoes(const TempDir& dir, const std::string& name, const Bytes& bytes, const std::string& what,
                       Tally& tally)
{
    const std::string path = dir.file("damaged-" + name);
    ASSERT_TRUE(writeBytes(path, bytes));
    forgetFileProblem();
    bool loaded;
    if (isSound(name)) {
        SAMPLE* sample = loadSampleFile(path.c_str());
        loaded = sample != nullptr;
        if (sample) {
            EXPECT_GT(sample->len, 0u) << what;
            EXPECT_TRUE(sample->bits == 8 || sample->bits == 16) << what;
            destroy_sample(sample);
        }
    } else {
        BITMAP* bmp = loadImage(path.c_str());
        loaded = bmp != nullptr;
        if (bmp) {
            EXPECT_GT(bmp->w, 0) << what;
            EXPECT_GT(bmp->h, 0) << what;
            destroy_bitmap(bmp);
        }
    }
    // A refusal always says why; a load leaves nothing to report.
    EXPECT_EQ(fileProblemWhy().empty(), loaded) << what << ": " << fileProblemWhy();
    ++(loaded ? tally.loaded : tally.refused);
}

struct Lcg {
    uint32_t state;
    uint32_t next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};

std::vector<size_t> headerBoundaries(const std::string& name)
{
    if (isSound(name))
        return {0, 4, 8, 12, 16, 20, 22, 24, 28, 32, 34, 36, 40, 44, 46};
    if (isTga(name))
        return {0, 1, 2, 3, 5, 7, 8, 12, 14, 16, 17, 18, 19, 21};
    return {0, 2, 6, 10, 14, 18, 22, 26, 28, 30, 34, 46, 50, 54, 55, 58, 62};
}

void damageAndLoad(const TempDir& dir, const std::string& name, const Bytes& whole, int mutations, uint32_t seed,
                   Tally& tally)
{
    ASSERT_FALSE(whole.empty()) << name;
    std::vector<size_t> cuts = headerBoundaries(name);
    const size_t n = whole.size();
    for (size_t extra : {n / 3, n / 2, n - 2, n - 1})
        cuts.push_back(extra);
    for (size_t cut : cuts)
        if (cut < n)
            loadAsStartupDoes(dir, name, Bytes(whole.begin(), whole.begin() + cut), name + " cut at " + std::to_string(cut),
                              tally);

    Lcg lcg{seed};
    for (int m = 0; m < mutations; ++m) {
        Bytes bytes = whole;
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
        loadAsStartupDoes(dir, name, bytes, name + " mutation " + std::to_string(m), tally);
    }
}

} // namespace

TEST(FileCorpus, DamagedFilesLoadOrAreRefusedWithoutHarm)
{
    TempDir dir;
    std::vector<std::pair<std::string, Bytes>> corpus;
    for (const std::string& file : assetFiles()) {
        Bytes bytes;
        ASSERT_TRUE(readBytes(RIVERDUEL_BUILD_DIR "/" + file, &bytes)) << "the build has not made " << file;
        corpus.emplace_back(file.substr(file.find('/') + 1), bytes);
    }
    const size_t generated = corpus.size();
    for (std::vector<Variant> kinds : {imageVariants(dir), soundVariants()})
        for (const Variant& v : kinds)
            corpus.emplace_back(v.name, v.bytes);

    Tally tally;
    for (size_t i = 0; i < corpus.size(); ++i) {
        const auto& [name, bytes] = corpus[i];
        Tally whole;
        loadAsStartupDoes(dir, name, bytes, name + " whole", whole);
        EXPECT_EQ(whole.loaded, 1) << name << ": " << fileProblemWhy();
        damageAndLoad(dir, name, bytes, i < generated ? 150 : 100, 20240611u + 7919u * i, tally);
    }
    // Both outcomes are exercised: harmless changes still decode, harmful ones are refused.
    EXPECT_GT(tally.loaded, static_cast<int>(corpus.size()) * 20);
    EXPECT_GT(tally.refused, static_cast<int>(corpus.size()) * 20);
    std::printf("[ note     ] %zu files, %d damaged copies loaded, %d refused\n", corpus.size(), tally.loaded,
                tally.refused);
}
