// Surfaces, canvases and the drawing primitives, on the scripted platform.
#include "platform/platform_script.h"
#include "tests/support/canvas.h"
#include "tests/support/golden.h"
#include "tests/support/ints.h"
#include "toolkit/current.h"
#include "toolkit/desktop.h"
#include "toolkit/font.h"
#include "toolkit/surface.h"
#include "toolkit/window.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

bool in(int32_t v, int32_t lo, int32_t hi) {
    return v >= lo && v <= hi;
}

} // namespace

TEST(Clip, EveryEdgeOfSpansRectanglesAndOutlines) {
    TestCanvas t(64, 32);
    WindowCanvas& c = t.canvas;
    surfaceSetClip(c.surface, 10, 5, 20, 15);
    drawHLine(c, -5, 10, 6, 1);   // only the first clip column
    drawHLine(c, -5, 9, 7, 1);    // ends just left of the clip
    drawHLine(c, 20, 30, 8, 1);   // starts at clipRight
    drawHLine(c, 0, 63, 4, 1);    // above
    drawHLine(c, 0, 63, 15, 1);   // at clipBottom
    drawHLine(c, 0, 63, 14, 2);   // the last row: clipped to 10..19
    drawVLine(c, 12, -3, 5, 3);   // only the first clip row
    drawVLine(c, 13, 14, 100, 3); // only the last clip row
    drawVLine(c, 9, 0, 31, 3);    // left of the clip
    drawVLine(c, 20, 0, 31, 3);   // at clipRight
    drawVLine(c, 11, 9, 8, 3);    // reversed
    drawFilledRect(c, -100, -100, 10, 5, 4);
    drawFilledRect(c, 19, 13, 100, 100, 5); // over row 14's span
    drawFilledRect(c, 15, 6, 14, 9, 6);     // reversed
    t.expectEach([](int32_t x, int32_t y) -> uint16_t {
        if (x == 10 && y == 5) {
            return 4;
        }
        if (x == 19 && in(y, 13, 14)) {
            return 5;
        }
        if (x == 10 && y == 6) {
            return 1;
        }
        if (y == 14 && in(x, 10, 19)) {
            return x == 13 ? 3 : 2;
        }
        return x == 12 && y == 5 ? 3 : 0;
    });
    int32_t x0 = -5, y0 = 0, x1 = 100, y1 = 14;
    ASSERT_TRUE(clipRect(c.surface, x0, y0, x1, y1));
    EXPECT_EQ(ints(x0, y0, x1, y1), ints(10, 5, 19, 14));

    // An outline partly off the surface keeps its visible sides.
    surfaceFill(c.surface, 0);
    surfaceSetClip(c.surface, -10, -10, 70, 200);
    EXPECT_EQ(
        ints(c.surface.clipLeft, c.surface.clipTop, c.surface.clipRight, c.surface.clipBottom),
        ints(0, 0, 64, 32));
    drawRectOutline(c, -2, -2, 3, 3, 7);
    drawRectOutline(c, 60, 28, 70, 40, 8);
    t.expectEach([](int32_t x, int32_t y) -> uint16_t {
        if ((y == 3 && in(x, 0, 3)) || (x == 3 && in(y, 0, 3))) {
            return 7;
        }
        return (y == 28 && x >= 60) || (x == 60 && y >= 28) ? 8 : 0;
    });

    // An empty clip (left >= right inside the surface) stops every clipped
    // primitive; the whole-surface fill ignores it.
    surfaceSetClip(c.surface, 30, 10, 30, 20);
    EXPECT_EQ(
        ints(c.surface.clipLeft, c.surface.clipTop, c.surface.clipRight, c.surface.clipBottom),
        ints(0, 0, 0, 0));
    surfaceFill(c.surface, 0x2222);
    drawRectOutline(c, 0, 0, 63, 31, 1);
    drawDottedHLine(c, 0, 63, 0, 1);
    drawMovingDottedRect(c, 0, 0, 63, 31, 1);
    drawShadowedBevel(c, 5, 5, 40, 20);
    lightenV(c, 0, 0, 31);
    drawIcon(c, ICON_CLOSE, 0, 0);
    drawText(c, "Ab", 0, 0, 1, 0, nullptr);
    EXPECT_EQ(t.count(0x2222), 64 * 32);
}

