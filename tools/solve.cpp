#include "tools/solve.h"

#include "game/board.h"
#include "game/elements.h"
#include "game/flow.h"
#include "game/fluid.h"
#include "game/move.h"
#include "game/rules.h"
#include "game/sound.h"
#include "tools/leveltext.h"
#include "tools/sim.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <ostream>
#include <unistd.h>

namespace {

// What the search keeps of a state.
//
// The rules read the three layers of every cell with their animation states,
// the fine grid's cells and its drain list, the move request, burnersOn,
// bubbleCounter and the parity of the water's step counter. A state is that,
// and two states are merged only when all of it matches, except for what no
// rule ever reads:
// - the tick, frame and flags of every element whose animation no rule waits
//   for (looping and still elements, a sinking barrier's slot): they are kept
//   at zero, while the one-shot elements the rules watch (a thrown lever, a
//   burning fuse, an explosion, an opening lock or door, a ball dropping into
//   its box, a burning float) keep theirs exactly;
// - the counter of lava with nothing on it: the lava rule only counts under
//   a load, and whatever is pushed onto lava finds the counter reset;
// - the water shapes, worked out afresh from the cells by every water step
//   and only ever drawn;
// - the step counter beyond its lowest bit, the only one the water reads,
//   and that bit too in a level without a source or a spout, where no water
//   ever stands;
// - allPlatesPressed and noBallLeft, which every step sets afresh before any
//   rule reads them; the effort mark and the light flicker, which only the
//   drawing reads; the sources, fixed when the level is set up.
//
// Stored, a state is two ids and a word. The board (every cell with the
// player taken off it) and the fine grid are each written as their
// differences from the level's start, and each distinct one is kept once in
// a set of its own: a board is shared by every place the player can stand on
// it, a fine grid by every state the water has reached at the same time.
// The word holds the player (his cell, which way he faces, whether he
// recoils, his recoil counter) and the small rule globals.
struct Node {
    uint32_t board;
    uint32_t fine;
    uint32_t word;   // the fields below; the top bits hold the move that led here
    uint32_t parent; // index of the state this one was reached from
};

constexpr uint32_t NO_PARENT = 0xffffffffu;
constexpr int PLAYER_CELL_SHIFT = 0;   // 8 bits: cell index, 255 for no player
constexpr int PLAYER_KIND_SHIFT = 8;   // 2 bits: left, right, recoiling left, right
constexpr int PLAYER_COUNT_SHIFT = 10; // 3 bits: the player's step counter
constexpr int MOVE_REQUEST_SHIFT = 13; // 3 bits
constexpr int BURNERS_SHIFT = 16;      // 1 bit
constexpr int PARITY_SHIFT = 17;       // 1 bit
constexpr int BUBBLE_SHIFT = 18;       // 6 bits
constexpr int MOVE_SHIFT = 24;         // 3 bits: the input of the tick that led here
constexpr uint32_t KEY_MASK = (1u << MOVE_SHIFT) - 1;
constexpr uint32_t NO_PLAYER_CELL = 255;

constexpr ElementCode playerKinds[4] = {PLAYER_LEFT, PLAYER_RIGHT, PLAYER_HURT_LEFT,
                                        PLAYER_HURT_RIGHT};
constexpr char moveChars[5] = {'.', 'R', 'L', 'U', 'D'};

// The search never holds more than this, whatever the state bound says: the
// machines it runs on are shared.
constexpr int64_t MEMORY_CAP = int64_t{5} << 30;

// What the search needs to know of each element code, indexed by the code's
// byte (a stray code outside the table is neither).
enum : uint8_t {
    // Some rule reads how far its animation has played: the one-shot
    // elements whose end a rule waits for, and the explosion, which spreads
    // after its second frame.
    CODE_PROGRESS = 1,
    CODE_PLAYER = 2,
};

constexpr std::array<uint8_t, 256> codeTraits = [] {
    std::array<uint8_t, 256> traits{};
    for (ElementCode code : {LEVER_THROWN, KEG_LIT, SLOW_KEG_LIT, EXPLOSION, LOCK_OPENING,
                             BALL_INTO_BOX, DOOR_OPENING, FLOAT_BURNING}) {
        traits[static_cast<uint8_t>(code)] |= CODE_PROGRESS;
    }
    for (ElementCode code : playerKinds) {
        traits[static_cast<uint8_t>(code)] |= CODE_PLAYER;
    }
    return traits;
}();

uint8_t traitsOf(int8_t code) {
    return codeTraits[static_cast<uint8_t>(code)];
}

// The bits of an animation state, read as a 32-bit word, that the search
// keeps for each code: all of them where the progress matters, else only the
// counter.
const std::array<uint32_t, 256> keptBits = [] {
    AnimState counter{0, 0, 0, -1};
    uint32_t counterBits = 0;
    std::memcpy(&counterBits, &counter, sizeof counterBits);
    std::array<uint32_t, 256> bits{};
    for (size_t code = 0; code < bits.size(); ++code) {
        bits[code] = (codeTraits[code] & CODE_PROGRESS) ? ~uint32_t{0} : counterBits;
    }
    return bits;
}();

uint32_t keptOf(int8_t code) {
    return keptBits[static_cast<uint8_t>(code)];
}

uint64_t mixBits(uint64_t h) {
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    h ^= h >> 33;
    return h;
}

uint64_t hashBytes(const uint8_t* data, size_t size) {
    uint64_t h = 0x9e3779b97f4a7c15ULL ^ size;
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t word;
        std::memcpy(&word, data + i, 8);
        h = (h ^ mixBits(word)) * 0x9e3779b97f4a7c15ULL;
    }
    uint64_t tail = 0;
    std::memcpy(&tail, data + i, size - i);
    return mixBits(h ^ tail);
}

