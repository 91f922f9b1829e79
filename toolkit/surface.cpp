// Surfaces, window canvases and the drawing primitives every window uses.
// All drawing writes straight into the pixel memory; spans are clipped once
// and then filled or copied without further checks.
#include "toolkit/surface.h"
#include "toolkit/font.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// No surface of ours comes near this; a hostile size from a data file is
// refused before any memory is asked for.
constexpr int64_t MAX_SURFACE_PIXELS = int64_t{1} << 28;
// A whole surface is filled in spans of at most this many pixels, the most a
// fill's count holds.
constexpr int64_t FILL_CHUNK = int64_t{1} << 30;
// Pixels a long fill writes per block, and a keyed copy compares per 128-bit
// vector.
constexpr int32_t FILL_BLOCK = 16;
constexpr int32_t VECTOR_PIXELS = 8;

// A pixel's channels as the shading works on them.
constexpr int RED_SHIFT = 11;
constexpr int GREEN_SHIFT = 5;
constexpr uint32_t RED_MAX = 31; // and blue
constexpr uint32_t GREEN_MAX = 63;
// Halving a pixel shifts every channel down a bit; this keeps each channel's
// bits from running into its lower neighbour.
constexpr uint16_t HALF_MASK = 0x7BEF;
// Lightening adds a quarter of the range to each channel, saturating.
constexpr uint32_t RED_LIGHTEN = 8; // and blue
constexpr uint32_t GREEN_LIGHTEN = 16;

// Fills n pixels from p. After at most one single pixel to reach a 4-byte
// boundary, pixels go in pairs through 32-bit stores, and long spans in
// blocks of sixteen (a 32-byte memcpy the compiler turns into vector stores,
// which -O2 would not do for the plain loop). memcpy also keeps the wide
// stores free of aliasing trouble.
void fillPixels(uint16_t* p, int32_t n, uint16_t colour) {
    if (n <= 0) {
        return;
    }
    if ((reinterpret_cast<uintptr_t>(p) & 3) != 0) {
        *p++ = colour;
        n--;
    }
    uint16_t block[FILL_BLOCK];
    for (uint16_t& pixel : block) {
        pixel = colour;
    }
    int32_t i = 0;
    for (; i + FILL_BLOCK <= n; i += FILL_BLOCK) {
        std::memcpy(p + i, block, sizeof block);
    }
    for (; i + 2 <= n; i += 2) {
        std::memcpy(p + i, block, 4);
    }
    if (i < n) {
        p[i] = colour;
    }
}

// Four pixels at once for keyed copies: 0xFFFF in every 16-bit lane of the
// word that holds the colour key, 0 elsewhere. A lane is the key exactly
// when its difference from the key is zero; the sum below carries into a
// lane's top bit for any non-zero lane without spilling into the next one.
uint64_t keyLanes(uint64_t four) {
    constexpr uint64_t KEYS = 0x0001000100010001ull * COLOUR_KEY;
    constexpr uint64_t LOW = 0x7FFF7FFF7FFF7FFFull;
    uint64_t d = four ^ KEYS;
    uint64_t nonZero = ((d & LOW) + LOW) | d; // top bit of each lane: lane != 0
    uint64_t isKey = ~nonZero & ~LOW;         // top bit of each lane: lane == key
    constexpr int LANE_TOP = 15;
    constexpr uint64_t LANE = 0xFFFF;
    return (isKey >> LANE_TOP) * LANE;
}

uint16_t* pixelAt(Surface& s, int32_t x, int32_t y) {
    return s.pixels + int64_t{y} * s.width + x;
}

uint16_t darkenHalf(uint16_t p) {
    return uint16_t((p >> 1) & HALF_MASK);
}

uint16_t darkenThreeQuarters(uint16_t p) {
    uint16_t h = darkenHalf(p);
    return uint16_t(h + darkenHalf(h));
}

