#include "game/render.h"

#include "game/board.h"
#include "game/fluid.h"
#include "toolkit/window.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <climits>
#include <cstddef>
#include <cstring>
#include <iterator>

BoardDrawingLog boardDrawingLog;

namespace {

constexpr int FINE_SIZE = TILE_SIZE / 3; // a fine cell is a third of a tile

// Alpha and mask values of the pictures: 255 is opaque, and a mask pixel of
// 255 leaves what it covers as it is.
constexpr int OPAQUE = 255;
constexpr int UNSHADED = 255;

// The 8-bit channels' largest values once widened from the pixel format.
constexpr int32_t RED8_MAX = 248;
constexpr int32_t GREEN8_MAX = 252;
constexpr int32_t BLUE8_MAX = 248;

// A channel times a factor out of 256; and two channels mixed by two such
// factors that add up to 256 at most. Channels are at most 255, so every
// product and sum fits in 16 bits, and the pixel loops below are vectorised
// on 16-bit lanes.
constexpr int FACTOR_SHIFT = 8;
inline int scaled(int channel, int factor) {
    return static_cast<uint16_t>(channel * factor) >> FACTOR_SHIFT;
}
inline int mix(int under, int keep, int add) {
    return static_cast<uint16_t>(under * keep + add) >> FACTOR_SHIFT;
}

// An alpha or mask byte as a factor out of 256. Its top value (opaque,
// unshaded) is taken as the whole 256: x * 256 >> 8 gives x back, and a 5-6-5
// pixel widened and packed again is the same pixel, so one formula serves
// every pixel and the loops need no test.
static_assert(OPAQUE == UNSHADED);
constexpr int WHOLE = 256;
inline int factorOf(int byte) {
    return byte + (byte == OPAQUE);
}

// Warmth beyond a byte fills every channel, whatever it lights.
constexpr int32_t WARMTH_CAP = 255;
// Every light at or past this intensity fills every pixel it reaches.
constexpr int32_t LIGHT_INTENSITY_LIMIT = 1 << 17;
static_assert(int64_t{LIGHT_INTENSITY_LIMIT} * 255 <= INT32_MAX);

// How far a light reaches sideways on the row |dy| away from its centre: the
// largest dx with dx * dx + dy * dy still inside the light table.
constexpr std::array<int32_t, LIGHT_REACH> LIGHT_SPANS = [] {
    std::array<int32_t, LIGHT_REACH> spans{};
    for (int32_t dy = 0; dy < LIGHT_REACH; ++dy) {
        int32_t dx = 0;
        while ((dx + 1) * (dx + 1) + dy * dy < LIGHT_TABLE_SIZE) {
            ++dx;
        }
        spans[size_t(dy)] = dx;
    }
    return spans;
}();

// The light table laid out by offset from the light's centre, so that a row
// of a light reads its brightness in a row too. Made again whenever the
// light table differs from the one it was made from.
using LightSquare = std::array<std::array<uint16_t, 2 * LIGHT_REACH + 1>, 2 * LIGHT_REACH + 1>;
const LightSquare& lightSquare() {
    static uint8_t madeFrom[LIGHT_TABLE_SIZE];
    static LightSquare square;
    static bool made = false;
    if (!made || std::memcmp(madeFrom, boardView.lightTable, sizeof madeFrom) != 0) {
        std::memcpy(madeFrom, boardView.lightTable, sizeof madeFrom);
        for (int32_t dy = -LIGHT_REACH; dy <= LIGHT_REACH; ++dy) {
            for (int32_t dx = -LIGHT_REACH; dx <= LIGHT_REACH; ++dx) {
                const int32_t at = dx * dx + dy * dy;
                square[size_t(dy + LIGHT_REACH)][size_t(dx + LIGHT_REACH)] =
                    at < LIGHT_TABLE_SIZE ? madeFrom[at] : 0;
            }
        }
        made = true;
    }
    return square;
}

// Lights one row of count pixels, with Wide wide enough for a brightness
// times the intensity.
template <typename Wide>
void lightRow(uint16_t* row, const uint16_t* brightness, int32_t intensity, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        // Warmth past a byte fills every channel whatever it lights, so it is
        // capped there; blue gets half, which makes the light warm.
        const int32_t warmth = static_cast<Wide>(brightness[i] * intensity) >> FACTOR_SHIFT;
        const int32_t warm = std::min(warmth, WARMTH_CAP);
        const int32_t half = std::min(warmth >> 1, WARMTH_CAP);
        const uint16_t under = row[i];
        row[i] = pixelFrom8(std::min(red8(under) + warm, RED8_MAX),
                            std::min(green8(under) + warm, GREEN8_MAX),
                            std::min(blue8(under) + half, BLUE8_MAX));
    }
}