void putVarint(std::vector<uint8_t>& out, size_t value) {
    while (value >= 128) {
        out.push_back(static_cast<uint8_t>(value | 128));
        value >>= 7;
    }
    out.push_back(static_cast<uint8_t>(value));
}

size_t getVarint(const uint8_t*& in) {
    size_t value = 0;
    for (int shift = 0;; shift += 7) {
        const uint8_t byte = *in++;
        value |= static_cast<size_t>(byte & 127) << shift;
        if (byte < 128) {
            return value;
        }
    }
}

// The first position from `from` on where now and base differ, or size.
size_t firstDifference(const uint8_t* now, const uint8_t* base, size_t from, size_t size) {
    for (; from + 8 <= size; from += 8) {
        uint64_t a;
        uint64_t b;
        std::memcpy(&a, now + from, 8);
        std::memcpy(&b, base + from, 8);
        if (a != b) {
            break;
        }
    }
    while (from < size && now[from] == base[from]) {
        ++from;
    }
    return from;
}

// Appends the bytes of now that differ from base as runs: bytes to skip, then
// a run length and the run's bytes, until the skip reaches the end. Short
// stretches of equal bytes inside a run stay in it; a new run costs two bytes.
void appendDiff(std::vector<uint8_t>& out, const uint8_t* now, const uint8_t* base, size_t size) {
    size_t at = 0;
    while (true) {
        const size_t from = firstDifference(now, base, at, size);
        putVarint(out, from - at);
        if (from == size) {
            return;
        }
        size_t end = from + 1;
        for (size_t same = 0; end < size && same < 3; ++end) {
            same = now[end] == base[end] ? same + 1 : 0;
        }
        while (now[end - 1] == base[end - 1]) {
            --end;
        }
        putVarint(out, end - from);
        out.insert(out.end(), now + from, now + end);
        at = end;
    }
}

// Writes the runs appendDiff made over a copy of base; returns past them.
const uint8_t* applyDiff(const uint8_t* in, uint8_t* to, size_t size) {
    size_t at = 0;
    while (true) {
        at += getVarint(in);
        if (at >= size) {
            return in;
        }
        const size_t run = getVarint(in);
        std::memcpy(to + at, in, run);
        in += run;
        at += run;
    }
}

// Storage in fixed pages, so that growing never copies what is stored nor
// needs twice the memory for a moment.
template <typename T, size_t PAGE> struct Pages {
    std::vector<std::unique_ptr<T[]>> pages;
    size_t count = 0;
};

template <typename T, size_t PAGE> T& at(Pages<T, PAGE>& store, size_t index) {
    return store.pages[index / PAGE][index % PAGE];
}

template <typename T, size_t PAGE> size_t append(Pages<T, PAGE>& store, const T& value) {
    if (store.count == store.pages.size() * PAGE) {
        store.pages.push_back(std::make_unique_for_overwrite<T[]>(PAGE));
    }
    at(store, store.count) = value;
    return store.count++;
}

template <typename T, size_t PAGE> int64_t bytesOf(const Pages<T, PAGE>& store) {
    return static_cast<int64_t>(store.pages.size() * PAGE * sizeof(T));
}

// Open addressing over ids, linear probing; a slot holds id + 1, 0 is free.
// The table doubles before it is 60% full.
struct IdTable {
    std::vector<uint32_t> slots;
    size_t used = 0;
};

