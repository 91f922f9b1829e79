#pragma once
// GHold.dat: every picture, level, sound effect and title picture of the game,
// read once at start and kept for the whole run.
#include "game/elements.h"
#include "game/sprite.h"
#include "toolkit/surface.h"
#include <cstdint>

constexpr int LEVEL_COUNT = 51;
constexpr int BOARD_COLUMNS = 18;
constexpr int BOARD_ROWS = 13;
constexpr int PICTURE_COUNT = 3;

// Limits past which a size in the data file is taken for damage rather than
// content, so that a corrupt file cannot ask for gigabytes. A sprite may be
// empty (0 wide or high: a code without a picture); a title picture may not.
constexpr int32_t MAX_SPRITE_SIDE = 1024;
constexpr int32_t MAX_PICTURE_SIDE = 1024;
constexpr int32_t MAX_EFFECT_SAMPLES = 30 * 11025; // half a minute of sound

// One picture of an element code at one frame: red, green, blue and alpha
// bytes per pixel, rows from the top. A code whose frame-0 flag word is 0
// has no picture of its own (it is drawn as a hole in the board).
struct TileSprite {
    int32_t width;
    int32_t height;
    int32_t flags;
    uint8_t* pixels;
};

// A level as stored: cells[x][y] holds floor, object and top codes, column
// after column, so that a column of 13 cells is contiguous. Cells outside
// width x height stay zero.
struct LevelRecord {
    int32_t width;  // 1..18
    int32_t height; // 1..13
    int8_t cells[BOARD_COLUMNS][BOARD_ROWS][3];
};

extern TileSprite tileSprites[ELEMENT_COUNT][MAX_FRAMES];
extern LevelRecord levelRecords[LEVEL_COUNT];
extern Surface titlePictures[PICTURE_COUNT];

// Every picture of the file is also made ready for drawing when it is read
// (game/sprite.h). The prepared copy of tileSprites[code][frame], or null when
// that slot does not hold the picture the file gave it (the tests and tools
// that set pictures of their own get none). The file's pictures are never
// changed in place, so the copy stays true to them.
const PreparedSprite* preparedSprite(int code, int frame);

// Reads the whole file; 1 when every field was read and every check passed,
// else 0 with everything it had allocated given back.
int loadGameData(const char* fileName);
