#pragma once
// Water on a grid three times finer than the board: each tile is 3 x 3 fine
// cells, each holding one unit of water or not.
#include "game/gamedata.h"
#include <cstdint>

constexpr int FINE_ROWS = 3 * BOARD_ROWS;       // 39
constexpr int FINE_COLUMNS = 3 * BOARD_COLUMNS; // 54

// Fine cell byte.
enum : uint8_t {
    FINE_FULL = 1,    // water, or solid
    FINE_OPEN = 2,    // water may be here
    FINE_DRAIN = 4,   // water next to it runs into it
    FINE_SPREAD = 16, // one count of the spread counter in bits 4-7
};
constexpr int FINE_SPREAD_SHIFT = 4;

// The water shapes drawn for a fine cell (WATER_SHAPES frame shape - 1).
enum : uint8_t {
    WATER_NONE = 0,
    WATER_DROP = 1,         // a lone drop
    WATER_FULL = 2,         // full water
    WATER_DROP_ON_FULL = 3, // a drop resting on something full
    WATER_RIGHT_END = 4,    // the right end of a surface
    WATER_LEFT_END = 5,     // the left end of a surface
    WATER_CORNER_LEFT = 6,  // a surface meeting water above on its left
    WATER_CORNER_RIGHT = 7, // the same on its right
};

// Sources and drains listed for every step; more of either on a board than
// this are left out of the lists.
constexpr int MAX_SOURCES = 10;
constexpr int MAX_DRAINS = 16;
// The shape table has a shape for each neighbourhood code of 5 bits.
constexpr int SHAPE_CODES = 32;

struct FinePoint {
    int32_t x, y;
};

struct FineGrid {
    FinePoint sources[MAX_SOURCES];
    int32_t limitX; // 3 * width - 3: first fine column of the last tile column
    int32_t limitY; // 3 * height - 3
    uint8_t cells[FINE_ROWS][FINE_COLUMNS];
    uint8_t shapes[FINE_ROWS][FINE_COLUMNS];
    uint8_t shapeTable[SHAPE_CODES];
    int32_t sourceCount;
    int32_t drainCount;
    FinePoint drains[MAX_DRAINS];
    int32_t stepCounter;
};

extern FineGrid fineGrid;

void markTile(int x, int y, int set, uint8_t mask);
void openTile(int x, int y);
void openFineCell(int x, int y, int subColumn, int subRow);
void markSolids();
void applyBaffles();
void markDrains();
void setupFineGrid();
void flowStep();
void buildShapeTable();
int fullTop(int x, int y, int k);
int fullBottom(int x, int y, int k);
