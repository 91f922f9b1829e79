#pragma once
// Board drawing: the layered picture of the board (floors with their soft
// shading along walls, the warm light of fires and explosions, objects, the
// top layer and the water), and the drop shadows around it. Everything draws
// into the client surface of boardView.window's canvas.
#include "game/gamedata.h"
#include "game/state.h"
#include "toolkit/surface.h"
#include <cstdint>

// Floors, lights, objects, top layer and water over the board area. Advances
// levelFlow.flickerSeed once and uses up one draw of boardView.effortOverlay
// for every player it draws.
void drawBoard();
// Darkens the empty surroundings of the board (one extra column to the right
// and one extra row below included) with the plain floor's shading masks.
void drawBoardShadows();

// What the latest drawBoard left where a step paints only when something
// there changes (around the board, and on the tiles that only lights draw
// on, such as walls): where it drew, the lights it added (one a tile at
// most), which tiles of the last column and row held an object (the
// shadows right of and below the board follow them), and, after a step,
// which tiles only lights drew on. A drawing of a board somewhere else (ghtool render's
// canvas of its own) keeps a copy and puts it back, so that the game's next
// step still knows its own.
struct LightSpot {
    int32_t cx, cy, intensity;
};
struct BoardDrawingLog {
    const uint16_t* pixels; // the surface drawn into
    int32_t originX, originY;
    int32_t width, height; // the board's, in tiles
    LightSpot spots[CELL_COUNT];
    int32_t count;
    uint64_t edgeObjects;      // bit y: column width - 1; bit 16 + x: row height - 1
    uint32_t tilesKnown;       // set by a step, which tells the tiles apart
    uint8_t tiles[CELL_COUNT]; // how the step treated each tile, by cell index
};

extern BoardDrawingLog boardDrawingLog;

// The board as a step of the game draws it: afterwards the canvas holds
// exactly what drawBoard and drawBoardShadows leave on a canvas cleared to
// background, however many drawings came before, at little more than the
// cost of drawBoard. The background is painted again only where drawBoard
// does not lay every pixel down afresh (holes, tiles without an opaque
// floor), and around the board only where a light or a shadow there has
// changed since the drawing before. Returns the rectangle it changed.
Rect drawBoardStep(uint16_t background);

// The shading masks, PLAIN_FLOOR's frames 1 to 4, by where the walls stand.
enum : int {
    SHADE_NONE = 0,
    SHADE_ABOVE = 1,
    SHADE_LEFT = 2,
    SHADE_ABOVE_AND_LEFT = 3,
    SHADE_CORNER = 4, // a wall only above-left
};
// Which mask darkens a tile, from whether the tiles above, to the left and
// above-left of it throw a shadow. The floors of the board, the shadows
// around it and the title pictures' scenes all shade by it.
int wallShade(bool above, bool left, bool aboveLeft);

// The pixel primitives of the board drawing. Each clips the picture's
// rectangle to the surface's clip; a picture without pixels or with an
// empty size draws nothing.
void blendSprite(int32_t x, int32_t y, const TileSprite& sprite);
// Copies the sprite opaquely, darkened by the blue byte of each mask pixel
// (read with the sprite's width and offsets; 255 leaves a pixel as it is).
void shadeSprite(int32_t x, int32_t y, const TileSprite& sprite, const TileSprite& mask);
void darkenByMask(int32_t x, int32_t y, const TileSprite& mask);
// A warm circular light of radius 48 around (cx, cy), fading by the board
// view's light table.
void addLight(int32_t cx, int32_t cy, int32_t intensity);
