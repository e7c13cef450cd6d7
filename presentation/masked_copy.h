#pragma once

struct BITMAP;

// masked_blit with the same clipping and the same pixels, quicker between two 32-bit memory
// bitmaps (the back buffer and the loaded art): whole rows are blended without a branch per
// pixel. Any other pair of bitmaps goes to masked_blit itself.
void maskedCopy(BITMAP* src, BITMAP* dest, int sx, int sy, int dx, int dy, int w, int h);
