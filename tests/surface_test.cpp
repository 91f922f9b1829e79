// Surfaces, canvases and drawing primitives, on the scripted platform.
#include "platform/platform_script.h"
#include "tests/support/canvas.h"
#include "tests/support/golden.h"
#include "toolkit/desktop.h"
#include "toolkit/font.h"
#include "toolkit/surface.h"

#include <gtest/gtest.h>
#include <vector>

TEST(Clip, SpansAndRectanglesKeepToTheClip) {
    TestCanvas t(64, 32);
    Surface& s = t.canvas.surface;
    surfaceSetClip(s, 10, 5, 20, 15);
    // A span touching only the last clip column draws one pixel.
    drawHLine(t.canvas, 19, 40, 7, 0xFFFF);
    EXPECT_EQ(t.count(0xFFFF), 1);
    EXPECT_EQ(t.at(19, 7), 0xFFFF);
    // Reversed ends draw nothing.
    drawFilledRect(t.canvas, 15, 6, 14, 9, 0x1234);
    drawVLine(t.canvas, 12, 9, 8, 0x1234);
    EXPECT_EQ(t.count(0x1234), 0);
    int32_t x0 = -5, y0 = 0, x1 = 100, y1 = 14;
    ASSERT_TRUE(clipRect(s, x0, y0, x1, y1));
    EXPECT_EQ(x0, 10);
    EXPECT_EQ(y0, 5);
    EXPECT_EQ(x1, 19);
    EXPECT_EQ(y1, 14);
    int32_t a = 0, b = 9;
    EXPECT_FALSE(clipSpanH(s, a, b, 7));
    EXPECT_FALSE(clipSpanV(s, 12, a, b = 4));

    // A clip wholly outside collapses to nothing; the unclipped fill still fills.
    surfaceSetClip(s, 70, 40, 90, 50);
    EXPECT_EQ(s.clipLeft | s.clipTop | s.clipRight | s.clipBottom, 0);
    drawFilledRect(t.canvas, 0, 0, 63, 31, 0x1111);
    drawHLine(t.canvas, 0, 63, 0, 0x1111);
    EXPECT_EQ(t.count(0x1111), 0);
    surfaceFill(s, 0x2222);
    EXPECT_EQ(t.count(0x2222), 64 * 32);
    surfaceSetClip(s, -10, -10, 30, 200);
    EXPECT_EQ(s.clipLeft, 0);
    EXPECT_EQ(s.clipTop, 0);
    EXPECT_EQ(s.clipRight, 30);
    EXPECT_EQ(s.clipBottom, 32);
}

TEST(Surface, CreateOwnsOrBorrowsAndReusesItsBuffer) {
    Surface s{};
    surfaceClearRecord(s);
    EXPECT_EQ(surfaceCreate(s, 0, 10, nullptr), 0);
    EXPECT_EQ(surfaceCreate(s, 10, -1, nullptr), 0);
    ASSERT_EQ(surfaceInit(s, 10, 6, nullptr), 1);
    EXPECT_EQ(s.ownPixels.size(), 60u);
    EXPECT_EQ(s.pixels, s.ownPixels.data());
    EXPECT_EQ(s.clipRight, 10);
    EXPECT_EQ(s.clipBottom, 6);
    // The same number of bytes keeps the same buffer.
    uint16_t* before = s.pixels;
    ASSERT_EQ(surfaceCreate(s, 6, 10, nullptr), 1);
    EXPECT_EQ(s.pixels, before);
    // Borrowing lets go of the own buffer.
    std::vector<uint16_t> memory(8 * 4, 7);
    ASSERT_EQ(surfaceCreate(s, 8, 4, memory.data()), 1);
    EXPECT_EQ(s.pixels, memory.data());
    EXPECT_TRUE(s.ownPixels.empty());
    surfaceFill(s, 0xABCD);
    EXPECT_EQ(memory[31], 0xABCD);
    // A failed create leaves the surface as it was.
    EXPECT_EQ(surfaceCreate(s, 1 << 20, 1 << 20, nullptr), 0);
    EXPECT_EQ(s.width, 8);
    EXPECT_EQ(s.pixels, memory.data());
}

