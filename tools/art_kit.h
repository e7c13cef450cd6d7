#pragma once
// Drawing kit of the asset generator: fixed-seed randomness, periodic noise, colours and
// hard-edged shapes for masked sprites (no anti-aliasing, which would fringe against the mask).
#include <allegro.h>
#include <cstdint>
#include <string>

namespace art {

struct Rgb {
    float r, g, b;
};

// Every random choice in the art comes from these, so the files never depend on the platform.
uint32_t hash(uint32_t a, uint32_t b = 0, uint32_t c = 0);
float hashUnit(uint32_t a, uint32_t b = 0, uint32_t c = 0);

class Lcg {
public:
    explicit Lcg(uint32_t seed) : state(seed * 2654435761u + 12345u) {}
    uint32_t next();
    float unit();
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }

private:
    uint32_t state;
};

// Value noise on a lattice that wraps every periodX x periodY cells; result in [0, 1].
float periodicNoise(float x, float y, int periodX, int periodY, uint32_t seed);
// Octaves of periodicNoise; the lattice doubles each octave so the wrap survives.
float periodicFbm(float x, float y, int periodX, int periodY, int octaves, uint32_t seed);

Rgb mix(Rgb a, Rgb b, float t);
Rgb scale(Rgb c, float k);
int colour(Rgb c);
Rgb colourOf(int pixel);
int maskColour();

BITMAP* newCanvas(int w, int h);
bool isMask(BITMAP* bmp, int x, int y);
void plot(BITMAP* bmp, int x, int y, Rgb c);
Rgb pixelAt(BITMAP* bmp, int x, int y);

// Three-tone cartoon shading of a rounded body; (u, v) is the point in the body's own
// -1..1 coordinates, light from the upper left.
Rgb toon(Rgb base, float u, float v);

void fillEllipse(BITMAP* bmp, float cx, float cy, float rx, float ry, Rgb c);
void fillShadedEllipse(BITMAP* bmp, float cx, float cy, float rx, float ry, Rgb base);
// A round-ended stroke from (x0, y0) to (x1, y1).
void fillCapsule(BITMAP* bmp, float x0, float y0, float x1, float y1, float radius, Rgb c);
// Outlined versions: a dark rim one pixel wide, then the shape.
void inkEllipse(BITMAP* bmp, float cx, float cy, float rx, float ry, Rgb base, bool shaded = true);
void inkCapsule(BITMAP* bmp, float x0, float y0, float x1, float y1, float radius, Rgb c);

// Puts a one-pixel rim of `ink` around every opaque region.
void outlineOpaque(BITMAP* bmp, Rgb ink);
BITMAP* mirrored(BITMAP* src);

extern const Rgb INK;

// Saves a 24-bit file; false on failure.
bool saveBmp(BITMAP* bmp, const std::string& path);
bool saveTga(BITMAP* bmp, const std::string& path);

} // namespace art
