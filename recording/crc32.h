#pragma once
#include <cstddef>
#include <cstdint>

// CRC-32 (the zip and PNG one), to tell a damaged recording from a real one.
uint32_t crc32(const uint8_t* data, size_t size);
