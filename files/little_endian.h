#pragma once
// What the decoders of the game's file formats share: little-endian fields, and saying why a
// file is refused.
#include <cstdint>
#include <string>

inline uint32_t u16At(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}

inline uint32_t u32At(const unsigned char* p)
{
    return u16At(p) | u16At(p + 2) << 16;
}

// Always false, with `what` in `why` when it is asked for.
inline bool fail(std::string* why, const std::string& what)
{
    if (why)
        *why = what;
    return false;
}
