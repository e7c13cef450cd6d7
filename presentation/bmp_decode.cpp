#include "presentation/image_decode.h"

#include "files/little_endian.h"

// The stb_image that Debian ships reads OS/2 colour tables four entries short, leaves colour
// entries past the table unset, refuses pixel data that does not follow the headers at once and
// has no run-length BMPs, all of which the library reads: so BMPs are decoded here.

namespace {

int64_t s32At(const unsigned char* p)
{
    return static_cast<int32_t>(u32At(p));
}

// An n-bit channel widened to 8 bits by repeating its bits, as the library's colour tables do.
uint32_t widen(uint32_t value, int bits)
{
    const uint32_t top = value << (8 - bits);
    uint32_t out = top;
    for (int shift = bits; shift < 8; shift += bits)
        out |= top >> shift;
    return out & 0xff;
}

struct Channel {
    int shift;
    int bits;
};

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bits = 0;
    uint32_t compression = 0;
    Channel red{}, green{}, blue{};
    size_t pixelOffset = 0;
    uint32_t palette[256] = {};
    int paletteEntries = 0;
};

// The bit-field layouts the library knows: 5-5-5 and 5-6-5 in 16 bits, 8-8-8 in 32.
bool channelsFromMasks(int bits, uint32_t red, uint32_t green, uint32_t blue, Layout* layout)
{
    if (bits == 16 && red == 0x7c00 && green == 0x03e0 && blue == 0x001f) {
        layout->red = {10, 5};
        layout->green = {5, 5};
    } else if (bits == 16 && red == 0xf800 && green == 0x07e0 && blue == 0x001f) {
        layout->red = {11, 5};
        layout->green = {5, 6};
    } else if (bits == 32 && red == 0xff0000 && green == 0xff00 && blue == 0xff) {
        layout->red = {16, 8};
        layout->green = {8, 8};
    } else {
        return false;
    }
    layout->blue = {0, bits == 16 ? 5 : 8};
    return true;
}

bool readHeaders(const unsigned char* data, size_t size, Layout* layout, std::string* why)
{
    if (size < 18 || data[0] != 'B' || data[1] != 'M')
        return fail(why, "not a BMP file");
    // The file size field is not read: writers get it wrong, and the library ignores it too.
    const uint64_t dataOffset = u32At(data + 10);
    const uint32_t infoSize = u32At(data + 14);
    const bool os2 = infoSize == 12;
    if (!os2 && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124)
        return fail(why, "a BMP header of " + std::to_string(infoSize) + " bytes is not one the game reads");
    uint64_t headersEnd = 14ull + infoSize;
    if (headersEnd > size)
        return fail(why, "the BMP header is cut short");
    const unsigned char* info = data + 14;
    int64_t width, height;
    uint32_t compression = 0;
    if (os2) {
        width = u16At(info + 4);
        height = u16At(info + 6);
        layout->bits = static_cast<int>(u16At(info + 10));
    } else {
        width = s32At(info + 4);
        height = s32At(info + 8);
        layout->bits = static_cast<int>(u16At(info + 14));
        compression = u32At(info + 16);
    }
    layout->topDown = height < 0;
    if (height < 0)
        height = -height;
    if (width < 1 || height < 1 || width > maxImageSide || height > maxImageSide ||
        width * height > maxImagePixels)
        return fail(why, "a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                             " pixels is not one the game reads");
    layout->width = static_cast<int>(width);
    layout->height = static_cast<int>(height);
    layout->compression = compression;
    const int bits = layout->bits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return fail(why, std::to_string(bits) + " bits per pixel is not a BMP depth");

    if (compression == 1 || compression == 2) {
        if (bits != (compression == 1 ? 8 : 4))
            return fail(why, "run-length coding that does not fit " + std::to_string(bits) + " bits per pixel");
        if (layout->topDown)
            return fail(why, "a run-length picture stored top row first");
    } else if (compression == 3) {
        if (bits != 16 && bits != 32)
            return fail(why, "bit fields on " + std::to_string(bits) + " bits per pixel");
        // The masks follow a 40-byte header and lie inside the longer ones.
        if (infoSize == 40)
            headersEnd += 12;
        if (headersEnd > size)
            return fail(why, "the BMP bit masks are cut short");
        if (!channelsFromMasks(bits, u32At(info + 40), u32At(info + 44), u32At(info + 48), layout))
            return fail(why, "bit masks that are not 5-5-5, 5-6-5 or 8-8-8");
    } else if (compression != 0) {
        return fail(why, "BMP compression " + std::to_string(compression) + " is not one the game reads");
    } else if (bits == 16) {
        channelsFromMasks(16, 0x7c00, 0x03e0, 0x001f, layout);
    } else if (bits >= 24) {
        channelsFromMasks(32, 0xff0000, 0xff00, 0xff, layout);
    }

    if (dataOffset < headersEnd)
        return fail(why, "the BMP pixel data starts inside its headers");
    if (dataOffset > size)
        return fail(why, "the BMP pixel data starts past the end of the file");
    layout->pixelOffset = static_cast<size_t>(dataOffset);
    if (bits <= 8) {
        // As in the library, the colour table fills the space up to the pixels.
        const size_t entrySize = os2 ? 3 : 4;
        const uint64_t entries = (dataOffset - headersEnd) / entrySize;
        layout->paletteEntries = static_cast<int>(entries < 256 ? entries : 256);
        if (layout->paletteEntries == 0)
            return fail(why, "a BMP of " + std::to_string(bits) + " bits per pixel without a colour table");
        for (int i = 0; i < layout->paletteEntries; ++i) {
            const unsigned char* entry = data + headersEnd + i * entrySize;
            layout->palette[i] = static_cast<uint32_t>(entry[2]) << 16 | static_cast<uint32_t>(entry[1]) << 8 | entry[0];
        }
    }
    return true;
}

uint32_t colourOf(uint32_t value, const Layout& layout)
{
    const auto channel = [value](const Channel& c) { return widen((value >> c.shift) & ((1u << c.bits) - 1), c.bits); };
    return channel(layout.red) << 16 | channel(layout.green) << 8 | channel(layout.blue);
}

// The stored pixel at column x of a row: a colour index or the packed colour bits.
uint32_t storedPixel(const unsigned char* row, int x, int bits)
{
    switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    case 8: return row[x];
    case 16: return u16At(row + 2 * x);
    case 24: return static_cast<uint32_t>(row[3 * x + 2]) << 16 | static_cast<uint32_t>(row[3 * x + 1]) << 8 | row[3 * x];
    default: return u32At(row + 4 * x);
    }
}

