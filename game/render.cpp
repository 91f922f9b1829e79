#include "game/render.h"

#include "game/board.h"
#include "game/fluid.h"
#include "toolkit/window.h"

#include <algorithm>
#include <climits>
#include <cstddef>

namespace {

constexpr int FINE_SIZE = 11;   // a fine cell is a third of a tile

// The 5-6-5 channels widened to 8 bits, low bits zero, and packed back.
inline int red8(uint16_t p) {
    return (p >> 8) & 248;
}
inline int green8(uint16_t p) {
    return (p >> 3) & 252;
}
inline int blue8(uint16_t p) {
    return (p & 31) * 8;
}
inline uint16_t pack(int r, int g, int b) {
    return static_cast<uint16_t>(((r & 248) << 8) | ((g & 252) << 3) | (b >> 3));
}

Surface* boardSurface() {
    Window* window = boardView.window;
    if (window == nullptr || window->canvas.surface.pixels == nullptr) {
        return nullptr;
    }
    return &window->canvas.surface;
}

bool hasPixels(const TileSprite& sprite) {
    return sprite.pixels != nullptr && sprite.width > 0 && sprite.height > 0;
}

// The part of a width x height picture placed at (x, y) that lies inside the
// surface's clip: the surface rectangle (inclusive) and where in the picture
// it starts.
struct Placement {
    int32_t x0, y0, x1, y1;
    int32_t fromX, fromY;
};

bool place(const Surface& surface, int32_t x, int32_t y, int32_t width, int32_t height,
           Placement& p) {
    // Sizes come from the data file; the far corner is worked out wide so that
    // a huge picture cannot overflow, then capped (anything that far right or
    // down is clipped away regardless).
    p.x0 = x;
    p.y0 = y;
    p.x1 = static_cast<int32_t>(std::min<int64_t>(int64_t{x} + width - 1, INT32_MAX));
    p.y1 = static_cast<int32_t>(std::min<int64_t>(int64_t{y} + height - 1, INT32_MAX));
    if (!clipRect(surface, p.x0, p.y0, p.x1, p.y1)) {
        return false;
    }
    p.fromX = p.x0 - x;
    p.fromY = p.y0 - y;
    return true;
}

inline uint16_t* surfaceRow(const Surface& surface, int32_t y, int32_t x) {
    return surface.pixels + static_cast<ptrdiff_t>(y) * surface.width + x;
}

inline const uint8_t* spriteRow(const TileSprite& sprite, int32_t row, int32_t column) {
    return sprite.pixels + (static_cast<ptrdiff_t>(row) * sprite.width + column) * 4;
}

// The picture of code at frame, or null when there is none to draw: a code
// outside the table, a frame beyond the code's count, or an empty slot.
const TileSprite* spriteOf(int code, int frame) {
    if (!isElementCode(code) || frame < 0 || frame >= elementInfo[code].frames ||
        frame >= MAX_FRAMES) {
        return nullptr;
    }
    const TileSprite& sprite = tileSprites[code][frame];
    return hasPixels(sprite) ? &sprite : nullptr;
}

// A code without a frame-0 flag word has no picture of its own: as an object
// it leaves a hole in the board, and it shades the floors beside it. A byte
// outside the code table counts the same way, having no picture either. The
// flag word means nothing else to the drawing: any nonzero value is a
// picture, and the other frames' flag words are never read.
bool isVoid(int code) {
    return !isElementCode(code) || tileSprites[code][0].flags == 0;
}

inline int codeAt(int x, int y, int layer) {
    return board.cells[cellIndex(x, y)][layer];
}

inline int frameAt(int x, int y, int layer) {
    return board.states[cellIndex(x, y)][layer].frame;
}

void blendAt(int32_t x, int32_t y, int code, int frame) {
    if (const TileSprite* sprite = spriteOf(code, frame)) {
        blendSprite(x, y, *sprite);
    }
}

// Walls throw their shadow onto the floor beside them: an object without a
// picture (a hole) and a breakable wall standing over a cell both count.
bool castsOnFloor(int x, int y) {
    return isVoid(codeAt(x, y, LAYER_OBJECT)) || codeAt(x, y, LAYER_TOP) == BREAKABLE_WALL;
}

// Which PLAIN_FLOOR mask darkens the floor at (x, y): 1 wall above, 2 wall to
// the left, 3 both, 4 only the corner above-left, 0 none.
int floorShade(int x, int y) {
    bool leftCasts = x > 0 && castsOnFloor(x - 1, y);
    if (y > 0 && castsOnFloor(x, y - 1)) {
        return leftCasts ? 3 : 1;
    }
    if (leftCasts) {
        return 2;
    }
    if (x > 0 && y > 0 && castsOnFloor(x - 1, y - 1)) {
        return 4;
    }
    return 0;
}

void drawFloor(int32_t px, int32_t py, int x, int y, int code, int frame) {
    if (isVoid(codeAt(x, y, LAYER_OBJECT))) {
        return;
    }
    if (code == RUBBLE_FLOOR) {
        blendAt(px, py, code, frame);
        return;
    }
    int shade = floorShade(x, y);
    if (shade == 0) {
        blendAt(px, py, code, frame);
        return;
    }
    const TileSprite* sprite = spriteOf(code, frame);
    const TileSprite* mask = spriteOf(PLAIN_FLOOR, shade);
    if (sprite != nullptr && mask != nullptr) {
        shadeSprite(px, py, *sprite, *mask);
    }
}

// The board's size as the drawing trusts it: never beyond the cell storage,
// whatever a damaged record says.
int boardColumns() {
    return std::clamp<int>(board.width, 0, BOARD_COLUMNS);
}
int boardRows() {
    return std::clamp<int>(board.height, 0, BOARD_ROWS);
}

// Fire, torches, low flames and explosions light the floor before anything
// stands on it. The seed moves once per drawing so that every fire on the
// board flickers together.
void drawLights(int columns, int rows) {
    uint32_t seed = (levelFlow.flickerSeed + 125u) * 2347u;
    levelFlow.flickerSeed = seed;
    for (int x = 0; x < columns; ++x) {
        for (int y = 0; y < rows; ++y) {
            int32_t px = boardView.originX + TILE_SIZE * x;
            int32_t py = boardView.originY + TILE_SIZE * y;
            int object = codeAt(x, y, LAYER_OBJECT);
            int top = codeAt(x, y, LAYER_TOP);
            if (object == TORCH_LIT) {
                addLight(px + 8, py + 8, 25 + 6 * frameAt(x, y, LAYER_OBJECT));
            } else if (object == EXPLOSION) {
                addLight(px + 16, py + 16, 85 - 15 * frameAt(x, y, LAYER_OBJECT));
            } else if (top == FLAME_LOW) {
                addLight(px + 16, py, 25 + 20 * frameAt(x, y, LAYER_TOP));
            } else if (top == FIRE) {
                addLight(px + 16, py + 16, 20 + 4 * static_cast<int32_t>(seed & 3));
            }
        }
    }
}

void drawWater() {
    int limitX = std::clamp<int>(fineGrid.limitX, 0, FINE_COLUMNS);
    int limitY = std::clamp<int>(fineGrid.limitY, 0, FINE_ROWS);
    for (int c = 0; c < limitX; ++c) {
        for (int r = 0; r < limitY; ++r) {
            int shape = fineGrid.shapes[r][c];
            if (shape != 0) {
                blendAt(boardView.originX + FINE_SIZE * c, boardView.originY + FINE_SIZE * r,
                        WATER_SHAPES, shape - 1);
            }
        }
    }
}

} // namespace