TEST(Surface, CreateOwnsOrBorrowsAndAFailureLeavesItAsItWas) {
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
    EXPECT_EQ(s.pixels, memory.data());
    EXPECT_TRUE(s.ownPixels.empty());
    EXPECT_EQ(surfaceCreate(s, 1 << 20, 1 << 20, nullptr), 0);
    EXPECT_EQ(s.width, 8);
    EXPECT_EQ(s.pixels, memory.data());
}

TEST(Surface, FillsAndCopiesTouchExactlyTheirPixelsAtEveryWidthAndAlignment) {
    // Fills run in single pixels, pairs and blocks of sixteen from either
    // alignment.
    Surface dst{};
    ASSERT_EQ(surfaceInit(dst, 48, 3, nullptr), 1);
    for (int32_t x0 = 0; x0 < 2; x0++) {
        for (int32_t w = 1; w <= 40; w++) {
            surfaceFill(dst, 0);
            surfaceFillRect(dst, x0, 1, x0 + w - 1, 1, 0xABCD);
            int n = 0;
            for (uint16_t p : dst.ownPixels) {
                n += p == 0xABCD;
            }
            ASSERT_EQ(n, w) << x0;
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

TEST(Shade, DarkenAndLightenAreExactAndSaturate) {
    TestCanvas t(64, 32, 0xFFFF);
    darkenHalfH(t.canvas, 0, 3, 0);
    darkenThreeQuartersV(t.canvas, 10, 0, 1);
    darkenHalfV(t.canvas, 12, 0, 0);
    darkenThreeQuartersH(t.canvas, 14, 14, 0);
    EXPECT_EQ(ints(t.at(0, 0), t.at(10, 0), t.at(12, 0), t.at(14, 0), t.at(4, 0)),
              ints(0x7BEF, 0xB5D6, 0x7BEF, 0xB5D6, 0xFFFF));
    // +8, +16, +8 from 22, 46, 22; saturating from 23, 47 and 23.
    const uint16_t before[] = {0x0000, (22 << 11) | (46 << 5) | 22, (23 << 11) | (47 << 5) | 23};
    for (int i = 0; i < 3; i++) {
        t.canvas.surface.pixels[64 + i] = before[i];
    }
    lightenH(t.canvas, 0, 2, 1);
    EXPECT_EQ(ints(t.at(0, 1), t.at(1, 1), t.at(2, 1)),
              ints(0x4208, (30 << 11) | (62 << 5) | 30, 0xFFFF));
}

TEST(Icons, CodesAreTakenModulo128AndClippedAtNegativePositions) {
    TestCanvas whole(64, 32, 0x1111), cut(64, 32, 0x1111);
    for (int code : {0, 1, 27, 128, 155}) {
        drawIcon(cut.canvas, code, 30, 10);
    }
    EXPECT_EQ(cut.count(0x1111), 64 * 32);
    drawIcon(whole.canvas, ICON_CLOSE, 0, 0);
    drawIcon(cut.canvas, ICON_CLOSE + 128, -5, -3);
    cut.expectEach([&whole](int32_t x, int32_t y) -> uint16_t {
        return x < 11 && y < 12 ? whole.at(x + 5, y + 3) : 0x1111;
    });
}

TEST(Canvas, SizesFontsAndResizesKeepingTheirSettings) {
    setupBuiltinFonts();
    WindowCanvas c;
    canvasInit(c);
    EXPECT_EQ(canvasCreate(c, 63, 100), 0);
    EXPECT_EQ(canvasCreate(c, 100, 31), 0);
    ASSERT_EQ(canvasCreate(c, 64, 32), 1);
    EXPECT_EQ(c.font, &builtinFonts[0]);
    canvasSelectFont(c, 5);
    EXPECT_EQ(c.font, &builtinFonts[0]);
    canvasSelectFont(c, 4);
    EXPECT_EQ(c.font, &builtinFonts[4]);
    c.background = 0x1234;
    c.dashCounter = 9;
    c.dashPhase = 7;
    canvasClear(c);
    EXPECT_EQ(c.surface.pixels[64 * 32 - 1], 0x1234);

    uint16_t* before = c.surface.pixels;
    EXPECT_EQ(canvasResize(c, 64, 32), 1);
    EXPECT_EQ(c.surface.pixels, before);
    EXPECT_EQ(canvasResize(c, 63, 32), 0);
    scriptSetBitmapBudget(0);
    EXPECT_EQ(canvasResize(c, 100, 40), 0);
    EXPECT_EQ(c.surface.pixels, before);
    scriptSetBitmapBudget(-1);
    surfaceSetClip(c.surface, 1, 1, 2, 2);
    ASSERT_EQ(canvasResize(c, 100, 40), 1);
    EXPECT_EQ(ints(c.surface.width, c.bitmap.width, c.surface.clipRight, c.surface.clipBottom,
                   c.background, c.dashCounter, c.dashPhase),
              ints(100, 100, 100, 40, 0x1234, 9, 7));
    EXPECT_EQ(c.font, &builtinFonts[4]);
    canvasFree(c);
    EXPECT_EQ(c.surface.pixels, nullptr);
    EXPECT_EQ(c.font, nullptr);
}

TEST(Current, PointerTestAndTooltipBoxKeptOnTheCanvas) {
    TestCanvas t(100, 50);
    Window window{};
    window.canvas = t.canvas;
    window.x = 100;
    window.y = 50;
    desktop.current = &window;
    styleTable.colours[COLOUR_TOOLTIP_BACKGROUND] = 0x7BCF;
    styleTable.colours[COLOUR_TOOLTIP_TEXT] = 0xFFFF;
    styleTable.tooltipFont = 1;

    const Rect r{10, 5, 20, 10};
    struct Point {
        int32_t x, y, inside;
    };
    const Point points[] = {{110, 55, 1}, {129, 64, 1}, {130, 55, 0},
                            {110, 65, 0}, {109, 55, 0}, {110, 54, 0}};
    for (const Point& p : points) {
        inputState.mouse.x = p.x;
        inputState.mouse.y = p.y;
        window.active = 1;
        EXPECT_EQ(currentMouseInside(r), p.inside) << p.x << "," << p.y;
        window.active = 0;
        EXPECT_EQ(currentMouseInside(r), 0);
    }

    // The box is filled one row and column past its size; while it unrolls
    // only the opened part shows, without text.
    struct Box {
        Rect r;
        int32_t opened;
        int32_t x0, y0, x1, y1;
        bool text;
    };
    const Box boxes[] = {
        {{20, 10, 30, 16}, 5, 20, 10, 50, 15, false}, {{20, 10, 30, 16}, 16, 20, 10, 50, 26, true},
        {{-10, -5, 30, 16}, 16, 4, 0, 34, 16, true},  {{70, 34, 30, 16}, 40, 70, 34, 100, 50, true},
        {{69, 33, 30, 16}, 16, 69, 33, 99, 49, true}, {{20, 45, 30, 16}, 16, 20, 34, 50, 50, true},
        {{50, 0, 98, 16}, 16, 4, 0, 102, 16, true}};
    WindowCanvas& c = window.canvas;
    for (const Box& b : boxes) {
        surfaceFill(c.surface, 0);
        currentTooltipBox(b.r, "Hi", b.opened);
        const int area = (std::min(b.x1, 99) - b.x0 + 1) * (std::min(b.y1, 49) - b.y0 + 1);
        int inside = 0, ink = 0;
        for (int32_t y = 0; y < 50; y++) {
            for (int32_t x = 0; x < 100; x++) {
                const uint16_t p = c.surface.pixels[y * 100 + x];
                const bool within = in(x, b.x0, b.x1) && in(y, b.y0, b.y1);
                inside += within && (p == 0x7BCF || p == 0xFFFF);
                ink += p == 0xFFFF;
                ASSERT_TRUE(within || p == 0) << b.r.x << ": " << x << "," << y;
            }
        }
        EXPECT_EQ(inside, area) << b.r.x;
        EXPECT_EQ(ink > 0, b.text) << b.r.x;
    }
    currentFillRect(r, 0x00FF);
    EXPECT_EQ(ints(t.at(10, 5), t.at(29, 14), t.at(30, 14), t.at(29, 15)),
              ints(0x00FF, 0x00FF, 0x7BCF, 0x7BCF));
    desktop.current = nullptr;
    window.canvas = WindowCanvas{};
}

TEST(Golden, EveryPrimitive) {
    TestCanvas t(160, 96, 0xBDF7);
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
    // Clipped drawing: a rectangle and an icon cut by a small clip.
    surfaceSetClip(c.surface, 120, 50, 150, 80);
    drawFilledRect(c, 110, 60, 140, 90, 0xF81F);
    drawIcon(c, 19, 140, 70);
    surfaceResetClip(c.surface);
    drawText(c, "Ok", 120, 82, 0x0000, 0, nullptr);
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
