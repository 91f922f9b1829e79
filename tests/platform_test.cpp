// The scripted platform: what tests and tools see of the screen, the clock
// and the input state.
#include "platform/platform_script.h"
#include "tests/support/ints.h"

#include <gtest/gtest.h>

namespace {

struct Bitmap {
    ScreenBitmap bitmap{};
    Bitmap(int32_t width, int32_t height) {
        EXPECT_EQ(bitmapCreate(bitmap, width, height), 1);
        for (int32_t i = 0; i < width * height; i++) {
            bitmap.pixels[i] = uint16_t(i + 1);
        }
    }
    ~Bitmap() { bitmapFree(bitmap); }
};

uint16_t screenAt(int32_t x, int32_t y) {
    return scriptScreen().pixels[size_t(y) * size_t(scriptScreen().width) + size_t(x)];
}

} // namespace

TEST(Platform, InitReportsEachFailingStep) {
    const char* texts[] = {nullptr,
                           "Failed to init window DC",
                           "Failed to init window hDCMem",
                           "Failed to init timer",
                           "Failed to init mouse",
                           "Failed to init keyboard"};
    for (int step = 0; step <= 5; step++) {
        Platform p{};
        p.input.keys.down[7] = 1;
        scriptFailPlatformInit(step);
        const char* text = platformInit(p);
        EXPECT_EQ(p.ready, 1u);
        if (step == 0) {
            EXPECT_EQ(text, nullptr);
            EXPECT_EQ(p.input.keys.down[7], 0); // the keyboard record is cleared
        } else {
            EXPECT_STREQ(text, texts[step]);
        }
        platformShutdown(p);
    }
    scriptFailPlatformInit(0);
    platform.clientWidth = 96;
    platform.clientHeight = 40;
    ASSERT_EQ(platformInit(platform), nullptr);
    EXPECT_EQ(scriptScreen().width, 96);
    EXPECT_EQ(scriptScreen().height, 40);
}

TEST(Platform, BitmapRowsAreTwiceTheWidthApart) {
    ScreenBitmap b{};
    ASSERT_EQ(bitmapCreate(b, 64, 32), 1);
    EXPECT_EQ(b.owned, 1u);
    EXPECT_NE(b.description, nullptr);
    uint16_t* row1 = b.pixels + 64;
    EXPECT_EQ(reinterpret_cast<uint8_t*>(row1) - reinterpret_cast<uint8_t*>(b.pixels), 128);
    b.pixels[64 * 32 - 1] = 5; // the last of 4096 bytes is ours to write
    bitmapFree(b);
    EXPECT_EQ(b.pixels, nullptr);
    EXPECT_EQ(b.description, nullptr);
    scriptSetBitmapBudget(1);
    EXPECT_EQ(bitmapCreate(b, 64, 32), 1);
    bitmapFree(b);
    EXPECT_EQ(bitmapCreate(b, 64, 32), 0);
    bitmapFree(b);
    scriptSetBitmapBudget(-1);
}

TEST(Platform, BlitsCopyOnlyTheirRectangleClippedToTheScreen) {
    scriptScreenResize(16, 8);
    scriptScreenResetCounters();
    Bitmap b(4, 3); // pixels 1..12
    blitRectToScreen(b.bitmap, 0, 0, 0, 3, 0, 0);
    blitRectToScreen(b.bitmap, 0, 0, 4, -1, 0, 0);
    EXPECT_EQ(scriptScreen().copyCount, 0u);

    blitRectToScreen(b.bitmap, 5, 2, 2, 2, 1, 1);
    EXPECT_EQ(scriptScreen().copyCount, 1u);
    EXPECT_EQ(screenAt(5, 2), 6);
    EXPECT_EQ(screenAt(6, 2), 7);
    EXPECT_EQ(screenAt(5, 3), 10);
    EXPECT_EQ(screenAt(6, 3), 11);
    int painted = 0;
    for (uint16_t p : scriptScreen().pixels) {
        painted += p != 0;
    }
    EXPECT_EQ(painted, 4);

    // Off the right and bottom edges, and from a negative position.
    blitToScreen(b.bitmap, 14, 6);
    EXPECT_EQ(screenAt(15, 7), 6);
    blitToScreen(b.bitmap, -3, -2);
    EXPECT_EQ(screenAt(0, 0), 12);
    EXPECT_EQ(scriptScreen().copyCount, 3u);
    EXPECT_EQ(scriptScreen().lastX, -3);
    EXPECT_EQ(scriptScreen().lastY, -2);
    EXPECT_EQ(scriptScreen().lastWidth, 4);
    EXPECT_EQ(scriptScreen().lastHeight, 3);

    paintCaretStrip(9, 5, 10);
    EXPECT_EQ(screenAt(9, 5), 0xFFFF);
    EXPECT_EQ(screenAt(10, 7), 0xFFFF);
    EXPECT_EQ(screenAt(11, 5), 0);
    EXPECT_EQ(screenAt(9, 4), 0);
    EXPECT_EQ(b.bitmap.pixels[0], 1); // the caret never touches a bitmap
}

