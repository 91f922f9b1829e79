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

// Reads an 8-bit RGB or RGBA PNG. Returns an empty string on success, else
// what is wrong (any other kind of PNG is refused rather than converted, so
// that a source saved in the wrong format is noticed).
std::string readPng(const std::string& path, PngImage& image);

// Writes image (channels 3 or 4) as an 8-bit PNG, straight to path. Returns
// an empty string on success, else what is wrong.
std::string writePng(const std::string& path, const PngImage& image);
