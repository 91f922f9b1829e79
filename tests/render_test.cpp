// Board drawing where the identity check's pictures cannot look: the pixel
// arithmetic at the canvas's edges and clip, and damaged records. Every
// shipped level's pictures, with every light, running water, flicker and
// the effort mark, are watched by the identity check.
#include "game/board.h"
#include "game/flow.h"
#include "game/fluid.h"
#include "game/gamedata.h"
#include "game/render.h"
#include "game/sprite.h"
#include "tests/support/ints.h"
#include "toolkit/window.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <list>
#include <random>
#include <vector>

namespace {

class Render : public ::testing::Test {
  protected:
    Window window{};
    std::list<std::vector<uint8_t>> pictures; // pixel blocks the sprites point into

    void SetUp() override {
        board = Board{};
        fineGrid = FineGrid{};
        levelFlow = LevelFlow{};
        std::memset(tileSprites, 0, sizeof tileSprites);
        ASSERT_EQ(surfaceInit(window.canvas.surface, 200, 200, nullptr), 1);
        initBoardView(&window);
    }
    void TearDown() override {
        std::memset(tileSprites, 0, sizeof tileSprites);
        boardView.window = nullptr;
    }
    void fill(uint16_t colour) { surfaceFill(window.canvas.surface, colour); }
    uint16_t at(int x, int y) const { return window.canvas.surface.pixels[y * 200 + x]; }
    // A picture of one RGBA colour.
    TileSprite plain(int w, int h, std::array<uint8_t, 4> c, int32_t flags = 1) {
        std::vector<uint8_t>& bytes = pictures.emplace_back();
        for (int i = 0; i < w * h; i++) {
            bytes.insert(bytes.end(), c.begin(), c.end());
        }
        return TileSprite{w, h, flags, bytes.data()};
    }
    // An empty object that leaves no hole, a floor that covers its tile and
    // the masks that shade it beside walls.
    void floorSprites() {
        tileSprites[EMPTY][0] = TileSprite{0, 0, 1, nullptr};
        tileSprites[PLAIN_FLOOR][0] = plain(33, 33, {133, 70, 0, 255});
        for (int shade = 1; shade <= 4; ++shade) {
            tileSprites[PLAIN_FLOOR][shade] = plain(33, 33, {0, 0, 200, 255});
        }
    }
    static void place(int width, int height) {
        board.width = width;
        board.height = height;
        boardView.originX = boardView.originY = 0;
        boardView.pixelWidth = TILE_SIZE * width;
        boardView.pixelHeight = TILE_SIZE * height;
    }
};

} // namespace

TEST_F(Render, BlendsShadesAndLightsAreExact) {
    fill(0xFFFF);
    blendSprite(10, 10, plain(1, 1, {200, 100, 50, 0}));
    blendSprite(11, 10, plain(1, 1, {200, 100, 50, 255}));
    blendSprite(12, 10, plain(1, 1, {200, 100, 50, 128})); // white read as 248, 252, 248
    shadeSprite(13, 10, plain(1, 1, {200, 100, 50, 0}), plain(1, 1, {0, 0, 128, 0}));
    darkenByMask(14, 10, plain(1, 1, {0, 0, 128, 0}));
    darkenByMask(15, 10, plain(1, 1, {0, 0, 255, 0}));
    EXPECT_EQ(ints(at(10, 10), at(11, 10), at(12, 10), at(13, 10), at(14, 10), at(15, 10)),
              ints(0xFFFF, 0xCB26, 0xDD72, 0x6183, 0x7BEF, 0xFFFF));
    // The light's table: 255 in the middle, falling to 1 at the last stored
    // distance; the glow reaches 48 pixels and is capped at 248, 252, 248.
    const uint8_t* table = boardView.lightTable;
    EXPECT_EQ(ints(table[0], table[1], table[4], table[49], table[1200], table[2304], table[2400]),
              ints(255, 250, 245, 219, 75, 6, 1));
    fill(0);
    addLight(100, 100, 85);
    EXPECT_EQ(at(100, 100), 0x52A5); // blue gains half: 80, 84, 40
    fill(0);
    addLight(100, 100, 1000);
    EXPECT_EQ(
        ints(at(100, 100), at(148, 100), at(135, 134), at(149, 100), at(100, 51), at(135, 135)),
        ints(0xFFFF, 0x10A1, 0x0020, 0, 0, 0));
    // Pictures and lights near the edge and the clip: only what lies inside
    // is drawn, read from the matching part of the picture.
    std::vector<uint8_t>& ramp = pictures.emplace_back();
    for (int i = 0; i < 12; i++) {
        ramp.insert(ramp.end(), {uint8_t(8 * (i % 4)), uint8_t(4 * (i / 4)), 0, 255});
    }
    fill(0);
    blendSprite(-2, -1, TileSprite{4, 3, 1, ramp.data()});
    blendSprite(198, 198, TileSprite{4, 3, 1, ramp.data()});
    EXPECT_EQ(ints(at(0, 0), at(1, 1), at(2, 0), at(199, 199)), ints(0x1020, 0x1840, 0, 0x0820));
    fill(0);
    surfaceSetClip(window.canvas.surface, 0, 0, 10, 200);
    addLight(25, 5, 25);
    addLight(-60, 5, 25);
    EXPECT_EQ(ints(at(9, 5) != 0, at(10, 5)), ints(1, 0));
}