void blendSprite(int32_t x, int32_t y, const TileSprite& sprite) {
    Surface* surface = boardSurface();
    Placement p;
    if (surface == nullptr || !hasPixels(sprite) ||
        !place(*surface, x, y, sprite.width, sprite.height, p)) {
        return;
    }
    int32_t count = p.x1 - p.x0 + 1;
    for (int32_t y0 = p.y0; y0 <= p.y1; ++y0) {
        uint16_t* to = surfaceRow(*surface, y0, p.x0);
        const uint8_t* from = spriteRow(sprite, p.fromY + (y0 - p.y0), p.fromX);
        for (int32_t i = 0; i < count; ++i, from += 4) {
            int a = from[3];
            if (a == 0) {
                continue;
            }
            if (a == 255) {
                to[i] = pack(from[0], from[1], from[2]);
                continue;
            }
            uint16_t under = to[i];
            int keep = 255 - a;
            to[i] = pack((red8(under) * keep + from[0] * a) >> 8,
                         (green8(under) * keep + from[1] * a) >> 8,
                         (blue8(under) * keep + from[2] * a) >> 8);
        }
    }
}

void shadeSprite(int32_t x, int32_t y, const TileSprite& sprite, const TileSprite& mask) {
    Surface* surface = boardSurface();
    Placement p;
    // The mask is read with the sprite's own width and offsets (floor tiles
    // and their masks are drawn at the same size). A mask holding fewer
    // pixels than the sprite would be read past its end, so such a pair is
    // not drawn at all.
    if (surface == nullptr || !hasPixels(sprite) || !hasPixels(mask) ||
        int64_t{mask.width} * mask.height < int64_t{sprite.width} * sprite.height ||
        !place(*surface, x, y, sprite.width, sprite.height, p)) {
        return;
    }
    int32_t count = p.x1 - p.x0 + 1;
    for (int32_t y0 = p.y0; y0 <= p.y1; ++y0) {
        uint16_t* to = surfaceRow(*surface, y0, p.x0);
        const uint8_t* from = spriteRow(sprite, p.fromY + (y0 - p.y0), p.fromX);
        const uint8_t* by = mask.pixels + (from - sprite.pixels);
        for (int32_t i = 0; i < count; ++i, from += 4, by += 4) {
            int m = by[2];
            if (m == 255) {
                to[i] = pack(from[0], from[1], from[2]);
            } else {
                to[i] = pack((from[0] * m) >> 8, (from[1] * m) >> 8, (from[2] * m) >> 8);
            }
        }
    }
}