template <typename HashOf> void growTable(IdTable& table, HashOf hashOf) {
    std::vector<uint32_t> old = std::move(table.slots);
    table.slots.assign(old.empty() ? size_t{1} << 16 : old.size() * 2, 0);
    const size_t mask = table.slots.size() - 1;
    for (uint32_t slot : old) {
        if (slot != 0) {
            size_t i = hashOf(slot - 1) & mask;
            while (table.slots[i] != 0) {
                i = (i + 1) & mask;
            }
            table.slots[i] = slot;
        }
    }
}

// Byte strings of any length, each kept once and known by its id.
constexpr size_t BLOB_PAGE = size_t{16} << 20;

struct BlobSet {
    Pages<uint8_t, BLOB_PAGE> bytes;
    std::vector<uint64_t> where; // id -> offset of its length in bytes
    IdTable table;
};

const uint8_t* blobAt(BlobSet& set, uint32_t id, size_t& size) {
    const uint8_t* p = &at(set.bytes, set.where[id]);
    size = getVarint(p);
    return p;
}

uint64_t blobHash(BlobSet& set, uint32_t id) {
    size_t size = 0;
    const uint8_t* p = blobAt(set, id, size);
    return hashBytes(p, size);
}

uint32_t internBlob(BlobSet& set, const std::vector<uint8_t>& blob) {
    if ((set.table.used + 1) * 5 > set.table.slots.size() * 3) {
        growTable(set.table, [&set](uint32_t id) { return blobHash(set, id); });
    }
    const size_t mask = set.table.slots.size() - 1;
    for (size_t i = hashBytes(blob.data(), blob.size()) & mask;; i = (i + 1) & mask) {
        const uint32_t slot = set.table.slots[i];
        if (slot == 0) {
            const uint32_t id = static_cast<uint32_t>(set.where.size());
            set.table.slots[i] = id + 1;
            ++set.table.used;
            // A blob never straddles two pages.
            std::vector<uint8_t> head;
            putVarint(head, blob.size());
            const size_t need = head.size() + blob.size();
            const size_t inPage = set.bytes.count % BLOB_PAGE;
            if (inPage != 0 && inPage + need > BLOB_PAGE) {
                set.bytes.count += BLOB_PAGE - inPage;
            }
            if (set.bytes.count + need > set.bytes.pages.size() * BLOB_PAGE) {
                set.bytes.pages.push_back(std::make_unique_for_overwrite<uint8_t[]>(BLOB_PAGE));
            }
            set.where.push_back(set.bytes.count);
            uint8_t* to = &at(set.bytes, set.bytes.count);
            std::memcpy(to, head.data(), head.size());
            std::memcpy(to + head.size(), blob.data(), blob.size());
            set.bytes.count += need;
            return id;
        }
        size_t size = 0;
        const uint8_t* stored = blobAt(set, slot - 1, size);
        if (size == blob.size() && std::memcmp(stored, blob.data(), size) == 0) {
            return slot - 1;
        }
    }
}

int64_t bytesOf(const BlobSet& set) {
    return bytesOf(set.bytes) + static_cast<int64_t>(set.where.capacity() * sizeof(uint64_t) +
                                                     set.table.slots.size() * sizeof(uint32_t));
}

using Clock = std::chrono::steady_clock;

struct Search {
    SolveOptions options;
    // The level as set up, in the form the states are told apart by: its
    // cells as gatherBoard writes them, and its fine grid.
    std::vector<uint8_t> startCells;
    FineGrid startFine;
    size_t fineBytes; // the rows in use of fineGrid.cells
    bool holdsWater;  // the level has a source or a spout

    Pages<Node, size_t{1} << 20> nodes;
    IdTable table;
    BlobSet boards;
    BlobSet fines;
    std::vector<uint8_t> cellsNow; // the cells being captured or restored
    std::vector<uint8_t> scratch;
    SimRun run;

    int64_t ticksRun = 0;
    int32_t settled = -1;
    int32_t cost = 0; // the cost being searched, for the progress line
    uint32_t goalParent = NO_PARENT;
    int goalMove = 0;
    const char* bound = nullptr;
    bool unfit = false; // a state did not fit the node's word
    Clock::time_point start;
    Clock::time_point nextCheck;
    Clock::time_point nextProgress;
    bool progressShown = false;
};

uint64_t nodeHash(const Node& n) {
    return mixBits((uint64_t{n.board} << 32 | n.fine) ^ mixBits(n.word & KEY_MASK));
}

bool sameKey(const Node& a, const Node& b) {
    return a.board == b.board && a.fine == b.fine && ((a.word ^ b.word) & KEY_MASK) == 0;
}

