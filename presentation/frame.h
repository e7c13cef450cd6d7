#pragma once

class ObstacleLanes;

// Composes one game frame in its layers into backBuffer (moving and hit-testing the
// obstacles on the way) and copies it to the screen.
void renderFrame(ObstacleLanes& lanes);
