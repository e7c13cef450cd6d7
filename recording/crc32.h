#pragma once
#include <cstddef>
#include <cstdint>

// CRC-32 (the zip and PNG one), to tell a damaged recording from a real one. Chained: the CRC
// of A then B is crc32(B, crc32(A)), so a file's CRC can grow as the file is written.
uint32_t crc32(const uint8_t* data, size_t size, uint32_t previous = 0);
