#include "presentation/assets.h"

BITMAP* titleBitmap = nullptr;
BITMAP* bridgeShadowBitmap = nullptr;
