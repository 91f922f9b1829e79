#pragma once
// Board drawing: the layered picture of the board (floors with their soft
// shading along walls, the warm light of fires and explosions, objects, the
// top layer and the water), and the drop shadows around it. Everything draws
// into the client surface of boardView.window's canvas.
#include "game/gamedata.h"
#include "toolkit/surface.h"
#include <cstdint>

// Floors, lights, objects, top layer and water over the board area. Advances
// levelFlow.flickerSeed once and uses up one draw of boardView.effortOverlay
// for every player it draws.
void drawBoard();
// Darkens the empty surroundings of the board (one extra column to the right
// and one extra row below included) with the plain floor's shading masks.
void drawBoardShadows();

// The part of the canvas that drawBoard and drawBoardShadows may change: the
// board, the reach of its lights around it and the column and row of shadow
// right of and below it, clipped to the surface's clip. Empty without a
// canvas.
Rect boardPaintArea();
// Paints the background again over the part of boardPaintArea that drawBoard
// does not lay down afresh: around the board, and the tiles whose floor is
// not drawn opaque (holes, tiles without a floor, floors with clear parts).
// drawBoard and drawBoardShadows after it then leave the area exactly as
// they leave it on a cleared canvas, whatever an earlier drawing left there,
// and at a fraction of the cost of clearing it all.
void clearBoardBackground(uint16_t background);

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