// The drawing of flames and explosions moves the flicker seed once per board
// drawn; fire flickers by its two lowest bits.
constexpr uint32_t FLICKER_STEP = 125;
constexpr uint32_t FLICKER_FACTOR = 2347;

// Where a light sits from its tile's top-left corner, how bright it is at
// frame 0, and how much brighter each frame (or, for fire, each step of the
// flicker) makes it.
struct LightSource {
    int32_t dx, dy;
    int32_t base, perStep;
};
constexpr LightSource TORCH_LIGHT{8, 8, 25, 6};
constexpr LightSource EXPLOSION_LIGHT{16, 16, 85, -15};
constexpr LightSource FLAME_LIGHT{16, 0, 25, 20};
constexpr LightSource FIRE_LIGHT{16, 16, 20, 4};

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

// Calls row(to, fromRow, fromColumn, count) for each row of a width x height
// picture at (x, y) that lies inside the board surface's clip: to is the
// row's first surface pixel, fromRow and fromColumn where in the picture it
// starts, count how many pixels it has.
template <typename RowFn>
void forEachClippedRow(int32_t x, int32_t y, int32_t width, int32_t height, RowFn row) {
    Surface* surface = boardSurface();
    Placement p;
    if (surface == nullptr || !place(*surface, x, y, width, height, p)) {
        return;
    }
    const int32_t count = p.x1 - p.x0 + 1;
    for (int32_t y0 = p.y0; y0 <= p.y1; ++y0) {
        row(surfaceRow(*surface, y0, p.x0), p.fromY + (y0 - p.y0), p.fromX, count);
    }
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

// Blends count pixels by their weights (game/sprite.h).
void blendWeighted(uint16_t* to, const uint16_t* keep, const uint16_t* red, const uint16_t* green,
                   const uint16_t* blue, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const uint16_t under = to[i];
        to[i] = pixelFrom8(mix(red8(under), keep[i], red[i]), mix(green8(under), keep[i], green[i]),
                           mix(blue8(under), keep[i], blue[i]));
    }
}

// Draws a prepared sprite: only each row's span, an opaque span copied.
void blendPrepared(int32_t x, int32_t y, const PreparedSprite& sprite) {
    forEachClippedRow(
        x, y, sprite.width, sprite.height,
        [&](uint16_t* to, int32_t row, int32_t column, int32_t count) {
            const SpriteRow& span = sprite.rows[size_t(row)];
            const int32_t first = std::max(column, span.first);
            const int32_t end = std::min(column + count, span.end);
            if (first >= end) {
                return;
            }
            to += first - column;
            const size_t at = size_t(span.at) + size_t(first);
            if (span.opaque) {
                std::memcpy(to, sprite.colours.data() + at, size_t(end - first) * sizeof *to);
            } else {
                blendWeighted(to, sprite.keep.data() + at, sprite.red.data() + at,
                              sprite.green.data() + at, sprite.blue.data() + at, end - first);
            }
        });
}

void blendAt(int32_t x, int32_t y, int code, int frame) {
    if (const PreparedSprite* prepared = preparedSprite(code, frame)) {
        blendPrepared(x, y, *prepared);
    } else if (const TileSprite* sprite = spriteOf(code, frame)) {
        blendSprite(x, y, *sprite);
    }
}

// Walls throw their shadow onto the floor beside them: an object without a
// picture (a hole) and a breakable wall standing over a cell both count.
bool castsOnFloor(int x, int y) {
    return isVoid(codeAt(x, y, LAYER_OBJECT)) || codeAt(x, y, LAYER_TOP) == BREAKABLE_WALL;
}

int floorShade(int x, int y) {
    return wallShade(y > 0 && castsOnFloor(x, y - 1), x > 0 && castsOnFloor(x - 1, y),
                     x > 0 && y > 0 && castsOnFloor(x - 1, y - 1));
}

