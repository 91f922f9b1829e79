// Board drawing, checked pixel by pixel with small hand-made pictures.
#include "game/board.h"
#include "game/flow.h"
#include "game/fluid.h"
#include "game/render.h"
#include "tests/support/datafile.h"
#include "toolkit/window.h"
#include "tools/png.h"
#include "tools/render.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <list>
#include <random>
#include <sstream>
#include <vector>

namespace {

struct Rgba {
    uint8_t r, g, b, a;
};

constexpr uint16_t WHITE = 0xFFFF;

// 5-6-5 values of the light on black at its centre, worked out by hand from
// the light table's 255 and the channel caps.
constexpr uint16_t LIGHT_20 = 0x1081;
constexpr uint16_t LIGHT_24 = 0x10A1;
constexpr uint16_t LIGHT_28 = 0x18C1;
constexpr uint16_t LIGHT_32 = 0x18E1;
constexpr uint16_t LIGHT_25 = 0x18C1;
constexpr uint16_t LIGHT_31 = 0x18E1;
constexpr uint16_t LIGHT_37 = 0x2122;
constexpr uint16_t LIGHT_85 = 0x52A5;
constexpr uint16_t LIGHT_70 = 0x4224;
constexpr uint16_t LIGHT_55 = 0x31A3;
constexpr uint16_t LIGHT_40 = 0x2122;
constexpr uint16_t LIGHT_45 = 0x2962;

// The masks of the tests darken shade k to m = 250 - 50k; white under them.
uint16_t shaded(int shade) {
    if (shade == 0) {
        return WHITE;
    }
    int m = 250 - 50 * shade;
    return static_cast<uint16_t>((((248 * m) >> 8) & 248) << 8 | (((252 * m) >> 8) & 252) << 3 |
                                 ((248 * m) >> 8) >> 3);
}

class RenderFixture : public ::testing::Test {
  protected:
    Window window{};
    std::list<std::vector<uint8_t>> pictures; // pixel blocks the sprites point into

    void SetUp() override {
        board = Board{};
        fineGrid = FineGrid{};
        levelFlow = LevelFlow{};
        clearSprites();
        makeSurface(200, 200, 0);
        initBoardView(&window);
    }

    void TearDown() override {
        clearSprites();
        boardView.window = nullptr;
    }

    static void clearSprites() {
        for (auto& frames : tileSprites) {
            for (TileSprite& sprite : frames) {
                sprite = TileSprite{};
            }
        }
    }

    void makeSurface(int w, int h, uint16_t colour) {
        Surface& s = window.canvas.surface;
        s.ownPixels.assign(size_t(w) * h, colour);
        s.width = w;
        s.height = h;
        s.pixels = s.ownPixels.data();
        s.clipLeft = 0;
        s.clipTop = 0;
        s.clipRight = w;
        s.clipBottom = h;
    }

    void fill(uint16_t colour) {
        Surface& s = window.canvas.surface;
        std::fill(s.ownPixels.begin(), s.ownPixels.end(), colour);
    }

    uint16_t at(int x, int y) const {
        const Surface& s = window.canvas.surface;
        return s.pixels[y * s.width + x];
    }

    TileSprite picture(int w, int h, const std::function<Rgba(int, int)>& colourAt,
                       int32_t flags = 1) {
        std::vector<uint8_t>& bytes = pictures.emplace_back(size_t(w) * h * 4);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                Rgba c = colourAt(x, y);
                uint8_t* p = &bytes[(size_t(y) * w + x) * 4];
                p[0] = c.r;
                p[1] = c.g;
                p[2] = c.b;
                p[3] = c.a;
            }
        }
        return TileSprite{w, h, flags, bytes.data()};
    }

    TileSprite plain(int w, int h, Rgba colour, int32_t flags = 1) {
        return picture(
            w, h, [colour](int, int) { return colour; }, flags);
    }

    // A shading mask whose every pixel has brightness m.
    TileSprite mask(int m) { return plain(33, 33, {0, 0, static_cast<uint8_t>(m), 255}); }

    static void setSprite(int code, int frame, const TileSprite& sprite) {
        tileSprites[code][frame] = sprite;
    }

    static void setCell(int x, int y, int floor, int object, int top) {
        int8_t* cell = board.cells[cellIndex(x, y)];
        cell[LAYER_FLOOR] = static_cast<int8_t>(floor);
        cell[LAYER_OBJECT] = static_cast<int8_t>(object);
        cell[LAYER_TOP] = static_cast<int8_t>(top);
    }

    static void setFrame(int x, int y, int layer, int frame) {
        board.states[cellIndex(x, y)][layer].frame = static_cast<int8_t>(frame);
    }

    static void placeBoard(int width, int height, int originX, int originY) {
        board.width = width;
        board.height = height;
        boardView.originX = originX;
        boardView.originY = originY;
        boardView.pixelWidth = TILE_SIZE * width;
        boardView.pixelHeight = TILE_SIZE * height;
    }
};