void darkenByMask(int32_t x, int32_t y, const TileSprite& mask) {
    Surface* surface = boardSurface();
    Placement p;
    if (surface == nullptr || !hasPixels(mask) ||
        !place(*surface, x, y, mask.width, mask.height, p)) {
        return;
    }
    int32_t count = p.x1 - p.x0 + 1;
    for (int32_t y0 = p.y0; y0 <= p.y1; ++y0) {
        uint16_t* to = surfaceRow(*surface, y0, p.x0);
        const uint8_t* by = spriteRow(mask, p.fromY + (y0 - p.y0), p.fromX);
        for (int32_t i = 0; i < count; ++i, by += 4) {
            int m = by[2];
            if (m < 255) {
                uint16_t under = to[i];
                to[i] =
                    pack((red8(under) * m) >> 8, (green8(under) * m) >> 8, (blue8(under) * m) >> 8);
            }
        }
    }
}

void addLight(int32_t cx, int32_t cy, int32_t intensity) {
    Surface* surface = boardSurface();
    Placement p;
    if (surface == nullptr || !place(*surface, cx - LIGHT_REACH, cy - LIGHT_REACH,
                                     2 * LIGHT_REACH + 1, 2 * LIGHT_REACH + 1, p)) {
        return;
    }
    // Only the rules' frame arithmetic feeds this; a frame past its range
    // would turn the light negative, and light never darkens.
    intensity = std::max<int32_t>(intensity, 0);
    const uint8_t* table = boardView.lightTable;
    for (int32_t y0 = p.y0; y0 <= p.y1; ++y0) {
        int32_t dy = y0 - cy;
        int32_t room = LIGHT_TABLE_SIZE - 1 - dy * dy; // the largest dx * dx still lit
        if (room < 0) {
            continue;
        }
        // This row's lit span, worked out once instead of testing each pixel.
        int32_t reach = 0;
        while ((reach + 1) * (reach + 1) <= room) {
            ++reach;
        }
        int32_t from = std::max(p.x0, cx - reach);
        int32_t to = std::min(p.x1, cx + reach);
        uint16_t* row = surfaceRow(*surface, y0, 0);
        for (int32_t x0 = from; x0 <= to; ++x0) {
            int32_t dx = x0 - cx;
            int32_t light = table[dx * dx + dy * dy] * intensity;
            uint16_t under = row[x0];
            row[x0] = pack(std::min<int32_t>(red8(under) + (light >> 8), 248),
                           std::min<int32_t>(green8(under) + (light >> 8), 252),
                           std::min<int32_t>(blue8(under) + (light >> 9), 248));
        }
    }
}

