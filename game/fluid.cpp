#include "game/fluid.h"

#include "game/state.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>

FineGrid fineGrid;

namespace {

// Tile-level operations may be handed a neighbour of a border tile; anything
// outside the 18 x 13 storage is ignored so that no fine index leaves the
// arrays. Tiles inside the storage but outside the level are written like any
// other: nothing reads them until a later level's set-up rewrites them.
bool tileInStorage(int x, int y) {
    return x >= 0 && x < BOARD_COLUMNS && y >= 0 && y < BOARD_ROWS;
}

// Everything the fine grid keeps for a unit of water once it has moved on:
// the open and drain bits stay, the full bit and the spread counter go.
constexpr uint8_t KEPT_WHEN_EMPTIED = 14;
// After this many spreads with both sides free a unit of water dries up.
constexpr int SPREAD_LIMIT = 6;

// Calls change on each of the tile's nine fine cells. Written out, so that a
// change with a fixed mask becomes one instruction a cell.
template <typename Change> void forTileCells(int x, int y, Change change) {
    for (int r = 3 * y; r < 3 * y + 3; ++r) {
        uint8_t* cells = &fineGrid.cells[r][3 * x];
        change(cells[0]);
        change(cells[1]);
        change(cells[2]);
    }
}

// Solid: no water may enter, and it counts as full for the probes and for the
// shapes of the water beside it.
void stampSolid(int x, int y) {
    markTile(x, y, 0, FINE_OPEN);
    markTile(x, y, 1, FINE_FULL);
}

// Low two bits 2: water may go there and none is there yet.
bool openAndEmpty(uint8_t cell) {
    return (cell & 3) == FINE_OPEN;
}

// The lowest bits of a word's eight bytes gathered into one byte, the first
// byte in memory giving bit 0. The multiplication adds up shifted copies of
// the word, one per byte, and lands byte j's bit on bit 56 + j; no two copies
// meet in the same bit, so nothing carries. The factor depends on which end
// of the word the first byte sits.
uint8_t lowestBitsOfBytes(uint64_t word) {
    constexpr uint64_t GATHER =
        std::endian::native == std::endian::little ? 0x0102040810204080 : 0x8040201008040201;
    constexpr int TOP_BYTE = 56;
    return static_cast<uint8_t>((word * GATHER) >> TOP_BYTE);
}

// The cells of a fine row that hold water (full and open), as bit c for
// column c, read eight cells at a time: most of a board is dry, and the sweep
// and the shapes pass it by.
uint64_t waterCells(const uint8_t* row) {
    constexpr int WORD = sizeof(uint64_t);
    // Each byte's lowest bit after word & (word >> 1): its full and open bits.
    constexpr uint64_t LOWEST_BIT_OF_EACH_BYTE = 0x0101010101010101;
    auto waterAt = [row](int from) {
        uint64_t word = 0;
        std::memcpy(&word, row + from, WORD);
        return word & (word >> 1) & LOWEST_BIT_OF_EACH_BYTE;
    };
    // The last word overlaps the one before instead of reading past the row.
    constexpr int LAST = FINE_COLUMNS - WORD;
    // Most rows are dry, and one test of all their words says so.
    uint64_t any = waterAt(LAST);
    for (int from = 0; from < LAST; from += WORD) {
        any |= waterAt(from);
    }
    if (any == 0) {
        return 0;
    }
    uint64_t cells = uint64_t{lowestBitsOfBytes(waterAt(LAST))} << LAST;
    for (int from = 0; from < LAST; from += WORD) {
        cells |= uint64_t{lowestBitsOfBytes(waterAt(from))} << from;
    }
    return cells;
}

// Columns 3 to limitX - 1 as bits: the band that the sweep and the shapes
// work on.
uint64_t innerColumns(int limitX) {
    return limitX > 3 ? ((uint64_t{1} << limitX) - 1) & ~uint64_t{7} : 0;
}

// Moving a unit replaces the whole destination byte: the spread counter goes
// with the water, and a drain cell it enters loses its drain bit until
// markDrains runs again (the tile is still emptied through the drain list).
// The source keeps its open and drain bits but loses its full bit and counter.
void moveTo(uint8_t& from, uint8_t& to, uint8_t value) {
    to = value;
    from = static_cast<uint8_t>(from & KEPT_WHEN_EMPTIED);
}

// One bottom-up pass over the band of fine rows above the board's last tile
// row. A unit that falls lands in a row already swept and a unit that moves
// right lands in a column that is then skipped, so every unit moves at most
// once per step.
void sweep() {
    const bool odd = (fineGrid.stepCounter & 1) != 0;
    const uint64_t columns = innerColumns(fineGrid.limitX);
    for (int u = fineGrid.limitY - 1; u >= 2; --u) {
        uint8_t* row = fineGrid.cells[u];
        uint8_t* below = fineGrid.cells[u + 1];
        // The water is listed before the row is swept. Only the row's own
        // units move in it meanwhile: one that moves right lands in the column
        // that is skipped next (its bit is dropped), and one that moves left
        // lands in a column already passed.
        uint64_t water = waterCells(row) & columns;
        while (water != 0) {
            const int c = std::countr_zero(water);
            water &= water - 1;
            const uint64_t skipNext = ~(uint64_t{1} << (c + 1));
            const uint8_t v = row[c];
            // Drains pull before anything else, even into a full cell.
            if (below[c] & FINE_DRAIN) {
                moveTo(row[c], below[c], v);
            } else if (row[c + 1] & FINE_DRAIN) {
                moveTo(row[c], row[c + 1], v);
                water &= skipNext;
            } else if (row[c - 1] & FINE_DRAIN) {
                moveTo(row[c], row[c - 1], v);
            } else if (openAndEmpty(below[c])) {
                moveTo(row[c], below[c], v);
            } else if (openAndEmpty(below[c + 1]) || openAndEmpty(below[c - 1])) {
                const bool right = openAndEmpty(below[c + 1]);
                const bool left = openAndEmpty(below[c - 1]);
                // The step counter's parity breaks the tie, so a drop on a
                // peak leans right on odd steps and left on even ones.
                if (right && (!left || odd)) {
                    moveTo(row[c], below[c + 1], v);
                } else {
                    moveTo(row[c], below[c - 1], v);
                }
            } else if (openAndEmpty(row[c + 1]) && openAndEmpty(row[c - 1])) {
                // Free on both sides: the unit wanders and ages. After six
                // such spreads it dries up, so a lone drop on a flat floor
                // cannot wander for ever.
                if ((v >> FINE_SPREAD_SHIFT) >= SPREAD_LIMIT) {
                    row[c] = static_cast<uint8_t>(v & KEPT_WHEN_EMPTIED);
                } else if (odd) {
                    moveTo(row[c], row[c + 1], static_cast<uint8_t>(v + FINE_SPREAD));
                    water &= skipNext;
                } else {
                    moveTo(row[c], row[c - 1], static_cast<uint8_t>(v + FINE_SPREAD));
                }
            } else if (openAndEmpty(row[c + 1])) {
                // Sliding along a wall does not age the water.
                moveTo(row[c], row[c + 1], v);
                water &= skipNext;
            } else if (openAndEmpty(row[c - 1])) {
                moveTo(row[c], row[c - 1], v);
            }
        }
    }
}

uint8_t fullBit(uint8_t cell) {
    return cell & FINE_FULL;
}

// Only a cell holding water has a shape: one that is not open gets none, and
// an open cell without water finds none in the table either.
void computeShapes() {
    const int limitX = fineGrid.limitX;
    const uint64_t columns = innerColumns(limitX);
    for (int r = 3; r <= fineGrid.limitY - 1; ++r) {
        const uint8_t* above = fineGrid.cells[r - 1];
        const uint8_t* row = fineGrid.cells[r];
        const uint8_t* below = fineGrid.cells[r + 1];
        uint8_t* shapes = fineGrid.shapes[r];
        std::fill(shapes + 3, shapes + std::max(limitX, 3), WATER_NONE);
        for (uint64_t water = waterCells(row) & columns; water != 0; water &= water - 1) {
            const int c = std::countr_zero(water);
            const int code = fullBit(row[c - 1]) + 2 * FINE_FULL + 4 * fullBit(row[c + 1]) +
                             8 * fullBit(above[c]) + 16 * fullBit(below[c]);
            shapes[c] = fineGrid.shapeTable[code];
        }
    }
}

} // namespace

