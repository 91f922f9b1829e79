#pragma once
// The level in play: setting a level up on the board (its 18 x 13 cells of
// three layers, each with a small animation state, are in game/state.h),
// changing a cell's element, advancing the animations, and the view that
// places the board in the game window.
#include "game/elements.h"
#include "game/gamedata.h"
#include "game/state.h"
#include <cstdint>

constexpr int TILE_SIZE = 33;
// A light reaches this many pixels from its centre, not quite: the light
// table holds a brightness for every squared distance below its square.
constexpr int LIGHT_REACH = 49;
constexpr int LIGHT_TABLE_SIZE = LIGHT_REACH * LIGHT_REACH; // 2401

struct Window;

struct BoardView {
    Window* window;
    int32_t originX, originY;
    int32_t pixelWidth, pixelHeight;
    int32_t effortOverlay;
    uint8_t lightTable[LIGHT_TABLE_SIZE]; // brightness by squared distance
};

extern BoardView boardView;

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
