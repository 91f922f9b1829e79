// The built-in fonts: measuring, hit testing and drawing.
#include "tests/support/canvas.h"
#include "tests/support/ints.h"
#include "toolkit/font.h"
#include "toolkit/surface.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace {

bool in(int32_t v, int32_t lo, int32_t hi) {
    return v >= lo && v <= hi;
}

// Four glyphs of height 1, widths 4, 5, 6 and 4; no '_', so 'A' stands in.
const uint16_t narrowGlyphs[] = {4, 0xF, 5, 0x1F, 6, 0x3F, 4, 0xF};

} // namespace

TEST(Fonts, SizesAndAFixedWidthOnlyWhenEveryGlyphAgrees) {
    setupBuiltinFonts();
    const int32_t heights[] = {13, 13, 15, 13, 27}, fixed[] = {7, 7, 8, 0, 16};
    for (int f = 0; f < BUILTIN_FONT_COUNT; f++) {
        const Font& font = builtinFonts[f];
        EXPECT_EQ(ints(font.height, font.fixedWidth, font.firstChar, font.lastChar),
                  ints(heights[f], fixed[f], 32, 127))
            << f;
        // The drawing relies on no bit being set at or beyond the advance.
        for (int i = 0; i < 96 * (font.height + 1); i += font.height + 1) {
            for (int row = 1; row <= font.height; row++) {
                ASSERT_EQ(font.glyphs[i + row] >> font.glyphs[i], 0) << f << " " << i;
            }
        }
    }
    const uint16_t same[] = {3, 1, 3, 2, 3, 4};
    Font f;
    fontInit(f, same, 1, 'A', 'C');
    EXPECT_EQ(f.fixedWidth, 3);
    fontInit(f, narrowGlyphs, 1, 'A', 'D');
    EXPECT_EQ(f.fixedWidth, 0);
    // Outside the range the first character stands in when there is no '_'.
    EXPECT_EQ(ints(charWidth(f, 'B'), charWidth(f, 'z'), charWidth(f, 31)), ints(5, 4, 4));
    EXPECT_EQ(ints(textWidth(f, "ABZ", 3), textWidth(f, "ABZ", 2), textWidth(f, "ABZ", 0),
                   textWidth(f, nullptr, 3), textWidth(f, "AB", 9)),
              ints(13, 9, 0, 0, 9));
    const Font& prop = builtinFonts[3];
    EXPECT_EQ(charWidth(prop, 200), charWidth(prop, '_'));
    EXPECT_EQ(ints(charWidth(prop, 'i'), charWidth(prop, 'm')), ints(4, 6));
}

TEST(HitTest, NearerEdgeWinsTiesGoRightAndControlBytesStopTheWalk) {
    Font f;
    fontInit(f, narrowGlyphs, 1, 'A', 'D');
    struct Case {
        const char* text;
        int32_t count, x, snapped, index;
    };
    const Case cases[] = {{"ABC", 3, 0, 0, 0},    {"ABC", 3, 1, 0, 0},     {"ABC", 3, 2, 4, 1},
                          {"ABC", 3, 6, 4, 1},    {"ABC", 3, 7, 9, 2},     {"ABC", 3, 12, 15, 3},
                          {"ABC", 3, 16, 15, 3},  {"ABC", 2, 100, 9, 2},   {"ABC", 0, 3, 0, 0},
                          {"AZB", 3, 100, 13, 3}, {"A\x1F", 2, 100, 4, 1}, {"A\x80", 2, 100, 4, 1},
                          {"ABC", 3, -1, 0, 0},   {nullptr, 3, 5, 0, 0}};
    for (const Case& c : cases) {
        int32_t x = c.x, index = -1;
        hitTest(f, c.text, c.count, x, index);
        EXPECT_EQ(ints(x, index), ints(c.snapped, c.index)) << c.x;
    }
    setupBuiltinFonts();
    int32_t x = 4, index = -1; // the middle of an 8-wide character
    hitTest(builtinFonts[2], "abcd", 4, x, index);
    EXPECT_EQ(ints(x, index), ints(8, 1));
}