TEST(Blit, ReadsTheSourceAtTheClippedOffset) {
    TestCanvas t(64, 32);
    Surface source{};
    ASSERT_EQ(surfaceInit(source, 4, 3, nullptr), 1);
    for (int i = 0; i < 12; i++) {
        source.pixels[i] = uint16_t(i + 1);
    }
    surfaceBlit(source, t.canvas.surface, -2, -1);
    EXPECT_EQ(t.at(0, 0), 7); // source (2, 1)
    EXPECT_EQ(t.at(1, 0), 8);
    EXPECT_EQ(t.at(0, 1), 11);
    EXPECT_EQ(t.at(2, 0), 0);
    EXPECT_EQ(t.count(0), 64 * 32 - 4);
    // The source's own clip plays no part.
    surfaceSetClip(source, 0, 0, 1, 1);
    surfaceBlit(source, t.canvas.surface, 60, 30);
    EXPECT_EQ(t.at(63, 31), 4 + 4 * 1 - 4 + 4); // source (3, 1) = 8
    EXPECT_EQ(t.at(61, 30), 2);

    // Key pixels leave the destination alone.
    surfaceFill(source, COLOUR_KEY);
    surfaceFill(t.canvas.surface, 0x5555);
    surfaceBlitKeyed(source, t.canvas.surface, 10, 10);
    EXPECT_EQ(t.count(0x5555), 64 * 32);
    source.pixels[5] = 0x0F0F; // (1, 1)
    surfaceBlitKeyed(source, t.canvas.surface, 10, 10);
    EXPECT_EQ(t.at(11, 11), 0x0F0F);
    EXPECT_EQ(t.count(0x5555), 64 * 32 - 1);

    Surface copy{};
    ASSERT_EQ(surfaceInit(copy, 64, 32, nullptr), 1);
    surfaceCopyWhole(t.canvas.surface, copy);
    EXPECT_EQ(copy.pixels[11 * 64 + 11], 0x0F0F);
    // Mixed key and colour pixels, at every alignment and an odd width: the
    // same result as a pixel-by-pixel keyed copy.
    Surface mixed{};
    ASSERT_EQ(surfaceInit(mixed, 13, 3, nullptr), 1);
    for (int i = 0; i < 39; i++) {
        mixed.pixels[i] = (i * 7) % 3 == 0 ? COLOUR_KEY : uint16_t(0xF81E + i % 3);
    }
    for (int32_t x = -2; x < 3; x++) {
        surfaceFill(t.canvas.surface, 0x5555);
        surfaceBlitKeyed(mixed, t.canvas.surface, x, 1);
        for (int32_t j = 0; j < 3; j++) {
            for (int32_t i = 0; i < 13; i++) {
                uint16_t p = mixed.pixels[j * 13 + i];
                if (x + i >= 0) {
                    ASSERT_EQ(t.at(x + i, 1 + j), p == COLOUR_KEY ? 0x5555 : p) << x << " " << i;
                }
            }
        }
    }
    surfaceClearRecord(mixed);

    surfaceClearRecord(source);
    surfaceClearRecord(copy);
}

TEST(Shade, DarkenAndLightenAreExact) {
    TestCanvas t(64, 32, 0xFFFF);
    darkenHalfH(t.canvas, 0, 3, 0);
    darkenThreeQuartersV(t.canvas, 10, 0, 1);
    lightenH(t.canvas, 20, 21, 0);
    EXPECT_EQ(t.at(0, 0), 0x7BEF);
    EXPECT_EQ(t.at(10, 0), 0x7BEF + 0x39E7);
    EXPECT_EQ(t.at(20, 0), 0xFFFF);
    // Lighten: +8, +16, +8, saturating from 23, 47 and 23.
    const uint16_t in[] = {0x0000, uint16_t((22 << 11) | (46 << 5) | 22),
                           uint16_t((23 << 11) | (47 << 5) | 23)};
    const uint16_t out[] = {0x4208, uint16_t((30 << 11) | (62 << 5) | 30), 0xFFFF};
    for (int i = 0; i < 3; i++) {
        t.canvas.surface.pixels[64 + i] = in[i];
    }
    lightenH(t.canvas, 0, 2, 1);
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(t.at(i, 1), out[i]) << i;
    }
}