void markTile(int x, int y, int set, uint8_t mask) {
    if (!tileInStorage(x, y)) {
        return;
    }
    if (set) {
        forTileCells(x, y, [mask](uint8_t& cell) { cell |= mask; });
    } else {
        forTileCells(x, y, [mask](uint8_t& cell) { cell &= static_cast<uint8_t>(~mask); });
    }
}

void openTile(int x, int y) {
    markTile(x, y, 0, FINE_FULL);
    markTile(x, y, 1, FINE_OPEN);
}

void openFineCell(int x, int y, int subColumn, int subRow) {
    if (!tileInStorage(x, y) || subColumn < 0 || subColumn > 2 || subRow < 0 || subRow > 2) {
        return;
    }
    uint8_t& cell = fineGrid.cells[3 * y + subRow][3 * x + subColumn];
    cell = static_cast<uint8_t>((cell & ~FINE_FULL) | FINE_OPEN);
}

void markSolids() {
    assert(boardWithinStorage());
    for (int x = 0; x < board.width; ++x) {
        for (int y = 0; y < board.height; ++y) {
            // A breakable wall stands over its object and holds water back
            // like a solid block, whatever lies beneath it.
            const int code = layerAt(x, y, LAYER_TOP) == BREAKABLE_WALL
                                 ? int{SOLID_BLOCK}
                                 : int{layerAt(x, y, LAYER_OBJECT)};
            switch (code) {
            case SOLID_BLOCK:
            case LOCK:
            case DOOR:
            case INERT_SOLID_A:
            case BLAST_BLOCK:
            case INERT_SOLID_B: stampSolid(x, y); break;
            case PIPE_HORIZONTAL:
                stampSolid(x, y);
                for (int k = 0; k < 3; ++k) {
                    openFineCell(x, y, k, 1);
                }
                break;
            case PIPE_VERTICAL:
                stampSolid(x, y);
                for (int k = 0; k < 3; ++k) {
                    openFineCell(x, y, 1, k);
                }
                break;
            case PIPE_TEE:
                stampSolid(x, y);
                for (int k = 0; k < 3; ++k) {
                    openFineCell(x, y, k, 1);
                }
                openFineCell(x, y, 1, 0);
                break;
            default: markTile(x, y, 1, FINE_OPEN); break;
            }
        }
    }
    applyBaffles();
}