TEST_F(Render, NegativeOriginsAndDamagedRecordsStayInBounds) {
    floorSprites();
    tileSprites[WATER_SHAPES][1] = plain(11, 11, {8, 8, 8, 128});
    tileSprites[BOX][0] = plain(40, 7, {1, 2, 3, 200}); // not a tile's size
    tileSprites[FIRE][2] = plain(1, 60, {1, 2, 3, 255});
    // Any bytes at all in the board, the states and the water shapes, any
    // placement and any clip: the drawing stays inside its memory (the
    // sanitizer build watches every access).
    std::mt19937 random(12345);
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    Surface& s = window.canvas.surface;
    for (int round = 0; round < 300; ++round) {
        for (int i = 0; i < CELL_COUNT; ++i) {
            for (int layer = 0; layer < 3; ++layer) {
                board.cells[i][layer] = static_cast<int8_t>(pick(-128, 127) % 64);
                board.states[i][layer].frame = static_cast<int8_t>(pick(-2, 9));
            }
        }
        for (auto& row : fineGrid.shapes) {
            for (uint8_t& shape : row) {
                shape = static_cast<uint8_t>(pick(0, 9));
            }
        }
        fineGrid.limitX = pick(-5, FINE_COLUMNS);
        fineGrid.limitY = pick(-5, FINE_ROWS);
        place(pick(0, BOARD_COLUMNS), pick(0, BOARD_ROWS));
        boardView.originX = pick(-700, 200);
        boardView.originY = pick(-500, 150);
        boardView.effortOverlay = pick(-1, 2);
        s.clipLeft = pick(0, 200);
        s.clipRight = pick(s.clipLeft, 200);
        s.clipTop = pick(0, 200);
        s.clipBottom = pick(s.clipTop, 200);
        drawBoard();
        drawBoardShadows();
    }
    // A mask smaller than its sprite would be read past its end: not drawn.
    surfaceResetClip(s);
    fill(0);
    shadeSprite(0, 0, plain(10, 10, {248, 252, 248, 255}), plain(5, 5, {0, 0, 255, 255}));
    blendSprite(0, 0, TileSprite{10, 10, 1, nullptr});
    EXPECT_EQ(at(0, 0), 0);
    blendSprite(0, 0, plain(1, 1, {248, 252, 248, 255}, 0)); // the flag word plays no part
    EXPECT_EQ(at(0, 0), 0xFFFF);
    // A shape a wider level left beyond the fine grid's limit is not drawn.
    board = Board{};
    place(2, 1);
    fineGrid = FineGrid{};
    fineGrid.limitX = fineGrid.limitY = 3;
    fineGrid.shapes[0][3] = 2;
    fill(0);
    drawBoard();
    EXPECT_EQ(at(35, 5), 0);
    boardView.window = nullptr;
    drawBoard();
    drawBoardShadows();
    addLight(0, 0, 10);
}

// Each row is kept from its first pixel that is not clear to its last: as
// 5-6-5 colours when that span is opaque, else as weights, and not at all
// when the row is clear.
TEST(PreparedSprite, KeepsEachRowsSpanAsColoursWhenOpaqueElseAsWeights) {
    const uint8_t rgba[] = {0, 0, 0, 0, 9, 9, 9, 255, 9, 9, 9, 128, 0, 0, 0, 0,
                            0, 0, 0, 0, 9, 9, 9, 255, 9, 9, 9, 255, 0, 0, 0, 0,
                            0, 0, 0, 0, 0, 0, 0, 0,   0, 0, 0, 0,   0, 0, 0, 0};
    PreparedSprite prepared;
    prepareSprite(rgba, 4, 3, prepared);
    const std::vector<SpriteRow>& rows = prepared.rows;
    EXPECT_EQ(ints(rows[0].first, rows[0].end, rows[0].opaque, rows[1].first, rows[1].end,
                   rows[1].opaque, rows[2].first, rows[2].end),
              ints(1, 3, 0, 1, 3, 1, 4, 4));
    EXPECT_EQ(ints(prepared.colours.size(), prepared.keep.size()), ints(4, 4));
}

