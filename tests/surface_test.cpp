// Surfaces, canvases, the drawing primitives and the built-in fonts, on the
// scripted platform.
#include "platform/platform_script.h"
#include "tests/support/golden.h"
#include "tests/support/ints.h"
#include "toolkit/current.h"
#include "toolkit/desktop.h"
#include "toolkit/font.h"
#include "toolkit/surface.h"
#include "toolkit/window.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Four glyphs of height 1, widths 4, 5, 6 and 4; no '_', so 'A' stands in.
const uint16_t narrowGlyphs[] = {4, 0xF, 5, 0x1F, 6, 0x3F, 4, 0xF};

// A window canvas with the built-in fonts set up, filled with one colour and
// freed at the end of the test.
struct TestCanvas {
    WindowCanvas canvas{};
    TestCanvas(int32_t width, int32_t height, uint16_t fill = 0) {
        setupBuiltinFonts();
        canvasInit(canvas);
        EXPECT_EQ(canvasCreate(canvas, width, height), 1);
        surfaceFill(canvas.surface, fill);
    }
    ~TestCanvas() { canvasFree(canvas); }
    TestCanvas(const TestCanvas&) = delete;
    TestCanvas& operator=(const TestCanvas&) = delete;

    std::vector<uint16_t> pixels() const {
        const Surface& s = canvas.surface;
        return std::vector<uint16_t>(s.pixels, s.pixels + s.width * s.height);
    }
};

} // namespace

TEST(Surface, CreateOwnsOrBorrowsAndFillsAndCopiesTouchExactlyTheirPixels) {
    // Made, a surface owns its pixels or borrows them; a failure leaves it
    // as it was.
    Surface s{};
    EXPECT_EQ(surfaceCreate(s, 0, 10, nullptr), 0);
    EXPECT_EQ(surfaceCreate(s, 10, -1, nullptr), 0);
    ASSERT_EQ(surfaceInit(s, 10, 6, nullptr), 1);
    EXPECT_EQ(ints(s.ownPixels.size(), s.clipRight, s.clipBottom), ints(60, 10, 6));
    uint16_t* before = s.pixels;
    ASSERT_EQ(surfaceCreate(s, 6, 10, nullptr), 1); // the same size keeps the buffer
    EXPECT_EQ(s.pixels, before);
    std::vector<uint16_t> memory(8 * 4, 7);
    ASSERT_EQ(surfaceCreate(s, 8, 4, memory.data()), 1);
    EXPECT_TRUE(s.ownPixels.empty());
    EXPECT_EQ(surfaceCreate(s, 1 << 20, 1 << 20, nullptr), 0);
    EXPECT_EQ(ints(s.width, s.pixels == memory.data()), ints(8, 1));

    // Fills run in single pixels, pairs and blocks of sixteen from either
    // alignment.
    Surface dst{};
    ASSERT_EQ(surfaceInit(dst, 48, 3, nullptr), 1);
    for (int32_t x0 = 0; x0 < 2; x0++) {
        for (int32_t w = 1; w <= 40; w++) {
            surfaceFill(dst, 0);
            surfaceFillRect(dst, x0, 1, x0 + w - 1, 1, 0xABCD);
            ASSERT_EQ(std::count(dst.ownPixels.begin(), dst.ownPixels.end(), 0xABCD), w) << x0;
            ASSERT_EQ(dst.pixels[48 + x0 + w - 1], 0xABCD) << x0 << " " << w;
        }
    }

    // A copy reads the source at the clipped offset; the source's own clip
    // plays no part.
    Surface source{};
    ASSERT_EQ(surfaceInit(source, 4, 3, nullptr), 1);
    for (int i = 0; i < 12; i++) {
        source.pixels[i] = uint16_t(i + 1);
    }
    surfaceSetClip(source, 0, 0, 1, 1);
    surfaceFill(dst, 0);
    surfaceBlit(source, dst, -2, -1);
    surfaceBlit(source, dst, 46, 2);
    EXPECT_EQ(ints(dst.pixels[0], dst.pixels[1], dst.pixels[2], dst.pixels[48], dst.pixels[49]),
              ints(7, 8, 0, 11, 12));
    EXPECT_EQ(ints(dst.pixels[2 * 48 + 46], dst.pixels[2 * 48 + 47]), ints(1, 2));
    // Copies wholly beside the destination touch nothing.
    surfaceFill(dst, 0);
    for (const auto& [x, y] : {std::pair{48, 0}, {-4, 0}, {0, 3}, {0, -3}}) {
        surfaceBlit(source, dst, x, y);
        surfaceBlitKeyed(source, dst, x, y);
    }
    EXPECT_EQ(std::count(dst.ownPixels.begin(), dst.ownPixels.end(), 0), 48 * 3);

    // Keyed copies compare eight, then four, then single pixels; values one
    // bit away from the key are colours.
    const uint16_t values[] = {COLOUR_KEY, 0xF81E, 0x781F, 0x0000, 0xF83F, COLOUR_KEY, 0x1234};
    Surface mixed{};
    ASSERT_EQ(surfaceInit(mixed, 13, 2, nullptr), 1);
    for (int i = 0; i < 26; i++) {
        mixed.pixels[i] = values[(i * 5) % 7];
    }
    for (int32_t x = -2; x < 3; x++) {
        surfaceFill(dst, 0x5555);
        surfaceBlitKeyed(mixed, dst, x, 1);
        for (int32_t i = 0; i < 26; i++) {
            const int32_t to = x + i % 13;
            const uint16_t p = mixed.pixels[i];
            if (to >= 0) {
                ASSERT_EQ(dst.pixels[(1 + i / 13) * 48 + to], p == COLOUR_KEY ? 0x5555 : p) << x;
            }
        }
    }
}

