#pragma once
// The records the game's units share: the board's cells with their animation
// states, the rules' flags, and the level-flow record through which the keys,
// the rules and the board drawing talk. They sit in a header of their own, so
// that a unit reaches them without including another unit's operations: the
// water reads the board without depending on the board's set-up, and the
// rules set levelComplete without depending on the game windows.
#include "game/elements.h"
#include "game/gamedata.h"
#include "toolkit/surface.h"
#include <cstdint>

constexpr int CELL_COUNT = BOARD_COLUMNS * BOARD_ROWS; // 234
constexpr int LAYER_COUNT = 3;

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
    int8_t cells[CELL_COUNT][LAYER_COUNT];
    AnimState states[CELL_COUNT][LAYER_COUNT];
};

inline Board board;

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

// loadLevel keeps the board's size within the cell storage (0 x 0 before the
// first level); the units that walk the board assert it rather than clamp
// again.
inline bool boardWithinStorage() {
    return board.width >= 0 && board.width <= BOARD_COLUMNS && board.height >= 0 &&
           board.height <= BOARD_ROWS;
}

// The rules' flags, shared by the moves and the game step.
struct GameState {
    int32_t burnersOn;
    int32_t allPlatesPressed;
    int32_t noBallLeft;
    int32_t bubbleCounter;
};

inline GameState gameState;

// The values of LevelFlow::moveRequest.
enum : int32_t {
    MOVE_NONE = 0,
    MOVE_RIGHT = 1,
    MOVE_LEFT = 2,
    MOVE_UP = 3,
    MOVE_DOWN = 4,
};

constexpr int BANNER_TEXT_SIZE = 16; // "Level %d" and room to spare

struct LevelFlow {
    int32_t level;
    int32_t highestLevel;
    uint32_t levelComplete; // set by the rules when the player is in the exit
    uint32_t started;
    uint32_t boardVisible;
    uint32_t flickerSeed; // advanced by the board drawing
    int32_t moveRequest;  // set by the keys, read and cleared by the rules
    uint32_t bannerVisible;
    uint32_t bannerEnd;
    uint32_t nextStep;
    char bannerText[BANNER_TEXT_SIZE];
    Rect bannerRect;
};

inline LevelFlow levelFlow;