// The mask is read with the sprite's own width and offsets (floor tiles and
// their masks are drawn at the same size). A mask holding fewer pixels than
// the sprite would be read past its end, so such a pair is not drawn at all.
bool canShade(const TileSprite& sprite, const TileSprite& mask) {
    return hasPixels(sprite) && hasPixels(mask) &&
           int64_t{mask.width} * mask.height >= int64_t{sprite.width} * sprite.height;
}

// What the floor layer draws on a tile: the sprite, and the mask that
// shades it, or no mask when it is blended as it is. No sprite: nothing.
struct FloorPicture {
    const TileSprite* sprite;
    const TileSprite* mask;
};

FloorPicture floorPicture(int x, int y, int code, int frame) {
    if (code == EMPTY || code == SPOUT || isVoid(codeAt(x, y, LAYER_OBJECT))) {
        return {};
    }
    const TileSprite* sprite = spriteOf(code, frame);
    const int shade = code == RUBBLE_FLOOR ? SHADE_NONE : floorShade(x, y);
    if (sprite == nullptr || shade == SHADE_NONE) {
        return {sprite, nullptr};
    }
    const TileSprite* mask = spriteOf(PLAIN_FLOOR, shade);
    return mask != nullptr ? FloorPicture{sprite, mask} : FloorPicture{};
}

void drawFloor(int32_t px, int32_t py, int x, int y, int code, int frame) {
    const FloorPicture picture = floorPicture(x, y, code, frame);
    if (picture.sprite == nullptr) {
        return;
    }
    if (picture.mask != nullptr) {
        shadeSprite(px, py, *picture.sprite, *picture.mask);
    } else {
        blendSprite(px, py, *picture.sprite);
    }
}

// Fire, torches, low flames and explosions light the floor before anything
// stands on it. The seed moves once per drawing so that every fire on the
// board flickers together.
void lightUp(int32_t px, int32_t py, const LightSource& light, int32_t step) {
    addLight(px + light.dx, py + light.dy, light.base + light.perStep * step);
}

void drawLights() {
    uint32_t seed = (levelFlow.flickerSeed + FLICKER_STEP) * FLICKER_FACTOR;
    levelFlow.flickerSeed = seed;
    for (int x = 0; x < board.width; ++x) {
        for (int y = 0; y < board.height; ++y) {
            int32_t px = boardView.originX + TILE_SIZE * x;
            int32_t py = boardView.originY + TILE_SIZE * y;
            int object = codeAt(x, y, LAYER_OBJECT);
            int top = codeAt(x, y, LAYER_TOP);
            if (object == TORCH_LIT) {
                lightUp(px, py, TORCH_LIGHT, frameAt(x, y, LAYER_OBJECT));
            } else if (object == EXPLOSION) {
                lightUp(px, py, EXPLOSION_LIGHT, frameAt(x, y, LAYER_OBJECT));
            } else if (top == FLAME_LOW) {
                lightUp(px, py, FLAME_LIGHT, frameAt(x, y, LAYER_TOP));
            } else if (top == FIRE) {
                lightUp(px, py, FIRE_LIGHT, static_cast<int32_t>(seed & 3));
            }
        }
    }
}

// A whole row of a prepared picture as weights: clear around its span, and
// an opaque span keeping nothing and adding its colours whole.
void rowWeights(const PreparedSprite& picture, int32_t row, int32_t width, uint16_t* keep,
                uint16_t* red, uint16_t* green, uint16_t* blue) {
    const SpriteRow& span = picture.rows[size_t(row)];
    const size_t at = size_t(span.at);
    if (span.first < span.end && !span.opaque) {
        const size_t bytes = size_t(width) * sizeof *keep;
        std::memcpy(keep, picture.keep.data() + at, bytes);
        std::memcpy(red, picture.red.data() + at, bytes);
        std::memcpy(green, picture.green.data() + at, bytes);
        std::memcpy(blue, picture.blue.data() + at, bytes);
        return;
    }
    std::fill(keep, keep + width, WHOLE);
    std::fill(red, red + width, 0);
    std::fill(green, green + width, 0);
    std::fill(blue, blue + width, 0);
    for (int32_t x = span.first; x < span.end; ++x) {
        const uint16_t colour = picture.colours[at + size_t(x)];
        keep[x] = 0;
        red[x] = static_cast<uint16_t>(red8(colour) * WHOLE);
        green[x] = static_cast<uint16_t>(green8(colour) * WHOLE);
        blue[x] = static_cast<uint16_t>(blue8(colour) * WHOLE);
    }
}

