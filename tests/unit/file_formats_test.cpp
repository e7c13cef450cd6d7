// Every kind of art and sound file the library's own loaders read must load the same through
// the game's decoders, pixel for pixel and sample for sample; where the library itself reads a
// file wrongly, the same picture or sound stored the way it reads right stands in.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "audio/wav_file.h"
#include "files/files.h"
#include "harness.h"
#include "presentation/image_file.h"
#include "file_writers.h"
#include "test_files.h"

namespace {

int rgbAt(BITMAP* bmp, int x, int y)
{
    const int c = getpixel(bmp, x, y);
    return getr(c) << 16 | getg(c) << 8 | getb(c);
}

} // namespace

TEST(FileFormats, EveryImageKindLoadsAsTheLibraryReadsIt)
{
    TempDir dir;
    for (const Variant& v : imageVariants(dir)) {
        const std::string path = dir.file(v.name);
        const std::string reference = dir.file("reference-" + v.name);
        ASSERT_TRUE(writeBytes(path, v.bytes));
        ASSERT_TRUE(writeBytes(reference, v.reference.empty() ? v.bytes : v.reference));
        BITMAP* ours = loadImage(path.c_str());
        BITMAP* library = load_bitmap(reference.c_str(), nullptr);
        ASSERT_NE(ours, nullptr) << v.name << ": " << fileProblemWhy();
        ASSERT_NE(library, nullptr) << v.name;
        EXPECT_EQ(bitmap_color_depth(ours), get_color_depth()) << v.name;
        ASSERT_EQ(ours->w, library->w) << v.name;
        ASSERT_EQ(ours->h, library->h) << v.name;
        int mismatches = 0;
        std::string first;
        for (int y = 0; y < ours->h; ++y)
            for (int x = 0; x < ours->w; ++x)
                if (rgbAt(ours, x, y) != rgbAt(library, x, y) && mismatches++ == 0)
                    first = " first at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        EXPECT_EQ(mismatches, 0) << v.name << first;
        // The mask corner is exactly the mask colour, whatever alpha the file carried.
        if (v.name.find("grey") != std::string::npos) {
            destroy_bitmap(ours);
            destroy_bitmap(library);
            continue;
        }
        EXPECT_EQ(getpixel(ours, 0, 0), bitmap_mask_color(ours)) << v.name;
        EXPECT_EQ(getpixel(ours, 3, 2), bitmap_mask_color(ours)) << v.name;
        EXPECT_NE(getpixel(ours, 4, 2), bitmap_mask_color(ours)) << v.name;
        destroy_bitmap(ours);
        destroy_bitmap(library);
    }
}

TEST(FileFormats, EverySoundKindLoadsAsTheLibraryReadsIt)
{
    TempDir dir;
    for (const Variant& v : soundVariants()) {
        const std::string path = dir.file(v.name);
        const std::string reference = dir.file("reference-" + v.name);
        ASSERT_TRUE(writeBytes(path, v.bytes));
        ASSERT_TRUE(writeBytes(reference, v.reference.empty() ? v.bytes : v.reference));
        SAMPLE* ours = loadSampleFile(path.c_str());
        SAMPLE* library = load_sample(reference.c_str());
        ASSERT_NE(ours, nullptr) << v.name << ": " << fileProblemWhy();
        ASSERT_NE(library, nullptr) << v.name;
        EXPECT_EQ(ours->bits, library->bits) << v.name;
        EXPECT_EQ(ours->stereo, library->stereo) << v.name;
        EXPECT_EQ(ours->freq, library->freq) << v.name;
        ASSERT_EQ(ours->len, library->len) << v.name;
        const size_t bytes = ours->len * (ours->stereo ? 2 : 1) * (ours->bits / 8);
        EXPECT_EQ(std::memcmp(ours->data, library->data, bytes), 0) << v.name;
        destroy_sample(ours);
        destroy_sample(library);
    }
}