using Blend = RenderFixture;
using Shade = RenderFixture;
using Light = RenderFixture;
using BoardFloor = RenderFixture;
using BoardLayers = RenderFixture;
using BoardLights = RenderFixture;
using BoardShadows = RenderFixture;
using BadPictures = RenderFixture;

TEST_F(Blend, AlphaZeroLeavesFullWritesAndBetweenMixes) {
    fill(WHITE);
    blendSprite(10, 10, plain(1, 1, {200, 100, 50, 0}));
    EXPECT_EQ(at(10, 10), WHITE);
    blendSprite(10, 10, plain(1, 1, {200, 100, 50, 255}));
    EXPECT_EQ(at(10, 10), 0xCB26); // 200 & 248, 100 & 252, 50 >> 3
    blendSprite(11, 10, plain(1, 1, {200, 100, 50, 128}));
    EXPECT_EQ(at(11, 10), 0xDD72); // white read as 248, 252, 248
    fill(0);
    blendSprite(12, 10, plain(1, 1, {200, 100, 50, 128}));
    EXPECT_EQ(at(12, 10), 0x6183); // (sprite8 * 128) >> 8 per channel
}

TEST_F(Blend, ClipsToTheSurfaceAndReadsTheMatchingPart) {
    makeSurface(8, 6, 0);
    auto ramp = [](int x, int y) {
        return Rgba{static_cast<uint8_t>(8 * x), static_cast<uint8_t>(4 * y), 0, 255};
    };
    TileSprite sprite = picture(4, 3, ramp);
    blendSprite(-2, -1, sprite);
    EXPECT_EQ(at(0, 0), ((16 & 248) << 8) | (4 << 3)); // picture pixel (2, 1)
    EXPECT_EQ(at(1, 1), ((24 & 248) << 8) | (8 << 3)); // picture pixel (3, 2)
    EXPECT_EQ(at(2, 0), 0);
    EXPECT_EQ(at(0, 2), 0);

    blendSprite(6, 4, sprite); // only its top-left 2 x 2 lands
    EXPECT_EQ(at(6, 4), 0);
    EXPECT_EQ(at(7, 5), ((8 & 248) << 8) | (4 << 3));

    fill(0);
    Surface& s = window.canvas.surface;
    s.clipLeft = 3;
    s.clipTop = 2;
    s.clipRight = 5;
    s.clipBottom = 4;
    blendSprite(2, 1, sprite);
    EXPECT_EQ(at(2, 1), 0);
    EXPECT_EQ(at(3, 2), ((8 & 248) << 8) | (4 << 3));
    EXPECT_EQ(at(4, 3), ((16 & 248) << 8) | (8 << 3));
    EXPECT_EQ(at(5, 3), 0);
    blendSprite(-100, -100, sprite);
    blendSprite(5, 4, sprite);
    EXPECT_EQ(at(5, 4), 0);
}

TEST_F(Shade, MaskBrightnessDarkensAndAlphaIsIgnored) {
    fill(WHITE);
    TileSprite floor = picture(2, 1, [](int, int) { return Rgba{200, 100, 50, 0}; });
    TileSprite m = picture(2, 1, [](int x, int) {
        return Rgba{0, 0, static_cast<uint8_t>(x == 0 ? 255 : 128), 0};
    });
    shadeSprite(0, 0, floor, m);
    EXPECT_EQ(at(0, 0), 0xCB26); // copied although its alpha is 0
    EXPECT_EQ(at(1, 0), 0x6183); // (200, 100, 50) * 128 >> 8

    fill(WHITE);
    darkenByMask(0, 0, m);
    EXPECT_EQ(at(0, 0), WHITE);
    // 248 * 128 >> 8 = 124 -> 120; 252 -> 126 -> 124; 248 -> 124 -> 15
    EXPECT_EQ(at(1, 0), (120 << 8) | (124 << 3) | 15);
    darkenByMask(1, 0, plain(1, 1, {0, 0, 0, 0}));
    EXPECT_EQ(at(1, 0), 0);
}