TEST(Dots, FourOnFourOffContinuingAndMoving) {
    TestCanvas t(64, 32);
    drawDottedHLine(t.canvas, 0, 9, 0, 0xFFFF);
    drawDottedVLine(t.canvas, 0, 1, 6, 0xFFFF); // counter 10 to 15
    const char* row = "....####..";
    for (int x = 0; x < 10; x++) {
        EXPECT_EQ(t.at(x, 0), row[x] == '#' ? 0xFFFF : 0) << x;
    }
    for (int y = 1; y <= 6; y++) {
        EXPECT_EQ(t.at(0, y), y >= 3 ? 0xFFFF : 0) << y;
    }
    EXPECT_EQ(t.canvas.dashCounter, 16u);

    surfaceFill(t.canvas.surface, 0);
    t.canvas.dashPhase = 3;
    drawMovingDottedRect(t.canvas, 20, 9, 5, 2, 0xFFFF); // corners given in reverse
    EXPECT_EQ(t.canvas.dashPhase, 4u);
    // Phase 4: every side starts with a dash of four, at its top or left end.
    for (int x = 7; x <= 18; x++) {
        uint16_t want = (x - 5) % 8 < 4 ? 0xFFFF : 0;
        EXPECT_EQ(t.at(x, 2), want) << x;
        EXPECT_EQ(t.at(x, 3), want) << x;
        EXPECT_EQ(t.at(x, 9), want) << x;
    }
    for (int y = 4; y <= 7; y++) { // between the rows' own dashes
        uint16_t want = y <= 5 ? 0xFFFF : 0;
        EXPECT_EQ(t.at(20, y), want) << y;
        EXPECT_EQ(t.at(5, y), want) << y;
    }
    EXPECT_EQ(t.at(21, 2), 0);
    EXPECT_EQ(t.at(5, 10), 0);
}

TEST(Canvas, SizesFontsAndResizeRules) {
    setupBuiltinFonts();
    WindowCanvas c;
    canvasInit(c);
    EXPECT_EQ(canvasCreate(c, 63, 100), 0);
    EXPECT_EQ(canvasCreate(c, 100, 31), 0);
    ASSERT_EQ(canvasCreate(c, 64, 32), 1);
    EXPECT_EQ(c.font, &builtinFonts[0]);
    EXPECT_EQ(c.surface.pixels, c.bitmap.pixels);
    canvasSelectFont(c, 4);
    EXPECT_EQ(c.font, &builtinFonts[4]);
    canvasSelectFont(c, 5);
    EXPECT_EQ(c.font, &builtinFonts[0]);
    canvasSelectFont(c, 2);
    c.background = 0x1234;
    c.dashCounter = 9;
    c.dashPhase = 7;
    canvasClear(c);
    EXPECT_EQ(c.surface.pixels[64 * 32 - 1], 0x1234);

    uint16_t* before = c.surface.pixels;
    EXPECT_EQ(canvasResize(c, 64, 32), 1);
    EXPECT_EQ(c.surface.pixels, before);
    scriptSetBitmapBudget(0);
    EXPECT_EQ(canvasResize(c, 100, 40), 0);
    EXPECT_EQ(c.surface.width, 64);
    EXPECT_EQ(c.surface.pixels, before);
    scriptSetBitmapBudget(-1);
    surfaceSetClip(c.surface, 1, 1, 2, 2);
    ASSERT_EQ(canvasResize(c, 100, 40), 1);
    EXPECT_EQ(c.surface.width, 100);
    EXPECT_EQ(c.bitmap.width, 100);
    EXPECT_EQ(c.surface.clipRight, 100);
    EXPECT_EQ(c.surface.clipBottom, 40);
    EXPECT_EQ(c.font, &builtinFonts[2]);
    EXPECT_EQ(c.background, 0x1234);
    EXPECT_EQ(c.dashCounter, 9u);
    EXPECT_EQ(c.dashPhase, 7u);
    canvasFree(c);
    EXPECT_EQ(c.surface.pixels, nullptr);
    EXPECT_EQ(c.font, nullptr);
    EXPECT_EQ(c.background, 0);
}