uint16_t lighten(uint16_t p) {
    uint32_t red = (p >> RED_SHIFT) & RED_MAX;
    uint32_t green = (p >> GREEN_SHIFT) & GREEN_MAX;
    uint32_t blue = p & RED_MAX;
    red = std::min(red + RED_LIGHTEN, RED_MAX);
    green = std::min(green + GREEN_LIGHTEN, GREEN_MAX);
    blue = std::min(blue + RED_LIGHTEN, RED_MAX);
    return uint16_t((red << RED_SHIFT) | (green << GREEN_SHIFT) | blue);
}

// Applies a per-pixel change along a clipped span.
template <typename Change>
void changeH(WindowCanvas& c, int32_t x0, int32_t x1, int32_t y, Change change) {
    if (!clipSpanH(c.surface, x0, x1, y)) {
        return;
    }
    uint16_t* p = pixelAt(c.surface, x0, y);
    for (int32_t x = x0; x <= x1; x++, p++) {
        *p = change(*p);
    }
}

template <typename Change>
void changeV(WindowCanvas& c, int32_t x, int32_t y0, int32_t y1, Change change) {
    if (!clipSpanV(c.surface, x, y0, y1)) {
        return;
    }
    uint16_t* p = pixelAt(c.surface, x, y0);
    for (int32_t y = y0; y <= y1; y++, p += c.surface.width) {
        *p = change(*p);
    }
}

// The dash counter runs over the pixels of the clipped span only: a line
// that is clipped away entirely leaves the pattern where it was.
void dottedH(WindowCanvas& c, int32_t x0, int32_t x1, int32_t y, uint16_t colour) {
    if (!clipSpanH(c.surface, x0, x1, y)) {
        return;
    }
    uint16_t* p = pixelAt(c.surface, x0, y);
    for (int32_t x = x0; x <= x1; x++, p++) {
        if ((c.dashCounter & 4) != 0) {
            *p = colour;
        }
        c.dashCounter++;
    }
}

void dottedV(WindowCanvas& c, int32_t x, int32_t y0, int32_t y1, uint16_t colour) {
    if (!clipSpanV(c.surface, x, y0, y1)) {
        return;
    }
    uint16_t* p = pixelAt(c.surface, x, y0);
    for (int32_t y = y0; y <= y1; y++, p += c.surface.width) {
        if ((c.dashCounter & 4) != 0) {
            *p = colour;
        }
        c.dashCounter++;
    }
}

void clearFields(Surface& s) {
    s.width = s.height = 0;
    s.pixels = nullptr;
    s.clipLeft = s.clipTop = s.clipRight = s.clipBottom = 0;
}

} // namespace

// ---- Clipping --------------------------------------------------------------

bool clipSpanH(const Surface& s, int32_t& x0, int32_t& x1, int32_t y) {
    if (y < s.clipTop || y >= s.clipBottom || x0 > x1 || x0 >= s.clipRight || x1 < s.clipLeft) {
        return false;
    }
    raiseTo(x0, s.clipLeft);
    lowerTo(x1, s.clipRight - 1);
    return true;
}

bool clipSpanV(const Surface& s, int32_t x, int32_t& y0, int32_t& y1) {
    if (x < s.clipLeft || x >= s.clipRight || y0 > y1 || y0 >= s.clipBottom || y1 < s.clipTop) {
        return false;
    }
    raiseTo(y0, s.clipTop);
    lowerTo(y1, s.clipBottom - 1);
    return true;
}

bool clipRect(const Surface& s, int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1) {
    if (x0 > x1 || x0 >= s.clipRight || x1 < s.clipLeft || y0 > y1 || y0 >= s.clipBottom ||
        y1 < s.clipTop) {
        return false;
    }
    raiseTo(x0, s.clipLeft);
    lowerTo(x1, s.clipRight - 1);
    raiseTo(y0, s.clipTop);
    lowerTo(y1, s.clipBottom - 1);
    return true;
}

// ---- Surfaces --------------------------------------------------------------

void surfaceClearRecord(Surface& s) {
    clearFields(s);
    std::vector<uint16_t>().swap(s.ownPixels);
}

