// Text measuring and drawing with the built-in bitmap fonts.
#include "toolkit/font.h"
#include "toolkit/surface.h"

Font builtinFonts[BUILTIN_FONT_COUNT];

namespace {

int32_t glyphIndex(const Font& font, uint8_t c) {
    int32_t code = c;
    if (code < font.firstChar || code > font.lastChar) {
        code = ('_' >= font.firstChar && '_' <= font.lastChar) ? '_' : font.firstChar;
    }
    return code - font.firstChar;
}

const uint16_t* glyphOf(const Font& font, uint8_t c) {
    return font.glyphs + int64_t{glyphIndex(font, c)} * (font.height + 1);
}

} // namespace

const Font& builtinFont(int32_t index) {
    return builtinFonts[index >= 0 && index < BUILTIN_FONT_COUNT ? index : 0];
}

void fontInit(Font& font, const uint16_t* glyphs, int32_t height, int32_t firstChar,
              int32_t lastChar) {
    font.height = height;
    font.firstChar = firstChar;
    font.lastChar = lastChar;
    font.glyphs = glyphs;
    font.fixedWidth = 0;
    if (glyphs == nullptr || lastChar < firstChar) {
        return;
    }
    int32_t first = glyphs[0];
    for (int32_t i = 0; i <= lastChar - firstChar; i++) {
        if (glyphs[int64_t{i} * (height + 1)] != first) {
            return;
        }
    }
    font.fixedWidth = first;
}

void setupBuiltinFonts() {
    for (int i = 0; i < BUILTIN_FONT_COUNT; i++) {
        fontInit(builtinFonts[i], builtinFontGlyphs[i], builtinFontHeights[i], BUILTIN_FIRST_CHAR,
                 BUILTIN_LAST_CHAR);
    }
}

int32_t charWidth(const Font& font, uint8_t c) {
    if (font.fixedWidth != 0) {
        return font.fixedWidth;
    }
    if (font.glyphs == nullptr) {
        return 0;
    }
    return *glyphOf(font, c);
}

int32_t textWidth(const Font& font, const char* text, int32_t maxCount) {
    if (text == nullptr || maxCount < 1) {
        return 0;
    }
    int32_t width = 0;
    for (int32_t i = 0; i < maxCount && text[i] != 0; i++) {
        width += charWidth(font, uint8_t(text[i]));
    }
    return width;
}

void hitTest(const Font& font, const char* text, int32_t count, int32_t& x, int32_t& index) {
    if (text == nullptr || x < 0) {
        x = 0;
        index = 0;
        return;
    }
    int32_t left = 0;
    int32_t i = 0;
    // Taken as a signed byte, the terminator, control characters and codes
    // 128 and up all fall below the first character and end the walk.
    for (; i < count && int32_t(int8_t(text[i])) >= font.firstChar; i++) {
        int32_t right = left + charWidth(font, uint8_t(text[i]));
        if (left <= x && x <= right) {
            // The nearer edge wins; a tie goes to the right-hand edge.
            if (x - left < right - x) {
                x = left;
                index = i;
            } else {
                x = right;
                index = i + 1;
            }
            return;
        }
        left = right;
    }
    x = left;
    index = i;
}

int32_t drawChar(WindowCanvas& canvas, uint8_t c, int32_t x, int32_t y, uint16_t colour,
                 const Font& font) {
    if (font.glyphs == nullptr) {
        return 0;
    }
    const uint16_t* glyph = glyphOf(font, c);
    const int32_t advance = glyph[0];
    const uint16_t* rows = glyph + 1;
    Surface& s = canvas.surface;
    const int32_t width = s.width;

    if (x >= s.clipLeft && y >= s.clipTop && x + advance <= s.clipRight &&
        y + font.height <= s.clipBottom) {
        // The whole box is visible: each row is consumed four bits at a time
        // and stops as soon as no set bit is left.
        uint16_t* line = s.pixels + int64_t{y} * width + x;
        for (int32_t row = 0; row < font.height; row++, line += width) {
            uint16_t* p = line;
            for (uint32_t bits = rows[row]; bits != 0; bits >>= 4, p += 4) {
                if (bits & 1) {
                    p[0] = colour;
                }
                if (bits & 2) {
                    p[1] = colour;
                }
                if (bits & 4) {
                    p[2] = colour;
                }
                if (bits & 8) {
                    p[3] = colour;
                }
            }
        }
        return advance;
    }

    // Partly visible, or not at all: only the rows and columns inside the clip.
    int32_t firstRow = s.clipTop > y ? s.clipTop - y : 0;
    int32_t endRow = s.clipBottom - y < font.height ? s.clipBottom - y : font.height;
    int32_t firstColumn = s.clipLeft > x ? s.clipLeft - x : 0;
    int32_t endColumn = s.clipRight - x < GLYPH_MAX_WIDTH ? s.clipRight - x : GLYPH_MAX_WIDTH;
    for (int32_t row = firstRow; row < endRow; row++) {
        uint32_t bits = rows[row];
        uint16_t* line = s.pixels + int64_t{y + row} * width + x;
        for (int32_t column = firstColumn; column < endColumn; column++) {
            if ((bits >> column) & 1) {
                line[column] = colour;
            }
        }
    }
    return advance;
}

int32_t drawText(WindowCanvas& canvas, const char* text, int32_t x, int32_t y, uint16_t colour,
                 int32_t maxWidth, const Font* font) {
    if (font == nullptr) {
        font = canvas.font;
    }
    if (text == nullptr || font == nullptr) {
        return 0;
    }
    int32_t drawCount = 0;
    bool truncated = false;
    if (maxWidth == 0) {
        while (drawCount < TEXT_MAX && text[drawCount] != 0) {
            drawCount++;
        }
    } else {
        // Find where the text must be cut to leave room for two dots, and
        // whether it has to be cut at all: it is only when it would overrun
        // maxWidth itself. A negative maxWidth is taken as no room at all:
        // the first character and the dots.
        int32_t dots = 2 * charWidth(*font, '.');
        int32_t running = 0;
        int32_t cut = -1;
        int32_t i = 0;
        for (; i < TEXT_MAX && text[i] != 0; i++) {
            running += charWidth(*font, uint8_t(text[i]));
            if (cut < 0 && running > maxWidth - dots) {
                // The first character is drawn however wide it is.
                cut = i < 1 ? 1 : i;
            }
            if (running > maxWidth) {
                truncated = true;
                break;
            }
        }
        drawCount = truncated ? cut : i;
    }
    int32_t start = x;
    for (int32_t i = 0; i < drawCount; i++) {
        x += drawChar(canvas, uint8_t(text[i]), x, y, colour, *font);
    }
    if (truncated) {
        x += drawChar(canvas, '.', x, y, colour, *font);
        x += drawChar(canvas, '.', x, y, colour, *font);
    }
    return x - start;
}