bool decodeRows(const unsigned char* data, size_t size, const Layout& layout, Picture* out, std::string* why)
{
    const uint64_t rowBits = static_cast<uint64_t>(layout.width) * layout.bits;
    const uint64_t stride = (rowBits + 31) / 32 * 4;
    // The last row's padding may be missing; its pixels may not.
    const uint64_t needed = stride * (layout.height - 1) + (rowBits + 7) / 8;
    if (needed > size - layout.pixelOffset)
        return fail(why, "the BMP pixel data is cut short");
    for (int row = 0; row < layout.height; ++row) {
        const unsigned char* stored = data + layout.pixelOffset + row * stride;
        const int y = layout.topDown ? row : layout.height - 1 - row;
        uint32_t* line = out->rgb.data() + static_cast<size_t>(y) * layout.width;
        for (int x = 0; x < layout.width; ++x) {
            const uint32_t value = storedPixel(stored, x, layout.bits);
            if (layout.bits > 8) {
                line[x] = colourOf(value, layout);
            } else if (value < static_cast<uint32_t>(layout.paletteEntries)) {
                line[x] = layout.palette[value];
            } else {
                return fail(why, "a pixel uses colour " + std::to_string(value) + " of a table of " +
                                     std::to_string(layout.paletteEntries));
            }
        }
    }
    return true;
}

// Run-length BMPs (8 or 4 bits): runs and literal strings within a row, end-of-row,
// end-of-picture and jumps. Pixels the data never reaches keep colour 0, as in the library.
// The data must end the picture or its last row.
bool decodeRunLength(const unsigned char* data, size_t size, const Layout& layout, Picture* out, std::string* why)
{
    const bool fourBits = layout.bits == 4;
    std::vector<unsigned char> index(static_cast<size_t>(layout.width) * layout.height, 0);
    size_t pos = layout.pixelOffset;
    int x = 0;
    int line = layout.height - 1; // the first stored row is the bottom one
    while (line >= 0) {
        // A literal string's pad may lie past the end.
        if (pos >= size || size - pos < 2)
            return fail(why, "the run-length data is cut short");
        const int count = data[pos];
        const int value = data[pos + 1];
        pos += 2;
        unsigned char* row = index.data() + static_cast<size_t>(line) * layout.width;
        if (count > 0) {
            if (count > layout.width - x)
                return fail(why, "a run-length packet runs past the end of its row");
            for (int i = 0; i < count; ++i, ++x)
                row[x] = static_cast<unsigned char>(fourBits ? ((i & 1) ? value & 15 : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            --line;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (size - pos < 2)
                return fail(why, "the run-length data is cut short");
            x += data[pos];
            line -= data[pos + 1];
            pos += 2;
            if (x > layout.width)
                return fail(why, "a run-length jump leaves the picture");
        } else {
            const size_t bytes = fourBits ? (value + 1) / 2 : value;
            if (value > layout.width - x)
                return fail(why, "a run-length packet runs past the end of its row");
            if (size - pos < bytes)
                return fail(why, "the run-length data is cut short");
            for (int i = 0; i < value; ++i, ++x) {
                const unsigned char b = data[pos + (fourBits ? i / 2 : i)];
                row[x] = fourBits ? ((i & 1) ? b & 15 : b >> 4) : b;
            }
            pos += bytes + (bytes & 1); // literal strings are padded to a whole word
        }
    }
    for (size_t i = 0; i < index.size(); ++i) {
        if (index[i] >= layout.paletteEntries)
            return fail(why, "a pixel uses colour " + std::to_string(index[i]) + " of a table of " +
                                 std::to_string(layout.paletteEntries));
        out->rgb[i] = layout.palette[index[i]];
    }
    return true;
}

} // namespace

bool decodeBmp(const unsigned char* data, size_t size, Picture* out, std::string* why)
{
    Layout layout;
    if (!data || !out || !readHeaders(data, size, &layout, why))
        return false;
    out->width = layout.width;
    out->height = layout.height;
    out->rgb.assign(static_cast<size_t>(layout.width) * layout.height, 0);
    return layout.compression == 1 || layout.compression == 2 ? decodeRunLength(data, size, layout, out, why)
                                                              : decodeRows(data, size, layout, out, why);
}
