#pragma once
#include <cstddef>
#include <cstdint>

// Checks on the raw bytes of an art file, made before anything decodes it: a damaged file is
// refused here instead of crashing the loader.

enum class ImageFormat { BMP, TGA };

// The format named by the file's extension (.bmp or .tga, any case). False for anything else.
bool imageFormatFromPath(const char* path, ImageFormat* format);

// Where the pixels of a checked file are and how to read them. Every offset in it lies inside
// the buffer it was made from (for TGA run-length data: every packet was walked and fits).
struct ImageLayout {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;     // BMP: 8, 24 or 32; TGA: 24 or 32
    bool topDown = false;     // first stored row is the top one
    bool rightToLeft = false; // TGA only
    bool runLength = false;   // TGA type 10
    size_t pixelOffset = 0;   // first byte of the pixel data
    size_t rowStride = 0;     // bytes per stored row (uncompressed data)
    size_t paletteOffset = 0; // BMP 8 bpp: entries of 4 bytes, blue green red unused
    int paletteEntries = 0;
};

constexpr int maxImageSide = 8192;
constexpr int64_t maxImagePixels = 16 * 1024 * 1024;

// Reads and checks the headers (and for run-length TGA, every packet) against the buffer's
// length. True when the file is one the game can decode; `layout` is then filled.
bool describeImage(const unsigned char* data, size_t size, ImageFormat format, ImageLayout* layout);

// True when the bytes are a complete image of a supported kind.
bool imageBytesLookSound(const unsigned char* data, size_t size, ImageFormat format);
