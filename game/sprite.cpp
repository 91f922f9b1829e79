#include "game/sprite.h"

#include "toolkit/surface.h"

#include <algorithm>

namespace {

constexpr uint8_t CLEAR = 0;
constexpr uint8_t OPAQUE = 255;
// The whole of a pixel, as a share out of 256.
constexpr int WHOLE = 256;

} // namespace

void weighPixels(const uint8_t* rgba, int32_t count, uint16_t* keep, uint16_t* red, uint16_t* green,
                 uint16_t* blue) {
    for (int32_t i = 0; i < count; ++i, rgba += 4) {
        const int alpha = rgba[3];
        // An opaque pixel adds its channels whole, so that the formula gives
        // them back exactly; a clear one keeps the pixel under it whole.
        const int weight = alpha == OPAQUE ? WHOLE : alpha;
        keep[i] = static_cast<uint16_t>(alpha == CLEAR ? WHOLE : OPAQUE - alpha);
        red[i] = static_cast<uint16_t>(rgba[0] * weight);
        green[i] = static_cast<uint16_t>(rgba[1] * weight);
        blue[i] = static_cast<uint16_t>(rgba[2] * weight);
    }
}

void prepareSprite(const uint8_t* rgba, int32_t width, int32_t height, PreparedSprite& prepared) {
    const size_t pixels = size_t(width) * size_t(height);
    prepared.width = width;
    prepared.height = height;
    prepared.rows.assign(size_t(height), SpriteRow{});
    prepared.colours.resize(pixels);
    for (std::vector<uint16_t>* plane :
         {&prepared.keep, &prepared.red, &prepared.green, &prepared.blue}) {
        plane->resize(pixels);
    }
    weighPixels(rgba, int32_t(pixels), prepared.keep.data(), prepared.red.data(),
                prepared.green.data(), prepared.blue.data());
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = rgba + size_t(y) * size_t(width) * 4;
        SpriteRow& span = prepared.rows[size_t(y)];
        span = SpriteRow{width, 0, true};
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* pixel = row + size_t(x) * 4;
            prepared.colours[size_t(y) * size_t(width) + size_t(x)] =
                pixelFrom8(pixel[0], pixel[1], pixel[2]);
            if (pixel[3] != CLEAR) {
                span.first = std::min(span.first, x);
                span.end = x + 1;
            }
        }
        if (span.first >= span.end) {
            span = SpriteRow{0, 0, false};
            continue;
        }
        for (int32_t x = span.first; x < span.end; ++x) {
            span.opaque = span.opaque && row[size_t(x) * 4 + 3] == OPAQUE;
        }
    }
}