// Water pictures lie side by side on the fine grid without overlapping, so
// the order in which they are blended does not matter. When every one is the
// data file's own and exactly a fine cell in size, each pixel row of a run of
// wet cells is blended in one go, the cells' rows of weights laid side by
// side first. Returns false, having drawn nothing, when they are not.
bool drawWaterInRuns(int limitX, int limitY) {
    const int frames = elementInfo[WATER_SHAPES].frames;
    const PreparedSprite* pictures[MAX_FRAMES] = {};
    for (int frame = 0; frame < frames; ++frame) {
        pictures[frame] = preparedSprite(WATER_SHAPES, frame);
        if (pictures[frame] == nullptr || pictures[frame]->width != FINE_SIZE ||
            pictures[frame]->height != FINE_SIZE) {
            return false;
        }
    }
    const Surface& surface = *boardSurface();
    constexpr int RUN = FINE_COLUMNS * FINE_SIZE;
    uint16_t keep[RUN], red[RUN], green[RUN], blue[RUN];
    auto wet = [frames](int shape) { return shape > 0 && shape <= frames; };
    for (int r = 0; r < limitY; ++r) {
        const uint8_t* shapes = fineGrid.shapes[r];
        for (int first = 0, end = 0; first < limitX; first = end) {
            end = first + 1;
            if (!wet(shapes[first])) {
                continue;
            }
            while (end < limitX && wet(shapes[end])) {
                ++end;
            }
            for (int row = 0; row < FINE_SIZE; ++row) {
                Placement p;
                if (!place(surface, boardView.originX + FINE_SIZE * first,
                           boardView.originY + FINE_SIZE * r + row, FINE_SIZE * (end - first), 1,
                           p)) {
                    continue;
                }
                for (int c = first; c < end; ++c) {
                    const size_t to = size_t(c - first) * FINE_SIZE;
                    rowWeights(*pictures[shapes[c] - 1], row, FINE_SIZE, keep + to, red + to,
                               green + to, blue + to);
                }
                const int32_t at = p.fromX;
                blendWeighted(surfaceRow(surface, p.y0, p.x0), keep + at, red + at, green + at,
                              blue + at, p.x1 - p.x0 + 1);
            }
        }
    }
    return true;
}