// A step trusts what the drawing before it left: where its lights fell and
// which tiles only lights draw on. Once the board has moved, changed its size
// or gone to another canvas none of that holds, and the step paints like a
// fresh drawing; a box set down at the board's edge casts its shadow beyond
// it. The board's tiles take turns, as on a chessboard: a floor picture, and
// a floor without one, which only the torch's light draws on.
TEST_F(Render, AStepAfterTheBoardMovedOrChangedPaintsLikeAFreshDrawing) {
    floorSprites();
    // The floor's first pixel is clear, so that it covers no tile, whatever
    // opaque pixel follows the picture in memory.
    std::vector<uint8_t>& floor = pictures.emplace_back();
    for (int i = 0; i <= 33 * 33; i++) {
        floor.insert(floor.end(), {133, 70, 0, uint8_t(i == 0 ? 0 : 255)});
    }
    tileSprites[PLAIN_FLOOR][0] = TileSprite{33, 33, 1, floor.data()};
    const uint16_t background = 0x02EF;
    Window other{};
    ASSERT_EQ(surfaceInit(other.canvas.surface, 200, 200, nullptr), 1);
    // The board moved by (dx, dy), made narrower or shorter by (dw, dh), on
    // another canvas, or with a box set down in its last column (1) or row (2).
    const int changes[][6] = {{-33, 0, 0, 0, 0, 0}, {0, 33, 0, 0, 0, 0}, {0, 0, -1, 0, 0, 0},
                              {0, 0, 0, -1, 0, 0},  {0, 0, 0, 0, 1, 0},  {0, 0, 0, 0, 0, 1},
                              {0, 0, 0, 0, 0, 2}};
    for (const auto& [dx, dy, dw, dh, otherCanvas, edgeBox] : changes) {
        SCOPED_TRACE(testing::Message() << dx << " " << dy << " " << dw << " " << dh << " "
                                        << otherCanvas << " " << edgeBox);
        boardView.window = &window;
        place(4, 3);
        for (int i = 0; i < 12; ++i) {
            board.cells[cellIndex(i % 4, i / 4)][LAYER_FLOOR] =
                (i % 4 + i / 4) % 2 ? SLICK_FLOOR : PLAIN_FLOOR;
        }
        board.cells[cellIndex(0, 0)][LAYER_OBJECT] = TORCH_LIT;
        boardView.originX = 50;
        boardView.originY = 60;
        fill(background);
        drawBoard();
        drawBoardShadows();
        drawBoardStep(background);
        boardView.originX += dx;
        boardView.originY += dy;
        board.width += dw;
        board.height += dh;
        if (edgeBox != 0) {
            board.cells[edgeBox == 1 ? cellIndex(3, 1) : cellIndex(2, 2)][LAYER_OBJECT] = BOX;
        }
        if (otherCanvas != 0) {
            surfaceFill(other.canvas.surface, 0xF800);
            boardView.window = &other;
        }
        // What a drawing of the board may change: the board and the reach
        // of its lights around it, within the canvas.
        Surface& shown = boardView.window->canvas.surface;
        const auto paintArea = [&] {
            std::vector<uint16_t> part;
            for (int32_t y = std::max(boardView.originY - LIGHT_REACH, 0);
                 y < std::min(boardView.originY + TILE_SIZE * board.height + LIGHT_REACH, 200);
                 ++y) {
                for (int32_t x = std::max(boardView.originX - LIGHT_REACH, 0);
                     x < std::min(boardView.originX + TILE_SIZE * board.width + LIGHT_REACH, 200);
                     ++x) {
                    part.push_back(shown.pixels[y * 200 + x]);
                }
            }
            return part;
        };
        drawBoardStep(background);
        const std::vector<uint16_t> stepped = paintArea();
        surfaceFill(shown, background);
        drawBoard();
        drawBoardShadows();
        EXPECT_TRUE(paintArea() == stepped);
    }
}

// Each picture's facts are its own: after a clear ball, a half-clear box on a
// bare floor still gets its tile painted before each step, so that the box
// never blends over its own last drawing.
TEST_F(Render, AStepRepaintsUnderAHalfClearPictureAfterAClearOne) {
    tileSprites[BALL][0] = plain(33, 33, {0, 0, 0, 0});
    tileSprites[BOX][0] = plain(33, 33, {200, 100, 50, 128});
    place(2, 1);
    board.cells[cellIndex(0, 0)][LAYER_OBJECT] = BALL;
    board.cells[cellIndex(1, 0)][LAYER_OBJECT] = BOX;
    fill(0);
    drawBoard();
    drawBoardStep(0);
    drawBoardStep(0);
    EXPECT_EQ(ints(at(0, 0), at(TILE_SIZE + 16, 16)), ints(0, 0x6183));
}
