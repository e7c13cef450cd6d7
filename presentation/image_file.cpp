#include "presentation/image_file.h"

#include <allegro.h>

// STAND-IN until the file checks land.
BITMAP* loadImage(const char* path)
{
    return load_bitmap(path, nullptr);
}
