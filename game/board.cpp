#include "game/board.h"

#include "game/fluid.h"
#include "game/sound.h"
#include "toolkit/window.h"

#include <cmath>
#include <cstring>

BoardView boardView;

namespace {

// The light table's brightness at the centre of a light.
constexpr int FULL_LIGHT = 255;

// A code outside the table (a corrupt byte that slipped past the loader, or a
// rule's mistake) animates and sounds like EMPTY instead of reading past the
// tables.
const ElementInfo& infoOf(int code) {
    return elementInfo[isElementCode(code) ? code : EMPTY];
}

// The sound each newly set code makes; everything not listed is silent.
int32_t effectFor(int code) {
    switch (code) {
    case LEVER_THROWN: return EFFECT_SWITCH;
    case TORCH_LIT: return EFFECT_ENFLAM;
    case EXPLOSION: return EFFECT_EXPLOSE;
    case LOCK_OPENING: return EFFECT_SERRURE;
    case DOOR_OPENING: return EFFECT_DOOREND;
    case BALL_INTO_BOX: return EFFECT_BALLBOX;
    case PLAYER_HURT_LEFT:
    case PLAYER_HURT_RIGHT: return EFFECT_INFIRE;
    case FLOAT_BURNING: return EFFECT_CBRULE;
    default: return EFFECT_SILENCE;
    }
}

// One tick of one layer's animation.
inline void advanceAnimation(int code, AnimState& state) {
    if (!(state.flags & ANIM_RUNNING)) {
        return;
    }
    const ElementInfo& info = infoOf(code);
    if (code == EMPTY || info.frames <= 1) {
        return;
    }
    // The tick is a byte; it wraps rather than overflowing should a state
    // ever run under a code whose delay it never meets.
    state.tick = static_cast<int8_t>(state.tick + 1);
    if (state.tick != info.delay) {
        return;
    }
    state.tick = 0;
    if (state.frame + 1 < info.frames) {
        state.frame = static_cast<int8_t>(state.frame + 1);
    } else if (state.flags & ANIM_ONCE) {
        // Exactly ANIM_DONE: the element stops on its last picture.
        state.flags = ANIM_DONE;
    } else {
        state.frame = 0;
    }
}

int clampTo(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}

} // namespace

int initBoardView(Window* window) {
    boardView = BoardView{};
    // Brightness falls off linearly with distance and reaches 0 at 49 pixels.
    // The product is worked out in single precision and truncated towards
    // zero, the way the light pools were tuned.
    for (int i = 0; i < LIGHT_TABLE_SIZE; ++i) {
        const float distance = std::sqrt(static_cast<float>(i));
        const float fall = distance * (1.0f / float(LIGHT_REACH)) * float(FULL_LIGHT);
        boardView.lightTable[i] = static_cast<uint8_t>(FULL_LIGHT - static_cast<int>(fall));
    }
    boardView.window = window;
    buildShapeTable();
    return 1;
}

void centreBoard() {
    // Tools that run the rules without a window place the board at the
    // canvas origin: nothing is drawn, and the origin is 0, 0.
    if (!boardView.window) {
        boardView.originX = 0;
        boardView.originY = 0;
        return;
    }
    const Surface& surface = boardView.window->canvas.surface;
    // A board larger than the window gets a negative origin and is clipped by
    // the drawing, so the shift must stay arithmetic.
    boardView.originX = (surface.width - boardView.pixelWidth) >> 1;
    boardView.originY = (surface.height - boardView.pixelHeight) >> 1;
}

void loadLevel(const LevelRecord& record) {
    // The loader has already checked the record; clamping the size and
    // blanking unknown codes only keeps a hand-made record from taking the
    // board and the fine grid out of their arrays.
    board.width = clampTo(record.width, 1, BOARD_COLUMNS);
    board.height = clampTo(record.height, 1, BOARD_ROWS);
    static_assert(sizeof board.cells == sizeof record.cells);
    std::memcpy(board.cells, record.cells, sizeof board.cells);
    for (auto& cell : board.cells) {
        for (int8_t& code : cell) {
            if (!isElementCode(code)) {
                code = EMPTY;
            }
        }
    }
    boardView.pixelWidth = TILE_SIZE * board.width;
    boardView.pixelHeight = TILE_SIZE * board.height;
    centreBoard();
    resetCellStates();
    setupFineGrid();
    gameState.burnersOn = 0;
    gameState.noBallLeft = 0;
}

void resetCellStates() {
    std::memset(board.states, 0, sizeof board.states);
    // Elements present at the start show their last picture: looping ones
    // wrap to frame 0 on their first advance, one-shot ones (mode 2 without
    // the running flag) stand still and never report done.
    for (int x = 0; x < board.width; ++x) {
        for (int y = 0; y < board.height; ++y) {
            const int index = cellIndex(x, y);
            for (int layer = 0; layer < 3; ++layer) {
                const ElementInfo& info = infoOf(board.cells[index][layer]);
                AnimState& state = board.states[index][layer];
                state.flags = info.mode;
                if (info.mode != MODE_STILL) {
                    state.frame = static_cast<int8_t>(info.frames - 1);
                }
            }
        }
    }
}

void setElement(ElementCode code, int8_t& layerByte, AnimState& state) {
    const ElementInfo& info = infoOf(code);
    state.tick = 0;
    state.frame = 0;
    state.counter = 0;
    // mode 1 runs as 1, mode 2 as 3: a newly set one-shot plays to its end.
    state.flags = static_cast<uint8_t>(info.mode == MODE_STILL ? 0 : (info.mode | ANIM_RUNNING));
    layerByte = code;
    // Setting the code a layer already holds still replays the sound.
    const int32_t effect = effectFor(code);
    if (effect != EFFECT_SILENCE) {
        playEffect(effect);
    }
}

int isAnimationDone(const AnimState& state) {
    return (state.flags & ANIM_DONE) != 0;
}

void animateBoard() {
    // Each state advances by itself alone, so the walk may follow the storage,
    // a column's cells each with its three layers, instead of going layer by
    // layer; a cell where nothing runs, most of them, costs one test. A list of
    // the running states would spare the walk, but every writer of a state
    // (setElement, the moves, the explosion, resetCellStates) would have to
    // keep it, for a few instructions a cell.
    for (int x = 0; x < board.width; ++x) {
        for (int index = cellIndex(x, 0); index < cellIndex(x, board.height); ++index) {
            const AnimState* states = board.states[index];
            if (!((states[LAYER_FLOOR].flags | states[LAYER_OBJECT].flags |
                   states[LAYER_TOP].flags) &
                  ANIM_RUNNING)) {
                continue;
            }
            advanceAnimation(board.cells[index][LAYER_FLOOR], board.states[index][LAYER_FLOOR]);
            advanceAnimation(board.cells[index][LAYER_OBJECT], board.states[index][LAYER_OBJECT]);
            advanceAnimation(board.cells[index][LAYER_TOP], board.states[index][LAYER_TOP]);
        }
    }
}
