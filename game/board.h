#pragma once
// The level in play: 18 x 13 cells of three layers (floor, object, top), each
// layer with a small animation state, and the view that places the board in
// the game window.
#include "game/elements.h"
#include "game/gamedata.h"
#include <cstdint>

constexpr int TILE_SIZE = 33;
constexpr int CELL_COUNT = BOARD_COLUMNS * BOARD_ROWS; // 234

enum : int {
    LAYER_FLOOR = 0,
    LAYER_OBJECT = 1,
    LAYER_TOP = 2,
};

enum : uint8_t {
    ANIM_RUNNING = 1,
    ANIM_ONCE = 2,
    ANIM_DONE = 4,
};

struct AnimState {
    int8_t tick;
    int8_t frame;
    uint8_t flags;
    int8_t counter; // the rules' step counter: fire exposure, delays, spread mark
};

// Cells are stored column after column: cell index 13 * x + y whatever the
// level's height.
struct Board {
    int32_t width;
    int32_t height;
    int8_t cells[CELL_COUNT][3];
    AnimState states[CELL_COUNT][3];
};

struct Window;

struct BoardView {
    Window* window;
    int32_t originX, originY;
    int32_t pixelWidth, pixelHeight;
    int32_t effortOverlay;
    uint8_t lightTable[2401];
};

extern Board board;
extern BoardView boardView;

inline int cellIndex(int x, int y) {
    return BOARD_ROWS * x + y;
}

// One layer of the cell at (x, y): its code and its animation state.
inline int8_t& layerAt(int x, int y, int layer) {
    return board.cells[cellIndex(x, y)][layer];
}
inline AnimState& stateAt(int x, int y, int layer) {
    return board.states[cellIndex(x, y)][layer];
}

inline bool insideBoard(int x, int y) {
    return x >= 0 && x < board.width && y >= 0 && y < board.height;
}

int initBoardView(Window* window);
void centreBoard();
void loadLevel(const LevelRecord& record);
void resetCellStates();
void setElement(ElementCode code, int8_t& layerByte, AnimState& state);
inline void setAt(int x, int y, int layer, ElementCode code) {
    setElement(code, layerAt(x, y, layer), stateAt(x, y, layer));
}
int isAnimationDone(const AnimState& state);
void animateBoard();