int surfaceCreate(Surface& s, int32_t width, int32_t height, uint16_t* pixels) {
    if (width <= 0 || height <= 0 || int64_t{width} * height > MAX_SURFACE_PIXELS) {
        return 0;
    }
    if (pixels != nullptr) {
        // A borrowing surface keeps no buffer of its own.
        std::vector<uint16_t>().swap(s.ownPixels);
    } else {
        size_t count = size_t(width) * size_t(height);
        if (count != s.ownPixels.size()) {
            // Shrinking never reallocates, so only growing can fail, and then
            // the surface must stay exactly as it was. Running out of memory
            // is the one failure the standard library reports by throwing.
            try {
                s.ownPixels.resize(count);
            } catch (const std::bad_alloc&) {
                return 0;
            }
        }
        pixels = s.ownPixels.data();
    }
    clearFields(s);
    s.width = width;
    s.height = height;
    s.pixels = pixels;
    surfaceResetClip(s);
    return 1;
}

int surfaceInit(Surface& s, int32_t width, int32_t height, uint16_t* pixels) {
    surfaceClearRecord(s);
    return surfaceCreate(s, width, height, pixels);
}

void surfaceResetClip(Surface& s) {
    s.clipLeft = 0;
    s.clipTop = 0;
    s.clipRight = s.width;
    s.clipBottom = s.height;
}

void surfaceSetClip(Surface& s, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    raiseTo(left, 0);
    raiseTo(top, 0);
    lowerTo(right, s.width);
    lowerTo(bottom, s.height);
    if (left >= right || top >= bottom) {
        left = top = right = bottom = 0;
    }
    s.clipLeft = left;
    s.clipTop = top;
    s.clipRight = right;
    s.clipBottom = bottom;
}

void surfaceFill(Surface& s, uint16_t colour) {
    if (s.pixels == nullptr) {
        return;
    }
    // Rows follow each other without gaps, so the whole surface is one span.
    int64_t count = int64_t{s.width} * s.height;
    uint16_t* p = s.pixels;
    while (count > 0) {
        const auto chunk = int32_t(std::min(count, FILL_CHUNK));
        fillPixels(p, chunk, colour);
        p += chunk;
        count -= chunk;
    }
}

void surfaceFillRect(Surface& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint16_t colour) {
    if (!clipRect(s, x0, y0, x1, y1)) {
        return;
    }
    for (int32_t y = y0; y <= y1; y++) {
        fillPixels(pixelAt(s, x0, y), x1 - x0 + 1, colour);
    }
}

void surfaceCopyWhole(const Surface& source, Surface& destination) {
    if (source.pixels == nullptr || destination.pixels == nullptr) {
        return;
    }
    int64_t count = int64_t{source.width} * source.height;
    // Never write past the destination, whatever the caller promised.
    int64_t room = int64_t{destination.width} * destination.height;
    std::memmove(destination.pixels, source.pixels, size_t(count < room ? count : room) * 2);
}

void surfaceBlit(const Surface& source, Surface& destination, int32_t x, int32_t y) {
    int32_t x0 = x, y0 = y, x1 = x + source.width - 1, y1 = y + source.height - 1;
    if (source.pixels == nullptr || !clipRect(destination, x0, y0, x1, y1)) {
        return;
    }
    // memcpy moves whole pairs (and wider) whenever the rows line up, which
    // is what the game's even-sized, even-placed blits always do.
    size_t bytes = size_t(x1 - x0 + 1) * 2;
    const uint16_t* from = source.pixels + int64_t{y0 - y} * source.width + (x0 - x);
    uint16_t* to = pixelAt(destination, x0, y0);
    for (int32_t row = y0; row <= y1; row++) {
        std::memcpy(to, from, bytes);
        from += source.width;
        to += destination.width;
    }
}

