#pragma once

struct BITMAP;

// Loads a BMP or TGA image, refusing files the library cannot read safely. Null on failure.
BITMAP* loadImage(const char* path);
