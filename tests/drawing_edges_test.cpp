// Drawing primitives, text and board drawing checked pixel by pixel where the
// other screen tests only look at a few points or at a reference picture.
#include "game/board.h"
#include "game/flow.h"
#include "game/fluid.h"
#include "game/render.h"
#include "tests/support/canvas.h"
#include "toolkit/desktop.h"
#include "toolkit/font.h"
#include "toolkit/surface.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <list>
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
        if (x == 12 && y == 5) {
            return 3;
        }
        return 0;
    });

    // An outline partly off the surface keeps its visible sides.
    surfaceFill(c.surface, 0);
    surfaceResetClip(c.surface);
    drawRectOutline(c, -2, -2, 3, 3, 7);
    drawRectOutline(c, 60, 28, 70, 40, 8);
    t.expectEach([](int32_t x, int32_t y) -> uint16_t {
        if ((y == 3 && in(x, 0, 3)) || (x == 3 && in(y, 0, 3))) {
            return 7;
        }
        return (y == 28 && x >= 60) || (x == 60 && y >= 28) ? 8 : 0;
    });

    // An empty clip (here from left >= right inside the surface) stops every
    // clipped primitive; the whole-surface fill ignores it.
    surfaceSetClip(c.surface, 30, 10, 30, 20);
    EXPECT_EQ(c.surface.clipLeft | c.surface.clipTop | c.surface.clipRight | c.surface.clipBottom,
              0);
    surfaceFill(c.surface, 0x2222);
    drawRectOutline(c, 0, 0, 63, 31, 1);
    drawDottedHLine(c, 0, 63, 0, 1);
    drawMovingDottedRect(c, 0, 0, 63, 31, 1);
    drawRaisedBevel(c, 0, 0, 63, 31);
    drawShadowedBevel(c, 5, 5, 40, 20);
    lightenV(c, 0, 0, 31);
    darkenHalfH(c, 0, 63, 1);
    drawIcon(c, 19, 0, 0);
    drawText(c, "Ab", 0, 0, 1, 0, nullptr);
    t.expectEach([](int32_t, int32_t) -> uint16_t { return 0x2222; });
}

TEST(Surface, FillsAndBlitsOfOddWidthsMatchAPixelByPixelCopy) {
    Surface dst{}, src{};
    ASSERT_EQ(surfaceInit(dst, 13, 5, nullptr), 1);
    for (int32_t w = 5; w <= 6; w++) {
        ASSERT_EQ(surfaceInit(src, w, 3, nullptr), 1);
        for (int32_t i = 0; i < w * 3; i++) {
            src.pixels[i] = uint16_t(0x100 + i);
        }
        for (int32_t x = -3; x <= 10; x++) {
            surfaceFill(dst, 0);
            surfaceBlit(src, dst, x, 1);
            for (int32_t y = 0; y < 5; y++) {
                for (int32_t i = 0; i < 13; i++) {
                    bool inside = in(i - x, 0, w - 1) && in(y, 1, 3);
                    uint16_t want = inside ? src.pixels[(y - 1) * w + i - x] : 0;
                    ASSERT_EQ(dst.pixels[y * 13 + i], want) << w << " " << x << " " << i;
                }
            }
        }
    }
    for (int32_t x0 = 0; x0 < 4; x0++) {
        for (int32_t x1 = x0; x1 < 13; x1++) {
            surfaceFill(dst, 0);
            surfaceFillRect(dst, x0, 1, x1, 3, 0xABCD);
            for (int32_t i = 0; i < 13 * 5; i++) {
                bool inside = in(i % 13, x0, x1) && in(i / 13, 1, 3);
                ASSERT_EQ(dst.pixels[i], inside ? 0xABCD : 0) << x0 << ".." << x1 << " " << i;
            }
        }
    }
    surfaceClearRecord(src);
    surfaceClearRecord(dst);
}

TEST(Dots, MovingRectangleSeedsEachOfItsEightLinesWithThePhase) {
    TestCanvas t(64, 32);
    drawMovingDottedRect(t.canvas, 20, 10, 5, 2, 0xFFFF); // sorted to 5, 2, 20, 10
    EXPECT_EQ(t.canvas.dashPhase, 1u);
    // Phase 1: dashes start three pixels into every line.
    t.expectEach([](int32_t x, int32_t y) -> uint16_t {
        bool row = (y == 2 || y == 3 || y == 9 || y == 10) && (in(x, 8, 11) || in(x, 16, 19));
        bool column = (x == 5 || x == 6 || x == 19 || x == 20) && in(y, 5, 8);
        return row || column ? 0xFFFF : 0;
    });
    surfaceFill(t.canvas.surface, 0);
    t.canvas.dashPhase = 0xFFFFFFFF; // wraps to 0: every line starts dark
    drawMovingDottedRect(t.canvas, 5, 2, 20, 10, 0x1234);
    EXPECT_EQ(t.canvas.dashPhase, 0u);
    t.expectEach([](int32_t x, int32_t y) -> uint16_t {
        bool row = (y == 2 || y == 3 || y == 9 || y == 10) && (in(x, 9, 12) || in(x, 17, 20));
        bool column = (x == 5 || x == 6 || x == 19 || x == 20) && in(y, 6, 9);
        return row || column ? 0x1234 : 0;
    });
}

