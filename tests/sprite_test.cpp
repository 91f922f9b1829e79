// The pictures made ready for drawing: a board drawn from them against the
// same board drawn from the pictures as the data file gives them. (What the
// prepared pictures draw is held by the identity check's board pictures; the
// weights both ways share, by the render test's exact pixels.)
#include "game/board.h"
#include "game/fluid.h"
#include "game/render.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <list>
#include <vector>

namespace {

// Every code on the board, on every floor, under flames, fire and walls,
// with all seven water shapes (and a shape past them) in a band.
void fillBoard() {
    board = Board{};
    board.width = BOARD_COLUMNS;
    board.height = BOARD_ROWS;
    const int8_t floors[] = {PLAIN_FLOOR, RUBBLE_FLOOR, LAVA, PLATE, BURNER, SLICK_FLOOR};
    const int8_t tops[] = {EMPTY, FLAME_LOW, FIRE, EMPTY, BREAKABLE_WALL, EXIT, EMPTY};
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        for (int y = 0; y < BOARD_ROWS; ++y) {
            const int index = cellIndex(x, y);
            const bool edge = x == 0 || y == 0 || x == BOARD_COLUMNS - 1;
            const int object = edge ? SOLID_BLOCK : (index * 5) % ELEMENT_COUNT;
            board.cells[index][LAYER_FLOOR] = floors[index % 6];
            board.cells[index][LAYER_OBJECT] = static_cast<int8_t>(object);
            board.cells[index][LAYER_TOP] = tops[index % 7];
            for (int layer = 0; layer < LAYER_COUNT; ++layer) {
                const int frames = elementInfo[board.cells[index][layer]].frames;
                board.states[index][layer].frame = static_cast<int8_t>((x + y) % frames);
            }
        }
    }
    fineGrid = FineGrid{};
    fineGrid.limitX = 3 * BOARD_COLUMNS - 3;
    fineGrid.limitY = 3 * BOARD_ROWS - 3;
    for (int r = 20; r < fineGrid.limitY; ++r) {
        for (int c = 0; c < fineGrid.limitX; ++c) {
            fineGrid.shapes[r][c] = static_cast<uint8_t>((r * 7 + c * 3) % 10 % 9);
        }
    }
}

// The board drawn over a patterned background, inside a clip `margin` pixels
// in from every edge.
std::vector<uint16_t> drawBoardInto(int32_t width, int32_t height, int32_t margin) {
    Window window{};
    Surface& surface = window.canvas.surface;
    EXPECT_EQ(surfaceCreate(surface, width, height, nullptr), 1);
    for (size_t i = 0; i < surface.ownPixels.size(); ++i) {
        surface.ownPixels[i] = static_cast<uint16_t>((i * 2654435761u) >> 13);
    }
    surfaceSetClip(surface, margin, margin, width - margin, height - margin);
    boardView.window = &window;
    boardView.pixelWidth = TILE_SIZE * board.width;
    boardView.pixelHeight = TILE_SIZE * board.height;
    boardView.effortOverlay = 1;
    centreBoard();
    levelFlow.flickerSeed = 0;
    drawBoard();
    drawBoardShadows();
    boardView.window = nullptr;
    return surface.ownPixels;
}

TEST(PreparedSprite, BoardDrawnFromThemMatchesTheFilePictures) {
    ASSERT_EQ(loadGameData(GHOLD_DATA_FILE), 1);
    initBoardView(nullptr);
    fillBoard();
    // The whole board with room around it, and a window smaller than the
    // board whose clip cuts through pictures, water runs and lights.
    for (const auto& [width, height, margin] : {std::array{700, 500, 0}, {300, 200, 7}}) {
        const std::vector<uint16_t> prepared = drawBoardInto(width, height, margin);

        // The same pictures in blocks of the test's own have no prepared copy.
        std::list<std::vector<uint8_t>> blocks;
        TileSprite fromFile[ELEMENT_COUNT][MAX_FRAMES];
        std::memcpy(fromFile, tileSprites, sizeof fromFile);
        for (auto& frames : tileSprites) {
            for (TileSprite& sprite : frames) {
                if (sprite.pixels != nullptr) {
                    const size_t bytes = size_t(sprite.width) * size_t(sprite.height) * 4;
                    sprite.pixels =
                        blocks.emplace_back(sprite.pixels, sprite.pixels + bytes).data();
                }
            }
        }
        ASSERT_EQ(preparedSprite(BOX, 0), nullptr);
        const std::vector<uint16_t> plain = drawBoardInto(width, height, margin);
        std::memcpy(tileSprites, fromFile, sizeof fromFile);
        ASSERT_NE(preparedSprite(BOX, 0), nullptr);

        EXPECT_TRUE(plain == prepared) << width << " x " << height;
    }
}

} // namespace
