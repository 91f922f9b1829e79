// A full 18 x 13 board drawn with its shadows, as the game window redraws it
// and as every step draws it after painting the background again where the
// board leaves it: three lit torches, a fire, an explosion and a pool of
// water. The pictures
// come from GHold.dat when it is there, else from stand-ins of the same size
// with a similar mix of opaque, clear and half-clear pixels.
#include "game/board.h"
#include "game/fluid.h"
#include "game/render.h"
#include "toolkit/window.h"

#include <benchmark/benchmark.h>

#include <chrono>

#include <list>
#include <vector>

namespace {

std::list<std::vector<uint8_t>> standInPixels;

void standIn(int code, int frame, int size, int32_t flags, bool holey) {
    std::vector<uint8_t>& bytes = standInPixels.emplace_back(size_t(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            uint8_t* p = &bytes[(size_t(y) * size + x) * 4];
            p[0] = static_cast<uint8_t>(7 * x);
            p[1] = static_cast<uint8_t>(7 * y);
            p[2] = static_cast<uint8_t>(40 * code);
            int edge = std::min(std::min(x, y), std::min(size - 1 - x, size - 1 - y));
            p[3] = !holey ? 255 : edge < 4 ? 0 : edge < 6 ? 128 : 255;
        }
    }
    tileSprites[code][frame] = TileSprite{size, size, flags, bytes.data()};
}

void loadPictures() {
    if (loadGameData(GHOLD_DATA_FILE)) {
        return;
    }
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        for (int frame = 0; frame < elementInfo[code].frames; ++frame) {
            bool floor = code == PLAIN_FLOOR || code == RUBBLE_FLOOR || code == LAVA;
            // The solid block has no picture: walls are holes in the board.
            standIn(code, frame, code == WATER_SHAPES ? 11 : TILE_SIZE, code == SOLID_BLOCK ? 0 : 1,
                    !floor);
        }
    }
    // Water is drawn half clear.
    for (int frame = 0; frame < 7; ++frame) {
        uint8_t* p = tileSprites[WATER_SHAPES][frame].pixels;
        for (int i = 0; i < 11 * 11; ++i) {
            p[4 * i + 3] = 128;
        }
    }
}

void setCell(int x, int y, int floor, int object, int top, int frame = 0) {
    int8_t* cell = board.cells[cellIndex(x, y)];
    cell[LAYER_FLOOR] = static_cast<int8_t>(floor);
    cell[LAYER_OBJECT] = static_cast<int8_t>(object);
    cell[LAYER_TOP] = static_cast<int8_t>(top);
    board.states[cellIndex(x, y)][LAYER_OBJECT].frame = static_cast<int8_t>(frame);
}

void buildBoard() {
    board = Board{};
    board.width = BOARD_COLUMNS;
    board.height = BOARD_ROWS;
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        for (int y = 0; y < BOARD_ROWS; ++y) {
            bool wall = x == 0 || y == 0 || x == BOARD_COLUMNS - 1 || y == BOARD_ROWS - 1;
            int object = wall ? SOLID_BLOCK : (x * 7 + y * 3) % 5 == 0 ? BOX : EMPTY;
            setCell(x, y, PLAIN_FLOOR, object, EMPTY);
        }
    }
    setCell(3, 2, PLAIN_FLOOR, TORCH_LIT, EMPTY, 1);
    setCell(9, 2, PLAIN_FLOOR, TORCH_LIT, EMPTY, 2);
    setCell(14, 2, PLAIN_FLOOR, TORCH_LIT, EMPTY, 0);
    setCell(6, 6, PLAIN_FLOOR, EMPTY, FIRE);
    setCell(12, 6, PLAIN_FLOOR, EXPLOSION, EMPTY, 1);
    setCell(5, 4, PLAIN_FLOOR, EMPTY, BREAKABLE_WALL);
    setCell(4, 8, PLAIN_FLOOR, PLAYER_RIGHT, EMPTY);

    // Water fills the lower third of the inner board, with a surface line.
    fineGrid = FineGrid{};
    fineGrid.limitX = 3 * BOARD_COLUMNS - 3;
    fineGrid.limitY = 3 * BOARD_ROWS - 3;
    for (int r = 26; r < fineGrid.limitY; ++r) {
        for (int c = 3; c < fineGrid.limitX; ++c) {
            fineGrid.shapes[r][c] = r == 26 ? 4 + (c & 1) : 2;
        }
    }
}

// The board in a canvas of its own with a tile's margin all round, as in
// the game window.
Window& boardWindow() {
    static Window window{};
    Surface& surface = window.canvas.surface;
    const int width = TILE_SIZE * BOARD_COLUMNS + 2 * TILE_SIZE;
    const int height = TILE_SIZE * BOARD_ROWS + 2 * TILE_SIZE;
    surface.ownPixels.assign(size_t(width) * height, 0x02EF);
    surface.width = width;
    surface.height = height;
    surface.pixels = surface.ownPixels.data();
    surface.clipLeft = 0;
    surface.clipTop = 0;
    surface.clipRight = width;
    surface.clipBottom = height;

    loadPictures();
    initBoardView(&window);
    buildBoard();
    boardView.pixelWidth = TILE_SIZE * board.width;
    boardView.pixelHeight = TILE_SIZE * board.height;
    centreBoard();
    return window;
}

void BM_DrawFullBoard(benchmark::State& state) {
    Surface& surface = boardWindow().canvas.surface;
    for (auto _ : state) {
        drawBoard();
        drawBoardShadows();
        benchmark::DoNotOptimize(surface.pixels[surface.width * surface.height / 2]);
        benchmark::ClobberMemory();
    }
    boardView.window = nullptr;
}
BENCHMARK(BM_DrawFullBoard)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

using Clock = std::chrono::steady_clock;

// A step of the game, as it draws now (drawBoardStep: the background painted
// again where drawBoard leaves it, drawBoard, and around the board the lights
// and shadows again when they changed) against drawBoard alone, as a step
// drew before. Both are timed in every iteration, so that they compare under
// the same load; extra_share is what the step costs beyond drawBoard, as a
// share of it.
//
// With argument 1 a fire burns on the board's left edge, so that its light
// reaches past the board on every step and the margin around it is painted
// each time: the step's most expensive case.
void BM_DrawStep(benchmark::State& state) {
    Surface& surface = boardWindow().canvas.surface;
    if (state.range(0) == 1) {
        setCell(0, 6, PLAIN_FLOOR, SOLID_BLOCK, FIRE);
    }
    double step = 0, board = 0;
    for (auto _ : state) {
        const Clock::time_point t0 = Clock::now();
        drawBoard();
        const Clock::time_point t1 = Clock::now();
        drawBoardStep(0x02EF);
        const Clock::time_point t2 = Clock::now();
        benchmark::DoNotOptimize(surface.pixels[surface.width * surface.height / 2]);
        benchmark::ClobberMemory();
        board += std::chrono::duration<double>(t1 - t0).count();
        step += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(std::chrono::duration<double>(t2 - t1).count());
    }
    state.counters["extra_share"] = (step - board) / board;
    boardView.window = nullptr;
}
BENCHMARK(BM_DrawStep)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace

BENCHMARK_MAIN();