TEST(Bevel, RaisedSunkenAndShadowedTouchExactlyTheirEdges) {
    constexpr uint16_t B = 0x8410, L = 0xC618, D = 0x4208, DD = 0x2104;
    TestCanvas t(64, 32, B);
    drawRaisedBevel(t.canvas, 10, 5, 20, 12);
    t.expectEach([](int32_t x, int32_t y) -> uint16_t {
        if ((y == 5 && in(x, 10, 20)) || (x == 10 && in(y, 6, 12))) {
            return L;
        }
        if ((y == 12 && in(x, 11, 19)) || (x == 20 && in(y, 6, 12))) {
            return D;
        }
        return B;
    });
    surfaceFill(t.canvas.surface, B);
    drawSunkenBevel(t.canvas, 10, 5, 20, 12);
    t.expectEach([](int32_t x, int32_t y) -> uint16_t {
        if ((y == 5 && in(x, 10, 20)) || (x == 10 && in(y, 6, 12))) {
            return D;
        }
        if ((y == 12 && in(x, 11, 19)) || (x == 20 && in(y, 6, 12))) {
            return L;
        }
        return B;
    });
    // The shadow's columns and rows cross on the diagonal, darkened twice.
    surfaceFill(t.canvas.surface, B);
    drawShadowedBevel(t.canvas, 10, 5, 20, 12);
    t.expectEach([](int32_t x, int32_t y) -> uint16_t {
        if ((y == 5 && in(x, 10, 19)) || (x == 10 && in(y, 6, 12))) {
            return L;
        }
        int darkened = (y == 4 && in(x, 9, 20)) + (x == 9 && in(y, 5, 12));
        for (int32_t i = 0; i < 4; i++) {
            darkened +=
                (x == 20 + i && in(y, 5 + i, 13 + i)) + (y == 13 + i && in(x, 10 + i, 20 + i));
        }
        return darkened == 2 ? DD : darkened == 1 ? D : B;
    });
    EXPECT_EQ(t.at(23, 16), DD);
    EXPECT_EQ(t.at(20, 5), D);
}

TEST(Icons, HighCodesWrapAndNegativePositionsShowTheMatchingPart) {
    TestCanvas whole(64, 32, 0x1111), cut(64, 32, 0x1111);
    drawIcon(whole.canvas, ICON_CLOSE, 0, 0);
    drawIcon(cut.canvas, ICON_CLOSE + 128, -5, -3);
    drawIcon(cut.canvas, 128, 30, 10); // 0
    drawIcon(cut.canvas, 155, 30, 10); // 27
    drawIcon(cut.canvas, 154, 30, 10); // 26, transparent
    cut.expectEach([&whole](int32_t x, int32_t y) -> uint16_t {
        return x < 11 && y < 12 ? whole.at(x + 5, y + 3) : 0x1111;
    });
}

TEST(Current, TooltipBoxIsKeptOnTheCanvasAndFilledOnePastItsSize) {
    setupBuiltinFonts();
    Window window{};
    canvasInit(window.canvas);
    ASSERT_EQ(canvasCreate(window.canvas, 100, 50), 1);
    desktop.current = &window;
    styleTable.colours[13] = 0x7BCF;
    styleTable.colours[31] = 0xFFFF;
    styleTable.tooltipFont = 1;
    TestCanvas ref(100, 50);
    auto expectLike = [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1, bool text) {
        surfaceFill(ref.canvas.surface, 0);
        drawFilledRect(ref.canvas, x0, y0, x1, y1, 0x7BCF);
        if (text) {
            drawText(ref.canvas, "Hi", x0 + 4, y0 + 2, 0xFFFF, 0, &builtinFonts[1]);
        }
        const Surface& s = window.canvas.surface;
        for (int32_t i = 0; i < 100 * 50; i++) {
            ASSERT_EQ(s.pixels[i], ref.canvas.surface.pixels[i]) << i % 100 << "," << i / 100;
        }
    };
    Rect r;
    setRect(r, 20, 10, 30, 16);
    surfaceFill(window.canvas.surface, 0);
    currentTooltipBox(r, "Hi", 5); // opening: no text yet
    expectLike(20, 10, 50, 15, false);
    surfaceFill(window.canvas.surface, 0);
    currentTooltipBox(r, "Hi", 16);
    expectLike(20, 10, 50, 26, true);

    setRect(r, -10, -5, 30, 16); // raised to x 4, y 0
    surfaceFill(window.canvas.surface, 0);
    currentTooltipBox(r, "Hi", 16);
    expectLike(4, 0, 34, 16, true);
    setRect(r, 90, 40, 30, 16); // pulled back to 70, 34
    surfaceFill(window.canvas.surface, 0);
    currentTooltipBox(r, "Hi", 40);
    expectLike(70, 34, 100, 50, true);
    setRect(r, 50, 0, 98, 10); // pulled back to 2, then raised to 4
    surfaceFill(window.canvas.surface, 0);
    currentTooltipBox(r, "Hi", 10);
    expectLike(4, 0, 102, 10, true);
    desktop.current = nullptr;
    canvasFree(window.canvas);
}