void surfaceBlitKeyed(const Surface& source, Surface& destination, int32_t x, int32_t y) {
    int32_t x0 = x, y0 = y, x1 = x + source.width - 1, y1 = y + source.height - 1;
    if (source.pixels == nullptr || !clipRect(destination, x0, y0, x1, y1)) {
        return;
    }
    int32_t count = x1 - x0 + 1;
    const uint16_t* from = source.pixels + int64_t{y0 - y} * source.width + (x0 - x);
    uint16_t* to = pixelAt(destination, x0, y0);
    for (int32_t row = y0; row <= y1; row++) {
        int32_t i = 0;
#if defined(__SSE2__)
        // Eight pixels at a time where the machine has 128-bit integer
        // operations (every x86-64 does): compare with the key, then select.
        const __m128i keys = _mm_set1_epi16(int16_t(COLOUR_KEY));
        for (; i + VECTOR_PIXELS <= count; i += VECTOR_PIXELS) {
            __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
            __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
            __m128i keep = _mm_cmpeq_epi16(eight, keys);
            eight = _mm_or_si128(_mm_and_si128(keep, under), _mm_andnot_si128(keep, eight));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), eight);
        }
#endif
        for (; i + 4 <= count; i += 4) {
            uint64_t four, under;
            std::memcpy(&four, from + i, sizeof four);
            std::memcpy(&under, to + i, sizeof under);
            uint64_t keep = keyLanes(four);
            four = (four & ~keep) | (under & keep);
            std::memcpy(to + i, &four, sizeof four);
        }
        for (; i < count; i++) {
            if (from[i] != COLOUR_KEY) {
                to[i] = from[i];
            }
        }
        from += source.width;
        to += destination.width;
    }
}

// ---- Window canvases ---------------------------------------------------------

void canvasInit(WindowCanvas& c) {
    c.bitmap = ScreenBitmap{};
    surfaceClearRecord(c.surface);
    c.font = nullptr;
    c.dashCounter = 0;
    c.dashPhase = 0;
    c.background = 0;
}

int canvasCreate(WindowCanvas& c, int32_t width, int32_t height) {
    if (width < MIN_CANVAS_WIDTH || height < MIN_CANVAS_HEIGHT) {
        return 0;
    }
    if (!bitmapCreate(c.bitmap, width, height)) {
        bitmapFree(c.bitmap);
        c.bitmap = ScreenBitmap{};
        return 0;
    }
    surfaceInit(c.surface, width, height, c.bitmap.pixels);
    c.font = &builtinFont(0);
    return 1;
}

int canvasResize(WindowCanvas& c, int32_t width, int32_t height) {
    if (c.surface.pixels == nullptr) {
        return canvasCreate(c, width, height);
    }
    if (width == c.surface.width && height == c.surface.height) {
        return 1;
    }
    if (width < MIN_CANVAS_WIDTH || height < MIN_CANVAS_HEIGHT) {
        return 0;
    }
    ScreenBitmap fresh{};
    if (!bitmapCreate(fresh, width, height)) {
        bitmapFree(fresh);
        return 0;
    }
    bitmapFree(c.bitmap);
    c.bitmap = fresh;
    surfaceInit(c.surface, width, height, c.bitmap.pixels);
    return 1;
}

void canvasFree(WindowCanvas& c) {
    if (c.bitmap.description != nullptr || c.bitmap.owned != 0) {
        bitmapFree(c.bitmap);
    }
    canvasInit(c);
}

void canvasClear(WindowCanvas& c) {
    surfaceFill(c.surface, c.background);
}

void canvasSelectFont(WindowCanvas& c, int index) {
    c.font = &builtinFont(index);
}

// ---- Lines and rectangles ------------------------------------------------------

void drawHLine(WindowCanvas& c, int32_t x0, int32_t x1, int32_t y, uint16_t colour) {
    if (clipSpanH(c.surface, x0, x1, y)) {
        fillPixels(pixelAt(c.surface, x0, y), x1 - x0 + 1, colour);
    }
}

void drawVLine(WindowCanvas& c, int32_t x, int32_t y0, int32_t y1, uint16_t colour) {
    changeV(c, x, y0, y1, [colour](uint16_t) { return colour; });
}

void drawFilledRect(WindowCanvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                    uint16_t colour) {
    surfaceFillRect(c.surface, x0, y0, x1, y1, colour);
}

