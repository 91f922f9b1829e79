// What one board step costs to show on the SDL window: the board's
// rectangle (18 x 13 tiles of 33 pixels) copied to the screen, in a window
// of 640 x 480 and one of 3840 x 2160 at zoom 1, and in the large one at
// zoom 4. The window is SDL's "dummy" driver's, in memory, so that only the
// program's own work is measured: the conversion and enlargement of the
// rectangle into the window's surface, and the rectangle handed to SDL.
#include "shell/platform_sdl.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int32_t BOARD_WIDTH = 18 * 33;
constexpr int32_t BOARD_HEIGHT = 13 * 33;

void BoardStepShown(benchmark::State& state) {
    const auto width = int32_t(state.range(0));
    const auto height = int32_t(state.range(1));
    const auto zoom = int32_t(state.range(2));
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    sdlWindow = SDL_CreateWindow("bench", 0, 0, width, height, SDL_WINDOW_HIDDEN);
    platformClear(platform);
    platform.clientWidth = width;
    platform.clientHeight = height;
    if (sdlWindow == nullptr || platformInit(platform) != nullptr) {
        state.SkipWithError("no window");
        SDL_Quit();
        return;
    }
    platformScreenResize(width, height, zoom);
    // The game window's canvas, the size of the desktop, with the board
    // centred in it.
    ScreenBitmap canvas{};
    bitmapCreate(canvas, width / zoom, height / zoom);
    for (int32_t i = 0; i < canvas.width * canvas.height; i++) {
        canvas.pixels[i] = uint16_t(i * 2654435761u >> 16);
    }
    const int32_t x = (canvas.width - BOARD_WIDTH) / 2;
    const int32_t y = (canvas.height - BOARD_HEIGHT) / 2;
    for (auto _ : state) {
        blitRectToScreen(canvas, x, y, BOARD_WIDTH, BOARD_HEIGHT, x, y);
    }
    state.SetItemsProcessed(state.iterations() * BOARD_WIDTH * BOARD_HEIGHT);
    bitmapFree(canvas);
    platformShutdown(platform);
    SDL_DestroyWindow(sdlWindow);
    sdlWindow = nullptr;
    SDL_Quit();
}

BENCHMARK(BoardStepShown)
    ->Args({640, 480, 1})
    ->Args({3840, 2160, 1})
    ->Args({3840, 2160, 4})
    ->ArgNames({"width", "height", "zoom"})
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
