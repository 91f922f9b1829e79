// The platform layer on SDL2. The screen is a streaming texture in RGB565,
// the size of the client area, drawn by a renderer on the main window: a blit
// uploads just its rectangle into the texture, and the whole texture is then
// presented (the renderer's back buffer is not kept between presents, so it
// is redrawn from the texture each time, which costs the GPU, not us).
// Bitmaps are plain memory in the same pixel format, so no copy converts.
//
// The record's two handles hold the renderer (windowDc) and the screen
// texture (memoryDc).
#include "shell/platform_sdl.h"
#include "platform/platform_common.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

SDL_Window* sdlWindow = nullptr;

namespace {

struct SdlScreen {
    SDL_Renderer* renderer;
    SDL_Texture* texture;
    int32_t width;
    int32_t height;
    bool timerStarted;
    SDL_Cursor* cursors[7];      // by shape code, created when first asked for
    std::vector<uint16_t> white; // the caret strip's pixels
};

SdlScreen screen;

SDL_Texture* makeTexture(int32_t width, int32_t height) {
    SDL_Texture* texture = SDL_CreateTexture(screen.renderer, SDL_PIXELFORMAT_RGB565,
                                             SDL_TEXTUREACCESS_STREAMING, width, height);
    if (texture == nullptr) {
        return nullptr;
    }
    // A new streaming texture holds whatever memory it was given: start black.
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) == 0) {
        std::memset(pixels, 0, size_t(pitch) * size_t(height));
        SDL_UnlockTexture(texture);
    }
    return texture;
}

void present() {
    SDL_RenderCopy(screen.renderer, screen.texture, nullptr, nullptr);
    SDL_RenderPresent(screen.renderer);
}

// Uploads width x height pixels, rows `pitch` pixels apart, to the screen at
// (x, y), keeping to the screen, then shows the result.
void uploadRect(const uint16_t* pixels, int32_t pitch, int32_t x, int32_t y, int32_t width,
                int32_t height) {
    if (screen.texture == nullptr) {
        return;
    }
    int32_t x0 = std::max(x, 0), y0 = std::max(y, 0);
    int32_t x1 = std::min(x + width, screen.width), y1 = std::min(y + height, screen.height);
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    SDL_Rect area{x0, y0, x1 - x0, y1 - y0};
    const uint16_t* first = pixels + int64_t{y0 - y} * pitch + (x0 - x);
    SDL_UpdateTexture(screen.texture, &area, first, pitch * 2);
    present();
}

} // namespace

const char* platformInit(Platform& p) {
    p.ready = 1;
    if (sdlWindow == nullptr) {
        return "Failed to init window DC";
    }
    screen.renderer = SDL_CreateRenderer(sdlWindow, -1, 0);
    if (screen.renderer == nullptr) {
        // Without a usable GPU the software renderer still does the job.
        screen.renderer = SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_SOFTWARE);
    }
    if (screen.renderer == nullptr) {
        return "Failed to init window DC";
    }
    p.windowDc = screen.renderer;
    int32_t width = p.clientWidth, height = p.clientHeight;
    if (width <= 0 || height <= 0) {
        SDL_GetWindowSize(sdlWindow, &width, &height);
    }
    screen.texture = width > 0 && height > 0 ? makeTexture(width, height) : nullptr;
    if (screen.texture == nullptr) {
        return "Failed to init window hDCMem";
    }
    screen.width = width;
    screen.height = height;
    p.memoryDc = screen.texture;
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
    if (screen.texture != nullptr) {
        SDL_DestroyTexture(screen.texture);
    }
    if (screen.renderer != nullptr) {
        SDL_DestroyRenderer(screen.renderer);
    }
    if (screen.timerStarted) {
        SDL_QuitSubSystem(SDL_INIT_TIMER);
    }
    screen = SdlScreen{};
    p.windowDc = nullptr;
    p.memoryDc = nullptr;
}

void platformScreenResize(int32_t width, int32_t height) {
    if (width < 1 || height < 1 || screen.renderer == nullptr) {
        return;
    }
    if (width == screen.width && height == screen.height && screen.texture != nullptr) {
        return;
    }
    SDL_Texture* fresh = makeTexture(width, height);
    if (fresh == nullptr) {
        return; // keep showing the old picture, stretched
    }
    // The new texture starts black: a streaming texture cannot be read back,
    // and the desktop redraws everything after a resize anyway.
    if (screen.texture != nullptr) {
        SDL_DestroyTexture(screen.texture);
    }
    screen.texture = fresh;
    screen.width = width;
    screen.height = height;
    platform.memoryDc = fresh;
    present();
}

void blitRectToScreen(const ScreenBitmap& bitmap, int32_t destX, int32_t destY, int32_t width,
                      int32_t height, int32_t srcX, int32_t srcY) {
    if (width <= 0 || height <= 0 || bitmap.owned == 0 || bitmap.pixels == nullptr) {
        return;
    }
    // Keep to the bitmap first: parts of the rectangle outside it are not copied.
    int32_t left = std::max(0, -srcX), top = std::max(0, -srcY);
    int32_t right = std::min(width, bitmap.width - srcX);
    int32_t bottom = std::min(height, bitmap.height - srcY);
    if (left >= right || top >= bottom) {
        return;
    }
    const uint16_t* first = bitmap.pixels + int64_t{srcY + top} * bitmap.width + (srcX + left);
    uploadRect(first, bitmap.width, destX + left, destY + top, right - left, bottom - top);
}

void paintCaretStrip(int32_t x, int32_t y, int32_t height) {
    if (height <= 0) {
        return;
    }
    size_t needed = size_t(height) * 2;
    if (screen.white.size() < needed) {
        screen.white.assign(needed, 0xFFFF);
    }
    uploadRect(screen.white.data(), 2, x, y, 2, height);
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
