#pragma once
// Writes mono 16-bit PCM WAV files.
#include <string>
#include <vector>

namespace sound {

// Samples in -1..1; values beyond are clamped. False when the file cannot be written.
bool writeWav(const std::string& path, const std::vector<float>& samples, int rate);

} // namespace sound