TEST_F(Light, FadesWithTheTableAndStopsBeyond48Pixels) {
    EXPECT_EQ(boardView.lightTable[0], 255);
    EXPECT_EQ(boardView.lightTable[2400], 1);
    addLight(100, 100, 25);
    EXPECT_EQ(at(100, 100), LIGHT_25);
    fill(0);
    addLight(100, 100, 85);
    EXPECT_EQ(at(100, 100), LIGHT_85); // blue gains half: 80, 84, 40

    fill(0);
    addLight(100, 100, 1000);
    EXPECT_NE(at(148, 100), 0); // 48 pixels: table value 6
    EXPECT_NE(at(100, 52), 0);
    EXPECT_NE(at(134, 134), 0); // 2312 < 2401
    EXPECT_EQ(at(149, 100), 0); // 2401 is outside
    EXPECT_EQ(at(100, 51), 0);
    EXPECT_EQ(at(135, 135), 0);      // 2450
    EXPECT_EQ(at(100, 100), 0xFFFF); // capped at 248, 252, 248

    fill(WHITE);
    addLight(100, 100, 85);
    EXPECT_EQ(at(100, 100), WHITE);
}

TEST_F(Light, NearTheEdgeIsClippedToTheSurfaceAndItsClip) {
    makeSurface(20, 10, 0);
    addLight(2, 1, 25);
    EXPECT_EQ(at(2, 1), LIGHT_25);
    EXPECT_NE(at(19, 9), 0);
    fill(0);
    Surface& s = window.canvas.surface;
    s.clipRight = 10;
    addLight(25, 5, 25); // centre outside the clip, glow reaches into it
    EXPECT_NE(at(9, 5), 0);
    EXPECT_EQ(at(10, 5), 0);
    addLight(-60, 5, 25);
    addLight(5, 70, 25);
}

TEST_F(BoardFloor, ShadesFollowTheWallsAboveAndLeft) {
    setSprite(PLAIN_FLOOR, 0, plain(33, 33, {248, 252, 248, 255}));
    for (int shade = 1; shade <= 4; ++shade) {
        setSprite(PLAIN_FLOOR, shade, mask(250 - 50 * shade));
    }
    setSprite(RUBBLE_FLOOR, 0, plain(33, 33, {80, 80, 80, 255}));
    setSprite(EMPTY, 0, TileSprite{0, 0, 1, nullptr}); // has a picture, none to draw
    // SOLID_BLOCK has no frame-0 flag word: a hole that casts.
    placeBoard(4, 3, 0, 0);
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 3; ++y) {
            setCell(x, y, PLAIN_FLOOR, EMPTY, EMPTY);
        }
    }
    setCell(0, 0, PLAIN_FLOOR, SOLID_BLOCK, EMPTY);
    setCell(2, 1, PLAIN_FLOOR, SOLID_BLOCK, EMPTY);
    setCell(1, 2, PLAIN_FLOOR, EMPTY, BREAKABLE_WALL);
    setCell(3, 1, RUBBLE_FLOOR, EMPTY, EMPTY);
    fill(0x1234);
    drawBoard();

    const uint16_t hole = 0x1234;
    const uint16_t rubble = (80 << 8) | (80 << 3) | 10;
    const uint16_t expected[3][4] = {
        {hole, shaded(2), shaded(0), shaded(0)},
        {shaded(1), shaded(4), hole, rubble}, // rubble ignores the wall to its left
        {shaded(0), shaded(0), shaded(3), shaded(4)},
    };
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(at(33 * x + 16, 33 * y + 16), expected[y][x]) << x << "," << y;
        }
    }
}