// A cell as the search keeps it: its three codes, then its three animation
// states.
constexpr size_t CELL_BYTES = 3 + 3 * sizeof(AnimState);

// Copies the live board's cells in use into out, CELL_BYTES each, column
// after column, leaving out what no rule reads: the animation of every
// element whose progress no rule watches, and the counter of lava with
// nothing on it, which a newcomer always finds reset. The player is taken
// off the board into the word's player fields that this returns; a player
// whose state does not fit them stays on the board.
uint32_t gatherBoard(uint8_t* out) {
    static_assert(sizeof(AnimState) == 4 && offsetof(AnimState, counter) == 3);
    uint32_t player = NO_PLAYER_CELL << PLAYER_CELL_SHIFT;
    for (int x = 0; x < board.width; ++x) {
        for (int y = 0; y < board.height; ++y, out += CELL_BYTES) {
            const int i = cellIndex(x, y);
            std::memcpy(out, board.cells[i], 3);
            const auto codes = reinterpret_cast<const int8_t*>(out);
            uint8_t* states = out + 3;
            for (int layer = 0; layer < 3; ++layer) {
                uint32_t state;
                std::memcpy(&state, &board.states[i][layer], sizeof state);
                state &= keptOf(codes[layer]);
                std::memcpy(states + 4 * layer, &state, sizeof state);
            }
            if (codes[LAYER_FLOOR] == LAVA && weightOf(codes[LAYER_OBJECT]) == 0) {
                states[4 * LAYER_FLOOR + 3] = 0;
            }
            const int8_t object = codes[LAYER_OBJECT];
            const int8_t counter = board.states[i][LAYER_OBJECT].counter;
            if ((traitsOf(object) & CODE_PLAYER) && player >> PLAYER_CELL_SHIFT == NO_PLAYER_CELL &&
                counter >= 0 && counter <= 7) {
                const auto kind = std::find(std::begin(playerKinds), std::end(playerKinds), object);
                player = static_cast<uint32_t>(i) << PLAYER_CELL_SHIFT |
                         static_cast<uint32_t>(kind - std::begin(playerKinds))
                             << PLAYER_KIND_SHIFT |
                         static_cast<uint32_t>(counter) << PLAYER_COUNT_SHIFT;
                out[LAYER_OBJECT] = EMPTY;
                std::memset(states + 4 * LAYER_OBJECT, 0, 4);
            }
        }
    }
    return player;
}

// The reverse of gatherBoard, player included.
void scatterBoard(const uint8_t* in, uint32_t word) {
    for (int x = 0; x < board.width; ++x) {
        for (int y = 0; y < board.height; ++y, in += CELL_BYTES) {
            const int i = cellIndex(x, y);
            std::memcpy(board.cells[i], in, 3);
            std::memcpy(board.states[i], in + 3, 3 * sizeof(AnimState));
        }
    }
    const uint32_t cell = word >> PLAYER_CELL_SHIFT & 255;
    if (cell != NO_PLAYER_CELL) {
        board.cells[cell][LAYER_OBJECT] = playerKinds[word >> PLAYER_KIND_SHIFT & 3];
        board.states[cell][LAYER_OBJECT].counter =
            static_cast<int8_t>(word >> PLAYER_COUNT_SHIFT & 7);
    }
}

uint32_t internFine(Search& s) {
    static_assert(offsetof(FineGrid, drains) == offsetof(FineGrid, drainCount) + sizeof(int32_t));
    s.scratch.clear();
    appendDiff(s.scratch, &fineGrid.cells[0][0], &s.startFine.cells[0][0], s.fineBytes);
    // The drain list is rebuilt from the board only when the rules ask, so it
    // is kept as it stands rather than worked out again.
    appendDiff(s.scratch, reinterpret_cast<const uint8_t*>(&fineGrid.drainCount),
               reinterpret_cast<const uint8_t*>(&s.startFine.drainCount),
               sizeof fineGrid.drainCount + sizeof fineGrid.drains);
    return internBlob(s.fines, s.scratch);
}

// The live records as a node (parent and move left to the caller). False
// when a value does not fit the word, which the rules never produce.
bool captureNode(Search& s, Node& node) {
    uint32_t word = gatherBoard(s.cellsNow.data());
    const int32_t request = levelFlow.moveRequest;
    const int32_t bubbles = gameState.bubbleCounter;
    if (request < 0 || request > 4 || (gameState.burnersOn & ~1) != 0 || bubbles < 0 ||
        bubbles > 63) {
        return false;
    }
    word |= static_cast<uint32_t>(request) << MOVE_REQUEST_SHIFT;
    word |= static_cast<uint32_t>(gameState.burnersOn) << BURNERS_SHIFT;
    word |= static_cast<uint32_t>(bubbles) << BUBBLE_SHIFT;
    // Without a source or a spout no water ever stands on the board, and the
    // step counter's parity only breaks ties between moving units of water.
    if (s.holdsWater) {
        word |= static_cast<uint32_t>(fineGrid.stepCounter & 1) << PARITY_SHIFT;
    }
    node.word = word;

    s.scratch.clear();
    appendDiff(s.scratch, s.cellsNow.data(), s.startCells.data(), s.startCells.size());
    node.board = internBlob(s.boards, s.scratch);
    node.fine = internFine(s);
    return true;
}