void drawWater() {
    // A board of one column or row has a limit of 0 and no water.
    const int limitX = std::max(fineGrid.limitX, 0);
    const int limitY = std::max(fineGrid.limitY, 0);
    assert(limitX <= FINE_COLUMNS && limitY <= FINE_ROWS);
    if (drawWaterInRuns(limitX, limitY)) {
        return;
    }
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

// addLight without the log.
void applyLight(int32_t cx, int32_t cy, int32_t intensity) {
    Surface* surface = boardSurface();
    Placement p;
    if (surface == nullptr || !place(*surface, cx - LIGHT_REACH, cy - LIGHT_REACH,
                                     2 * LIGHT_REACH + 1, 2 * LIGHT_REACH + 1, p)) {
        return;
    }
    // Only the rules' frame arithmetic feeds this; a frame past its range
    // would turn the light negative, and light never darkens. A light past
    // the limit saturates every lit pixel just as the limit does, and the
    // limit keeps the products within 32 bits.
    intensity = std::clamp<int32_t>(intensity, 0, LIGHT_INTENSITY_LIMIT);
    const LightSquare& square = lightSquare();
    for (int32_t y0 = p.y0; y0 <= p.y1; ++y0) {
        const int32_t dy = y0 - cy;
        if (dy <= -LIGHT_REACH || dy >= LIGHT_REACH) {
            continue;
        }
        const int32_t reach = LIGHT_SPANS[size_t(dy < 0 ? -dy : dy)];
        const int32_t from = std::max(p.x0, cx - reach);
        const int32_t count = std::min(p.x1, cx + reach) - from + 1;
        const uint16_t* brightness =
            &square[size_t(dy + LIGHT_REACH)][size_t(from - cx + LIGHT_REACH)];
        uint16_t* row = surfaceRow(*surface, y0, from);
        // The game's lights stay within a byte, and their products within 16
        // bits; a stronger one is worked out in 32.
        if (intensity <= UINT8_MAX) {
            lightRow<uint16_t>(row, brightness, intensity, count);
        } else {
            lightRow<int32_t>(row, brightness, intensity, count);
        }
    }
}

// Whether a picture lays down every pixel of a tile (at least a tile in
// size, and opaque over it, or drawn through a mask, which ignores alpha),
// and whether it draws nothing at all (every pixel clear).
bool coversTile(const TileSprite& sprite, const TileSprite* mask) {
    if (sprite.width < TILE_SIZE || sprite.height < TILE_SIZE) {
        return false;
    }
    if (mask != nullptr) {
        return canShade(sprite, *mask);
    }
    for (int32_t row = 0; row < TILE_SIZE; ++row) {
        const uint8_t* from = spriteRow(sprite, row, 0);
        for (int32_t i = 0; i < TILE_SIZE; ++i, from += 4) {
            if (from[3] != OPAQUE) {
                return false;
            }
        }
    }
    return true;
}

bool allClear(const TileSprite& sprite) {
    const uint8_t* from = sprite.pixels;
    for (int64_t i = 0; i < int64_t{sprite.width} * sprite.height; ++i, from += 4) {
        if (from[3] != 0) {
            return false;
        }
    }
    return true;
}

// The answers for each sprite and mask pair, worked out at most once per
// step: the same few pictures fill a whole board.
constexpr int FACT_CACHE = 16;
enum : uint8_t {
    UNKNOWN = 0,
    NO = 1,
    YES = 2,
};
struct PictureFacts {
    const TileSprite* sprite;
    const TileSprite* mask;
    uint8_t covers, clear;
};
struct FactCache {
    PictureFacts entries[FACT_CACHE];
    int used;
};

PictureFacts& factsIn(FactCache& cache, const TileSprite* sprite, const TileSprite* mask) {
    for (int i = 0; i < cache.used; ++i) {
        if (cache.entries[i].sprite == sprite && cache.entries[i].mask == mask) {
            return cache.entries[i];
        }
    }
    const int slot = cache.used < FACT_CACHE ? cache.used++ : FACT_CACHE - 1;
    cache.entries[slot] = PictureFacts{sprite, mask, UNKNOWN, UNKNOWN};
    return cache.entries[slot];
}

bool coversIn(FactCache& cache, const TileSprite& sprite, const TileSprite* mask) {
    PictureFacts& facts = factsIn(cache, &sprite, mask);
    if (facts.covers == UNKNOWN) {
        facts.covers = coversTile(sprite, mask) ? YES : NO;
    }
    return facts.covers == YES;
}

bool clearIn(FactCache& cache, const TileSprite& sprite) {
    PictureFacts& facts = factsIn(cache, &sprite, nullptr);
    if (facts.clear == UNKNOWN) {
        facts.clear = allClear(sprite) ? YES : NO;
    }
    return facts.clear == YES;
}

// How a step treats a tile of the board.
enum : uint8_t {
    TILE_OPEN = 0,     // drawn over whatever lies there: painted before each drawing
    TILE_COVERED = 1,  // its floor lays down every pixel afresh
    TILE_ONLY_LIT = 2, // only lights draw on it, as on a wall
};

// Tiles without a floor and without an object take the board's own shadows;
// water, and whatever stands there, are drawn over what lies there.
uint8_t classifyTile(int x, int y, FactCache& cache) {
    const int floor = codeAt(x, y, LAYER_FLOOR);
    const FloorPicture picture = floorPicture(x, y, floor, frameAt(x, y, LAYER_FLOOR));
    if (picture.sprite != nullptr) {
        return coversIn(cache, *picture.sprite, picture.mask) ? TILE_COVERED : TILE_OPEN;
    }
    if (floor == EMPTY && codeAt(x, y, LAYER_OBJECT) == EMPTY) {
        return TILE_OPEN;
    }
    for (int layer : {LAYER_OBJECT, LAYER_TOP}) {
        const int code = codeAt(x, y, layer);
        if (code == EMPTY || code == SPOUT) {
            continue;
        }
        const TileSprite* sprite = spriteOf(code, frameAt(x, y, layer));
        if (sprite != nullptr && !clearIn(cache, *sprite)) {
            return TILE_OPEN;
        }
    }
    for (int r = 3 * y; r < 3 * y + 3 && r < fineGrid.limitY; ++r) {
        for (int c = 3 * x; c < 3 * x + 3 && c < fineGrid.limitX; ++c) {
            if (fineGrid.shapes[r][c] != 0) {
                return TILE_OPEN;
            }
        }
    }
    return TILE_ONLY_LIT;
}

// What the latest drawBoard left, for the next step to paint only what
// changes.
BoardDrawingLog& lightLog = boardDrawingLog;

constexpr int EDGE_ROW_BITS = 16;

uint64_t edgeObjects() {
    uint64_t bits = 0;
    if (board.width < 1 || board.height < 1) {
        return bits;
    }
    for (int y = 0; y < board.height; ++y) {
        bits |= uint64_t(codeAt(board.width - 1, y, LAYER_OBJECT) != EMPTY) << y;
    }
    for (int x = 0; x < board.width; ++x) {
        bits |= uint64_t(codeAt(x, board.height - 1, LAYER_OBJECT) != EMPTY) << (EDGE_ROW_BITS + x);
    }
    return bits;
}

// The tiles are told apart only by a step, which knows them already; after
// any other drawing the next step paints every tile that is not covered.
void startLightLog(const Surface& surface) {
    lightLog.pixels = surface.pixels;
    lightLog.originX = boardView.originX;
    lightLog.originY = boardView.originY;
    lightLog.width = board.width;
    lightLog.height = board.height;
    lightLog.count = 0;
    lightLog.edgeObjects = edgeObjects();
    lightLog.tilesKnown = 0;
}

// Rectangles as x0, y0 and one past x1, y1, for growing and cutting.
struct Span {
    int32_t x0, y0, x1, y1;
};

bool spanEmpty(const Span& s) {
    return s.x0 >= s.x1 || s.y0 >= s.y1;
}

Span cut(const Span& a, const Span& b) {
    return Span{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1),
                std::min(a.y1, b.y1)};
}

