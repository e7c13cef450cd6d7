#include "classic/live.h"

std::atomic<uint32_t> ticks{0};
float riverSpeed = 0.0f;
bool gameOver = false;
uint8_t winner = 0;
