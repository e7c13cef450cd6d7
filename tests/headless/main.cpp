// Tests of the game played without a window: no display, no sound device, no files.
#include <gtest/gtest.h>

#include <allegro.h>

#include "classic/headless.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    KindGeometry geometry;
    geometry.bridgeHeight = 100;
    if (!startHeadless(geometry))
        return 1;
    return RUN_ALL_TESTS();
}
END_OF_MAIN()