TEST(Input, ClockAndCursorAreWhatWasSet) {
    InputState input{};
    scriptSetTime(1234);
    EXPECT_EQ(clockSample(input), 1234u);
    scriptSetTime(99);
    EXPECT_EQ(input.now, 1234u); // until the next sample
    EXPECT_EQ(clockSample(input), 99u);
    MouseState mouse{};
    setCursorShape(mouse, 7);
    EXPECT_EQ(mouse.cursorShape, 7u);
    EXPECT_FALSE(scriptCursorHidden());
    setCursorShape(mouse, 0);
    setCursorShape(mouse, 1);
    EXPECT_EQ(mouse.cursorShape, 1u);
    EXPECT_TRUE(scriptCursorHidden());
}

TEST(Input, ClearingEventsKeepsHeldKeysAndPositions) {
    ASSERT_EQ(mouseInit(inputState.mouse), 1);
    ASSERT_EQ(keysInit(inputState.keys), 1);
    scriptMouseMove(30, 40);
    scriptLeftDown();
    scriptMouseMove(70000, 5); // 16 bits of each coordinate
    scriptLeftUp();
    scriptRightDown();
    scriptRightUp();
    scriptMiddleDown();
    scriptMiddleUp();
    scriptWheel(120);
    scriptWheel(-120);
    setCursorShape(inputState.mouse, 3);
    MouseState& m = inputState.mouse;
    EXPECT_EQ(ints(m.pressX, m.pressY, m.x), ints(30, 40, 70000 & 0xFFFF));
    mouseClearEvents(m);
    EXPECT_EQ(m.moved | m.leftPressed | m.leftReleased | m.rightPressed | m.rightReleased |
                  m.middlePressed | m.middleReleased | m.wheelForward | m.wheelBackward,
              0u);
    EXPECT_EQ(ints(m.x, m.y, m.pressX, m.cursorShape), ints(70000 & 0xFFFF, 5, 30, 3u));

    KeyboardState& k = inputState.keys;
    scriptKeyDown(KEY_RIGHT);
    scriptKeyDown(KEY_RIGHT); // auto-repeat
    EXPECT_EQ(k.lastKey, KEY_RIGHT);
    scriptKeyUp(KEY_RIGHT);
    EXPECT_EQ(k.down[KEY_RIGHT], 0);
    EXPECT_EQ(k.lastKey, KEY_RIGHT);
    scriptKeyDown(KEY_SHIFT);
    scriptChar(13);
    EXPECT_EQ(k.lastChar, 0);
    scriptChar('q');
    scriptSysKeyDown(KEY_ALT);
    scriptSysKeyDown(KEY_SPACE);
    EXPECT_EQ(k.altLetter, 0);
    scriptSysKeyDown(0x41);
    EXPECT_EQ(k.altLetter, 0x41);
    EXPECT_EQ(k.down[0x41], 0);
    keysClearEvents(k);
    EXPECT_EQ(
        ints(k.lastKey | k.lastChar | k.altLetter, k.altPressed, k.down[KEY_SHIFT], k.altHeld),
        ints(0, 0u, 1, 1));
    scriptSysKeyUp(KEY_ALT);
    EXPECT_EQ(k.altHeld, 0);
    scriptFocusLost();
    EXPECT_EQ(m.leftReleased, 1u);
}
