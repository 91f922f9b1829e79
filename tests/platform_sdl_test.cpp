// The SDL platform's screen, run on SDL's "dummy" video driver: a window
// that exists only in memory, so the test needs no display. What reached the
// screen is read back from the window's surface.
#include "shell/platform_sdl.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr uint32_t BLACK = 0xFF000000, RED = 0xFFF80000, GREEN = 0xFF00FC00, WHITE = 0xFFF8FCF8;

// What the screen should hold at (x, y) of the window: the bitmap's 4 x 3
// rectangle at (2, 1), copied to `at`, the caret strip 2 x 5 at `caret`,
// both in unscaled pixels, and black elsewhere.
uint32_t expected(int32_t x, int32_t y, int32_t zoom, SDL_Point at, SDL_Point caret) {
    x /= zoom;
    y /= zoom;
    if (x >= at.x && x < at.x + 4 && y >= at.y && y < at.y + 3) {
        return x == at.x && y == at.y ? GREEN : RED;
    }
    if (x >= caret.x && x < caret.x + 2 && y >= caret.y && y < caret.y + 5) {
        return WHITE;
    }
    return BLACK;
}

} // namespace

TEST(SdlScreen, CopiesOnlyTheRectangleEnlargedByTheZoom) {
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
    std::fill_n(b.pixels, 64 * 32, uint16_t{0xF800}); // red
    b.pixels[1 * 64 + 2] = 0x07E0;                    // green at (2, 1)

    // At zoom 1, then at zoom 2 in a window whose odd last column and row
    // show no desktop pixel; the copies at zoom 2 reach past what is shown.
    for (const int32_t zoom : {1, 2}) {
        SDL_SetWindowSize(sdlWindow, zoom == 1 ? 64 : 97, zoom == 1 ? 32 : 41);
        platformScreenResize(0, 0, zoom);
        const SDL_Point at = zoom == 1 ? SDL_Point{10, 5} : SDL_Point{45, 18};
        const SDL_Point caret = zoom == 1 ? SDL_Point{20, 2} : SDL_Point{40, 16};
        blitRectToScreen(b, at.x, at.y, 4, 3, 2, 1);
        blitRectToScreen(b, 0, 0, 0, 5, 0, 0); // nothing
        paintCaretStrip(caret.x, caret.y, 5);
        // The window's surface as 32-bit ARGB, kept to the precision of RGB565.
        SDL_Surface* surface = SDL_GetWindowSurface(sdlWindow);
        const int32_t width = surface->w, height = surface->h;
        std::vector<uint32_t> screen(size_t(width) * size_t(height), 0x12345678);
        ASSERT_EQ(SDL_ConvertPixels(width, height, surface->format->format, surface->pixels,
                                    surface->pitch, SDL_PIXELFORMAT_ARGB8888, screen.data(),
                                    width * 4),
                  0);
        for (uint32_t& p : screen) {
            p &= 0xFFF8FCF8;
        }
        for (int32_t y = 0; y < height; y++) {
            for (int32_t x = 0; x < width; x++) {
                const bool shown = x < width / zoom * zoom && y < height / zoom * zoom;
                ASSERT_EQ(screen[size_t(y) * size_t(width) + size_t(x)],
                          shown ? expected(x, y, zoom, at, caret) : BLACK)
                    << x << "," << y << " at zoom " << zoom;
            }
        }
    }

    bitmapFree(b);
    platformShutdown(platform);
    EXPECT_EQ(platform.windowDc, nullptr);
    SDL_DestroyWindow(sdlWindow);
    sdlWindow = nullptr;
    SDL_Quit();
}