TEST(Canvas, SizesFontsAndResizesKeepingTheirSettings) {
    setupBuiltinFonts();
    WindowCanvas c;
    canvasInit(c);
    EXPECT_EQ(canvasCreate(c, 63, 100), 0);
    EXPECT_EQ(canvasCreate(c, 100, 31), 0);
    ASSERT_EQ(canvasCreate(c, 64, 32), 1);
    canvasSelectFont(c, 5); // no such font: the default stays
    EXPECT_EQ(c.font, &builtinFonts[0]);
    canvasSelectFont(c, 4);
    c.background = 0x1234;
    c.dashCounter = 9;
    c.dashPhase = 7;
    canvasClear(c);
    EXPECT_EQ(c.surface.pixels[64 * 32 - 1], 0x1234);

    uint16_t* before = c.surface.pixels;
    EXPECT_EQ(canvasResize(c, 64, 32), 1);
    EXPECT_EQ(canvasResize(c, 63, 32), 0);
    scriptSetBitmapBudget(0);
    EXPECT_EQ(canvasResize(c, 100, 40), 0);
    EXPECT_EQ(c.surface.pixels, before);
    scriptSetBitmapBudget(-1);
    surfaceSetClip(c.surface, 1, 1, 2, 2);
    ASSERT_EQ(canvasResize(c, 100, 40), 1);
    EXPECT_EQ(ints(c.surface.width, c.bitmap.width, c.surface.clipRight, c.surface.clipBottom,
                   c.background, c.dashCounter, c.dashPhase, c.font - builtinFonts),
              ints(100, 100, 100, 40, 0x1234, 9, 7, 4));
    canvasFree(c);
    EXPECT_EQ(
        ints(c.surface.pixels == nullptr, c.surface.width, c.surface.height, c.font == nullptr),
        ints(1, 0, 0, 1));
}

TEST(Current, TooltipBoxKeptOnTheCanvas) {
    TestCanvas t(100, 50);
    Window window{};
    window.canvas = t.canvas;
    desktop.current = &window;
    fillStyleTable(styleTable);

    // The box is filled one row and column past its size and kept on the
    // canvas; while it unrolls only the opened part shows, without text. One
    // canvas below the other in the picture: half unrolled, whole, over the
    // left and top edges, flush with the right and bottom ones, one short of
    // them, below the bottom, wider than the canvas.
    const std::pair<Rect, int32_t> boxes[] = {{{20, 10, 30, 16}, 5},   {{20, 10, 30, 16}, 16},
                                              {{-10, -5, 30, 16}, 16}, {{70, 34, 30, 16}, 40},
                                              {{69, 33, 30, 16}, 16},  {{20, 45, 30, 16}, 16},
                                              {{50, 0, 98, 16}, 16}};
    std::vector<uint16_t> picture;
    for (const auto& [box, opened] : boxes) {
        surfaceFill(window.canvas.surface, 0);
        currentTooltipBox(box, "Hi", opened);
        const std::vector<uint16_t> drawn = t.pixels();
        picture.insert(picture.end(), drawn.begin(), drawn.end());
    }
    EXPECT_TRUE(matchesGolden("tooltips", 100, 50 * 7, picture.data()));
    desktop.current = nullptr;
    window.canvas = WindowCanvas{};
}