void applyBaffles() {
    // Only inner tiles: the board's frame never holds a working baffle.
    assert(boardWithinStorage());
    for (int x = 1; x <= board.width - 2; ++x) {
        for (int y = 1; y <= board.height - 2; ++y) {
            const int code = layerAt(x, y, LAYER_OBJECT);
            if (code == EMPTY) {
                // Reopens the tile a baffle has just left, but a wall over
                // an empty tile stays solid.
                if (layerAt(x, y, LAYER_TOP) != BREAKABLE_WALL) {
                    markTile(x, y, 1, FINE_OPEN);
                }
            } else if (code == BAFFLE_LEFT || code == BAFFLE_RIGHT) {
                markTile(x, y, 1, FINE_OPEN);
                // Closed cells are neither water nor solid; whatever water
                // stood there is lost.
                uint8_t* top = fineGrid.cells[3 * y];
                uint8_t* middle = fineGrid.cells[3 * y + 1];
                top[3 * x + (code == BAFFLE_LEFT ? 0 : 2)] = 0;
                middle[3 * x] = 0;
                middle[3 * x + 1] = 0;
                middle[3 * x + 2] = 0;
            }
        }
    }
}

void markDrains() {
    fineGrid.drainCount = 0;
    assert(boardWithinStorage());
    for (int x = 0; x < board.width; ++x) {
        for (int y = 0; y < board.height; ++y) {
            const bool drain = layerAt(x, y, LAYER_OBJECT) == DRAIN ||
                               layerAt(x, y, LAYER_TOP) == EXIT ||
                               layerAt(x, y, LAYER_FLOOR) == LAVA;
            if (drain) {
                forTileCells(x, y, [](uint8_t& cell) { cell |= FINE_DRAIN; });
            } else {
                forTileCells(x, y, [](uint8_t& cell) { cell &= ~FINE_DRAIN; });
            }
            // Only the first sixteen are emptied every step; later ones still
            // draw water in through their drain bits.
            if (drain && fineGrid.drainCount < MAX_DRAINS) {
                fineGrid.drains[fineGrid.drainCount++] = FinePoint{x, y};
            }
        }
    }
}