TEST(DrawChar, WideRowsAndBoxesAgainstEveryClipEdge) {
    // 'A' is 16 wide with scattered bits; 'B' is a solid 5 x 4 block.
    const uint16_t glyphs[] = {16, 0x8001, 0xA5A5, 0x0F0F, 0xF000, 5, 0x1F, 0x1F, 0x1F, 0x1F};
    Font f;
    fontInit(f, glyphs, 4, 'A', 'B');
    TestCanvas t(64, 32);
    EXPECT_EQ(drawChar(t.canvas, 'A', 10, 5, 0xFFFF, f), 16);
    t.expectEach([&glyphs](int32_t x, int32_t y) -> uint16_t {
        bool ink = in(x, 10, 25) && in(y, 5, 8) && (glyphs[1 + y - 5] >> (x - 10) & 1);
        return ink ? 0xFFFF : 0;
    });
    surfaceFill(t.canvas.surface, 0);
    surfaceSetClip(t.canvas.surface, 12, 6, 24, 8);
    EXPECT_EQ(drawChar(t.canvas, 'A', 10, 5, 0xFFFF, f), 16);
    t.expectEach([&glyphs](int32_t x, int32_t y) -> uint16_t {
        bool ink = in(x, 12, 23) && in(y, 6, 7) && (glyphs[1 + y - 5] >> (x - 10) & 1);
        return ink ? 0xFFFF : 0;
    });

    // The block against a clip of 3..20 by 3..20: flush with the right and
    // bottom edges, over them, over the left and top ones, and outside.
    surfaceFill(t.canvas.surface, 0);
    surfaceSetClip(t.canvas.surface, 3, 3, 20, 20);
    drawChar(t.canvas, 'B', 15, 16, 1, f);
    drawChar(t.canvas, 'B', 17, 10, 2, f);
    drawChar(t.canvas, 'B', 8, 18, 3, f);
    drawChar(t.canvas, 'B', 1, 1, 4, f);
    drawChar(t.canvas, 'B', 20, 5, 5, f);
    drawChar(t.canvas, 'B', 5, -4, 5, f);
    t.expectEach([](int32_t x, int32_t y) -> uint16_t {
        if (in(x, 15, 19) && in(y, 16, 19)) {
            return 1;
        }
        if (in(x, 17, 19) && in(y, 10, 13)) {
            return 2;
        }
        if (in(x, 8, 12) && in(y, 18, 19)) {
            return 3;
        }
        return in(x, 3, 5) && in(y, 3, 4) ? 4 : 0;
    });
}

TEST(DrawText, CutWithTwoDotsOnlyWhenTheTextWouldOverrun) {
    setupBuiltinFonts();
    const Font& bold = builtinFonts[0]; // 7 wide: two dots take 14
    TestCanvas a(128, 32), b(128, 32);
    struct Case {
        const char* text;
        int32_t maxWidth;
        const char* shown;
    };
    const Case cases[] = {{"ABCD", 30, "ABCD"}, {"ABCD", 28, "ABCD"},       {"ABCD", 27, "A.."},
                          {"ABCD", 20, "A.."},  {"AB", 15, "AB"},           {"AB", 13, "A.."},
                          {"ABC", 5, "A.."},    {"ABCDEFGH", 42, "ABCD.."}, {"", 10, ""}};
    for (const Case& c : cases) {
        surfaceFill(a.canvas.surface, 0);
        surfaceFill(b.canvas.surface, 0);
        int32_t width = drawText(a.canvas, c.text, 3, 4, 0xFFFF, c.maxWidth, nullptr);
        EXPECT_EQ(width, 7 * int32_t(std::string(c.shown).size())) << c.text << c.maxWidth;
        drawText(b.canvas, c.shown, 3, 4, 0xFFFF, 0, &bold);
        EXPECT_EQ(a.pixels(), b.pixels()) << c.text << " " << c.maxWidth;
    }
    EXPECT_EQ(drawText(a.canvas, nullptr, 0, 0, 0xFFFF, 0, nullptr), 0);
    canvasSelectFont(a.canvas, 4);
    EXPECT_EQ(drawText(a.canvas, "ab", 0, 0, 0xFFFF, 0, nullptr), 32);
    const std::string longText(3000, 'i');
    EXPECT_EQ(drawText(a.canvas, longText.c_str(), 0, 0, 0xFFFF, 0, &bold), 2047 * 7);
}
