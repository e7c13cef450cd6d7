// Writers of art and sound files in every layout the game reads, and the list of those
// layouts with what the library reads right for each.
#include "file_writers.h"

#include <gtest/gtest.h>

#include "harness.h"



uint32_t rgbOf(int r, int g, int b)
{
    return static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b);
}

// Every channel varies, the top-left corner is the mask colour, and some rows repeat a colour
// so that run-length coding has runs to find. Palette colours lie on the library's 6-bit grid.
Art makeArt(int w, int h, int colours)
{
    Art art;
    art.w = w;
    art.h = h;
    for (int i = 0; i < colours; ++i)
        art.palette.push_back(i == 1 ? rgbOf(255, 0, 255)
                                     : rgbOf(_rgb_scale_6[(i * 5) & 63], _rgb_scale_6[(i * 11 + 7) & 63],
                                             _rgb_scale_6[(63 - i * 3) & 63]));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool mask = x < 4 && y < 3;
            const bool flat = y % 3 == 1 && x > w / 3;
            art.rgb.push_back(mask ? rgbOf(255, 0, 255) : flat ? rgbOf(10, 200, 30)
                                                              : rgbOf((x * 7) & 255, (y * 11) & 255, (x * y * 3) & 255));
            art.index.push_back(mask ? 1 : flat ? 2 % colours : (x * 3 + y * 5) % colours);
        }
    return art;
}

namespace {

BITMAP* toBitmap(const Art& art, int depth)
{
    BITMAP* bmp = create_bitmap_ex(depth, art.w, art.h);
    for (int y = 0; y < art.h; ++y)
        for (int x = 0; x < art.w; ++x) {
            const uint32_t c = art.rgb[y * art.w + x];
            putpixel(bmp, x, y, makecol_depth(depth, c >> 16, (c >> 8) & 255, c & 255));
        }
    return bmp;
}

} // namespace

// ---- BMP, as Windows, OS/2 and image editors write it ----


namespace {

uint32_t packed(uint32_t c, const uint32_t masks[3])
{
    uint32_t v = 0;
    for (int k = 0; k < 3; ++k) {
        const uint32_t channel = (c >> (16 - 8 * k)) & 255;
        int shift = 0, bits = 0;
        while (!((masks[k] >> shift) & 1))
            ++shift;
        while ((masks[k] >> (shift + bits)) & 1)
            ++bits;
        v |= (channel >> (8 - bits)) << shift;
    }
    return v;
}

} // namespace

namespace {

// Runs of one index and literal strings, each row ended, the picture ended.
void runLengthRow(Bytes& b, const int* row, int w, bool fourBits)
{
    int x = 0;
    while (x < w) {
        int run = 1;
        while (x + run < w && run < 255 && row[x + run] == row[x])
            ++run;
        int literal = 0;
        while (x + literal < w && literal < 250 && (x + literal + 1 >= w || row[x + literal + 1] != row[x + literal]))
            ++literal;
        if (run == 1 && literal >= 3) {
            b.push_back(0);
            b.push_back(static_cast<unsigned char>(literal));
            const size_t start = b.size();
            for (int i = 0; i < literal; i += fourBits ? 2 : 1)
                b.push_back(static_cast<unsigned char>(
                    fourBits ? row[x + i] << 4 | (i + 1 < literal ? row[x + i + 1] : 0) : row[x + i]));
            if ((b.size() - start) & 1)
                b.push_back(0);
            x += literal;
        } else {
            b.push_back(static_cast<unsigned char>(run));
            b.push_back(static_cast<unsigned char>(fourBits ? row[x] << 4 | row[x] : row[x]));
            x += run;
        }
    }
    b.push_back(0);
    b.push_back(0);
}

} // namespace