void drawRectOutline(WindowCanvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                     uint16_t colour) {
    drawHLine(c, x0, x1, y0, colour);
    drawHLine(c, x0, x1, y1, colour);
    drawVLine(c, x0, y0, y1, colour);
    drawVLine(c, x1, y0, y1, colour);
}

void drawDottedHLine(WindowCanvas& c, int32_t x0, int32_t x1, int32_t y, uint16_t colour) {
    dottedH(c, x0, x1, y, colour);
}

void drawDottedVLine(WindowCanvas& c, int32_t x, int32_t y0, int32_t y1, uint16_t colour) {
    dottedV(c, x, y0, y1, colour);
}

void drawMovingDottedRect(WindowCanvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                          uint16_t colour) {
    if (x0 > x1) {
        std::swap(x0, x1);
    }
    if (y0 > y1) {
        std::swap(y0, y1);
    }
    c.dashPhase++;
    // Every side starts its dashes from the phase, so all eight lines move
    // together from one drawing to the next.
    c.dashCounter = c.dashPhase;
    dottedH(c, x0, x1, y0, colour);
    c.dashCounter = c.dashPhase;
    dottedH(c, x0, x1, y0 + 1, colour);
    c.dashCounter = c.dashPhase;
    dottedV(c, x1, y0, y1, colour);
    c.dashCounter = c.dashPhase;
    dottedV(c, x1 - 1, y0, y1, colour);
    c.dashCounter = c.dashPhase;
    dottedH(c, x0, x1, y1, colour);
    c.dashCounter = c.dashPhase;
    dottedH(c, x0, x1, y1 - 1, colour);
    c.dashCounter = c.dashPhase;
    dottedV(c, x0, y0, y1, colour);
    c.dashCounter = c.dashPhase;
    dottedV(c, x0 + 1, y0, y1, colour);
}

// ---- Shading -------------------------------------------------------------------

void darkenHalfH(WindowCanvas& c, int32_t x0, int32_t x1, int32_t y) {
    changeH(c, x0, x1, y, darkenHalf);
}

void darkenHalfV(WindowCanvas& c, int32_t x, int32_t y0, int32_t y1) {
    changeV(c, x, y0, y1, darkenHalf);
}

void darkenThreeQuartersH(WindowCanvas& c, int32_t x0, int32_t x1, int32_t y) {
    changeH(c, x0, x1, y, darkenThreeQuarters);
}

void darkenThreeQuartersV(WindowCanvas& c, int32_t x, int32_t y0, int32_t y1) {
    changeV(c, x, y0, y1, darkenThreeQuarters);
}

void lightenH(WindowCanvas& c, int32_t x0, int32_t x1, int32_t y) {
    changeH(c, x0, x1, y, lighten);
}

void lightenV(WindowCanvas& c, int32_t x, int32_t y0, int32_t y1) {
    changeV(c, x, y0, y1, lighten);
}

void drawRaisedBevel(WindowCanvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    lightenH(c, x0, x1, y0);
    lightenV(c, x0, y0 + 1, y1);
    darkenHalfH(c, x0 + 1, x1 - 1, y1);
    darkenHalfV(c, x1, y0 + 1, y1);
}

void drawSunkenBevel(WindowCanvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    darkenHalfH(c, x0, x1, y0);
    darkenHalfV(c, x0, y0 + 1, y1);
    lightenH(c, x0 + 1, x1 - 1, y1);
    lightenV(c, x1, y0 + 1, y1);
}

void drawShadowedBevel(WindowCanvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    darkenHalfH(c, x0 - 1, x1, y0 - 1);
    lightenH(c, x0, x1 - 1, y0);
    darkenHalfV(c, x0 - 1, y0, y1);
    lightenV(c, x0, y0 + 1, y1);
    // The drop shadow: where a shadow column crosses a shadow row the pixel
    // is darkened twice, which gives the corner its deeper tone.
    for (int32_t i = 0; i < 4; i++) {
        darkenHalfV(c, x1 + i, y0 + i, y1 + 1 + i);
        darkenHalfH(c, x0 + i, x1 + i, y1 + 1 + i);
    }
}