TEST_F(BoardLayers, TopOverObjectOverFloorAndTheSpoutStaysUnseen) {
    const Rgba floorColour{0, 0, 248, 255};
    setSprite(EMPTY, 0, TileSprite{0, 0, 1, nullptr});
    setSprite(PLAIN_FLOOR, 0, plain(33, 33, floorColour));
    setSprite(BOX, 0, picture(33, 33, [](int x, int) {
                  return Rgba{248, 0, 0, static_cast<uint8_t>(x < 20 ? 255 : 0)};
              }));
    setSprite(EXIT, 0, picture(33, 33, [](int x, int) {
                  return Rgba{0, 252, 0, static_cast<uint8_t>(x < 10 ? 255 : 0)};
              }));
    setSprite(SPOUT, 0, plain(33, 33, {248, 252, 248, 255}));
    setSprite(KEY, 0, plain(33, 33, {248, 252, 248, 255}));
    setSprite(KEY, 3, plain(33, 33, {248, 252, 248, 255})); // beyond the key's one frame
    setSprite(WATER_SHAPES, 1, plain(11, 11, {8, 8, 8, 255}));
    placeBoard(3, 2, 0, 0);
    setCell(0, 0, PLAIN_FLOOR, BOX, EXIT);
    setCell(1, 0, PLAIN_FLOOR, EMPTY, SPOUT);
    setCell(2, 0, PLAIN_FLOOR, KEY, EMPTY);
    setFrame(2, 0, LAYER_OBJECT, 3);
    setCell(0, 1, PLAIN_FLOOR, EMPTY, EMPTY);
    setCell(1, 1, PLAIN_FLOOR, EMPTY, EMPTY);
    setCell(2, 1, PLAIN_FLOOR, EMPTY, EMPTY);
    // Water over the box and top layer; the last tile column and row are
    // the frame and never drawn.
    fineGrid.limitX = 6;
    fineGrid.limitY = 3;
    fineGrid.shapes[0][0] = 2;
    fineGrid.shapes[2][6] = 2;
    fineGrid.shapes[3][1] = 2;
    drawBoard();

    const uint16_t floor = 0x001F;
    EXPECT_EQ(at(5, 5), 0x0841);   // water over exit over box
    EXPECT_EQ(at(5, 15), 0x07E0);  // exit over box
    EXPECT_EQ(at(15, 15), 0xF800); // box over floor
    EXPECT_EQ(at(25, 15), floor);  // the box's transparent part
    EXPECT_EQ(at(49, 16), floor);  // the spout draws nothing
    EXPECT_EQ(at(82, 16), floor);  // frame 3 of a one-frame key draws nothing
    EXPECT_EQ(at(70, 25), floor);  // water in the frame column is not drawn
    EXPECT_EQ(at(15, 38), floor);  // nor in the frame row
}

TEST_F(BoardLayers, EffortMarkShowsUnderThePlayerForOneDraw) {
    setSprite(EMPTY, 0, TileSprite{0, 0, 1, nullptr});
    setSprite(PLAYER_RIGHT, 1, picture(33, 33, [](int x, int) {
                  return Rgba{248, 0, 0, static_cast<uint8_t>(x < 10 ? 255 : 0)};
              }));
    setSprite(EFFORT_MARK, 0, plain(33, 33, {0, 0, 248, 255}));
    placeBoard(1, 1, 0, 0);
    setCell(0, 0, EMPTY, PLAYER_RIGHT, EMPTY);
    setFrame(0, 0, LAYER_OBJECT, 1);
    boardView.effortOverlay = 1;
    drawBoard();
    EXPECT_EQ(at(5, 5), 0xF800);
    EXPECT_EQ(at(20, 5), 0x001F);
    EXPECT_EQ(boardView.effortOverlay, 0);
    fill(0);
    drawBoard();
    EXPECT_EQ(at(5, 5), 0xF800);
    EXPECT_EQ(at(20, 5), 0);
    EXPECT_EQ(boardView.effortOverlay, 0);
}

TEST_F(BoardLights, FireFlickersWithTheSeed) {
    placeBoard(3, 3, 0, 0);
    setCell(1, 1, EMPTY, EMPTY, FIRE);
    auto fireAfterDraw = [this]() {
        fill(0);
        drawBoard();
        return at(33 + 16, 33 + 16);
    };
    // From seed 0 the seed's low bits alternate 3, 0; from 1 they alternate 2, 1.
    EXPECT_EQ(fireAfterDraw(), LIGHT_32);
    EXPECT_EQ(levelFlow.flickerSeed, 293375u);
    EXPECT_EQ(fireAfterDraw(), LIGHT_20);
    EXPECT_EQ(levelFlow.flickerSeed, 688844500u);
    EXPECT_EQ(fireAfterDraw(), LIGHT_32);
    levelFlow.flickerSeed = 1;
    EXPECT_EQ(fireAfterDraw(), LIGHT_28);
    EXPECT_EQ(fireAfterDraw(), LIGHT_24);
    EXPECT_EQ(fireAfterDraw(), LIGHT_28);
}