// Puts a stored state back into the live records, ready for the next tick.
void restoreNode(Search& s, const Node& node) {
    size_t size = 0;
    std::memcpy(s.cellsNow.data(), s.startCells.data(), s.startCells.size());
    applyDiff(blobAt(s.boards, node.board, size), s.cellsNow.data(), s.startCells.size());
    scatterBoard(s.cellsNow.data(), node.word);

    std::memcpy(&fineGrid.cells[0][0], &s.startFine.cells[0][0], s.fineBytes);
    fineGrid.drainCount = s.startFine.drainCount;
    std::memcpy(fineGrid.drains, s.startFine.drains, sizeof fineGrid.drains);
    const uint8_t* diff = blobAt(s.fines, node.fine, size);
    diff = applyDiff(diff, &fineGrid.cells[0][0], s.fineBytes);
    applyDiff(diff, reinterpret_cast<uint8_t*>(&fineGrid.drainCount),
              sizeof fineGrid.drainCount + sizeof fineGrid.drains);
    fineGrid.stepCounter = static_cast<int32_t>(node.word >> PARITY_SHIFT & 1);

    levelFlow.moveRequest = static_cast<int32_t>(node.word >> MOVE_REQUEST_SHIFT & 7);
    levelFlow.levelComplete = 0;
    gameState.burnersOn = static_cast<int32_t>(node.word >> BURNERS_SHIFT & 1);
    gameState.bubbleCounter = static_cast<int32_t>(node.word >> BUBBLE_SHIFT & 63);
}

