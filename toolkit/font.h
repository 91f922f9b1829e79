#pragma once
// The five built-in bitmap fonts and text measuring and drawing.
#include <cstdint>

// Glyph table: per character from firstChar to lastChar, height + 1 values:
// the advance width, then the rows top to bottom, bit 0 the leftmost pixel.
struct Font {
    int32_t height;
    int32_t fixedWidth; // 0 for a proportional font
    int32_t firstChar;
    int32_t lastChar;
    const uint16_t* glyphs;
};
