#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The decoders behind loadImage, kept apart from the library so they can be fuzzed alone.

// A decoded picture: rows from top to bottom, each pixel 0xRRGGBB.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;
};

constexpr int maxImageSide = 8192;
constexpr int64_t maxImagePixels = 16 * 1024 * 1024;

// Every BMP that the library's loader reads right: 1, 4 and 8 bits with a colour table (also
// run-length coded), 16, 24 and 32 bits, bit fields, the Windows and OS/2 headers. False with
// `why` for anything else, damaged or cut short.
bool decodeBmp(const unsigned char* data, size_t size, Picture* out, std::string* why);

// Every TGA the library reads (colour-mapped, true colour, grey; raw or run-length), decoded by
// stb_image once the header and the length of the data have been checked here.
bool decodeTga(const unsigned char* data, size_t size, Picture* out, std::string* why);