// Every primitive, clipped and unclipped, in one picture: the plain shapes,
// bevels and shades; spans, rectangles and outlines against each edge of a
// clip and of the surface; icons cut at the top left; glyphs of a font of the
// test's own, whole and clipped; and an empty clip, which stops everything.
TEST(Golden, EveryPrimitive) {
    TestCanvas t(224, 128, 0xBDF7);
    WindowCanvas& c = t.canvas;
    drawFilledRect(c, 4, 4, 35, 27, 0x3BB8);
    drawRectOutline(c, 40, 4, 71, 27, 0x0000);
    drawHLine(c, 76, 107, 4, 0xF800);
    drawVLine(c, 76, 6, 27, 0x07E0);
    c.dashCounter = 0;
    drawDottedHLine(c, 80, 155, 8, 0x001F);
    drawDottedVLine(c, 155, 10, 40, 0x001F);
    drawMovingDottedRect(c, 150, 40, 110, 14, 0xFFFF); // corners given in reverse
    drawFilledRect(c, 4, 32, 35, 55, 0xA514);
    drawRaisedBevel(c, 4, 32, 35, 55);
    drawFilledRect(c, 40, 32, 71, 55, 0xA514);
    drawSunkenBevel(c, 40, 32, 71, 55);
    drawFilledRect(c, 80, 46, 111, 69, 0xA514);
    drawShadowedBevel(c, 80, 46, 111, 69);
    for (int y = 60; y < 92; y++) {
        darkenHalfH(c, 4, 23, y);
        darkenThreeQuartersH(c, 24, 43, y);
        lightenH(c, 44, 63, y);
    }
    darkenHalfV(c, 70, 60, 91);
    darkenThreeQuartersV(c, 72, 60, 91);
    lightenV(c, 74, 60, 91);
    surfaceSetClip(c.surface, 120, 50, 150, 80);
    drawFilledRect(c, 110, 60, 140, 90, 0xF81F);
    drawIcon(c, 19, 140, 70);
    surfaceResetClip(c.surface);
    drawText(c, "Ok", 120, 82, 0x0000, 0, nullptr);

    // The clip is columns 170 to 179 and rows 5 to 14.
    surfaceSetClip(c.surface, 170, 5, 180, 15);
    drawFilledRect(c, 164, 4, 183, 16, 0xFFFF);
    drawHLine(c, 155, 170, 6, 0xF800);  // only the first clip column
    drawHLine(c, 155, 169, 7, 0xF800);  // ends just left of the clip
    drawHLine(c, 180, 190, 8, 0xF800);  // starts at the clip's right
    drawHLine(c, 160, 223, 4, 0xF800);  // above
    drawHLine(c, 160, 223, 15, 0xF800); // at the clip's bottom
    drawHLine(c, 160, 223, 14, 0x07E0); // the last row
    drawVLine(c, 172, -3, 5, 0x001F);   // only the first clip row
    drawVLine(c, 173, 14, 100, 0x001F); // only the last clip row
    drawVLine(c, 169, 0, 31, 0x001F);   // left of the clip
    drawVLine(c, 180, 0, 31, 0x001F);   // at the clip's right
    drawVLine(c, 171, 9, 8, 0x001F);    // reversed
    drawFilledRect(c, 60, -100, 170, 5, 0xFFE0);
    drawFilledRect(c, 179, 13, 300, 300, 0xF81F); // over row 14's span
    drawFilledRect(c, 175, 6, 174, 9, 0x07FF);    // reversed
    int32_t x0 = 100, y0 = 0, x1 = 300, y1 = 14;
    ASSERT_TRUE(clipRect(c.surface, x0, y0, x1, y1));
    EXPECT_EQ(ints(x0, y0, x1, y1), ints(170, 5, 179, 14));

    // Beyond the surface's edges; icon codes outside the set draw nothing.
    surfaceSetClip(c.surface, -10, -10, 300, 200);
    EXPECT_EQ(
        ints(c.surface.clipLeft, c.surface.clipTop, c.surface.clipRight, c.surface.clipBottom),
        ints(0, 0, 224, 128));
    drawIcon(c, ICON_CLOSE + 128, -5, -3);
    for (int code : {0, 1, 27, 128, 155}) {
        drawIcon(c, code, 190, 20);
    }
    drawRectOutline(c, 221, -2, 226, 3, 0xF800);
    drawRectOutline(c, 220, 124, 230, 140, 0x001F);
    drawRectOutline(c, -2, 125, 3, 130, 0x07E0);

    // 'A' is 16 wide with scattered bits; 'B' is a solid 5 x 4 block.
    const uint16_t glyphs[] = {16, 0x8001, 0xA5A5, 0x0F0F, 0xF000, 5, 0x1F, 0x1F, 0x1F, 0x1F};
    Font f;
    fontInit(f, glyphs, 4, 'A', 'B');
    drawFilledRect(c, 160, 30, 223, 85, 0x0000);
    EXPECT_EQ(drawChar(c, 'A', 164, 32, 0xFFFF, f), 16);
    surfaceSetClip(c.surface, 166, 39, 178, 41);
    EXPECT_EQ(drawChar(c, 'A', 164, 38, 0xFFFF, f), 16);
    // The block against a clip of 3..20 by 3..20 from (190, 45): flush with
    // the right and bottom edges, over them, over the left and top ones, and
    // outside.
    surfaceSetClip(c.surface, 193, 48, 210, 65);
    for (const auto& [x, y, colour] : {std::tuple{15, 16, 0xF800},
                                       {17, 10, 0x07E0},
                                       {8, 18, 0x001F},
                                       {1, 1, 0xFFE0},
                                       {20, 5, 0xFFFF},
                                       {5, -4, 0xFFFF}}) {
        drawChar(c, 'B', 190 + x, 45 + y, uint16_t(colour), f);
    }

    // An empty clip (left >= right inside the surface); the whole-surface
    // fill ignores it.
    surfaceSetClip(c.surface, 30, 10, 30, 20);
    EXPECT_EQ(
        ints(c.surface.clipLeft, c.surface.clipTop, c.surface.clipRight, c.surface.clipBottom),
        ints(0, 0, 0, 0));
    drawRectOutline(c, 0, 0, 223, 127, 0xF800);
    drawFilledRect(c, 0, 0, 223, 127, 0xF800);
    drawDottedHLine(c, 0, 223, 0, 0xF800);
    drawMovingDottedRect(c, 0, 0, 223, 127, 0xF800);
    drawShadowedBevel(c, 5, 5, 40, 20);
    lightenV(c, 0, 0, 127);
    drawIcon(c, ICON_CLOSE, 0, 0);
    drawText(c, "Ab", 0, 0, 0xF800, 0, nullptr);
    drawChar(c, 'B', 200, 50, 0xF800, f);
    EXPECT_TRUE(matchesGolden("primitives", c.surface));
}