TEST_F(BoardLights, TorchExplosionAndFlameFollowTheirFrames) {
    placeBoard(3, 3, 0, 0);
    setCell(1, 1, EMPTY, TORCH_LIT, EMPTY);
    const uint16_t torch[] = {LIGHT_25, LIGHT_31, LIGHT_37};
    for (int frame = 0; frame < 3; ++frame) {
        fill(0);
        setFrame(1, 1, LAYER_OBJECT, frame);
        drawBoard();
        EXPECT_EQ(at(33 + 8, 33 + 8), torch[frame]) << frame;
    }
    setCell(1, 1, EMPTY, EXPLOSION, EMPTY);
    const uint16_t explosion[] = {LIGHT_85, LIGHT_70, LIGHT_55, LIGHT_40, LIGHT_25};
    for (int frame = 0; frame < 5; ++frame) {
        fill(0);
        setFrame(1, 1, LAYER_OBJECT, frame);
        drawBoard();
        EXPECT_EQ(at(33 + 16, 33 + 16), explosion[frame]) << frame;
    }
    setCell(1, 1, EMPTY, EMPTY, FLAME_LOW);
    setFrame(1, 1, LAYER_TOP, 1);
    fill(0);
    drawBoard();
    EXPECT_EQ(at(33 + 16, 33), LIGHT_45);

    // Only the first matching source of a cell shines: the torch, not the fire.
    setCell(1, 1, EMPTY, TORCH_LIT, FIRE);
    setFrame(1, 1, LAYER_OBJECT, 0);
    fill(0);
    drawBoard();
    EXPECT_EQ(at(33 + 8, 33 + 8), LIGHT_25);
    // Lights go under the objects.
    setSprite(TORCH_LIT, 0, plain(33, 33, {0, 0, 0, 255}));
    fill(0);
    drawBoard();
    EXPECT_EQ(at(33 + 8, 33 + 8), 0);
    EXPECT_NE(at(33 + 8, 33 + 8 - 33), 0); // the glow spills onto the tile above
}

TEST_F(BoardShadows, WallsShadeTheEmptyCellsAroundThemAndTheExtraRowAndColumn) {
    for (int shade = 1; shade <= 4; ++shade) {
        setSprite(PLAIN_FLOOR, shade, mask(250 - 50 * shade));
    }
    makeSurface(6 * 33, 5 * 33, WHITE);
    placeBoard(3, 2, 33, 33);
    setCell(0, 0, EMPTY, SOLID_BLOCK, EMPTY);
    setCell(1, 0, PLAIN_FLOOR, EMPTY, EMPTY);
    setCell(2, 0, EMPTY, SOLID_BLOCK, EMPTY);
    setCell(1, 1, EMPTY, SOLID_BLOCK, EMPTY);
    drawBoardShadows();

    // Board cells x 0..2, y 0..1, plus column 3 and row 2.
    const int expected[3][4] = {
        {0, 0, 0, 2},
        {1, 0, 3, 4},
        {0, 1, 4, 0},
    };
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(at(33 + 33 * x + 16, 33 + 33 * y + 16), shaded(expected[y][x]))
                << x << "," << y;
        }
    }
    EXPECT_EQ(at(16, 16), WHITE); // nothing left of or above the board
    EXPECT_EQ(at(5 * 33 + 16, 4 * 33 + 16), WHITE);
}