namespace {

// Four glyphs of height 1, widths 4, 5, 6 and 4; no '_', so 'A' stands in.
const uint16_t narrowGlyphs[] = {4, 0xF, 5, 0x1F, 6, 0x3F, 4, 0xF};

int32_t hit(const Font& f, const char* text, int32_t count, int32_t x, int32_t& index) {
    hitTest(f, text, count, x, index);
    return x;
}

} // namespace

TEST(HitTest, ProportionalEdgesSubstitutesAndStops) {
    Font f;
    fontInit(f, narrowGlyphs, 1, 'A', 'D');
    EXPECT_EQ(f.fixedWidth, 0);
    int32_t index = -1;
    const int32_t xs[] = {0, 1, 2, 4, 6, 7, 12, 15, 16};
    const int32_t snapped[] = {0, 0, 4, 4, 4, 9, 15, 15, 15};
    const int32_t indices[] = {0, 0, 1, 1, 1, 2, 3, 3, 3};
    for (int i = 0; i < 9; i++) {
        EXPECT_EQ(hit(f, "ABC", 3, xs[i], index), snapped[i]) << xs[i];
        EXPECT_EQ(index, indices[i]) << xs[i];
    }
    EXPECT_EQ(hit(f, "ABC", 2, 100, index), 9);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(hit(f, "ABC", 0, 3, index), 0);
    EXPECT_EQ(index, 0);
    // A code past lastChar is still walked, measured as the stand-in.
    EXPECT_EQ(hit(f, "AZB", 3, 100, index), 13);
    EXPECT_EQ(index, 3);
    // Control characters, like codes of 128 and more, end the walk.
    EXPECT_EQ(hit(f,
                  "A\x1F"
                  "B",
                  3, 100, index),
              4);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(textWidth(f, "ABZ", -1), 0);
    EXPECT_EQ(textWidth(f, "ABZ", 3), 13);
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
    // bottom edges, over them, and over the left and top ones.
    surfaceFill(t.canvas.surface, 0);
    surfaceSetClip(t.canvas.surface, 3, 3, 20, 20);
    EXPECT_EQ(drawChar(t.canvas, 'B', 15, 16, 1, f), 5);
    EXPECT_EQ(drawChar(t.canvas, 'B', 17, 10, 2, f), 5);
    EXPECT_EQ(drawChar(t.canvas, 'B', 8, 18, 3, f), 5);
    EXPECT_EQ(drawChar(t.canvas, 'B', 1, 1, 4, f), 5);
    EXPECT_EQ(drawChar(t.canvas, 'B', 20, 5, 5, f), 5); // wholly outside
    EXPECT_EQ(drawChar(t.canvas, 'B', 5, -4, 5, f), 5);
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

TEST(DrawText, CutPointsAroundTheRoomForTheDots) {
    const Font& bold = builtinFonts[0];
    TestCanvas a(128, 32), b(128, 32);
    struct Case {
        const char* text;
        int32_t maxWidth;
        const char* shown;
    };
    const Case cases[] = {
        {"ABCD", 30, "ABCD"}, // past maxWidth - dots, never past maxWidth
        {"ABCD", 28, "ABCD"}, // exactly maxWidth
        {"ABCD", 27, "A.."},  // the cut is the first index past 27 - 14
        {"ABCD", 20, "A.."},        {"AB", 15, "AB"}, {"AB", 13, "A.."},
        {"ABCDEFGH", 42, "ABCD.."}, {"", 10, ""},
    };
    for (const Case& c : cases) {
        surfaceFill(a.canvas.surface, 0);
        surfaceFill(b.canvas.surface, 0);
        int32_t width = drawText(a.canvas, c.text, 3, 4, 0xFFFF, c.maxWidth, nullptr);
        EXPECT_EQ(width, drawText(b.canvas, c.shown, 3, 4, 0xFFFF, 0, &bold)) << c.text;
        EXPECT_EQ(width, textWidth(bold, c.shown, 100)) << c.text;
        EXPECT_TRUE(std::equal(a.canvas.surface.pixels, a.canvas.surface.pixels + 128 * 32,
                               b.canvas.surface.pixels))
            << c.text << " " << c.maxWidth;
    }
}

namespace {

struct Rgba {
    uint8_t r, g, b, a;
};

class BoardDraw : public ::testing::Test {
  protected:
    Window window{};
    std::list<std::vector<uint8_t>> blocks;

    void SetUp() override {
        board = Board{};
        fineGrid = FineGrid{};
        levelFlow = LevelFlow{};
        clearSprites();
        Surface& s = window.canvas.surface;
        ASSERT_EQ(surfaceInit(s, 120, 120, nullptr), 1);
        surfaceFill(s, 0);
        initBoardView(&window);
    }
    void TearDown() override {
        clearSprites();
        boardView.window = nullptr;
        surfaceClearRecord(window.canvas.surface);
    }
    static void clearSprites() {
        for (auto& frames : tileSprites) {
            for (TileSprite& sprite : frames) {
                sprite = TileSprite{};
            }
        }
    }
    TileSprite plain(int w, int h, Rgba c) {
        std::vector<uint8_t>& bytes = blocks.emplace_back();
        for (int i = 0; i < w * h; i++) {
            bytes.insert(bytes.end(), {c.r, c.g, c.b, c.a});
        }
        return TileSprite{w, h, 1, bytes.data()};
    }
    uint16_t at(int x, int y) const { return window.canvas.surface.pixels[y * 120 + x]; }
};

} // namespace

TEST_F(BoardDraw, LightFollowsTheTableOutToTheLastLitRing) {
    Surface& s = window.canvas.surface;
    const uint8_t* table = boardView.lightTable;
    EXPECT_EQ(table[1], 250);
    EXPECT_EQ(table[4], 245);
    EXPECT_EQ(table[2304], 6);
    EXPECT_EQ(table[2381], 2);
    surfaceFill(s, 0);
    addLight(60, 60, 100);
    EXPECT_EQ(at(60, 60), 0x6306); // 99, 99, 49
    surfaceFill(s, 0);
    addLight(60, 60, 1000);
    EXPECT_EQ(at(108, 60), 0x10A1); // table 6: 23, 23, 11
    EXPECT_EQ(at(95, 94), 0x0020);  // table 2: 7, 7, 3; only green keeps some
    surfaceFill(s, 0x8410);
    addLight(60, 60, 1000);
    EXPECT_EQ(at(95, 94), 0x8430);
}

TEST_F(BoardDraw, ColumnsBeforeRowsAndEachLayerOverTheWholeBoard) {
    // Pictures larger than a tile overlap their neighbours, so the drawing
    // order shows: floors first everywhere, then objects column by column.
    board.width = 2;
    board.height = 2;
    tileSprites[EMPTY][0] = TileSprite{0, 0, 1, nullptr};
    tileSprites[PLAIN_FLOOR][0] = plain(40, 40, {0, 0, 248, 255});
    tileSprites[BOX][0] = plain(40, 40, {248, 0, 0, 255});
    tileSprites[KEY][0] = plain(40, 40, {0, 252, 0, 255});
    tileSprites[BALL][0] = plain(40, 40, {248, 252, 248, 255});
    for (int x = 0; x < 2; x++) {
        for (int y = 0; y < 2; y++) {
            layerAt(x, y, LAYER_FLOOR) = PLAIN_FLOOR;
        }
    }
    layerAt(0, 0, LAYER_OBJECT) = BOX;
    layerAt(0, 1, LAYER_OBJECT) = KEY;
    layerAt(1, 0, LAYER_OBJECT) = BALL;
    drawBoard();
    EXPECT_EQ(at(36, 36), 0xFFFF); // (1, 0) is drawn after (0, 1)
    EXPECT_EQ(at(36, 20), 0xFFFF);
    EXPECT_EQ(at(20, 36), 0x07E0); // (0, 1) after (0, 0)
    EXPECT_EQ(at(5, 5), 0xF800);
    EXPECT_EQ(at(70, 50), 0x001F); // floor (1, 1) after (1, 0)'s floor
    EXPECT_EQ(at(72, 72), 0x001F);
    EXPECT_EQ(at(73, 73), 0x0000);
}
