#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Reads a whole file into memory, refusing one larger than `maxSize` bytes.
bool readWholeFile(const char* path, std::vector<unsigned char>* bytes, size_t maxSize);

// Little-endian fields of the art and sound file headers.
inline uint32_t u16At(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}

inline uint32_t u32At(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
