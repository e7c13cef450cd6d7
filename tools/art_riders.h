#pragma once
// The two riders in their inner tubes, seen from above, and the shadow they cast.
#include <allegro.h>
#include <string>

namespace art {

enum class Pose { Paddle, Crouch, Spread };

// Draws rider `who` (0 warm colours, 1 cool) centred on (cx, cy); `frame` 0..3 moves the
// arms through one paddle stroke or shakes the crouch.
void drawRider(BITMAP* dest, float cx, float cy, float size, int who, Pose pose, int frame);

// zem, voda, vzduch, naprah for both riders and the shared shadow. False on a failed save.
bool writeRiders(const std::string& dir);
// The icon, a rider on a patch of water: riverduel.bmp (48 pixels), riverduel-64/128/256.bmp,
// and riverduel.xpm (64 pixels, as C source for the window).
bool writeIcon(const std::string& dir);

} // namespace art
