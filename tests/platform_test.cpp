// The platform code both builds share: screen bitmaps and the one-pass
// events. The scripted twin's own clock, screen and input are the tests'
// equipment and are not tested for their own sake.
#include "platform/platform_script.h"
#include "tests/support/ints.h"

#include <array>
#include <gtest/gtest.h>

TEST(Platform, BitmapsAreBlackRowsOfTheirWidthAndAbsurdSizesAreRefused) {
    ScreenBitmap b{};
    ASSERT_EQ(bitmapCreate(b, 64, 32), 1);
    EXPECT_EQ(ints(b.owned, b.description != nullptr, b.pixels[0], b.pixels[64 * 32 - 1]),
              ints(1, 1, 0, 0));
    b.pixels[64 * 32 - 1] = 5; // the last of 4096 bytes is ours to write
    bitmapFree(b);
    EXPECT_EQ(ints(b.pixels == nullptr, b.description == nullptr, b.owned), ints(1, 1, 0));
    // Nothing may be empty or past 8192 x 8192.
    for (const auto& [width, height, made] :
         {std::array{1, 1, 1}, {8193, 8192, 0}, {0, 10, 0}, {10, -1, 0}, {1 << 20, 1 << 20, 0}}) {
        EXPECT_EQ(bitmapCreate(b, width, height), made) << width << " x " << height;
        EXPECT_EQ(ints(b.width, b.height, b.pixels != nullptr), ints(width, height, made));
        bitmapFree(b);
    }
}

// The key events of one pass go; the held keys stay. (The mouse's events are
// cleared after every pass of every desktop test.)
TEST(Input, ClearingEventsKeepsHeldKeys) {
    ASSERT_EQ(keysInit(inputState.keys), 1);
    KeyboardState& k = inputState.keys;
    scriptKeyDown(KEY_SHIFT);
    scriptChar('q');
    scriptSysKeyDown(KEY_ALT);
    scriptSysKeyDown(0x41);
    ASSERT_EQ(ints(k.lastKey, k.lastChar, k.altLetter, k.altPressed),
              ints(KEY_SHIFT, 'q', 0x41, 1));
    keysClearEvents(k);
    EXPECT_EQ(ints(k.lastKey, k.lastChar, k.altLetter, k.altPressed, k.down[KEY_SHIFT], k.altHeld),
              ints(0, 0, 0, 0, 1, 1));
}