Span grow(const Span& a, const Span& b) {
    if (spanEmpty(a)) {
        return b;
    }
    if (spanEmpty(b)) {
        return a;
    }
    return Span{std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1),
                std::max(a.y1, b.y1)};
}

constexpr int BANDS = 4; // above, below, left and right of the board

// Grows each band's part to take in where the logged lights fall on it.
void takeInLights(const Span (&bands)[BANDS], Span (&parts)[BANDS]) {
    for (int32_t i = 0; i < lightLog.count; ++i) {
        const LightSpot& spot = lightLog.spots[i];
        const Span square{spot.cx - LIGHT_REACH, spot.cy - LIGHT_REACH, spot.cx + LIGHT_REACH + 1,
                          spot.cy + LIGHT_REACH + 1};
        for (int band = 0; band < BANDS; ++band) {
            const Span lit = cut(square, bands[band]);
            if (!spanEmpty(lit)) {
                parts[band] = grow(parts[band], lit);
            }
        }
    }
}

// The part of the canvas a drawing of the board may change: the board, the
// reach of its lights around it, and the column and row right of and below
// it where its shadows fall, within the surface's clip.
Rect paintArea(const Surface& surface) {
    int32_t x0 = boardView.originX - LIGHT_REACH;
    int32_t y0 = boardView.originY - LIGHT_REACH;
    int32_t x1 = boardView.originX + TILE_SIZE * board.width - 1 + LIGHT_REACH;
    int32_t y1 = boardView.originY + TILE_SIZE * board.height - 1 + LIGHT_REACH;
    if (!clipRect(surface, x0, y0, x1, y1)) {
        return {};
    }
    return Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

Span tileSpan(int x, int y) {
    const int32_t left = boardView.originX + TILE_SIZE * x;
    const int32_t top = boardView.originY + TILE_SIZE * y;
    return Span{left, top, left + TILE_SIZE, top + TILE_SIZE};
}

// Whether a light of the log falls on the span.
bool litByLog(const Span& span) {
    for (int32_t i = 0; i < lightLog.count; ++i) {
        const LightSpot& spot = lightLog.spots[i];
        const Span square{spot.cx - LIGHT_REACH, spot.cy - LIGHT_REACH, spot.cx + LIGHT_REACH + 1,
                          spot.cy + LIGHT_REACH + 1};
        if (!spanEmpty(cut(square, span))) {
            return true;
        }
    }
    return false;
}

// Paints a part around the board afresh: the background, then the lights of
// the latest drawing, the part being the clip (which it stays, for the
// shadows to follow).
void paintLit(Surface& surface, const Span& span, uint16_t background) {
    surfaceSetClip(surface, span.x0, span.y0, span.x1, span.y1);
    surfaceFillRect(surface, span.x0, span.y0, span.x1 - 1, span.y1 - 1, background);
    for (int32_t i = 0; i < lightLog.count; ++i) {
        const LightSpot& spot = lightLog.spots[i];
        applyLight(spot.cx, spot.cy, spot.intensity);
    }
}

// Paints the background, before the board is drawn, over the tiles that
// their floor does not cover. A tile that only lights draw on, now and in
// the drawing before, is left alone unless a light of that drawing fell on
// it: it still holds the bare background, and this drawing's lights go onto
// it as onto a cleared canvas.
void repaintOpenTiles(Surface& surface, uint16_t background, const uint8_t (&tiles)[CELL_COUNT]) {
    for (int y = 0; y < board.height; ++y) {
        const Span row = tileSpan(0, y);
        int first = -1;
        for (int x = 0; x <= board.width; ++x) {
            const int cell = cellIndex(x, y);
            const bool paint = x < board.width && tiles[cell] != TILE_COVERED &&
                               (tiles[cell] == TILE_OPEN || !lightLog.tilesKnown ||
                                lightLog.tiles[cell] != TILE_ONLY_LIT || litByLog(tileSpan(x, y)));
            if (paint && first < 0) {
                first = x;
            } else if (!paint && first >= 0) {
                surfaceFillRect(surface, row.x0 + TILE_SIZE * first, row.y0,
                                row.x0 + TILE_SIZE * x - 1, row.y1 - 1, background);
                first = -1;
            }
        }
    }
}

} // namespace

