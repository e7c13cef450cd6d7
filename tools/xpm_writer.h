#pragma once
// Writes a bitmap as an XPM image in C source form, which the game compiles in as its window
// icon (the library's X11 driver takes the icon as XPM data).
#include <allegro.h>
#include <string>

namespace art {

// `name` is the array's name; pixels in the mask colour are transparent.
bool saveXpmSource(BITMAP* bmp, const std::string& name, const std::string& path);

} // namespace art