void setupFineGrid() {
    assert(boardWithinStorage());
    fineGrid.limitX = 3 * board.width - 3;
    fineGrid.limitY = 3 * board.height - 3;
    fineGrid.sourceCount = 0;
    // Spread counters left in the cells by the previous level are kept: they
    // can only shorten the life of water that later wanders into those cells,
    // and keeping them leaves set-up touching exactly the full, open and drain
    // bits. The step counter carries on as well.
    for (int x = 0; x < board.width; ++x) {
        for (int y = 0; y < board.height; ++y) {
            markTile(x, y, 0, FINE_FULL);
            if (layerAt(x, y, LAYER_OBJECT) == WATER_SOURCE && fineGrid.sourceCount < MAX_SOURCES) {
                fineGrid.sources[fineGrid.sourceCount++] = FinePoint{x, y};
            }
        }
    }
    // The shapes of the frame are never computed; clearing them here keeps a
    // larger previous level's water from showing around a smaller one.
    std::memset(fineGrid.shapes, 0, sizeof fineGrid.shapes);
    markSolids();
    markDrains();
    flowStep();
}

void flowStep() {
    // Counted in unsigned so that a very long session wraps instead of
    // overflowing; only the parity is ever read.
    fineGrid.stepCounter = static_cast<int32_t>(static_cast<uint32_t>(fineGrid.stepCounter) + 1);

    // Emptying the drains first lets water that ran in during the previous
    // step stay visible for one step.
    assert(fineGrid.drainCount <= MAX_DRAINS && fineGrid.sourceCount <= MAX_SOURCES);
    // The sweep and the shapes reach a fine cell past the limits, which
    // setupFineGrid derived from a board loadLevel kept within its storage.
    assert(fineGrid.limitX <= FINE_COLUMNS - 3 && fineGrid.limitY <= FINE_ROWS - 3);
    for (int i = 0; i < fineGrid.drainCount; ++i) {
        markTile(fineGrid.drains[i].x, fineGrid.drains[i].y, 0, FINE_FULL);
    }

    sweep();

    // Sources fill the middle of their tile's bottom third after the sweep,
    // so new water first moves on the next step.
    for (int i = 0; i < fineGrid.sourceCount; ++i) {
        const FinePoint& source = fineGrid.sources[i];
        if (tileInStorage(source.x, source.y)) {
            fineGrid.cells[3 * source.y + 2][3 * source.x + 1] |= FINE_FULL;
        }
    }

    computeShapes();
}

void buildShapeTable() {
    for (int code = 0; code < SHAPE_CODES; ++code) {
        const bool left = code & 1;
        const bool self = code & 2;
        const bool right = code & 4;
        const bool above = code & 8;
        const bool below = code & 16;
        uint8_t shape = WATER_NONE;
        if (!self) {
            shape = WATER_NONE;
        } else if (!above) {
            if (!left && !right) {
                shape = below ? WATER_DROP_ON_FULL : WATER_DROP;
            } else if (left && !right) {
                shape = WATER_RIGHT_END;
            } else if (!left && right) {
                shape = WATER_LEFT_END;
            } else {
                shape = WATER_FULL;
            }
        } else if (left && !right && !below) {
            shape = WATER_CORNER_LEFT;
        } else if (!left && right && !below) {
            shape = WATER_CORNER_RIGHT;
        } else {
            shape = WATER_FULL;
        }
        fineGrid.shapeTable[code] = shape;
    }
}

// A tile outside the level reads as not full, so that a float in the bottom
// row sees nothing holding it up from below the board.
int fullTop(int x, int y, int k) {
    if (!insideBoard(x, y) || k < 0 || k > 2) {
        return 0;
    }
    return fineGrid.cells[3 * y][3 * x + k] & FINE_FULL;
}

int fullBottom(int x, int y, int k) {
    if (!insideBoard(x, y) || k < 0 || k > 2) {
        return 0;
    }
    return fineGrid.cells[3 * y + 2][3 * x + k] & FINE_FULL;
}