int wallShade(bool above, bool left, bool aboveLeft) {
    if (above) {
        return left ? SHADE_ABOVE_AND_LEFT : SHADE_ABOVE;
    }
    if (left) {
        return SHADE_LEFT;
    }
    return aboveLeft ? SHADE_CORNER : SHADE_NONE;
}

void blendSprite(int32_t x, int32_t y, const TileSprite& sprite) {
    if (!hasPixels(sprite)) {
        return;
    }
    // Weighed a piece of a row at a time, as the prepared pictures were.
    constexpr int32_t PIECE = 64;
    uint16_t keep[PIECE], red[PIECE], green[PIECE], blue[PIECE];
    forEachClippedRow(x, y, sprite.width, sprite.height,
                      [&](uint16_t* to, int32_t row, int32_t column, int32_t count) {
                          for (int32_t done = 0; done < count; done += PIECE) {
                              const int32_t piece = std::min(PIECE, count - done);
                              weighPixels(spriteRow(sprite, row, column + done), piece, keep, red,
                                          green, blue);
                              blendWeighted(to + done, keep, red, green, blue, piece);
                          }
                      });
}

void shadeSprite(int32_t x, int32_t y, const TileSprite& sprite, const TileSprite& mask) {
    if (!canShade(sprite, mask)) {
        return;
    }
    forEachClippedRow(x, y, sprite.width, sprite.height,
                      [&](uint16_t* to, int32_t row, int32_t column, int32_t count) {
                          const uint8_t* from = spriteRow(sprite, row, column);
                          const uint8_t* by = mask.pixels + (from - sprite.pixels);
                          for (int32_t i = 0; i < count; ++i, from += 4, by += 4) {
                              const int m = factorOf(by[2]);
                              to[i] = pixelFrom8(scaled(from[0], m), scaled(from[1], m),
                                                 scaled(from[2], m));
                          }
                      });
}

void darkenByMask(int32_t x, int32_t y, const TileSprite& mask) {
    if (!hasPixels(mask)) {
        return;
    }
    forEachClippedRow(x, y, mask.width, mask.height,
                      [&](uint16_t* to, int32_t row, int32_t column, int32_t count) {
                          const uint8_t* by = spriteRow(mask, row, column);
                          for (int32_t i = 0; i < count; ++i, by += 4) {
                              const int m = factorOf(by[2]);
                              const uint16_t under = to[i];
                              to[i] = pixelFrom8(scaled(red8(under), m), scaled(green8(under), m),
                                                 scaled(blue8(under), m));
                          }
                      });
}

void addLight(int32_t cx, int32_t cy, int32_t intensity) {
    if (lightLog.count < CELL_COUNT) {
        lightLog.spots[lightLog.count++] = LightSpot{cx, cy, intensity};
    }
    applyLight(cx, cy, intensity);
}

