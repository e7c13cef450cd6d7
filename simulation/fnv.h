#pragma once
// The hash the game's states are compared by.
#include <cstddef>
#include <cstdint>

// FNV-1a, 64 bits: small, and the same on every machine.
inline uint64_t fnv1a(const void* data, size_t size, uint64_t hash = 14695981039346656037ull)
{
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        hash ^= p[i];
        hash *= 1099511628211ull;
    }
    return hash;
}

// Adds one plain value to a hash.
template <typename T>
uint64_t mix(uint64_t hash, const T& value)
{
    return fnv1a(&value, sizeof value, hash);
}
