#pragma once
// The art and sounds the game loads at start-up into its riders, obstacle kinds and scenery.

// Loads the sounds, creates both riders, loads every image into its sprite and fills the
// obstacle kinds. Stops at the first failure and undoes nothing. True on failure.
bool loadAssets();

// Once loading succeeded and the strips will stay as loaded until the process ends (the game
// and the benchmarks, never a test that frees them): lets masked drawing learn each strip's
// solid stretches and holes once, instead of looking at every pixel in every frame.
void keepLoadedArt();
