#pragma once
// The heads-up display: both riders' names, health and mass.

#include <cstdint>

struct BITMAP;

// Names, health bars and mass bars of both riders.
void drawBars(BITMAP* dest, const char* firstName, int32_t firstHealth, float firstMass,
              const char* secondName, int32_t secondHealth, float secondMass);
