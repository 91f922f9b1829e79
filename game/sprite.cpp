#include "game/sprite.h"

#include "toolkit/surface.h"

#include <cstddef>

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
    prepared = PreparedSprite{width, height, {}, {}, {}, {}, {}, {}};
    prepared.rows.resize(size_t(height));
    // The rows' spans first, so that every plane is allocated once, at its size.
    size_t opaqueRows = 0;
    size_t otherRows = 0;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = rgba + size_t(y) * size_t(width) * 4;
        auto alpha = [row](int32_t x) { return row[size_t(x) * 4 + 3]; };
        SpriteRow& span = prepared.rows[size_t(y)];
        span = SpriteRow{0, width, false, 0};
        while (span.first < span.end && alpha(span.first) == CLEAR) {
            ++span.first;
        }
        while (span.end > span.first && alpha(span.end - 1) == CLEAR) {
            --span.end;
        }
        if (span.first == span.end) {
            continue;
        }
        int32_t opaque = 0;
        for (int32_t x = span.first; x < span.end; ++x) {
            opaque += alpha(x) == OPAQUE;
        }
        span.opaque = opaque == span.end - span.first;
        span.at = int32_t(size_t(width) * (span.opaque ? opaqueRows++ : otherRows++));
    }
    prepared.colours.resize(opaqueRows * size_t(width));
    for (std::vector<uint16_t>* plane :
         {&prepared.keep, &prepared.red, &prepared.green, &prepared.blue}) {
        plane->resize(otherRows * size_t(width));
    }
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = rgba + size_t(y) * size_t(width) * 4;
        const SpriteRow& span = prepared.rows[size_t(y)];
        const size_t at = size_t(span.at);
        if (span.first == span.end) {
            continue;
        }
        if (span.opaque) {
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t* pixel = row + size_t(x) * 4;
                prepared.colours[at + size_t(x)] = pixelFrom8(pixel[0], pixel[1], pixel[2]);
            }
        } else {
            weighPixels(row, width, &prepared.keep[at], &prepared.red[at], &prepared.green[at],
                        &prepared.blue[at]);
        }
    }
}
