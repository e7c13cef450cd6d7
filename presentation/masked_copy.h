#pragma once

struct BITMAP;

// masked_blit with the same clipping and the same pixels, quicker between two 32-bit memory
// bitmaps (the back buffer and the loaded art): whole rows are blended without a branch per
// pixel. Any other pair of bitmaps goes to masked_blit itself.
void maskedCopy(BITMAP* src, BITMAP* dest, int sx, int sy, int dx, int dy, int w, int h);

// Art that stays as it was loaded, unchanged and alive, until the process ends (the game's
// strips): its rows are read once for their stretches of art and holes, and maskedCopy then
// copies solid stretches whole and skips long holes without looking at them.
void keepMaskedArt(BITMAP* art);

// True when row `y` of kept art is solid art (no mask colour) from column `from` to `to` (one
// past the last); false for art that was not kept.
bool keptSolid(const BITMAP* art, int y, int from, int to);
