#pragma once
#include <cstddef>

#include "presentation/image_check.h"

struct BITMAP;

// Loads a BMP or TGA image, refusing files the library cannot read safely. Null on failure.
BITMAP* loadImage(const char* path);

// Builds a bitmap in the current colour depth from the bytes of a whole file, after checking
// them. Null when the bytes are refused or no bitmap can be made.
BITMAP* decodeImage(const unsigned char* data, size_t size, ImageFormat format);
