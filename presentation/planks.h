#pragma once
// The rows a picture's bridges cover with solid planks from edge to edge: the water, the banks
// and the shadows under them are never seen, so they need not be drawn there.
#include <vector>

struct ShownObstacle;

// The stretches of a picture's rows that no bridge's solid planks cover, top to bottom, as
// [top, bottom) pairs: the whole picture when no bridge covers a row.
std::vector<int> uncoveredRows(const std::vector<ShownObstacle>& bridges, int pictureW, int pictureH);
