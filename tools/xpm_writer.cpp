#include "xpm_writer.h"

#include <cstdio>
#include <map>
#include <vector>

#include "art_kit.h"

namespace art {

// Two characters a pixel from this alphabet: room for 4096 colours, and none needs escaping.
static const char SYMBOLS[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.+";

bool saveXpmSource(BITMAP* bmp, const std::string& name, const std::string& path)
{
    std::map<int, int> index;  // colour (-1: transparent) to its symbol's number, in first-seen order
    std::vector<int> order;
    for (int y = 0; y < bmp->h; ++y)
        for (int x = 0; x < bmp->w; ++x) {
            const int c = isMask(bmp, x, y) ? -1 : getpixel(bmp, x, y) & 0xFFFFFF;
            if (index.emplace(c, static_cast<int>(order.size())).second)
                order.push_back(c);
        }
    if (order.size() > 64 * 64)
        return false;
    auto symbol = [](int n) { return std::string{SYMBOLS[n / 64], SYMBOLS[n % 64]}; };
    FILE* out = std::fopen(path.c_str(), "w");
    if (!out)
        return false;
    std::fprintf(out, "/* XPM */\nstatic const char* %s[] = {\n\"%d %d %zu 2\",\n", name.c_str(), bmp->w,
                 bmp->h, order.size());
    for (size_t n = 0; n < order.size(); ++n) {
        if (order[n] < 0)
            std::fprintf(out, "\"%s c None\",\n", symbol(static_cast<int>(n)).c_str());
        else
            std::fprintf(out, "\"%s c #%02X%02X%02X\",\n", symbol(static_cast<int>(n)).c_str(),
                         getr32(order[n]), getg32(order[n]), getb32(order[n]));
    }
    for (int y = 0; y < bmp->h; ++y) {
        std::string row;
        for (int x = 0; x < bmp->w; ++x)
            row += symbol(index[isMask(bmp, x, y) ? -1 : getpixel(bmp, x, y) & 0xFFFFFF]);
        std::fprintf(out, "\"%s\"%s\n", row.c_str(), y + 1 < bmp->h ? "," : "");
    }
    std::fprintf(out, "};\n");
    return std::fclose(out) == 0;
}

} // namespace art
