#pragma once
// The two plain bitmaps the drawing shows: the title and the bridges' shadow.

struct BITMAP;

extern BITMAP* titleBitmap;
extern BITMAP* bridgeShadowBitmap;