Bytes bmpFile(const Art& art, const BmpLayout& layout)
{
    const bool os2 = layout.header == 12;
    const int colours = layout.bits <= 8 ? 1 << layout.bits : 0;
    const int masksAfter = layout.compression == 3 && layout.header == 40 ? 12 : 0;
    const uint32_t offset = 14 + layout.header + masksAfter + colours * (os2 ? 3 : 4) + layout.gap;
    Bytes pixels;
    for (int r = 0; r < art.h; ++r) {
        const int y = layout.topDown ? r : art.h - 1 - r;
        const int* row = art.index.data() + y * art.w;
        if (layout.compression == 1 || layout.compression == 2) {
            runLengthRow(pixels, row, art.w, layout.compression == 2);
            continue;
        }
        const size_t start = pixels.size();
        for (int x = 0; x < art.w; ++x) {
            const uint32_t c = art.rgb[y * art.w + x];
            if (layout.bits <= 8) {
                const int perByte = 8 / layout.bits;
                if (x % perByte == 0)
                    pixels.push_back(0);
                pixels.back() |= row[x] << (8 - layout.bits * (x % perByte + 1));
            } else if (layout.bits == 16) {
                put16(pixels, packed(c, layout.masks));
            } else {
                pixels.insert(pixels.end(), {static_cast<unsigned char>(c), static_cast<unsigned char>(c >> 8),
                                             static_cast<unsigned char>(c >> 16)});
                if (layout.bits == 32)
                    pixels.push_back(0x80);
            }
        }
        while ((pixels.size() - start) % 4)
            pixels.push_back(0);
    }
    if (layout.compression == 1 || layout.compression == 2) {
        pixels.push_back(0);
        pixels.push_back(1);
    }

    Bytes b{'B', 'M'};
    put32(b, offset + pixels.size() + layout.sizeError);
    put32(b, 0);
    put32(b, offset);
    put32(b, layout.header);
    if (os2) {
        put16(b, art.w);
        put16(b, art.h);
        put16(b, 1);
        put16(b, layout.bits);
    } else {
        put32(b, art.w);
        put32(b, layout.topDown ? static_cast<uint32_t>(-art.h) : art.h);
        put16(b, 1);
        put16(b, layout.bits);
        put32(b, layout.compression);
        put32(b, pixels.size());
        put32(b, 2835);
        put32(b, 2835);
        put32(b, colours);
        put32(b, 0);
        if (layout.compression == 3 || layout.header > 40)
            for (uint32_t m : layout.masks)
                put32(b, m);
        b.resize(14 + layout.header + masksAfter, 0);
    }
    for (int i = 0; i < colours; ++i) {
        const uint32_t c = i < static_cast<int>(art.palette.size()) ? art.palette[i] : 0;
        b.insert(b.end(), {static_cast<unsigned char>(c), static_cast<unsigned char>(c >> 8),
                           static_cast<unsigned char>(c >> 16)});
        if (!os2)
            b.push_back(0);
    }
    b.resize(b.size() + layout.gap, 0xee);
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

// ---- TGA ----


namespace {

void putColour(Bytes& b, uint32_t c, int bits)
{
    if (bits == 16) {
        put16(b, ((c >> 19) & 31) << 10 | ((c >> 11) & 31) << 5 | ((c >> 3) & 31));
        return;
    }
    b.insert(b.end(), {static_cast<unsigned char>(c), static_cast<unsigned char>(c >> 8),
                       static_cast<unsigned char>(c >> 16)});
    if (bits == 32)
        b.push_back(0xff);
}

} // namespace

Bytes tgaFile(const Art& art, const TgaLayout& layout)
{
    const int kind = layout.type & 7;
    const bool runLength = layout.type & 8;
    Bytes b(18, 0);
    if (kind == 1) {
        b[1] = 1;
        set16(b, 5, art.palette.size());
        b[7] = layout.mapBits;
        for (uint32_t c : art.palette)
            putColour(b, c, layout.mapBits);
    }
    b[2] = layout.type;
    set16(b, 12, art.w);
    set16(b, 14, art.h);
    b[16] = layout.bits;
    b[17] = (layout.topDown ? 0x20 : 0) | (layout.rightToLeft ? 0x10 : 0);
    // Each stored pixel, as its bytes, in storing order.
    std::vector<Bytes> stored;
    for (int r = 0; r < art.h; ++r) {
        const int y = layout.topDown ? r : art.h - 1 - r;
        for (int i = 0; i < art.w; ++i) {
            const int x = layout.rightToLeft ? art.w - 1 - i : i;
            Bytes p;
            if (kind == 1)
                p.push_back(static_cast<unsigned char>(art.index[y * art.w + x]));
            else if (kind == 3)
                p.push_back(static_cast<unsigned char>(art.rgb[y * art.w + x] >> 16));
            else
                putColour(p, art.rgb[y * art.w + x], layout.bits);
            stored.push_back(p);
        }
    }
    if (!runLength) {
        for (const Bytes& p : stored)
            b.insert(b.end(), p.begin(), p.end());
        return b;
    }
    size_t i = 0;
    while (i < stored.size()) {
        const size_t end = layout.runsAcrossRows ? stored.size() : (i / art.w + 1) * art.w;
        size_t run = 1;
        while (i + run < end && run < 128 && stored[i + run] == stored[i])
            ++run;
        if (run > 1) {
            b.push_back(static_cast<unsigned char>(0x80 | (run - 1)));
            b.insert(b.end(), stored[i].begin(), stored[i].end());
        } else {
            while (i + run < end && run < 128 && stored[i + run] != stored[i + run - 1])
                ++run;
            b.push_back(static_cast<unsigned char>(run - 1));
            for (size_t k = 0; k < run; ++k)
                b.insert(b.end(), stored[i + k].begin(), stored[i + k].end());
        }
        i += run;
    }
    return b;
}

namespace {

// A file of `art` written by the library at `depth` (8: the palette and the indices; with
// `alpha`, 32-bit pixels that carry alpha, which the TGA writer then keeps).
Bytes savedByLibrary(int (*save)(const char*, BITMAP*, const RGB*), const Art& art, int depth, TempDir& dir,
                     bool alpha = false)
{
    BITMAP* bmp;
    PALETTE pal;
    if (depth == 8) {
        bmp = create_bitmap_ex(8, art.w, art.h);
        for (size_t i = 0; i < 256; ++i) {
            const uint32_t c = i < art.palette.size() ? art.palette[i] : 0;
            pal[i].r = (c >> 16) >> 2;
            pal[i].g = ((c >> 8) & 255) >> 2;
            pal[i].b = (c & 255) >> 2;
        }
        for (int y = 0; y < art.h; ++y)
            for (int x = 0; x < art.w; ++x)
                putpixel(bmp, x, y, art.index[y * art.w + x]);
    } else {
        BITMAP* full = toBitmap(art, 32);
        bmp = create_bitmap_ex(depth, art.w, art.h);
        blit(full, bmp, 0, 0, 0, 0, art.w, art.h);
        destroy_bitmap(full);
        if (alpha)
            for (int y = 0; y < art.h; ++y)
                for (int x = 0; x < art.w; ++x) {
                    const int c = getpixel(bmp, x, y);
                    putpixel(bmp, x, y, makeacol32(getr32(c), getg32(c), getb32(c), 255 - ((x * 40) & 127)));
                }
    }
    const std::string path = dir.file("saved");
    EXPECT_EQ(save(path.c_str(), bmp, depth == 8 ? pal : nullptr), 0);
    destroy_bitmap(bmp);
    Bytes bytes;
    readBytes(path, &bytes);
    return bytes;
}

} // namespace


std::vector<Variant> imageVariants(TempDir& dir)
{
    const Art art = makeArt(37, 21, 256);
    const Art art16 = makeArt(37, 21, 16);
    const Art art2 = makeArt(37, 21, 2);
    BmpLayout fields565;
    fields565.bits = 16;
    fields565.compression = 3;
    fields565.masks[0] = 0xf800, fields565.masks[1] = 0x07e0;
    BmpLayout fields888 = fields565;
    fields888.bits = 32;
    fields888.masks[0] = 0xff0000, fields888.masks[1] = 0xff00, fields888.masks[2] = 0xff;
    BmpLayout v5 = fields888;
    v5.header = 124;
    BmpLayout fields555 = fields565;
    fields555.masks[0] = 0x7c00, fields555.masks[1] = 0x03e0;
    auto bmp = [&](const Art& a, int bits, int compression = 0, int header = 40) {
        BmpLayout s;
        s.bits = bits;
        s.compression = compression;
        s.header = header;
        return bmpFile(a, s);
    };
    BmpLayout gap;
    gap.gap = 6;
    gap.sizeError = -3;
    BmpLayout top;
    top.bits = 32;
    top.topDown = true;
    auto tga = [&](const Art& a, int type, int bits, int mapBits = 24) {
        TgaLayout s;
        s.type = type, s.bits = bits, s.mapBits = mapBits;
        return tgaFile(a, s);
    };
    TgaLayout topRle;
    topRle.type = 10, topRle.topDown = true;
    TgaLayout mirrored;
    mirrored.rightToLeft = true;
    TgaLayout across;
    across.type = 10, across.runsAcrossRows = true;
    Art paletted = art;
    for (int i = 0; i < art.w * art.h; ++i)
        paletted.rgb[i] = art.palette[art.index[i]];
    // Grey levels on the library's 6-bit grid: it keeps grey as a 64-level palette.
    Art grey = art;
    for (int i = 0; i < grey.w * grey.h; ++i) {
        const int v = _rgb_scale_6[(grey.index[i] * 7) & 63];
        grey.rgb[i] = rgbOf(v, v, v);
    }

    return {
        {"save_bmp-24.bmp", savedByLibrary(save_bmp, art, 32, dir), {}},
        {"save_bmp-8.bmp", savedByLibrary(save_bmp, art, 8, dir), {}},
        {"1bit.bmp", bmp(art2, 1), {}},
        {"4bit.bmp", bmp(art16, 4), {}},
        {"rle8.bmp", bmp(art, 8, 1), {}},
        {"rle4.bmp", bmp(art16, 4, 2), {}},
        {"os2-1bit.bmp", bmp(art2, 1, 0, 12), {}},
        {"os2-8bit.bmp", bmp(art, 8, 0, 12), {}},
        {"os2-24bit.bmp", bmp(art, 24, 0, 12), {}},
        // The library widens a plain 16-bit BMP's green through 6 bits (16 of 31 becomes 134,
        // not 132); bit fields of the same layout it reads right.
        {"16bit.bmp", bmp(art, 16), bmpFile(art, fields555)},
        {"fields565.bmp", bmpFile(art, fields565), {}},
        {"32bit.bmp", bmp(art, 32), {}},
        {"fields888.bmp", bmpFile(art, fields888), {}},
        {"top-down.bmp", bmpFile(art, top), bmp(art, 32)}, // the library reads rows bottom-up only
        {"gap-and-wrong-size.bmp", bmpFile(art, gap), {}},
        {"v5.bmp", bmpFile(art, v5), bmp(art, 32)}, // a header the library does not know
        {"save_tga-32.tga", savedByLibrary(save_tga, art, 32, dir), {}},
        {"save_tga-alpha.tga", savedByLibrary(save_tga, art, 32, dir, true), {}},
        {"save_tga-24.tga", savedByLibrary(save_tga, art, 24, dir), {}},
        {"save_tga-16.tga", savedByLibrary(save_tga, art, 16, dir), {}},
        {"save_tga-15.tga", savedByLibrary(save_tga, art, 15, dir), {}},
        {"save_tga-8.tga", savedByLibrary(save_tga, art, 8, dir), {}},
        {"mapped32.tga", tga(art, 1, 8, 32), {}},
        {"rle-mapped.tga", tga(art, 9, 8), {}},
        {"rle16.tga", tga(art, 10, 16), {}},
        {"rle24.tga", tga(art, 10, 24), {}},
        {"rle32.tga", tga(art, 10, 32), {}},
        {"rle-top-down.tga", tgaFile(art, topRle), {}},
        {"grey.tga", tga(grey, 3, 8), {}},
        {"rle-grey.tga", tga(grey, 11, 8), {}},
        // The library mixes a 16-bit colour map's entries down to 6 bits; 16-bit pixels it
        // reads right.
        {"mapped16.tga", tga(art, 1, 8, 16), tga(paletted, 2, 16)},
        // Both it and stb ignore the right-to-left flag.
        {"right-to-left.tga", tgaFile(art, mirrored), tga(art, 2, 24)},
        // Runs from one row into the next corrupt the library's heap.
        {"runs-across-rows.tga", tgaFile(art, across), tga(art, 2, 24)},
    };
}


// ---- WAV ----


Bytes wavFile(const WavLayout& s)
{
    Bytes b{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    put32(b, 16 + s.fmtExtra);
    put16(b, 1);
    put16(b, s.channels);
    put32(b, s.rate);
    put32(b, s.rate * s.channels * s.bits / 8);
    put16(b, s.channels * s.bits / 8);
    put16(b, s.bits);
    b.resize(b.size() + s.fmtExtra, 0);
    if (s.oddChunk) {
        b.insert(b.end(), {'L', 'I', 'S', 'T'});
        put32(b, 5);
        b.insert(b.end(), {'I', 'N', 'F', 'O', 'x'});
        if (s.padOdd)
            b.push_back(0);
    }
    const uint32_t bytes = s.frames * s.channels * s.bits / 8;
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    put32(b, s.dataSize < 0 ? bytes : static_cast<uint32_t>(s.dataSize));
    for (int i = 0; i < s.frames * s.channels; ++i) {
        if (s.bits == 8)
            b.push_back((i * 37) & 255);
        else
            put16(b, static_cast<uint16_t>(i * 1237 - 30000));
    }
    if (s.trailing) {
        b.insert(b.end(), {'c', 'u', 'e', ' '});
        put32(b, 4);
        put32(b, 0);
    }
    set32(b, 4, s.riffSize < 0 ? b.size() - 8 : static_cast<uint32_t>(s.riffSize));
    return b;
}


std::vector<Variant> soundVariants()
{
    auto wav = [](auto change) {
        WavLayout s;
        change(s);
        return wavFile(s);
    };
    const Bytes plain = wavFile(WavLayout{});
    return {
        // The library writes no WAV files of its own.
        {"mono8.wav", wav([](WavLayout& s) { s.bits = 8, s.rate = 8000, s.frames = 301; }), {}},
        {"stereo8.wav", wav([](WavLayout& s) { s.bits = 8, s.channels = 2, s.rate = 44100; }), {}},
        {"mono16.wav", plain, {}},
        {"stereo16.wav", wav([](WavLayout& s) { s.channels = 2, s.rate = 48000, s.frames = 97; }), {}},
        {"streamed-riff-size.wav", wav([](WavLayout& s) { s.riffSize = 0xffffffff; }), {}},
        {"format-extension.wav", wav([](WavLayout& s) { s.fmtExtra = 2; }), {}},
        {"chunk-after-data.wav", wav([](WavLayout& s) { s.trailing = true; }), {}},
        {"odd-chunk-unpadded.wav", wav([](WavLayout& s) { s.oddChunk = true, s.padOdd = false; }), {}},
        // The library's reader does not skip the pad byte after an odd chunk.
        {"odd-chunk-padded.wav", wav([](WavLayout& s) { s.oddChunk = true; }), plain},
        // Nor does it read data whose length a streaming recorder left open.
        {"streamed-data-size.wav", wav([](WavLayout& s) { s.dataSize = 0xffffffff; }), plain},
    };
}

