// The platform layer on SDL2. The screen is the window's own surface, in
// whatever pixel format the display has: a copy converts just its rectangle
// from RGB565, enlarged by the zoom, into the surface, and hands SDL that
// rectangle alone to show. A board step therefore costs what the
// board's pixels cost, however large the window. Bitmaps are plain memory
// in RGB565, the same as the scripted platform's.
//
// The record's two handles hold the window (windowDc) and its surface
// (memoryDc).
#include "shell/platform_sdl.h"
#include "platform/platform_common.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

SDL_Window* sdlWindow = nullptr;

namespace {

constexpr int32_t CARET_WIDTH = 2;
constexpr uint16_t WHITE = 0xFFFF;
constexpr Uint32 BITMAP_FORMAT = SDL_PIXELFORMAT_RGB565;

struct SdlScreen {
    SDL_Surface* surface; // the window's; SDL replaces it when the window changes size
    int32_t zoom;
    bool timerStarted;
    SDL_Cursor* cursors[7];         // by shape code, created when first asked for
    std::vector<uint8_t> converted; // a rectangle in the surface's format, before enlarging
    std::vector<uint16_t> white;    // the caret strip's pixels
};

SdlScreen screen;

// The window's current surface. When SDL has made a new one (the window
// changed size) it starts black; the size message that follows has the
// desktop draw everything again.
SDL_Surface* currentSurface() {
    SDL_Surface* surface = sdlWindow != nullptr ? SDL_GetWindowSurface(sdlWindow) : nullptr;
    if (surface != screen.surface && surface != nullptr) {
        SDL_FillRect(surface, nullptr, 0);
        SDL_UpdateWindowSurface(sdlWindow);
    }
    screen.surface = surface;
    platform.memoryDc = surface;
    return surface;
}

// One row of `count` pixels of BYTES bytes, each repeated `zoom` times.
template <int BYTES> void widenRow(uint8_t* to, const uint8_t* from, int32_t count, int32_t zoom) {
    for (int32_t i = 0; i < count; i++, from += BYTES) {
        for (int32_t z = 0; z < zoom; z++, to += BYTES) {
            std::memcpy(to, from, BYTES);
        }
    }
}

void widenRowAnyDepth(uint8_t* to, const uint8_t* from, int32_t count, int32_t zoom,
                      int32_t bytes) {
    switch (bytes) {
    case 1: widenRow<1>(to, from, count, zoom); break;
    case 2: widenRow<2>(to, from, count, zoom); break;
    case 3: widenRow<3>(to, from, count, zoom); break;
    default: widenRow<4>(to, from, count, zoom); break;
    }
}

// SDL's own conversion brings RGB565 into the display's format, so that
// colours come out as SDL would show them; at a zoom above 1 the converted
// rectangle is then enlarged, each pixel to a square and each row repeated.
void putRect(SDL_Surface& surface, const uint16_t* pixels, int32_t pitch, int32_t x, int32_t y,
             int32_t width, int32_t height) {
    const int32_t zoom = screen.zoom;
    const int32_t bytes = surface.format->BytesPerPixel;
    auto* target = static_cast<uint8_t*>(surface.pixels) + int64_t{y} * zoom * surface.pitch +
                   int64_t{x} * zoom * bytes;
    if (zoom == 1) {
        SDL_ConvertPixels(width, height, BITMAP_FORMAT, pixels, pitch * 2, surface.format->format,
                          target, surface.pitch);
        return;
    }
    screen.converted.resize(size_t(width) * size_t(height) * size_t(bytes));
    if (SDL_ConvertPixels(width, height, BITMAP_FORMAT, pixels, pitch * 2, surface.format->format,
                          screen.converted.data(), width * bytes) != 0) {
        return;
    }
    const size_t rowBytes = size_t(width) * size_t(zoom) * size_t(bytes);
    for (int32_t row = 0; row < height; row++, target += int64_t{zoom} * surface.pitch) {
        widenRowAnyDepth(target,
                         screen.converted.data() + size_t(row) * size_t(width) * size_t(bytes),
                         width, zoom, bytes);
        for (int32_t z = 1; z < zoom; z++) {
            std::memcpy(target + int64_t{z} * surface.pitch, target, rowBytes);
        }
    }
}

// Shows width x height pixels, rows `pitch` pixels apart, at (x, y) of the
// desktop: within the part of the window the zoomed desktop covers.
void present(const uint16_t* pixels, int32_t pitch, int32_t x, int32_t y, int32_t width,
             int32_t height) {
    SDL_Surface* surface = currentSurface();
    if (surface == nullptr) {
        return;
    }
    const int32_t zoom = screen.zoom;
    const int32_t x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int32_t x1 = std::min(x + width, surface->w / zoom);
    const int32_t y1 = std::min(y + height, surface->h / zoom);
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
        return;
    }
    putRect(*surface, pixels + int64_t{y0 - y} * pitch + (x0 - x), pitch, x0, y0, x1 - x0, y1 - y0);
    if (SDL_MUSTLOCK(surface)) {
        SDL_UnlockSurface(surface);
    }
    const SDL_Rect shown{x0 * zoom, y0 * zoom, (x1 - x0) * zoom, (y1 - y0) * zoom};
    SDL_UpdateWindowSurfaceRects(sdlWindow, &shown, 1);
}

} // namespace

