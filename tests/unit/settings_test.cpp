#include <gtest/gtest.h>

#include <allegro.h>

#include "app/settings.h"

// What the game writes it reads back the same; anything else is refused whole.
TEST(Settings, WrittenSettingsReadBackAndDamageIsRefusedWhole)
{
    Settings changed;
    changed.volume = 30, changed.scale = 2, changed.fullscreen = true, changed.level = 5;
    changed.matchLength = 9, changed.names[1] = "Jozo Maly", changed.address = "10.0.0.7:5000";
    changed.keys[0][2] = KEY_W;
    Settings read;
    std::string why;
    ASSERT_TRUE(decodeSettings(encodeSettings(changed), read, why)) << why;
    EXPECT_EQ(encodeSettings(read), encodeSettings(changed));

    const char* damaged[] = {"volume=101", "scale=5", "match=0", "level=x", "colour=red",
                             "no equals sign", "name1=", "name2=A name far too long for it",
                             "keys1=1 4", "keys1=1 4 82", "keys2=82 83 59", "address=a b"};
    for (const char* text : damaged) {
        Settings untouched;
        untouched.volume = 7;
        EXPECT_FALSE(decodeSettings(std::string("volume=50\n") + text + "\n", untouched, why)) << text;
        EXPECT_EQ(untouched.volume, 7) << text;
    }
}
