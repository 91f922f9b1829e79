#pragma once
// Board drawing: the layered picture of the board (floors with their soft
// shading along walls, the warm light of fires and explosions, objects, the
// top layer and the water), and the drop shadows around it. Everything draws
// into the client surface of boardView.window's canvas.
#include "game/gamedata.h"
#include <cstdint>

// Floors, lights, objects, top layer and water over the board area. Advances
// levelFlow.flickerSeed once and uses up one draw of boardView.effortOverlay
// for every player it draws.
void drawBoard();
// Darkens the empty surroundings of the board (one extra column to the right
// and one extra row below included) with the plain floor's shading masks.
void drawBoardShadows();

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
