// The SDL layer's key table. No window is opened: the table is plain data.
#include "shell/platform_sdl.h"

#include <gtest/gtest.h>

TEST(Keys, SdlKeysMapToTheProgramsVirtualKeys) {
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RETURN), KEY_ENTER);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_ENTER), KEY_ENTER);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_ESCAPE), KEY_ESCAPE);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_PAGEUP), KEY_PAGE_UP);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_PAGEDOWN), KEY_PAGE_DOWN);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_END), KEY_END);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_HOME), KEY_HOME);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LEFT), KEY_LEFT);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_UP), KEY_UP);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RIGHT), KEY_RIGHT);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_DOWN), KEY_DOWN);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LSHIFT), KEY_SHIFT);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RSHIFT), KEY_SHIFT);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LCTRL), KEY_CTRL);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RCTRL), KEY_CTRL);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RALT), KEY_ALT);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_BACKSPACE), KEY_BACK);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_TAB), KEY_TAB);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_SPACE), KEY_SPACE);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_INSERT), KEY_INSERT);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_DELETE), KEY_DELETE);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_r), KEY_R);
    // Letters are upper-case codes, digits their characters, F-keys from 0x70.
    for (int i = 0; i < 26; i++) {
        EXPECT_EQ(virtualKeyFromSdl(SDLK_a + i), 0x41 + i) << i;
    }
    for (int i = 0; i < 10; i++) {
        EXPECT_EQ(virtualKeyFromSdl(SDLK_0 + i), 0x30 + i) << i;
        EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_1 + (i + 9) % 10), 0x60 + i) << i;
    }
    for (int i = 0; i < 12; i++) {
        EXPECT_EQ(virtualKeyFromSdl(SDLK_F1 + i), 0x70 + i) << i;
    }
    // Keys without a code of ours.
    EXPECT_EQ(virtualKeyFromSdl(SDLK_UNKNOWN), 0);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F24), 0);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_AUDIOPLAY), 0);
}

TEST(SdlPlatform, WithoutAWindowInitFailsAndCopiesAreHarmless) {
    sdlWindow = nullptr;
    Platform p{};
    EXPECT_STREQ(platformInit(p), "Failed to init window DC");
    EXPECT_EQ(p.ready, 1u);
    ScreenBitmap b{};
    ASSERT_EQ(bitmapCreate(b, 64, 32), 1);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(b.pixels + 64) - reinterpret_cast<uint8_t*>(b.pixels),
              128);
    // No screen yet: copies and the caret go nowhere, and nothing breaks.
    blitToScreen(b, 0, 0);
    blitRectToScreen(b, 5, 5, 100, 100, -20, -20);
    paintCaretStrip(0, 0, 13);
    platformScreenResize(100, 50, 2);
    bitmapFree(b);
    EXPECT_EQ(b.pixels, nullptr);
    platformShutdown(p);
}
