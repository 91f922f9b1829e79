#pragma once
// The five built-in bitmap fonts and text measuring and drawing.
#include "toolkit/fontdata.h"
#include <cstdint>

// Glyphs are at most 16 pixels wide: one 16-bit value a row.
constexpr int32_t GLYPH_MAX_WIDTH = 16;

// Glyph table: per character from firstChar to lastChar, height + 1 values:
// the advance width, then the rows top to bottom, bit 0 the leftmost pixel.
struct Font {
    int32_t height;
    int32_t fixedWidth; // 0 for a proportional font
    int32_t firstChar;
    int32_t lastChar;
    const uint16_t* glyphs;
};

struct WindowCanvas;

extern Font builtinFonts[BUILTIN_FONT_COUNT];

// The built-in font of that index; any other index gives font 0, as a
// canvas selects it.
const Font& builtinFont(int32_t index);

// Texts are measured and drawn at most this many characters far, so that a
// text without its terminating zero costs little; the text box breaks its
// lines there too.
constexpr int32_t TEXT_MAX = 2047;

void fontInit(Font& font, const uint16_t* glyphs, int32_t height, int32_t firstChar,
              int32_t lastChar);
void setupBuiltinFonts();

int32_t charWidth(const Font& font, uint8_t c);
int32_t textWidth(const Font& font, const char* text, int32_t maxCount);
// Places x on the nearer edge of the character under it; index is the
// character after that edge.
void hitTest(const Font& font, const char* text, int32_t count, int32_t& x, int32_t& index);
int32_t drawChar(WindowCanvas& canvas, uint8_t c, int32_t x, int32_t y, uint16_t colour,
                 const Font& font);
// maxWidth 0 draws the whole text; otherwise it is cut with two dots. A null
// font means the canvas's current font.
int32_t drawText(WindowCanvas& canvas, const char* text, int32_t x, int32_t y, uint16_t colour,
                 int32_t maxWidth, const Font* font);