TEST(Icons, CodesAreTakenModulo128WithinTwoToTwentySix) {
    TestCanvas t(64, 32, 0x1111);
    drawIcon(t.canvas, 1, 0, 0);
    drawIcon(t.canvas, 27, 0, 0);
    drawIcon(t.canvas, 24, 0, 0);
    drawIcon(t.canvas, 26, 0, 0);
    EXPECT_EQ(t.count(0x1111), 64 * 32);
    drawIcon(t.canvas, 130, 0, 0);
    int drawn = 64 * 32 - t.count(0x1111);
    TestCanvas u(64, 32, 0x1111);
    drawIcon(u.canvas, 2, 0, 0);
    EXPECT_GT(drawn, 0);
    EXPECT_EQ(drawn, 64 * 32 - u.count(0x1111));
    // Everything an icon paints stays inside its 16 x 15 box.
    for (int code = 2; code <= 23; code++) {
        TestCanvas v(64, 32, 0x1111);
        drawIcon(v.canvas, code, 20, 10);
        for (int y = 0; y < 32; y++) {
            for (int x = 0; x < 64; x++) {
                if (x < 20 || x >= 36 || y < 10 || y >= 25) {
                    ASSERT_EQ(v.at(x, y), 0x1111) << code;
                }
            }
        }
        EXPECT_LT(v.count(0x1111), 64 * 32) << code;
    }
}

TEST(Current, RectanglesWorkOnTheCurrentWindow) {
    setupBuiltinFonts();
    Window window{};
    canvasInit(window.canvas);
    ASSERT_EQ(canvasCreate(window.canvas, 80, 40), 1);
    window.x = 100;
    window.y = 50;
    desktop.current = &window;
    styleTable.colours[13] = 0x7BCF;
    styleTable.colours[31] = 0xFFFF;
    styleTable.tooltipFont = 1;

    Rect r;
    setRect(r, 10, 5, 20, 10);
    EXPECT_EQ(r.x + r.y + r.width + r.height, 45);
    inputState.mouse.x = 110;
    inputState.mouse.y = 55;
    EXPECT_EQ(currentMouseInside(r), 0); // not active
    window.active = 1;
    EXPECT_EQ(currentMouseInside(r), 1);
    inputState.mouse.x = 130; // x + width is outside
    EXPECT_EQ(currentMouseInside(r), 0);
    inputState.mouse.x = 129;
    inputState.mouse.y = 64;
    EXPECT_EQ(currentMouseInside(r), 1);

    currentFillRect(r, 0x00FF);
    const uint16_t* p = window.canvas.surface.pixels;
    EXPECT_EQ(p[5 * 80 + 10], 0x00FF);
    EXPECT_EQ(p[14 * 80 + 29], 0x00FF);
    EXPECT_EQ(p[15 * 80 + 29], 0);
    EXPECT_EQ(p[14 * 80 + 30], 0);

    // A box running off the canvas is pulled back, and while unrolling
    // shows only the opened part, one row and column past the given size.
    surfaceFill(window.canvas.surface, 0);
    setRect(r, 70, 30, 30, 20);
    currentTooltipBox(r, "Hi", 5);
    EXPECT_EQ(p[20 * 80 + 50], 0x7BCF);
    EXPECT_EQ(p[25 * 80 + 79], 0x7BCF);
    EXPECT_EQ(p[26 * 80 + 50], 0);
    EXPECT_EQ(p[20 * 80 + 49], 0);
    currentTooltipBox(r, "Hi", 20);
    EXPECT_EQ(p[39 * 80 + 79], 0x7BCF);
    int white = 0;
    for (int i = 0; i < 80 * 40; i++) {
        white += p[i] == 0xFFFF;
    }
    EXPECT_GT(white, 10); // the text, in the tooltip colour
    desktop.current = nullptr;
    canvasFree(window.canvas);
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
    drawMovingDottedRect(c, 110, 14, 150, 40, 0xFFFF);
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
