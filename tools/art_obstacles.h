#pragma once
// Things drifting down the river: the rock, the log and the burger.
#include <string>

namespace art {

// skala.bmp, drevo.bmp, hambac.bmp. False on a failed save.
bool writeObstacles(const std::string& dir);

} // namespace art
