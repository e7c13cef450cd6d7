#include "presentation/file_bytes.h"

#include <cstdio>

bool readWholeFile(const char* path, std::vector<unsigned char>* bytes, size_t maxSize)
{
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    bytes->clear();
    unsigned char chunk[65536];
    bool ok = true;
    for (;;) {
        const size_t got = std::fread(chunk, 1, sizeof chunk, file);
        bytes->insert(bytes->end(), chunk, chunk + got);
        if (bytes->size() > maxSize) {
            ok = false;
            break;
        }
        if (got < sizeof chunk) {
            ok = !std::ferror(file);
            break;
        }
    }
    std::fclose(file);
    return ok;
}