int64_t memoryOf(const Search& s) {
    return bytesOf(s.nodes) + static_cast<int64_t>(s.table.slots.size() * sizeof(uint32_t)) +
           bytesOf(s.boards) + bytesOf(s.fines);
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void showProgress(Search& s) {
    const double seconds = secondsSince(s.start);
    char line[160];
    std::snprintf(line, sizeof line, "solve: %s %d, %lld states, %.0f states/s, %lld MiB",
                  s.options.by == SolveBy::Ticks ? "ticks" : "presses", s.cost,
                  static_cast<long long>(s.nodes.count),
                  seconds > 0 ? static_cast<double>(s.nodes.count) / seconds : 0.0,
                  static_cast<long long>(memoryOf(s) >> 20));
    *s.options.progress << (s.options.progressLines ? "" : "\r") << line
                        << (s.options.progressLines ? "\n" : "") << std::flush;
    s.progressShown = true;
}

// Adds the node unless its state is stored already; false once a bound stops
// the search.
bool insertNode(Search& s, const Node& node) {
    if ((s.table.used + 1) * 5 > s.table.slots.size() * 3) {
        growTable(s.table, [&s](uint32_t index) { return nodeHash(at(s.nodes, index)); });
    }
    const size_t mask = s.table.slots.size() - 1;
    size_t i = nodeHash(node) & mask;
    for (; s.table.slots[i] != 0; i = (i + 1) & mask) {
        if (sameKey(at(s.nodes, s.table.slots[i] - 1), node)) {
            return true;
        }
    }
    if (static_cast<int64_t>(s.nodes.count) >= s.options.maxStates) {
        s.bound = "states";
        return false;
    }
    s.table.slots[i] = static_cast<uint32_t>(append(s.nodes, node)) + 1;
    ++s.table.used;
    return true;
}

// Every so many ticks: the time bound, the memory cap and the progress line.
bool withinBounds(Search& s) {
    if ((s.ticksRun & 1023) != 0) {
        return true;
    }
    if (memoryOf(s) > MEMORY_CAP) {
        s.bound = "memory";
        return false;
    }
    const Clock::time_point now = Clock::now();
    if (now < s.nextCheck) {
        return true;
    }
    s.nextCheck = now + std::chrono::milliseconds(250);
    if (s.options.maxSeconds > 0 && secondsSince(s.start) >= s.options.maxSeconds) {
        s.bound = "seconds";
        return false;
    }
    if (s.options.progress != nullptr && now >= s.nextProgress) {
        showProgress(s);
        s.nextProgress = now + std::chrono::seconds(s.options.progressLines ? 30 : 1);
    }
    return true;
}

// Steps the state at index parent with one input (0 wait, 1 to 4 R L U D) and
// stores what comes of it. False when the search is over: the level was
// completed, or a bound was reached.
// Whether the cell at (x, y) stops the player for good, without hurting him
// or giving way: the board's edge, a breakable wall, or one of the heavy
// elements no rule ever moves, changes or removes, on floor that is neither
// slick nor lava and under no fire.
bool blocksForGood(int x, int y) {
    if (!insideBoard(x, y) || layerAt(x, y, LAYER_TOP) == BREAKABLE_WALL) {
        return true;
    }
    if (layerAt(x, y, LAYER_TOP) == FIRE || layerAt(x, y, LAYER_FLOOR) == LAVA ||
        layerAt(x, y, LAYER_FLOOR) == SLICK_FLOOR) {
        return false;
    }
    switch (layerAt(x, y, LAYER_OBJECT)) {
    // 36, 37, 38, 56 and 61 have no rules of their own and weigh 200.
    case SOLID_BLOCK:
    case 36:
    case 37:
    case 38:
    case 56:
    case 61:
    case WATER_SOURCE:
    case PIPE_HORIZONTAL:
    case PIPE_VERTICAL:
    case PIPE_TEE: return true;
    default: return false;
    }
}

// Whether pressing `move` in the state just restored must end the tick
// exactly as waiting does, so that its tick need not be stepped: waiting is
// tried in every state anyway. That holds when nothing is queued, the player
// already faces that way (no turn), the cell ahead stops him for good, and
// nothing can move him before his turn in the tick: no explosion is about to
// spread and no float lies beneath him.
bool pressIsWasted(uint32_t word, int move) {
    const uint32_t cell = word >> PLAYER_CELL_SHIFT & 255;
    const uint32_t kind = word >> PLAYER_KIND_SHIFT & 3;
    if (cell == NO_PLAYER_CELL || kind > 1 || levelFlow.moveRequest != 0 ||
        (move == 1 && playerKinds[kind] != PLAYER_RIGHT) ||
        (move == 2 && playerKinds[kind] != PLAYER_LEFT)) {
        return false;
    }
    const int x = static_cast<int>(cell) / BOARD_ROWS;
    const int y = static_cast<int>(cell) % BOARD_ROWS;
    if (!blocksForGood(x + (move == 1) - (move == 2), y + (move == 4) - (move == 3))) {
        return false;
    }
    for (int below = y + 1; below < board.height; ++below) {
        if (layerAt(x, below, LAYER_OBJECT) == FLOAT) {
            return false;
        }
    }
    for (int i = 0; i < CELL_COUNT; ++i) {
        if (board.cells[i][LAYER_OBJECT] == EXPLOSION &&
            board.states[i][LAYER_OBJECT].counter == 0) {
            return false;
        }
    }
    return true;
}

bool expand(Search& s, uint32_t parent, int move) {
    const Node& from = at(s.nodes, parent);
    restoreNode(s, from);
    if (move != 0 && pressIsWasted(from.word, move)) {
        return true;
    }
    // The game's own board step, with the key press as the game's input
    // handler leaves it; waiting leaves the request as it stands.
    if (move != MOVE_NONE) {
        levelFlow.moveRequest = move;
    }
    advanceBoard();
    ++s.ticksRun;
    if (levelFlow.levelComplete) {
        s.goalParent = parent;
        s.goalMove = move;
        return false;
    }
    Node node{};
    if (!captureNode(s, node)) {
        s.unfit = true;
        return false;
    }
    node.word |= static_cast<uint32_t>(move) << MOVE_SHIFT;
    node.parent = parent;
    return insertNode(s, node) && withinBounds(s);
}

// A group of states of one cost reached with the same number of key presses;
// stored states are numbered in the order they were found, so a group is a
// range.
struct Group {
    int32_t presses;
    uint32_t begin;
    uint32_t end;
};

const Group* groupWith(const std::vector<Group>& groups, int32_t presses) {
    for (const Group& g : groups) {
        if (g.presses == presses) {
            return &g;
        }
    }
    return nullptr;
}

// Layer by layer of ticks. Inside a layer the states are found in order of
// their key presses: those of q presses come from the keys pressed in the
// states of q - 1 and from waiting in those of q. So the first completion
// found has the fewest ticks and, among those, the fewest presses.
SolveOutcome searchByTicks(Search& s) {
    std::vector<Group> layer = {{0, 0, 1}};
    for (int32_t depth = 0;; ++depth) {
        s.settled = depth;
        s.cost = depth + 1;
        if (s.options.maxCost >= 0 && depth >= s.options.maxCost) {
            s.bound = "cost";
            return SolveOutcome::Bounded;
        }
        std::vector<Group> next;
        const int32_t low = layer.front().presses;
        const int32_t high = layer.back().presses + 1;
        for (int32_t q = low; q <= high; ++q) {
            const uint32_t begin = static_cast<uint32_t>(s.nodes.count);
            if (const Group* keys = groupWith(layer, q - 1)) {
                for (uint32_t i = keys->begin; i < keys->end; ++i) {
                    for (int move = 1; move <= 4; ++move) {
                        if (!expand(s, i, move)) {
                            return SolveOutcome::Bounded;
                        }
                    }
                }
            }
            if (const Group* waits = groupWith(layer, q)) {
                for (uint32_t i = waits->begin; i < waits->end; ++i) {
                    if (!expand(s, i, 0)) {
                        return SolveOutcome::Bounded;
                    }
                }
            }
            if (s.nodes.count > begin) {
                next.push_back({q, begin, static_cast<uint32_t>(s.nodes.count)});
            }
        }
        if (next.empty()) {
            return SolveOutcome::NoSolution;
        }
        layer = std::move(next);
    }
}

// Press by press: first every state reachable by waiting from those of the
// current count, then one key pressed in each of them.
SolveOutcome searchByPresses(Search& s) {
    uint32_t levelBegin = 0;
    for (int32_t presses = 0;; ++presses) {
        s.settled = presses - 1;
        s.cost = presses;
        for (uint32_t i = levelBegin; i < s.nodes.count; ++i) {
            if (!expand(s, i, 0)) {
                return SolveOutcome::Bounded;
            }
        }
        s.settled = presses;
        s.cost = presses + 1;
        if (s.options.maxCost >= 0 && presses >= s.options.maxCost) {
            s.bound = "cost";
            return SolveOutcome::Bounded;
        }
        const uint32_t levelEnd = static_cast<uint32_t>(s.nodes.count);
        for (uint32_t i = levelBegin; i < levelEnd; ++i) {
            for (int move = 1; move <= 4; ++move) {
                if (!expand(s, i, move)) {
                    return SolveOutcome::Bounded;
                }
            }
        }
        if (s.nodes.count == levelEnd) {
            return SolveOutcome::NoSolution;
        }
        levelBegin = levelEnd;
    }
}

std::string pathTo(Search& s) {
    std::string moves(1, moveChars[s.goalMove]);
    for (uint32_t i = s.goalParent; i != 0; i = at(s.nodes, i).parent) {
        moves += moveChars[at(s.nodes, i).word >> MOVE_SHIFT & 7];
    }
    std::reverse(moves.begin(), moves.end());
    return moves;
}

bool parseCount(const std::string& text, double low, double high, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end != nullptr && *end == '\0' && value >= low && value <= high;
}

const char* const usage =
    "usage: ghtool solve [--data IN.dat --level N | LEVEL.txt] [--by ticks|moves]\n"
    "                    [--max-states N] [--max-seconds S]\n"
    "Finds the shortest input sequence that completes the level: by ticks (ties\n"
    "broken by fewer key presses) or by key presses (waiting free).\n";

} // namespace

