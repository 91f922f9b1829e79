// The built-in fonts: their tables, measuring, hit testing and drawing.
#include "tests/support/canvas.h"
#include "tests/support/golden.h"
#include "toolkit/font.h"
#include "toolkit/surface.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const Font& font(int index) {
    setupBuiltinFonts();
    return builtinFonts[index];
}

} // namespace

TEST(Fonts, TablesHaveTheirSizesAndNoInkPastTheAdvance) {
    const int32_t heights[] = {13, 13, 15, 13, 27};
    const int32_t fixed[] = {7, 7, 8, 0, 16};
    for (int f = 0; f < BUILTIN_FONT_COUNT; f++) {
        const Font& ft = font(f);
        EXPECT_EQ(ft.height, heights[f]) << f;
        EXPECT_EQ(ft.fixedWidth, fixed[f]) << f;
        EXPECT_EQ(ft.firstChar, 32);
        EXPECT_EQ(ft.lastChar, 127);
        for (int c = 32; c <= 127; c++) {
            const uint16_t* glyph = ft.glyphs + (c - 32) * (ft.height + 1);
            int32_t advance = glyph[0];
            if (f == 3) {
                EXPECT_GE(advance, 2) << c;
                EXPECT_LE(advance, 13) << c;
            }
            bool ink = false;
            for (int row = 1; row <= ft.height; row++) {
                EXPECT_EQ(glyph[row] >> advance, 0) << "font " << f << " code " << c;
                ink = ink || glyph[row] != 0;
            }
            // Every visible character has a picture.
            EXPECT_EQ(ink, c > 32 && c < 127) << "font " << f << " code " << c;
        }
    }
}

TEST(Fonts, InitFindsAFixedWidthOnlyWhenAllAgree) {
    // Three glyphs of height 1: widths 3, 3, 3 and then 3, 5, 3.
    const uint16_t same[] = {3, 1, 3, 2, 3, 4};
    const uint16_t mixed[] = {3, 1, 5, 2, 3, 4};
    Font f;
    fontInit(f, same, 1, 65, 67);
    EXPECT_EQ(f.fixedWidth, 3);
    fontInit(f, mixed, 1, 65, 67);
    EXPECT_EQ(f.fixedWidth, 0);
    // Outside the range: '_' is missing, so the first character stands in.
    EXPECT_EQ(charWidth(f, 'B'), 5);
    EXPECT_EQ(charWidth(f, 'z'), 3);
    EXPECT_EQ(textWidth(f, "ABCB", 10), 16);
}

TEST(Measure, FixedAndProportionalWidths) {
    const Font& bold = font(0);
    EXPECT_EQ(charWidth(bold, 200), 7);
    EXPECT_EQ(textWidth(bold, "abc", 2), 14);
    EXPECT_EQ(textWidth(bold, "ab", 5), 14);
    EXPECT_EQ(textWidth(bold, "abc", 0), 0);
    EXPECT_EQ(textWidth(bold, nullptr, 3), 0);
    const Font& prop = font(3);
    EXPECT_EQ(charWidth(prop, 200), charWidth(prop, '_'));
    EXPECT_EQ(charWidth(prop, 31), charWidth(prop, '_'));
    EXPECT_LT(charWidth(prop, 'i'), charWidth(prop, 'm'));
    EXPECT_EQ(textWidth(prop, "mi", 9), charWidth(prop, 'm') + charWidth(prop, 'i'));

    // Code 200 is drawn as '_' too.
    TestCanvas a(64, 32), b(64, 32);
    EXPECT_EQ(drawChar(a.canvas, 200, 3, 4, 0xFFFF, prop), charWidth(prop, '_'));
    drawChar(b.canvas, '_', 3, 4, 0xFFFF, prop);
    EXPECT_EQ(a.pixels(), b.pixels());
}

TEST(HitTest, SnapsToTheNearerEdgeWithTiesGoingRight) {
    const Font& bold = font(0); // 7 wide
    int32_t x = 10, index = -1;
    hitTest(bold, "abcd", 4, x, index);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(index, 1);
    x = 11;
    hitTest(bold, "abcd", 4, x, index);
    EXPECT_EQ(x, 14);
    EXPECT_EQ(index, 2);
    x = 4; // exactly the middle of an 8-wide character
    hitTest(font(2), "abcd", 4, x, index);
    EXPECT_EQ(x, 8);
    EXPECT_EQ(index, 1);
    x = 100; // past the end
    hitTest(bold, "abcd", 3, x, index);
    EXPECT_EQ(x, 21);
    EXPECT_EQ(index, 3);
    x = 100; // a byte of 128 or more ends the walk
    hitTest(bold,
            "ab\x80"
            "cd",
            5, x, index);
    EXPECT_EQ(x, 14);
    EXPECT_EQ(index, 2);
    x = -1;
    hitTest(bold, "abcd", 4, x, index);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(index, 0);
    x = 5;
    hitTest(bold, nullptr, 4, x, index);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(index, 0);
}

