#pragma once
// The end screen's title word, finishing "<name> is the".
#include <string>

namespace art {

// kalvanto.bmp. False on a failed save.
bool writeTitle(const std::string& dir);

} // namespace art
