#include "presentation/image_file.h"

#include <allegro.h>
#include <cstdio>
#include <vector>

#include "presentation/file_bytes.h"

namespace {

// No art of the game comes near this; anything bigger is not one of its files.
constexpr size_t maxFileSize = 80u * 1024u * 1024u;


// Pixels are stored blue, green, red (then alpha, which masked drawing does not use: the
// transparent parts are the mask colour, and makecol keeps that colour exact).
int colourAt(const unsigned char* p, const ImageLayout& layout, const unsigned char* data)
{
    if (layout.bitsPerPixel == 8) {
        const unsigned char* entry = data + layout.paletteOffset + 4u * p[0];
        return makecol(entry[2], entry[1], entry[0]);
    }
    return makecol(p[2], p[1], p[0]);
}

void placePixel(BITMAP* bmp, const ImageLayout& layout, int storedRow, int storedColumn, int colour)
{
    const int y = layout.topDown ? storedRow : layout.height - 1 - storedRow;
    const int x = layout.rightToLeft ? layout.width - 1 - storedColumn : storedColumn;
    putpixel(bmp, x, y, colour);
}

void decodeRaw(BITMAP* bmp, const unsigned char* data, const ImageLayout& layout)
{
    const size_t bytesPerPixel = static_cast<size_t>(layout.bitsPerPixel) / 8;
    for (int row = 0; row < layout.height; ++row) {
        const unsigned char* line = data + layout.pixelOffset + static_cast<size_t>(row) * layout.rowStride;
        for (int column = 0; column < layout.width; ++column)
            placePixel(bmp, layout, row, column, colourAt(line + column * bytesPerPixel, layout, data));
    }
}

// The packets were walked by the check; the bounds are kept here as well so the decoder never
// depends on the check for its safety.
bool decodeRunLength(BITMAP* bmp, const unsigned char* data, size_t size, const ImageLayout& layout)
{
    const size_t bytesPerPixel = static_cast<size_t>(layout.bitsPerPixel) / 8;
    const long total = static_cast<long>(layout.width) * layout.height;
    size_t pos = layout.pixelOffset;
    long done = 0;
    while (done < total) {
        if (pos >= size)
            return false;
        const unsigned char header = data[pos++];
        const long count = (header & 0x7f) + 1;
        const bool repeat = (header & 0x80) != 0;
        const size_t bytes = repeat ? bytesPerPixel : static_cast<size_t>(count) * bytesPerPixel;
        if (count > total - done || bytes > size - pos)
            return false;
        for (long i = 0; i < count; ++i, ++done) {
            const unsigned char* p = data + pos + (repeat ? 0 : i * bytesPerPixel);
            placePixel(bmp, layout, static_cast<int>(done / layout.width),
                       static_cast<int>(done % layout.width), colourAt(p, layout, data));
        }
        pos += bytes;
    }
    return true;
}

} // namespace

BITMAP* decodeImage(const unsigned char* data, size_t size, ImageFormat format)
{
    ImageLayout layout;
    if (!describeImage(data, size, format, &layout))
        return nullptr;
    BITMAP* bmp = create_bitmap(layout.width, layout.height);
    if (!bmp)
        return nullptr;
    if (layout.runLength) {
        if (!decodeRunLength(bmp, data, size, layout)) {
            destroy_bitmap(bmp);
            return nullptr;
        }
    } else {
        decodeRaw(bmp, data, layout);
    }
    return bmp;
}

BITMAP* loadImage(const char* path)
{
    ImageFormat format;
    if (!imageFormatFromPath(path, &format))
        return nullptr;
    std::vector<unsigned char> bytes;
    if (!readWholeFile(path, &bytes, maxFileSize) || bytes.empty())
        return nullptr;
    return decodeImage(bytes.data(), bytes.size(), format);
}