TEST(DrawText, CutsWithTwoDotsOnlyWhenTheTextWouldOverrun) {
    const Font& bold = font(0);
    TestCanvas a(128, 32), b(128, 32);
    // 8 characters with maxWidth 40: three characters and two dots.
    EXPECT_EQ(drawText(a.canvas, "abcdefgh", 2, 2, 0xFFFF, 40, nullptr), 35);
    EXPECT_EQ(drawText(b.canvas, "abc..", 2, 2, 0xFFFF, 0, &bold), 35);
    EXPECT_EQ(a.pixels(), b.pixels());
    // Past maxWidth - dots but never past maxWidth: the whole text, no dots.
    EXPECT_EQ(drawText(a.canvas, "abcdefgh", 2, 16, 0xFFFF, 56, nullptr), 56);
    EXPECT_EQ(drawText(b.canvas, "abcdefgh", 2, 16, 0xFFFF, 0, nullptr), 56);
    EXPECT_EQ(a.pixels(), b.pixels());
    // A first character wider than the room is still drawn.
    EXPECT_EQ(drawText(a.canvas, "abc", 0, 0, 0xFFFF, 5, nullptr), 21);
    EXPECT_EQ(drawText(a.canvas, nullptr, 0, 0, 0xFFFF, 0, nullptr), 0);
    // The canvas's own font is used when none is given.
    canvasSelectFont(a.canvas, 4);
    EXPECT_EQ(drawText(a.canvas, "ab", 0, 0, 0xFFFF, 0, nullptr), 32);
    // At most 2047 characters are drawn.
    std::string longText(3000, 'i');
    EXPECT_EQ(drawText(a.canvas, longText.c_str(), 0, 0, 0xFFFF, 0, &bold), 2047 * 7);
}

TEST(DrawChar, ClippedGlyphsShowOnlyTheirVisiblePart) {
    const Font& bold = font(0);
    TestCanvas whole(64, 32), cut(64, 32);
    // A glyph at a negative x keeps the columns from clipLeft on.
    EXPECT_EQ(drawChar(whole.canvas, 'W', 10, 5, 0xFFFF, bold), 7);
    EXPECT_EQ(drawChar(cut.canvas, 'W', -3, 5, 0xFFFF, bold), 7);
    const uint16_t* w = whole.canvas.surface.pixels;
    const uint16_t* c = cut.canvas.surface.pixels;
    for (int y = 0; y < 32; y++) {
        for (int x = 0; x < 64; x++) {
            uint16_t want = x < 4 ? w[y * 64 + x + 13] : 0;
            ASSERT_EQ(c[y * 64 + x], want) << x << "," << y;
        }
    }
    // A clip through the middle of the box, and a box wholly outside it.
    surfaceSetClip(cut.canvas.surface, 20, 8, 23, 12);
    EXPECT_EQ(drawChar(cut.canvas, 'W', 20, 5, 0xFFFF, bold), 7);
    EXPECT_EQ(drawChar(cut.canvas, 'W', 40, 5, 0xFFFF, bold), 7);
    for (int y = 0; y < 32; y++) {
        for (int x = 16; x < 64; x++) {
            bool inside = x >= 20 && x < 23 && y >= 8 && y < 12;
            uint16_t want = inside ? w[y * 64 + x - 10] : 0;
            ASSERT_EQ(c[y * 64 + x], want) << x << "," << y;
        }
    }
}

TEST(Golden, EachFontsGlyphs) {
    for (int f = 0; f < BUILTIN_FONT_COUNT; f++) {
        const Font& ft = font(f);
        // 16 characters a row, each in a cell one pixel wider and taller
        // than the widest glyph, white on the desktop blue.
        int32_t cellW = (f == 3 ? 13 : ft.fixedWidth) + 1, cellH = ft.height + 1;
        int32_t width = 16 * cellW + 1, height = 6 * cellH + 1;
        TestCanvas t(width < 64 ? 64 : width + (width & 1), height < 32 ? 32 : height);
        surfaceFill(t.canvas.surface, 0x02EF);
        for (int c = 32; c <= 127; c++) {
            drawChar(t.canvas, uint8_t(c), 1 + (c - 32) % 16 * cellW, 1 + (c - 32) / 16 * cellH,
                     0xFFFF, ft);
        }
        EXPECT_TRUE(matchesGolden("font" + std::to_string(f), t.canvas.surface));
    }
}
