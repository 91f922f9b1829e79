// Level set-up, the water on the fine grid and the rules where the identity
// check cannot look: the view centred in its window, the records a previous
// level leaves, the storage's edges, a narrow level after a wider one, any
// code in any layer of every level size. How the rules and the water go step
// by step, the drains listed included, is in every traced step of the
// identity check (fine cells and shapes included). Fine cells are addressed
// (row, column); a tile (x, y) covers rows 3y..3y+2 and columns 3x..3x+2.
#include "game/board.h"
#include "game/flow.h"
#include "game/fluid.h"
#include "game/rules.h"
#include "game/sound.h"
#include "tests/support/ints.h"
#include "tests/support/scenario.h"
#include "toolkit/window.h"
#include "tools/leveltext.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

// A level record from its objects, rows apart by '|', on plain floor.
LevelRecord parse(std::string_view objects) {
    LevelText level;
    EXPECT_EQ(parseLevelText(levelText(objects), level), "");
    return level.record;
}

// Loads the level into freshly zeroed records, with the shape table built as
// the game window builds it before any level.
void load(std::string_view objects) {
    board = Board{};
    fineGrid = FineGrid{};
    buildShapeTable();
    loadLevel(parse(objects));
}

uint8_t& at(int row, int column) {
    return fineGrid.cells[row][column];
}

// One tile row of floor: interior fine rows 3..5, columns 3..11, solid
// beneath and beside.
const char* const flat = "#####|#...#|#####";

} // namespace

TEST(FineGrid, NothingIsMarkedOrReadOffTheLevelButItsLastCellIsItsOwn) {
    load(flat);
    EXPECT_EQ(ints(fineGrid.limitX, fineGrid.limitY, fineGrid.stepCounter), ints(12, 6, 1));
    // Tiles and fine cells just off the 18 x 13 storage are left alone.
    FineGrid before = fineGrid;
    markTile(-1, 5, 1, FINE_FULL);
    markTile(18, 5, 1, FINE_FULL);
    openTile(5, -1);
    openTile(5, 13);
    const int off[][4] = {{-1, 0, 0, 0},  {18, 0, 0, 0},  {0, -1, 0, 0},   {0, 13, 0, 0},
                          {17, 12, 3, 0}, {17, 12, 0, 3}, {17, 12, -1, 0}, {17, 12, 0, -1}};
    for (const auto& cell : off) {
        openFineCell(cell[0], cell[1], cell[2], cell[3]);
    }
    EXPECT_EQ(std::memcmp(&before, &fineGrid, sizeof before), 0);
    // The probes read a tile's top and bottom thirds (the frame is solid);
    // below the bottom row, beyond either side or past the third column
    // nothing is full, even where a previous level left water.
    at(3, 4) = 3;
    at(5, 3) = 3;
    at(9, 0) = 3;
    EXPECT_EQ(ints(fullTop(0, 0, 0), fullTop(1, 1, 0), fullTop(1, 1, 1), fullBottom(1, 1, 0),
                   fullBottom(1, 1, 1), fullBottom(4, 2, 2)),
              ints(1, 0, 1, 1, 0, 1));
    EXPECT_EQ(ints(fullTop(0, 3, 0), fullBottom(0, 3, 0), fullTop(-1, 0, 0), fullTop(5, 0, 0),
                   fullTop(0, 0, 3), fullBottom(0, 0, 3), fullTop(0, -1, 0)),
              ints(0, 0, 0, 0, 0, 0, 0));
    // The storage's last tile and fine cell are its own.
    markTile(17, 12, 1, FINE_FULL);
    at(38, 53) = 0;
    openFineCell(17, 12, 2, 2);
    EXPECT_EQ(ints(at(36, 51) & FINE_FULL, at(38, 53)), ints(FINE_FULL, FINE_OPEN));
}

TEST(Flow, NarrowLevelsHaveNoSweepAndNoShapes) {
    // The levels follow one another without clearing the records, as in
    // play: a previous level's shapes must not show through.
    load(flat);
    at(5, 5) = 3;
    flowStep();
    const uint8_t zero[FINE_ROWS][FINE_COLUMNS] = {};
    ASSERT_NE(std::memcmp(fineGrid.shapes, zero, sizeof zero), 0);
    loadLevel(parse("......"));
    EXPECT_EQ(fineGrid.limitY, 0);
    at(2, 7) = 3;
    flowStep();
    EXPECT_EQ(ints(at(2, 6), at(2, 7), at(2, 8)), ints(2, 3, 2));
    loadLevel(parse(".|.|.|.|."));
    EXPECT_EQ(fineGrid.limitX, 0);
    at(7, 1) = 3;
    flowStep();
    EXPECT_EQ(at(7, 1), 3);
    loadLevel(parse("..|..|..|..")); // width 2: limit 3, still no column
    at(5, 3) = 3;
    flowStep();
    EXPECT_EQ(ints(at(5, 3), at(6, 3)), ints(3, 2));
    EXPECT_EQ(std::memcmp(fineGrid.shapes, zero, sizeof zero), 0);
    // Height 2: the sweep still takes fine row 2, so water there falls into
    // the last tile row, which is never swept itself.
    loadLevel(parse(".....|....."));
    at(2, 4) = 3;
    flowStep();
    EXPECT_EQ(ints(at(2, 4), at(3, 4)), ints(2, 3));
    flowStep();
    EXPECT_EQ(at(3, 4), 3);
    // Water standing in the frame's first fine row or column keeps still
    // and is given no shape.
    loadLevel(parse(".....|.....|##..."));
    at(6, 7) = 3;
    at(4, 12) = 3;
    flowStep();
    EXPECT_EQ(ints(at(6, 7), at(4, 12), fineGrid.shapes[6][7], fineGrid.shapes[4][12]),
              ints(3, 3, 0, 0));
}