void drawBoard() {
    // Without a window there is nothing to draw into, and the flicker seed is
    // left alone: it belongs to the pictures actually shown.
    if (boardSurface() == nullptr) {
        return;
    }
    assert(boardWithinStorage());
    startLightLog(*boardSurface());
    for (int layer = LAYER_FLOOR; layer <= LAYER_TOP; ++layer) {
        if (layer == LAYER_OBJECT) {
            drawLights();
        }
        for (int x = 0; x < board.width; ++x) {
            for (int y = 0; y < board.height; ++y) {
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
    assert(boardWithinStorage());
    const int columns = board.width;
    const int rows = board.height;
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
            const int shade = wallShade(y > 0 && x < columns && objectCasts(x, y - 1),
                                        x > 0 && y < rows && objectCasts(x - 1, y),
                                        x > 0 && y > 0 && objectCasts(x - 1, y - 1));
            if (shade == SHADE_NONE) {
                continue;
            }
            if (const TileSprite* mask = spriteOf(PLAIN_FLOOR, shade)) {
                darkenByMask(boardView.originX + TILE_SIZE * x, boardView.originY + TILE_SIZE * y,
                             *mask);
            }
        }
    }
}

Rect drawBoardStep(uint16_t background) {
    Surface* surface = boardSurface();
    if (surface == nullptr) {
        return {};
    }
    assert(boardWithinStorage());
    const Rect area = paintArea(*surface);
    const Span all{area.x, area.y, area.x + area.width, area.y + area.height};
    const Span inside{boardView.originX, boardView.originY,
                      boardView.originX + TILE_SIZE * board.width,
                      boardView.originY + TILE_SIZE * board.height};
    const Span bands[BANDS] = {
        cut({all.x0, all.y0, all.x1, inside.y0}, all),
        cut({all.x0, inside.y1, all.x1, all.y1}, all),
        cut({all.x0, inside.y0, inside.x0, inside.y1}, all),
        cut({inside.x1, inside.y0, all.x1, inside.y1}, all),
    };
    // Around the board only lights and shadows ever draw: what the lights of
    // the drawing before reached there is painted afresh, with what the
    // lights of this one reach, and the shadows' row and column when the
    // objects beside them changed. The rest keeps what it holds.
    Span parts[BANDS] = {};
    takeInLights(bands, parts);
    const uint64_t edgeBefore = lightLog.edgeObjects;
    // What the log says holds only for this canvas and this board where they
    // are now; after a drawing of some other board (or of this one on some
    // other canvas) everything is painted afresh.
    if (lightLog.pixels != surface->pixels || lightLog.originX != boardView.originX ||
        lightLog.originY != boardView.originY || lightLog.width != board.width ||
        lightLog.height != board.height) {
        std::copy(std::begin(bands), std::end(bands), parts);
        lightLog.tilesKnown = 0;
    }

    const int32_t clipLeft = surface->clipLeft, clipTop = surface->clipTop;
    const int32_t clipRight = surface->clipRight, clipBottom = surface->clipBottom;
    uint8_t tiles[CELL_COUNT] = {};
    FactCache cache{};
    for (int x = 0; x < board.width; ++x) {
        for (int y = 0; y < board.height; ++y) {
            tiles[cellIndex(x, y)] = classifyTile(x, y, cache);
        }
    }
    surfaceSetClip(*surface, inside.x0, inside.y0, inside.x1, inside.y1);
    repaintOpenTiles(*surface, background, tiles);
    drawBoard();
    drawBoardShadows();
    std::copy(std::begin(tiles), std::end(tiles), lightLog.tiles);
    lightLog.tilesKnown = 1;

    takeInLights(bands, parts);
    if (edgeBefore != lightLog.edgeObjects) {
        parts[1] = bands[1];
        parts[3] = bands[3];
    }
    Span changed = cut(inside, all);
    for (int band = 0; band < BANDS; ++band) {
        const Span& part = parts[band];
        if (spanEmpty(part)) {
            continue;
        }
        paintLit(*surface, part, background);
        drawBoardShadows();
        changed = grow(changed, part);
    }
    surfaceSetClip(*surface, clipLeft, clipTop, clipRight, clipBottom);
    if (spanEmpty(changed)) {
        return {};
    }
    return Rect{changed.x0, changed.y0, changed.x1 - changed.x0, changed.y1 - changed.y0};
}
