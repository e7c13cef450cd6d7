#pragma once
#include <cstddef>
#include <string>

struct BITMAP;

enum class ImageFormat { BMP, TGA };

// The format named by the file's extension (.bmp or .tga, any case). False for anything else.
bool imageFormatFromPath(const char* path, ImageFormat* format);

// No art of the game comes near this: the largest picture it reads, at four bytes a pixel,
// with room for headers and a colour table.
constexpr size_t maxImageFileBytes = 65u * 1024u * 1024u;

// Loads a BMP or TGA image in the current colour depth. Null on failure, with the file and
// what was wrong with it noted for the start-up report.
BITMAP* loadImage(const char* path);

// Builds a bitmap in the current colour depth from the bytes of a whole file. Null when the
// bytes are refused (`why` then says what was wrong) or no bitmap can be made.
BITMAP* decodeImage(const unsigned char* data, size_t size, ImageFormat format, std::string* why = nullptr);
