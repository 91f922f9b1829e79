#pragma once
// 16-bit RGB565 pixel rectangles with a clip rectangle, and the window canvas
// that every toolkit window draws into.
#include "shell/platform.h"
#include <cstdint>
#include <vector>

// 0xF81F (magenta) is the transparent key of keyed copies and icons.
constexpr uint16_t COLOUR_KEY = 0xF81F;

struct Surface {
    int32_t width;  // pixels per row, also the row pitch
    int32_t height;
    uint16_t* pixels;
    int32_t clipLeft, clipTop;      // first column and row drawing may touch
    int32_t clipRight, clipBottom;  // one past the last (half-open)
    // Pixel memory of a surface created without borrowed pixels. Empty for a
    // surface that borrows (a canvas, a picture of the data file).
    std::vector<uint16_t> ownPixels;
};

struct Font;

struct WindowCanvas {
    ScreenBitmap bitmap;
    Surface surface;
    const Font* font;
    uint32_t dashCounter;
    uint32_t dashPhase;
    uint16_t background;
};
