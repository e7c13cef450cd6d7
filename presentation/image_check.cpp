#include "presentation/image_check.h"

#include <cctype>
#include <cstring>

#include "presentation/file_bytes.h"

namespace {

int64_t s32At(const unsigned char* p)
{
    return static_cast<int32_t>(u32At(p));
}

bool sideIsSane(int64_t side)
{
    return side >= 1 && side <= maxImageSide;
}

constexpr size_t bmpFileHeaderSize = 14;

bool describeBmp(const unsigned char* data, size_t size, ImageLayout* layout)
{
    if (size < bmpFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M')
        return false;
    const uint32_t fileSize = u32At(data + 2);
    // Some writers leave the size 0; a larger one means the file was cut short.
    if (fileSize != 0 && fileSize > size)
        return false;
    const uint64_t pixelOffset = u32At(data + 10);
    const uint32_t infoSize = u32At(data + 14);
    // BITMAPINFOHEADER and its V4 and V5 extensions; the old OS/2 header is not read.
    if (infoSize != 40 && infoSize != 108 && infoSize != 124)
        return false;
    const uint64_t headersEnd = bmpFileHeaderSize + infoSize;
    if (headersEnd > size)
        return false;
    const unsigned char* info = data + bmpFileHeaderSize;
    const int64_t width = s32At(info + 4);
    const int64_t signedHeight = s32At(info + 8);
    const uint32_t planes = u16At(info + 12);
    const uint32_t bits = u16At(info + 14);
    const uint32_t compression = u32At(info + 16);
    const uint32_t coloursUsed = u32At(info + 32);
    const int64_t height = signedHeight < 0 ? -signedHeight : signedHeight;
    if (!sideIsSane(width) || !sideIsSane(height) || width * height > maxImagePixels)
        return false;
    if (planes != 1 || (bits != 8 && bits != 24 && bits != 32))
        return false;
    uint64_t paletteEnd = headersEnd;
    // Plain RGB, or 32-bit bit fields laid out as plain RGB is (what image editors write with
    // the V4 and V5 headers). The masks follow a 40-byte header and sit inside the longer ones.
    if (compression == 3 && bits == 32) {
        if (infoSize == 40)
            paletteEnd += 12;
        if (paletteEnd > size || u32At(info + 40) != 0x00ff0000u || u32At(info + 44) != 0x0000ff00u ||
            u32At(info + 48) != 0x000000ffu)
            return false;
    } else if (compression != 0) {
        return false;
    }

    int paletteEntries = 0;
    if (bits == 8) {
        const uint32_t entries = coloursUsed == 0 ? 256 : coloursUsed;
        if (entries > 256)
            return false;
        paletteEntries = static_cast<int>(entries);
        paletteEnd += 4ull * entries;
    }
    if (pixelOffset < paletteEnd)
        return false;
    const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    if (pixelOffset + stride * static_cast<uint64_t>(height) > size)
        return false;

    if (bits == 8) {
        // An index past the palette would read colours that are not in the file.
        for (int64_t row = 0; row < height; ++row) {
            const unsigned char* line = data + pixelOffset + row * stride;
            for (int64_t x = 0; x < width; ++x)
                if (line[x] >= paletteEntries)
                    return false;
        }
    }

    layout->width = static_cast<int>(width);
    layout->height = static_cast<int>(height);
    layout->bitsPerPixel = static_cast<int>(bits);
    layout->topDown = signedHeight < 0;
    layout->rightToLeft = false;
    layout->runLength = false;
    layout->pixelOffset = static_cast<size_t>(pixelOffset);
    layout->rowStride = static_cast<size_t>(stride);
    layout->paletteOffset = static_cast<size_t>(headersEnd);
    layout->paletteEntries = paletteEntries;
    return true;
}

constexpr size_t tgaHeaderSize = 18;

// Walks every packet: each must lie inside the file, and together they must give exactly the
// image's pixels, no packet running past the last one.
bool runLengthPacketsFit(const unsigned char* data, size_t size, size_t pos, int64_t pixels,
                         size_t bytesPerPixel)
{
    while (pixels > 0) {
        if (pos >= size)
            return false;
        const unsigned char header = data[pos++];
        const int64_t count = (header & 0x7f) + 1;
        if (count > pixels)
            return false;
        const size_t bytes = (header & 0x80) ? bytesPerPixel : static_cast<size_t>(count) * bytesPerPixel;
        if (bytes > size - pos)
            return false;
        pos += bytes;
        pixels -= count;
    }
    return true;
}

bool describeTga(const unsigned char* data, size_t size, ImageLayout* layout)
{
    if (size < tgaHeaderSize)
        return false;
    const uint32_t idLength = data[0];
    const uint32_t colourMapType = data[1];
    const uint32_t imageType = data[2];
    const uint32_t colourMapFirst = u16At(data + 3);
    const uint32_t colourMapLength = u16At(data + 5);
    const uint32_t colourMapEntryBits = data[7];
    const int64_t width = u16At(data + 12);
    const int64_t height = u16At(data + 14);
    const uint32_t bits = data[16];
    const uint32_t descriptor = data[17];

    // True colour only, raw (2) or run-length (10).
    if (imageType != 2 && imageType != 10)
        return false;
    uint64_t colourMapBytes = 0;
    if (colourMapType == 0) {
        if (colourMapLength != 0)
            return false;
    } else if (colourMapType == 1) {
        // A true-colour image may carry a colour map it does not use; it is skipped.
        if (colourMapEntryBits != 15 && colourMapEntryBits != 16 && colourMapEntryBits != 24 &&
            colourMapEntryBits != 32)
            return false;
        if (colourMapFirst + colourMapLength > 65536)
            return false;
        colourMapBytes = static_cast<uint64_t>(colourMapLength) * ((colourMapEntryBits + 7) / 8);
    } else {
        return false;
    }
    if (!sideIsSane(width) || !sideIsSane(height) || width * height > maxImagePixels)
        return false;
    if (bits != 24 && bits != 32)
        return false;
    const uint32_t alphaBits = descriptor & 0x0f;
    if ((descriptor & 0xc0) != 0 || !(alphaBits == 0 || (bits == 32 && alphaBits == 8)))
        return false;

    const uint64_t pixelOffset = tgaHeaderSize + idLength + colourMapBytes;
    if (pixelOffset > size)
        return false;
    const size_t bytesPerPixel = bits / 8;
    const uint64_t stride = static_cast<uint64_t>(width) * bytesPerPixel;
    if (imageType == 2) {
        if (pixelOffset + stride * static_cast<uint64_t>(height) > size)
            return false;
    } else if (!runLengthPacketsFit(data, size, static_cast<size_t>(pixelOffset), width * height,
                                    bytesPerPixel)) {
        return false;
    }

    layout->width = static_cast<int>(width);
    layout->height = static_cast<int>(height);
    layout->bitsPerPixel = static_cast<int>(bits);
    layout->topDown = (descriptor & 0x20) != 0;
    layout->rightToLeft = (descriptor & 0x10) != 0;
    layout->runLength = imageType == 10;
    layout->pixelOffset = static_cast<size_t>(pixelOffset);
    layout->rowStride = static_cast<size_t>(stride);
    layout->paletteOffset = 0;
    layout->paletteEntries = 0;
    return true;
}

} // namespace

bool imageFormatFromPath(const char* path, ImageFormat* format)
{
    if (!path)
        return false;
    const size_t length = std::strlen(path);
    if (length < 4 || path[length - 4] != '.')
        return false;
    char ext[4];
    for (int i = 0; i < 3; ++i)
        ext[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(path[length - 3 + i])));
    ext[3] = '\0';
    if (std::strcmp(ext, "bmp") == 0) {
        *format = ImageFormat::BMP;
        return true;
    }
    if (std::strcmp(ext, "tga") == 0) {
        *format = ImageFormat::TGA;
        return true;
    }
    return false;
}

bool describeImage(const unsigned char* data, size_t size, ImageFormat format, ImageLayout* layout)
{
    if (!data || !layout)
        return false;
    return format == ImageFormat::BMP ? describeBmp(data, size, layout)
                                      : describeTga(data, size, layout);
}

bool imageBytesLookSound(const unsigned char* data, size_t size, ImageFormat format)
{
    ImageLayout layout;
    return describeImage(data, size, format, &layout);
}
