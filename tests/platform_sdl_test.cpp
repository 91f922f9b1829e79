// The SDL platform's screen, run on SDL's "dummy" video driver: a window
// that exists only in memory, so the test needs no display. What reached the
// screen is read back by drawing the screen texture once more.
#include "shell/platform_sdl.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// The screen as 32-bit ARGB, read through the platform's own renderer and
// kept to the precision of RGB565 (SDL's conversion may round the low bits).
std::vector<uint32_t> readScreen(int32_t width, int32_t height) {
    auto* renderer = static_cast<SDL_Renderer*>(platform.windowDc);
    auto* texture = static_cast<SDL_Texture*>(platform.memoryDc);
    std::vector<uint32_t> pixels(size_t(width) * size_t(height), 0x12345678);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    EXPECT_EQ(
        SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), width * 4),
        0);
    for (uint32_t& p : pixels) {
        p &= 0xFFF8FCF8;
    }
    return pixels;
}

} // namespace

TEST(SdlScreen, CopiesOnlyTheRectangleAndSurvivesAResize) {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    sdlWindow = SDL_CreateWindow("test", 0, 0, 64, 32, SDL_WINDOW_HIDDEN);
    ASSERT_NE(sdlWindow, nullptr) << SDL_GetError();
    platformClear(platform);
    platform.clientWidth = 64;
    platform.clientHeight = 32;
    ASSERT_EQ(platformInit(platform), nullptr);

    ScreenBitmap b{};
    ASSERT_EQ(bitmapCreate(b, 64, 32), 1);
    for (int32_t i = 0; i < 64 * 32; i++) {
        b.pixels[i] = 0xF800; // red
    }
    b.pixels[1 * 64 + 2] = 0x07E0; // green at (2, 1)
    blitRectToScreen(b, 10, 5, 4, 3, 2, 1);
    blitRectToScreen(b, 0, 0, 0, 5, 0, 0); // nothing
    paintCaretStrip(20, 2, 5);
    std::vector<uint32_t> screen = readScreen(64, 32);
    for (int32_t y = 0; y < 32; y++) {
        for (int32_t x = 0; x < 64; x++) {
            uint32_t want = 0xFF000000;
            if (x >= 10 && x < 14 && y >= 5 && y < 8) {
                want = x == 10 && y == 5 ? 0xFF00FC00 : 0xFFF80000;
            } else if (x >= 20 && x < 22 && y >= 2 && y < 7) {
                want = 0xFFF8FCF8;
            }
            ASSERT_EQ(screen[size_t(y) * 64 + size_t(x)], want) << x << "," << y;
        }
    }

    // A larger screen starts black and takes whole copies at any position.
    platformScreenResize(96, 40);
    SDL_SetWindowSize(sdlWindow, 96, 40);
    blitToScreen(b, 40, 20);
    screen = readScreen(96, 40);
    EXPECT_EQ(screen[0], 0xFF000000);
    EXPECT_EQ(screen[21 * 96 + 42], 0xFF00FC00);
    EXPECT_EQ(screen[39 * 96 + 95], 0xFFF80000);

    setCursorShape(platform.input.mouse, 7);
    EXPECT_EQ(platform.input.mouse.cursorShape, 7u);
    uint32_t before = clockSample(platform.input);
    EXPECT_GE(clockSample(platform.input), before);

    bitmapFree(b);
    platformShutdown(platform);
    EXPECT_EQ(platform.windowDc, nullptr);
    SDL_DestroyWindow(sdlWindow);
    sdlWindow = nullptr;
    SDL_Quit();
}
