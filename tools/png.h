#pragma once
// PNG pictures for ghtool and the asset generators: 8-bit RGB or RGBA only,
// which is all the game's sources use.
#include <cstdint>
#include <string>
#include <vector>

struct PngImage {
    int32_t width;
    int32_t height;
    int32_t channels;            // 3 (RGB) or 4 (RGBA)
    std::vector<uint8_t> pixels; // rows from the top, channels bytes a pixel
};

// The largest side of any picture our programs read or write: a 4K screen
// capture. At 4 bytes a pixel a picture of this size is 64 MiB.
constexpr int32_t PNG_MAX_SIDE = 4096;

// Reads an 8-bit RGB or RGBA PNG. Returns an empty string on success, else
// what is wrong (any other kind of PNG is refused rather than converted, so
// that a source saved in the wrong format is noticed). A picture wider or
// taller than maxSide (at most PNG_MAX_SIDE) is refused from its header,
// before its pixel block is allocated.
std::string readPng(const std::string& path, PngImage& image, int32_t maxSide = PNG_MAX_SIDE);

// Writes image (channels 3 or 4) as an 8-bit PNG to path through
// replaceFile. Returns an empty string on success, else what is wrong.
std::string writePng(const std::string& path, const PngImage& image);
