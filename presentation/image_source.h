#pragma once

struct BITMAP;

// Where the scenery and the asset catalogue read their images: loadImage, unless a test
// has put a recorder in between to watch which files are read, and in which order.
extern BITMAP* (*imageReader)(const char* path);