TEST_F(BadPictures, NegativeOriginsAndDamagedRecordsStayInBounds) {
    auto ramp = [](int x, int y) {
        return Rgba{static_cast<uint8_t>(7 * x), static_cast<uint8_t>(7 * y), 0, 255};
    };
    setSprite(EMPTY, 0, TileSprite{0, 0, 1, nullptr});
    setSprite(PLAIN_FLOOR, 0, picture(33, 33, ramp));
    for (int shade = 1; shade <= 4; ++shade) {
        setSprite(PLAIN_FLOOR, shade, mask(200));
    }
    setSprite(WATER_SHAPES, 1, plain(11, 11, {8, 8, 8, 128}));
    makeSurface(100, 80, 0);
    placeBoard(18, 13, -250, -175);
    for (int x = 0; x < 18; ++x) {
        for (int y = 0; y < 13; ++y) {
            setCell(x, y, PLAIN_FLOOR, EMPTY, EMPTY);
        }
    }
    drawBoard();
    EXPECT_EQ(at(0, 0), 0x8220);   // pixel (19, 10) of tile (7, 5): 133 & 248, 70 & 252
    EXPECT_EQ(at(99, 79), 0x8500); // pixel (19, 23) of tile (10, 7): 133, 161
    for (int x = 0; x < 18; ++x) {
        for (int y = 0; y < 13; ++y) {
            setCell(x, y, PLAIN_FLOOR, (x + y) % 7 == 0 ? SOLID_BLOCK : EMPTY,
                    (x + y) % 5 == 0 ? FIRE : EMPTY);
        }
    }
    drawBoard();
    drawBoardShadows();

    fineGrid.shapes[38][53] = 2;
    fineGrid.shapes[10][10] = 200; // no such shape
    setFrame(3, 3, LAYER_FLOOR, -7);
    setCell(4, 4, 100, -3, 70);
    drawBoard();
    drawBoardShadows();

    // Any bytes at all in the board, the states and the water shapes, any
    // placement and any clip: the drawing stays inside its memory (the
    // sanitizer build watches every access).
    std::mt19937 random(12345);
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    setSprite(BOX, 0, plain(40, 7, {1, 2, 3, 200})); // not a tile's size
    setSprite(FIRE, 2, plain(1, 60, {1, 2, 3, 255}));
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
        placeBoard(pick(0, BOARD_COLUMNS), pick(0, BOARD_ROWS), pick(-700, 200), pick(-500, 150));
        boardView.effortOverlay = pick(-1, 2);
        Surface& s = window.canvas.surface;
        s.clipLeft = pick(0, 100);
        s.clipRight = pick(s.clipLeft, 100);
        s.clipTop = pick(0, 80);
        s.clipBottom = pick(s.clipTop, 80);
        drawBoard();
        drawBoardShadows();
    }
    makeSurface(100, 80, 0);
    placeBoard(18, 13, 0, 0);

    // A mask smaller than its sprite would be read past its end: not drawn.
    fill(0);
    shadeSprite(0, 0, plain(10, 10, {248, 252, 248, 255}), plain(5, 5, {0, 0, 255, 255}));
    EXPECT_EQ(at(0, 0), 0);
    blendSprite(0, 0, TileSprite{10, 10, 1, nullptr});
    blendSprite(0, 0, plain(1, 1, {248, 252, 248, 255}, 0)); // the flag word plays no part
    EXPECT_EQ(at(0, 0), WHITE);
    boardView.window = nullptr;
    drawBoard();
    drawBoardShadows();
    addLight(0, 0, 10);
}

} // namespace

namespace {

TEST(RenderCommand, DrawsTheBoardWithItsMarginsAndRefusesBadInput) {
    TempDir dir("render");
    const std::string data = (dir.path / "GHold.dat").string();
    ASSERT_TRUE(writeBytes(dir.path / "GHold.dat", makeSyntheticDataFile(7).bytes));
    const std::string out = (dir.path / "board.png").string();
    auto run = [](std::vector<std::string> args, std::string& complaint) {
        std::ostringstream out;
        std::ostringstream err;
        int status = renderCommand(args, out, err);
        complaint = err.str();
        return status;
    };
    std::string complaint;
    ASSERT_EQ(run({"--data", data, "--level", "1", "..", out}, complaint), 0) << complaint;
    PngImage image;
    ASSERT_EQ(readPng(out, image), "");
    EXPECT_EQ(image.width, 33 * 18 + 66);
    EXPECT_EQ(image.height, 33 * 13 + 66);
    EXPECT_EQ(image.channels, 3);
    // The margin keeps the background colour 0x02EF, widened channel by channel.
    EXPECT_EQ(image.pixels[0], 0);
    EXPECT_EQ(image.pixels[1], 92);
    EXPECT_EQ(image.pixels[2], 120);
    EXPECT_EQ(run({"--data", data, "--level", "0", out}, complaint), 0) << complaint;
    ASSERT_EQ(readPng(out, image), "");
    EXPECT_EQ(image.width, 33 + 66);
    EXPECT_EQ(image.height, 33 + 66);

    const std::vector<std::vector<std::string>> refused = {
        {"--data", data, "--level", "51", out},
        {"--data", data, "--level", "-1", out},
        {"--data", data, "--level", "x", out},
        {"--data", data, "--level", "1", "RX", out},
        {"--data", (dir.path / "missing.dat").string(), "--level", "1", out},
        {"--data", data, "--level", "1", (dir.path / "no" / "board.png").string()},
        {"--data", data, "--level", "1"},
        {"--data", data, "--level", "1", "R", "L", out},
        {"--data", data, "--zoom", "2", "--level", "1", out},
    };
    for (const auto& args : refused) {
        EXPECT_EQ(run(args, complaint), 2) << args[3];
        EXPECT_NE(complaint, "");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path / "no"));
    boardView.window = nullptr;
}

} // namespace
