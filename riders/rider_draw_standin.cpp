#include "riders/rider.h"

// STAND-IN until the rider drawing lands with the scene.
void Rider::draw(BITMAP*) {}
