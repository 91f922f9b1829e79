#pragma once
// 16-bit RGB565 pixel rectangles with a clip rectangle, and the window canvas
// that every toolkit window draws into.
#include "platform/platform.h"
#include <cstdint>
#include <vector>

// 0xF81F (magenta) is the transparent key of keyed copies and icons.
constexpr uint16_t COLOUR_KEY = 0xF81F;

// The pixel format: red in bits 15-11, green in 10-5, blue in 4-0.
constexpr uint16_t RED_MASK = 0xF800;
constexpr uint16_t GREEN_MASK = 0x07E0;
constexpr uint16_t BLUE_MASK = 0x001F;
constexpr int RED_SHIFT8 = 8;   // from the pixel's red bits to an 8-bit red
constexpr int GREEN_SHIFT8 = 3; // from the green bits to an 8-bit green
constexpr int BLUE_SHIFT8 = 3;  // from an 8-bit blue to the blue bits

// A pixel's channels widened to 8 bits with the low bits zero (the largest
// values are 248, 252 and 248), and 8-bit channels packed back, their low
// bits dropped. Every reader and writer of pixels as 8-bit colour uses these,
// so that a picture saved from the screen reads back as the same pixels.
inline int red8(uint16_t pixel) {
    return (pixel & RED_MASK) >> RED_SHIFT8;
}
inline int green8(uint16_t pixel) {
    return (pixel & GREEN_MASK) >> GREEN_SHIFT8;
}
inline int blue8(uint16_t pixel) {
    return (pixel & BLUE_MASK) << BLUE_SHIFT8;
}
inline uint16_t pixelFrom8(int red, int green, int blue) {
    return static_cast<uint16_t>(((red << RED_SHIFT8) & RED_MASK) |
                                 ((green << GREEN_SHIFT8) & GREEN_MASK) |
                                 ((blue >> BLUE_SHIFT8) & BLUE_MASK));
}

struct Surface {
    int32_t width; // pixels per row, also the row pitch
    int32_t height;
    uint16_t* pixels;
    int32_t clipLeft, clipTop;     // first column and row drawing may touch
    int32_t clipRight, clipBottom; // one past the last (half-open)
    // Pixel memory of a surface created without borrowed pixels. Empty for a
    // surface that borrows (a canvas, a picture of the data file).
    std::vector<uint16_t> ownPixels;
};

struct Font;

// A canvas is at least this large; so is every window's client area and the
// desktop.
constexpr int32_t MIN_CANVAS_WIDTH = 64;
constexpr int32_t MIN_CANVAS_HEIGHT = 32;

struct WindowCanvas {
    ScreenBitmap bitmap;
    Surface surface;
    const Font* font;
    uint32_t dashCounter;
    uint32_t dashPhase;
    uint16_t background;
};

// Small integer helpers used throughout the toolkit.
template <typename T> inline void lowerTo(T& variable, T value) {
    if (value < variable) {
        variable = value;
    }
}
template <typename T> inline void raiseTo(T& variable, T value) {
    if (value > variable) {
        variable = value;
    }
}

// ---- Surfaces ----------------------------------------------------------
// Spans and rectangles are inclusive (x0..x1, y0..y1); clips are half-open.

void surfaceClearRecord(Surface& s);
// With pixels, the surface borrows them; with null it sizes its own buffer.
int surfaceCreate(Surface& s, int32_t width, int32_t height, uint16_t* pixels);
int surfaceInit(Surface& s, int32_t width, int32_t height, uint16_t* pixels);
void surfaceResetClip(Surface& s);
void surfaceSetClip(Surface& s, int32_t left, int32_t top, int32_t right, int32_t bottom);
void surfaceFill(Surface& s, uint16_t colour); // whole surface, clip ignored
void surfaceFillRect(Surface& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint16_t colour);
void surfaceCopyWhole(const Surface& source, Surface& destination);
void surfaceBlit(const Surface& source, Surface& destination, int32_t x, int32_t y);
void surfaceBlitKeyed(const Surface& source, Surface& destination, int32_t x, int32_t y);

// Clip an inclusive span or rectangle to the surface's clip; false when
// nothing of it is left.
bool clipSpanH(const Surface& s, int32_t& x0, int32_t& x1, int32_t y);
bool clipSpanV(const Surface& s, int32_t x, int32_t& y0, int32_t& y1);
bool clipRect(const Surface& s, int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1);

// ---- Window canvases ---------------------------------------------------

void canvasInit(WindowCanvas& c);
int canvasCreate(WindowCanvas& c, int32_t width, int32_t height); // at least 64 x 32
int canvasResize(WindowCanvas& c, int32_t width, int32_t height);
void canvasFree(WindowCanvas& c);
void canvasClear(WindowCanvas& c); // to its background colour
void canvasSelectFont(WindowCanvas& c, int index);

void drawHLine(WindowCanvas& c, int32_t x0, int32_t x1, int32_t y, uint16_t colour);
void drawVLine(WindowCanvas& c, int32_t x, int32_t y0, int32_t y1, uint16_t colour);
void drawFilledRect(WindowCanvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                    uint16_t colour);
void drawRectOutline(WindowCanvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                     uint16_t colour);
void drawDottedHLine(WindowCanvas& c, int32_t x0, int32_t x1, int32_t y, uint16_t colour);
void drawDottedVLine(WindowCanvas& c, int32_t x, int32_t y0, int32_t y1, uint16_t colour);
void drawMovingDottedRect(WindowCanvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                          uint16_t colour);
void darkenHalfH(WindowCanvas& c, int32_t x0, int32_t x1, int32_t y);
void darkenHalfV(WindowCanvas& c, int32_t x, int32_t y0, int32_t y1);
void darkenThreeQuartersH(WindowCanvas& c, int32_t x0, int32_t x1, int32_t y);
void darkenThreeQuartersV(WindowCanvas& c, int32_t x, int32_t y0, int32_t y1);
void lightenH(WindowCanvas& c, int32_t x0, int32_t x1, int32_t y);
void lightenV(WindowCanvas& c, int32_t x, int32_t y0, int32_t y1);
void drawRaisedBevel(WindowCanvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
void drawSunkenBevel(WindowCanvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
void drawShadowedBevel(WindowCanvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1);

// Built-in 16 x 15 icons, codes 2 to 26 (code & 127); others draw nothing.
constexpr int32_t ICON_WIDTH = 16;
constexpr int32_t ICON_HEIGHT = 15;
enum : int {
    ICON_UP_ARROW = 13,
    ICON_DOWN_ARROW = 14,
    ICON_RIGHT_ARROW = 15,
    ICON_LEFT_ARROW = 16,
    ICON_CLOSE = 19,
    ICON_MAXIMISE = 20,
    ICON_CHECK = 21,
};
void drawIcon(WindowCanvas& c, int code, int32_t x, int32_t y);

// A rectangle given as position and size.
struct Rect {
    int32_t x, y, width, height;
};

inline void setRect(Rect& r, int32_t x, int32_t y, int32_t width, int32_t height) {
    r = Rect{x, y, width, height};
}