// Any code in any layer of a level of any size, right up to its border,
// under random moves: the rules and the water keep every read and write on
// the board (the sanitizer build watches), leave the fine cells beyond the
// level as they were and never leave a code outside the table. Which drains
// are listed, sixteen at most, is in every traced step of the identity check.
TEST(Rules, AnyCodesOnEveryLevelSizeStayInsideTheLevel) {
    std::mt19937 random(20261205);
    for (int width = 1; width <= BOARD_COLUMNS; ++width) {
        for (int height = 1; height <= BOARD_ROWS; ++height) {
            LevelRecord record{};
            record.width = width;
            record.height = height;
            for (int x = 0; x < width; ++x) {
                for (int y = 0; y < height; ++y) {
                    for (int8_t& code : record.cells[x][y]) {
                        const int pick = static_cast<int>(random() % (2 * ELEMENT_COUNT));
                        code = static_cast<int8_t>(pick < ELEMENT_COUNT ? pick : EMPTY);
                    }
                }
            }
            board = Board{};
            fineGrid = FineGrid{};
            std::memset(fineGrid.cells, 0xA5, sizeof fineGrid.cells);
            loadLevel(record);
            for (int r = 0; r < 3 * height; ++r) {
                for (int c = 0; c < 3 * width; ++c) {
                    at(r, c) |= FINE_FULL;
                }
            }
            for (int tick = 0; tick < 40; ++tick) {
                levelFlow.moveRequest = moveFromChar("RLUD."[random() % 5]);
                advanceBoard();
            }
            for (int r = 0; r < FINE_ROWS; ++r) {
                for (int c = 0; c < FINE_COLUMNS; ++c) {
                    if (r >= 3 * height || c >= 3 * width) {
                        ASSERT_EQ(at(r, c), 0xA5) << width << " x " << height;
                    }
                }
            }
            for (const auto& cell : board.cells) {
                for (int8_t code : cell) {
                    ASSERT_TRUE(isElementCode(code)) << width << " x " << height;
                }
            }
        }
    }
}

// Level set-up into the records a previous level left: a ball outside the
// level's width must not be given a start state, two of the rules' flags are
// cleared and the others kept, the view is centred in its window, and the
// set-up's water step is silent.
TEST(LoadLevel, CentresTheViewAndClearsOnlyWhatTheLevelUses) {
    Window window{};
    window.canvas.surface.width = 300;
    window.canvas.surface.height = 200;
    board = Board{};
    boardView = BoardView{};
    fineGrid = FineGrid{};
    gameState = GameState{1, 1, 1, 7};
    static int heard = 0;
    effectObserver = [](int32_t) { heard++; };
    initBoardView(&window);
    LevelRecord record = parse("o<d/|....");
    record.cells[5][0][LAYER_OBJECT] = BALL;
    board.states[cellIndex(5, 0)][LAYER_OBJECT] = AnimState{3, 3, 3, 3};
    loadLevel(record);
    const AnimState& outside = stateAt(5, 0, LAYER_OBJECT);
    EXPECT_EQ(ints(outside.tick, outside.frame, outside.flags, outside.counter), ints(0, 0, 0, 0));
    EXPECT_EQ(
        ints(boardView.pixelWidth, boardView.pixelHeight, boardView.originX, boardView.originY),
        ints(132, 66, 84, 67));
    EXPECT_EQ(ints(gameState.burnersOn, gameState.allPlatesPressed, gameState.noBallLeft,
                   gameState.bubbleCounter, fineGrid.stepCounter, heard),
              ints(0, 1, 0, 7, 1, 0));
    // Centring shifts arithmetically, so that a large board goes negative;
    // without a window the board sits at the origin.
    window.canvas.surface.width = 501;
    window.canvas.surface.height = 400;
    boardView.pixelWidth = 594;
    boardView.pixelHeight = 429;
    centreBoard();
    EXPECT_EQ(ints(boardView.originX, boardView.originY), ints(-47, -15));
    boardView.window = nullptr;
    centreBoard();
    EXPECT_EQ(ints(boardView.originX, boardView.originY), ints(0, 0));
    effectObserver = nullptr;
}