TEST(Golden, IconSet) {
    // All 25 icons on light grey, five to a row, 4 pixels apart.
    TestCanvas t(100, 100, 0xC618);
    for (int code = 2; code <= 26; code++) {
        int i = code - 2;
        drawIcon(t.canvas, code, 2 + (i % 5) * 20, 2 + (i / 5) * 19);
    }
    EXPECT_TRUE(matchesGolden("icons", t.canvas.surface));
}

TEST(Fonts, SizesAFixedWidthOnlyWhenEveryGlyphAgreesAndHitTestsSnapToTheNearerEdge) {
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
    // '_' stands in also as the last character, '[' to '_' 1 to 5 wide.
    const uint16_t toUnderscore[] = {1, 0, 2, 0, 3, 0, 4, 0, 5, 0};
    Font last;
    fontInit(last, toUnderscore, 1, '[', '_');
    EXPECT_EQ(charWidth(last, 'z'), 5);
    EXPECT_EQ(ints(textWidth(f, "ABZ", 3), textWidth(f, "ABZ", 2), textWidth(f, "ABZ", 0),
                   textWidth(f, nullptr, 3), textWidth(f, "AB", 9)),
              ints(13, 9, 0, 0, 9));
    EXPECT_EQ(ints(charWidth(builtinFonts[3], 'i'), charWidth(builtinFonts[3], 'm')), ints(4, 6));

    // A hit test snaps to the nearer edge, a tie going right; control bytes
    // stop the walk.
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
}

TEST(DrawText, CutWithTwoDotsOnlyWhenTheTextWouldOverrun) {
    setupBuiltinFonts();
    const Font& bold = builtinFonts[0]; // 7 wide: two dots take 14
    TestCanvas a(128, 32), b(128, 32);
    const std::tuple<const char*, int32_t, const char*> cases[] = {
        {"ABCD", 30, "ABCD"}, {"ABCD", 28, "ABCD"},       {"ABCD", 27, "A.."},
        {"ABCD", 20, "A.."},  {"AB", 15, "AB"},           {"AB", 13, "A.."},
        {"ABC", 5, "A.."},    {"ABCDEFGH", 42, "ABCD.."}, {"", 10, ""}};
    for (const auto& [text, maxWidth, shown] : cases) {
        surfaceFill(a.canvas.surface, 0);
        surfaceFill(b.canvas.surface, 0);
        int32_t width = drawText(a.canvas, text, 3, 4, 0xFFFF, maxWidth, nullptr);
        EXPECT_EQ(width, 7 * int32_t(std::string(shown).size())) << text << maxWidth;
        drawText(b.canvas, shown, 3, 4, 0xFFFF, 0, &bold);
        EXPECT_EQ(a.pixels(), b.pixels()) << text << " " << maxWidth;
    }
    EXPECT_EQ(drawText(a.canvas, nullptr, 0, 0, 0xFFFF, 0, nullptr), 0);
    canvasSelectFont(a.canvas, 4);
    EXPECT_EQ(drawText(a.canvas, "ab", 0, 0, 0xFFFF, 0, nullptr), 32);
    const std::string longText(3000, 'i');
    EXPECT_EQ(drawText(a.canvas, longText.c_str(), 0, 0, 0xFFFF, 0, &bold), 2047 * 7);
}