const char* platformInit(Platform& p) {
    p.ready = 1;
    if (sdlWindow == nullptr) {
        return "Failed to init window DC";
    }
    p.windowDc = sdlWindow;
    screen.zoom = std::max(screen.zoom, 1);
    if (currentSurface() == nullptr) {
        return "Failed to init window hDCMem";
    }
    if (!clockInit(p.input)) {
        return "Failed to init timer";
    }
    if (!mouseInit(p.input.mouse)) {
        return "Failed to init mouse";
    }
    if (!keysInit(p.input.keys)) {
        return "Failed to init keyboard";
    }
    return nullptr;
}

void platformShutdown(Platform& p) {
    for (SDL_Cursor*& cursor : screen.cursors) {
        if (cursor != nullptr) {
            SDL_FreeCursor(cursor);
            cursor = nullptr;
        }
    }
    if (screen.timerStarted) {
        SDL_QuitSubSystem(SDL_INIT_TIMER);
    }
    // The surface is the window's own and goes with it.
    screen = SdlScreen{};
    p.windowDc = nullptr;
    p.memoryDc = nullptr;
}

void platformScreenResize(int32_t, int32_t, int32_t zoom) {
    // The surface knows the window's size better than any message.
    screen.zoom = std::max(zoom, 1);
    if (SDL_Surface* surface = currentSurface()) {
        SDL_FillRect(surface, nullptr, 0);
        SDL_UpdateWindowSurface(sdlWindow);
    }
}

void blitRectToScreen(const ScreenBitmap& bitmap, int32_t destX, int32_t destY, int32_t width,
                      int32_t height, int32_t srcX, int32_t srcY) {
    if (width <= 0 || height <= 0 || bitmap.owned == 0 || bitmap.pixels == nullptr) {
        return;
    }
    // Keep to the bitmap first: parts of the rectangle outside it are not copied.
    const int32_t left = std::max(0, -srcX), top = std::max(0, -srcY);
    const int32_t right = std::min(width, bitmap.width - srcX);
    const int32_t bottom = std::min(height, bitmap.height - srcY);
    if (left >= right || top >= bottom) {
        return;
    }
    const uint16_t* first = bitmap.pixels + int64_t{srcY + top} * bitmap.width + (srcX + left);
    present(first, bitmap.width, destX + left, destY + top, right - left, bottom - top);
}

void paintCaretStrip(int32_t x, int32_t y, int32_t height) {
    if (height <= 0) {
        return;
    }
    const size_t needed = size_t(height) * CARET_WIDTH;
    if (screen.white.size() < needed) {
        screen.white.assign(needed, WHITE);
    }
    present(screen.white.data(), CARET_WIDTH, x, y, CARET_WIDTH, height);
}

void setCursorShape(MouseState& mouse, uint32_t code) {
    mouse.cursorShape = code;
    if (code == 0) {
        // Hidden for good: no other shape shows the cursor again.
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    static constexpr SDL_SystemCursor SHAPES[7] = {
        SDL_SYSTEM_CURSOR_ARROW,   SDL_SYSTEM_CURSOR_ARROW,    SDL_SYSTEM_CURSOR_SIZEWE,
        SDL_SYSTEM_CURSOR_SIZENS,  SDL_SYSTEM_CURSOR_SIZENWSE, SDL_SYSTEM_CURSOR_SIZENESW,
        SDL_SYSTEM_CURSOR_SIZEALL,
    };
    if (code > 6) {
        return;
    }
    SDL_Cursor*& cursor = screen.cursors[code];
    if (cursor == nullptr) {
        cursor = SDL_CreateSystemCursor(SHAPES[code]);
    }
    if (cursor != nullptr) {
        SDL_SetCursor(cursor);
    }
}

bool platformAllowsBitmap() {
    return true;
}

int clockInit(InputState&) {
    if (!screen.timerStarted) {
        if (SDL_InitSubSystem(SDL_INIT_TIMER) != 0) {
            return 0;
        }
        screen.timerStarted = true;
    }
    return 1;
}

uint32_t clockSample(InputState& input) {
    input.now = SDL_GetTicks();
    return input.now;
}