void drawBoard() {
    // Without a window there is nothing to draw into, and the flicker seed is
    // left alone: it belongs to the pictures actually shown.
    if (boardSurface() == nullptr) {
        return;
    }
    int columns = boardColumns();
    int rows = boardRows();
    for (int layer = LAYER_FLOOR; layer <= LAYER_TOP; ++layer) {
        if (layer == LAYER_OBJECT) {
            drawLights(columns, rows);
        }
        for (int x = 0; x < columns; ++x) {
            for (int y = 0; y < rows; ++y) {
                int code = codeAt(x, y, layer);
                // The spout shows only by the water it releases.
                if (code == EMPTY || code == SPOUT) {
                    continue;
                }
                int frame = frameAt(x, y, layer);
                int32_t px = boardView.originX + TILE_SIZE * x;
                int32_t py = boardView.originY + TILE_SIZE * y;
                // The effort mark lies under the player, who is drawn over it
                // right after.
                if ((code == PLAYER_LEFT || code == PLAYER_RIGHT) && boardView.effortOverlay > 0) {
                    blendAt(px, py, EFFORT_MARK, 0);
                    --boardView.effortOverlay;
                }
                if (layer == LAYER_FLOOR) {
                    drawFloor(px, py, x, y, code, frame);
                } else {
                    blendAt(px, py, code, frame);
                }
            }
        }
    }
    drawWater();
}

void drawBoardShadows() {
    if (boardSurface() == nullptr) {
        return;
    }
    int columns = boardColumns();
    int rows = boardRows();
    auto objectCasts = [](int x, int y) { return codeAt(x, y, LAYER_OBJECT) != EMPTY; };
    // Right to left and bottom to top, taking in the column just right of the
    // board and the row just below it, where the outer walls' shadows fall.
    for (int x = columns; x >= 0; --x) {
        for (int y = rows; y >= 0; --y) {
            bool inside = x < columns && y < rows;
            if (inside &&
                (codeAt(x, y, LAYER_FLOOR) != EMPTY || codeAt(x, y, LAYER_OBJECT) != EMPTY)) {
                continue;
            }
            bool above = y > 0 && x < columns && objectCasts(x, y - 1);
            bool left = x > 0 && y < rows && objectCasts(x - 1, y);
            int shade = 0;
            if (above) {
                shade = left ? 3 : 1;
            } else if (left) {
                shade = 2;
            } else if (x > 0 && y > 0 && objectCasts(x - 1, y - 1)) {
                shade = 4;
            }
            if (shade == 0) {
                continue;
            }
            if (const TileSprite* mask = spriteOf(PLAIN_FLOOR, shade)) {
                darkenByMask(boardView.originX + TILE_SIZE * x, boardView.originY + TILE_SIZE * y,
                             *mask);
            }
        }
    }
}
