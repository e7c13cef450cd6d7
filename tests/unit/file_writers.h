#pragma once
// Writers of art and sound files in every layout the game reads (the library's own writers
// where it has them), and the list of those layouts.
#include <allegro.h>
#include <cstdint>
#include <string>
#include <vector>

#include "test_files.h"

// A test picture: colours for the true-colour kinds, and indices into a palette for the rest.
struct Art {
    int w = 0, h = 0;
    std::vector<uint32_t> rgb;       // 0xRRGGBB, top row first
    std::vector<int> index;          // top row first
    std::vector<uint32_t> palette;   // 0xRRGGBB
};

struct BmpLayout {
    int bits = 24;           // 1, 4, 8, 16, 24 or 32
    int compression = 0;     // 0 plain, 1 RLE8, 2 RLE4, 3 bit fields
    int header = 40;         // 12 (OS/2), 40 or 124 (V5)
    uint32_t masks[3] = {0x7c00, 0x03e0, 0x001f};
    bool topDown = false;
    int gap = 0;             // bytes between the headers (and colour table) and the pixels
    int sizeError = 0;       // how far the file size field is off
};

struct TgaLayout {
    int type = 2;        // 1 colour-mapped, 2 true colour, 3 grey; +8 run-length
    int bits = 24;       // of a pixel: 8 for types 1 and 3, else 16, 24 or 32
    int mapBits = 24;    // of a colour map entry
    bool topDown = false;
    bool rightToLeft = false;
    bool runsAcrossRows = false; // run-length packets may run on into the next row
};

struct Variant {
    std::string name;  // the extension picks the format
    Bytes bytes;
    Bytes reference;   // what the library reads right, when it reads `bytes` wrong; else empty
};

struct WavLayout {
    int bits = 16, channels = 1, rate = 22050, frames = 150;
    int fmtExtra = 0;        // bytes of format extension after the 16 plain ones
    bool oddChunk = false;   // a LIST chunk of odd length before the data ...
    bool padOdd = true;      // ... followed by its pad byte, as the format asks
    bool trailing = false;   // a chunk after the data
    int64_t riffSize = -1;   // -1: the true size
    int64_t dataSize = -1;
};

uint32_t rgbOf(int r, int g, int b);
// 37 x 21 or any size: every channel varies, the top-left 4 x 3 corner is the mask colour,
// and some rows repeat one colour so that run-length coding has runs to find.
Art makeArt(int w, int h, int colours);

Bytes bmpFile(const Art& art, const BmpLayout& layout);
Bytes tgaFile(const Art& art, const TgaLayout& layout);
Bytes wavFile(const WavLayout& layout);

// Every kind of BMP and TGA the library reads, and of WAV.
std::vector<Variant> imageVariants(TempDir& dir);
std::vector<Variant> soundVariants();
