#pragma once
// A picture made ready for the board drawing. The data file gives each pixel
// as red, green, blue and alpha bytes, and the TileSprite keeps that form;
// the drawing wants to know, for each pixel, how much of the pixel under it
// stays and what the picture adds, so that one formula blends every pixel
// without a test, and, for each row, where its pixels that are not clear
// begin and end.
#include <cstdint>
#include <vector>

// Per pixel: keep is the share of the pixel under it that stays, out of 256
// (256 for a clear pixel, 0 for an opaque one, 255 - alpha between), and
// red, green and blue are what the picture adds to each 8-bit channel, times
// 256 (the channel times alpha between; times 256 when opaque). A blended
// channel is (under * keep + add) >> 8. The sum never passes 16 bits, since
// keep and alpha add up to 256 at most.
void weighPixels(const uint8_t* rgba, int32_t count, uint16_t* keep, uint16_t* red, uint16_t* green,
                 uint16_t* blue);

// A row of a prepared picture: the span from its first to its last pixel
// that is not clear, the only part drawn, and where the row is kept. A row
// that is not clear is kept whole, as 5-6-5 colours when its span is opaque
// throughout (drawing copies them), else as weights; a clear row is not kept.
struct SpriteRow {
    int32_t first; // first == end in a clear row
    int32_t end;
    bool opaque;
    int32_t at; // the row's first pixel in colours or in the weight planes
};

struct PreparedSprite {
    int32_t width;
    int32_t height;
    std::vector<SpriteRow> rows;
    std::vector<uint16_t> colours; // the rows with an opaque span, one after another
    std::vector<uint16_t> keep;    // the other rows' weights, one after another
    std::vector<uint16_t> red;
    std::vector<uint16_t> green;
    std::vector<uint16_t> blue;
};

void prepareSprite(const uint8_t* rgba, int32_t width, int32_t height, PreparedSprite& prepared);
