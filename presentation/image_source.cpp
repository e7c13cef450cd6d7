#include "presentation/image_source.h"

#include "presentation/image_file.h"

BITMAP* (*imageReader)(const char* path) = loadImage;
