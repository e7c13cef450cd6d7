#include "presentation/image_decode.h"

#include "files/little_endian.h"

#include <algorithm>
#include <stb_image.h>

// stb_image decodes; this side checks what stb does not: that the header is one the library
// reads too, that the file holds every pixel (stb reads zeros past the end), and it puts right
// the two things stb and the library disagree on or both get wrong.

namespace {

// Walks the run-length packets (which may run on from one row into the next): together they
// must give every pixel, and none may run past the last one or the end of the file.
bool packetsFit(const unsigned char* data, size_t size, size_t pos, int64_t pixels, size_t bytesPerPixel)
{
    while (pixels > 0) {
        if (pos >= size)
            return false;
        const unsigned char header = data[pos++];
        const int64_t count = (header & 0x7f) + 1;
        const size_t bytes = (header & 0x80) ? bytesPerPixel : static_cast<size_t>(count) * bytesPerPixel;
        if (count > pixels || bytes > size - pos)
            return false;
        pos += bytes;
        pixels -= count;
    }
    return true;
}

bool isFifteenBits(uint32_t bits)
{
    return bits == 15 || bits == 16;
}

} // namespace

bool decodeTga(const unsigned char* data, size_t size, Picture* out, std::string* why)
{
    if (!data || !out || size < 18)
        return fail(why, "a TGA shorter than its header");
    const uint32_t idLength = data[0];
    const uint32_t mapType = data[1];
    const uint32_t type = data[2];
    const uint32_t mapFirst = u16At(data + 3);
    const uint32_t mapLength = u16At(data + 5);
    const uint32_t mapBits = data[7];
    const int64_t width = u16At(data + 12);
    const int64_t height = u16At(data + 14);
    const uint32_t bits = data[16];
    const uint32_t descriptor = data[17];
    const bool runLength = (type & 8) != 0;

    // The kinds the library reads: colour-mapped with 8-bit indices, true colour, and grey.
    switch (type & ~8u) {
    case 1:
        if (mapType != 1 || bits != 8 || mapLength == 0 ||
            (!isFifteenBits(mapBits) && mapBits != 24 && mapBits != 32))
            return fail(why, "a colour-mapped TGA that is not 8-bit indices into 15, 16, 24 or 32-bit colours");
        // The library reads index n as the file's n-th colour whatever the map's first entry,
        // and stb skips that many bytes: only a map that starts at 0 means the same to all.
        if (mapFirst != 0)
            return fail(why, "a TGA colour map that starts at entry " + std::to_string(mapFirst));
        break;
    case 2:
        if (mapType != 0 || (!isFifteenBits(bits) && bits != 24 && bits != 32))
            return fail(why, "a true-colour TGA of " + std::to_string(bits) + " bits with colour map type " +
                                 std::to_string(mapType));
        break;
    case 3:
        if (mapType != 0 || bits != 8)
            return fail(why, "a grey TGA of " + std::to_string(bits) + " bits");
        break;
    default:
        return fail(why, "TGA image type " + std::to_string(type) + " is not one the game reads");
    }
    if (width < 1 || height < 1 || width > maxImageSide || height > maxImageSide || width * height > maxImagePixels)
        return fail(why, "a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                             " pixels is not one the game reads");
    if (descriptor & 0xc0)
        return fail(why, "interleaved TGA rows");

    const uint64_t mapBytes = mapType == 1 ? static_cast<uint64_t>(mapLength) * ((mapBits + 7) / 8) : 0;
    const uint64_t pixelOffset = 18ull + idLength + mapBytes;
    const size_t bytesPerPixel = (bits + 7) / 8;
    const int64_t pixels = width * height;
    if (pixelOffset > size)
        return fail(why, "the TGA colour map is cut short");
    if (runLength ? !packetsFit(data, size, static_cast<size_t>(pixelOffset), pixels, bytesPerPixel)
                  : static_cast<uint64_t>(pixels) * bytesPerPixel > size - pixelOffset)
        return fail(why, runLength ? "the TGA run-length packets do not add up to the picture"
                                   : "the TGA pixel data is cut short");

    int w = 0, h = 0, channels = 0;
    // Asking for three channels drops alpha: masked drawing keys on the exact mask colour.
    stbi_uc* rgb = stbi_load_from_memory(data, static_cast<int>(std::min<size_t>(size, 0x7fffffff)), &w, &h, &channels, 3);
    if (!rgb)
        return fail(why, std::string("stb_image refused the TGA: ") + stbi_failure_reason());
    if (w != width || h != height) {
        stbi_image_free(rgb);
        return fail(why, "stb_image read the TGA at another size");
    }
    // stb widens 5-bit channels by v * 255 / 31 rounded down; the library repeats the bits
    // (16 becomes 132, not 131). The 5-bit value is recovered exactly and widened that way.
    const bool fifteenBits = (type & ~8u) == 1 ? isFifteenBits(mapBits) : isFifteenBits(bits) && (type & ~8u) == 2;
    out->width = w;
    out->height = h;
    out->rgb.resize(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < out->rgb.size(); ++i) {
        uint32_t c[3] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]};
        if (fifteenBits)
            for (uint32_t& v : c) {
                const uint32_t five = (v * 31 + 254) / 255;
                v = five << 3 | five >> 2;
            }
        out->rgb[i] = c[0] << 16 | c[1] << 8 | c[2];
    }
    stbi_image_free(rgb);
    // Rows stored right to left: both stb and the library ignore the flag and show them mirrored.
    if (descriptor & 0x10)
        for (int y = 0; y < h; ++y)
            std::reverse(out->rgb.begin() + static_cast<size_t>(y) * w, out->rgb.begin() + static_cast<size_t>(y + 1) * w);
    return true;
}