SolveOptions defaultSolveOptions() {
    return SolveOptions{SolveBy::Ticks, 60'000'000, 0, -1, nullptr, false};
}

SolveResult solveLevel(const LevelRecord& record, const SolveOptions& options) {
    // The search's tables are large; they live on the heap.
    auto search = std::make_unique<Search>();
    Search& s = *search;
    s.options = options;
    s.start = Clock::now();
    s.nextCheck = s.start;
    s.nextProgress = s.start + std::chrono::seconds(options.progressLines ? 30 : 1);

    simStart(s.run, record);
    // Nobody listens to the search's sounds.
    effectObserver = nullptr;
    // The start is what every stored board and fine grid is told apart from;
    // with the player lifted off, a board he has only walked over matches it.
    s.holdsWater = fineGrid.sourceCount > 0;
    for (int i = 0; i < CELL_COUNT; ++i) {
        s.holdsWater = s.holdsWater || board.cells[i][LAYER_TOP] == SPOUT;
    }
    // The cells outside the level never change; restoring a state rewrites
    // only those inside it.
    s.startCells.resize(CELL_BYTES * board.width * board.height);
    s.cellsNow.resize(s.startCells.size());
    gatherBoard(s.startCells.data());
    s.startFine = fineGrid;
    s.fineBytes = sizeof fineGrid.cells[0] * 3 * board.height;
    Node root{};
    const bool fits = captureNode(s, root);
    root.parent = NO_PARENT;
    insertNode(s, root);

    SolveOutcome outcome = SolveOutcome::Bounded;
    if (fits) {
        outcome = options.by == SolveBy::Ticks ? searchByTicks(s) : searchByPresses(s);
    } else {
        s.unfit = true;
    }

    SolveResult result{};
    result.settled = s.settled;
    result.states = static_cast<int64_t>(s.nodes.count);
    result.ticksRun = s.ticksRun;
    result.bytes = memoryOf(s);
    result.seconds = secondsSince(s.start);
    if (s.goalParent != NO_PARENT) {
        result.outcome = SolveOutcome::Solved;
        result.moves = pathTo(s);
        result.ticks = static_cast<int32_t>(result.moves.size());
        result.presses = static_cast<int32_t>(
            result.moves.size() - std::count(result.moves.begin(), result.moves.end(), '.'));
    } else if (s.unfit) {
        result.outcome = SolveOutcome::Bounded;
        result.bound = "state size";
    } else {
        result.outcome = outcome;
        result.bound = s.bound;
    }
    if (s.progressShown && !options.progressLines) {
        *options.progress << "\n";
    }
    return result;
}

int solveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SolveOptions options = defaultSolveOptions();
    std::string dataFile;
    std::string levelNumber;
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        double value = 0;
        if ((arg == "--data" || arg == "--level") && hasValue) {
            (arg == "--data" ? dataFile : levelNumber) = args[++i];
        } else if (arg == "--by" && hasValue &&
                   (args[i + 1] == "ticks" || args[i + 1] == "moves")) {
            options.by = args[++i] == "ticks" ? SolveBy::Ticks : SolveBy::Presses;
        } else if (arg == "--max-states" && hasValue && parseCount(args[i + 1], 1, 4e9, value)) {
            options.maxStates = static_cast<int64_t>(value);
            ++i;
        } else if (arg == "--max-seconds" && hasValue && parseCount(args[i + 1], 0, 1e9, value)) {
            options.maxSeconds = value;
            ++i;
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            err << "ghtool solve: unknown or incomplete option " << arg << "\n" << usage;
            return 2;
        } else {
            rest.push_back(arg);
        }
    }
    const bool fromData = !dataFile.empty() || !levelNumber.empty();
    if ((fromData && (dataFile.empty() || levelNumber.empty() || !rest.empty())) ||
        (!fromData && rest.size() != 1)) {
        err << usage;
        return 2;
    }

    LevelRecord record{};
    const std::string problem =
        loadNamedLevel(dataFile, levelNumber, rest.empty() ? "" : rest.front(), record);
    if (!problem.empty()) {
        err << "ghtool solve: " << problem << "\n";
        return 2;
    }

    options.progress = &err;
    options.progressLines = &err != &std::cerr || !isatty(STDERR_FILENO);
    const SolveResult result = solveLevel(record, options);

    const char* unit = options.by == SolveBy::Ticks ? "ticks" : "key presses";
    char line[200];
    if (result.outcome == SolveOutcome::Solved) {
        for (size_t i = 0; i < result.moves.size(); i += 60) {
            out << "solution: " << result.moves.substr(i, 60) << "\n";
        }
        std::snprintf(line, sizeof line, "# %d ticks, %d key press%s: the fewest %s%s\n",
                      result.ticks, result.presses, result.presses == 1 ? "" : "es", unit,
                      options.by == SolveBy::Ticks ? ", then the fewest key presses" : "");
    } else if (result.outcome == SolveOutcome::NoSolution) {
        std::snprintf(line, sizeof line, "# no solution: every reachable state searched\n");
    } else {
        std::snprintf(line, sizeof line,
                      "# no solution of %d %s or fewer; stopped by the %s bound\n", result.settled,
                      unit, result.bound);
    }
    out << line;
    std::snprintf(line, sizeof line,
                  "# %lld states, %lld ticks stepped in %.1f s (%.0f states/s), %.0f bytes a "
                  "state\n",
                  static_cast<long long>(result.states), static_cast<long long>(result.ticksRun),
                  result.seconds,
                  result.seconds > 0 ? static_cast<double>(result.states) / result.seconds : 0.0,
                  result.states > 0 ? static_cast<double>(result.bytes) / result.states : 0.0);
    out << line;
    out.flush();
    switch (result.outcome) {
    case SolveOutcome::Solved: return 0;
    case SolveOutcome::NoSolution: return 1;
    case SolveOutcome::Bounded: return 3;
    }
    return 3;
}
