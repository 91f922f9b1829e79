// The board record, level set-up and the once-per-tick animation step.
#include "game/board.h"
#include "game/fluid.h"
#include "game/move.h"
#include "game/sound.h"
#include "tests/support/ints.h"
#include "toolkit/window.h"
#include "tools/leveltext.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<int32_t> heard;

// A ball (looping, 3 frames, delay 1), a player (looping, 2 frames, delay 4),
// an opening door from the level data (one-shot, 3 frames, delay 5) and a
// lever (still), with a ball outside the level's width that must not be
// given a start state. Loaded into the zeroed records of a fresh process.
void loadStartLevel(Window* window = nullptr) {
    board = Board{};
    boardView = BoardView{};
    fineGrid = FineGrid{};
    heard.clear();
    effectObserver = [](int32_t id) { heard.push_back(id); };
    initBoardView(window);
    LevelText level;
    ASSERT_EQ(
        parseLevelText("floor:\n____\n____\n\nobject:\no<d/\n....\n\ntop:\n....\n....\n", level),
        "");
    level.record.cells[5][0][LAYER_OBJECT] = BALL;
    board.states[cellIndex(5, 0)][LAYER_OBJECT] = AnimState{3, 3, 3, 3};
    loadLevel(level.record);
}

std::vector<int64_t> stateOf(const AnimState& s) {
    return ints(s.tick, s.frame, s.flags, s.counter);
}

void animate(int ticks) {
    for (int i = 0; i < ticks; ++i) {
        animateBoard();
    }
}

} // namespace

TEST(LoadLevel, CopiesCellsCentresTheViewAndShowsTheLastFrameOfAnimatedCodes) {
    Window window{};
    window.canvas.surface.width = 300;
    window.canvas.surface.height = 200;
    gameState = GameState{1, 1, 1, 7};
    loadStartLevel(&window);
    EXPECT_EQ(ints(board.width, board.height, layerAt(0, 0, LAYER_OBJECT),
                   layerAt(2, 0, LAYER_OBJECT), layerAt(3, 1, LAYER_FLOOR)),
              ints(4, 2, BALL, DOOR_OPENING, PLAIN_FLOOR));
    EXPECT_EQ(
        ints(boardView.pixelWidth, boardView.pixelHeight, boardView.originX, boardView.originY),
        ints(132, 66, 84, 67));
    // Two of the rules' flags are cleared; set-up ran the fine grid and one
    // water step, silently.
    EXPECT_EQ(ints(gameState.burnersOn, gameState.allPlatesPressed, gameState.noBallLeft,
                   gameState.bubbleCounter, fineGrid.limitX, fineGrid.limitY, fineGrid.stepCounter,
                   heard.size()),
              ints(0, 1, 0, 7, 9, 3, 1, 0));
    EXPECT_EQ(stateOf(stateAt(0, 0, LAYER_OBJECT)), ints(0, 2, ANIM_RUNNING, 0));
    EXPECT_EQ(stateOf(stateAt(2, 0, LAYER_OBJECT)), ints(0, 2, ANIM_ONCE, 0));
    EXPECT_EQ(stateOf(stateAt(3, 0, LAYER_OBJECT)), ints(0, 0, 0, 0));
    EXPECT_EQ(stateOf(stateAt(0, 0, LAYER_FLOOR)), ints(0, 0, 0, 0));
    EXPECT_EQ(stateOf(stateAt(5, 0, LAYER_OBJECT)), ints(0, 0, 0, 0));
    // The light table, and the water shapes the drawing needs.
    EXPECT_EQ(ints(boardView.lightTable[0], boardView.lightTable[2], boardView.lightTable[2400],
                   fineGrid.shapeTable[2], fineGrid.shapeTable[31]),
              ints(255, 248, 1, 1, 2));
    // Centring shifts arithmetically, so that a large board goes negative;
    // without a window the board sits at the origin.
    window.canvas.surface.width = 501;
    window.canvas.surface.height = 400;
    boardView.pixelWidth = 594;
    boardView.pixelHeight = 429;
    centreBoard();
    EXPECT_EQ(ints(boardView.originX, boardView.originY), ints(-47, -15));
    boardView.window = nullptr;
    centreBoard();
    EXPECT_EQ(ints(boardView.originX, boardView.originY), ints(0, 0));
}

TEST(Animation, LoopsWrapOneShotsFinishAndFramesTurnOnlyAtTheDelay) {
    loadStartLevel();
    animate(1);
    EXPECT_EQ(stateOf(stateAt(0, 0, LAYER_OBJECT)), ints(0, 0, ANIM_RUNNING, 0)); // delay 1
    EXPECT_EQ(stateOf(stateAt(1, 0, LAYER_OBJECT)), ints(1, 1, ANIM_RUNNING, 0)); // delay 4
    animate(3);
    EXPECT_EQ(stateOf(stateAt(0, 0, LAYER_OBJECT)), ints(0, 0, ANIM_RUNNING, 0)); // 0 1 2 0
    EXPECT_EQ(stateOf(stateAt(1, 0, LAYER_OBJECT)), ints(0, 0, ANIM_RUNNING, 0));
    // The door that came with the level stands on its last frame for good.
    animate(200);
    EXPECT_EQ(stateOf(stateAt(2, 0, LAYER_OBJECT)), ints(0, 2, ANIM_ONCE, 0));
    EXPECT_EQ(isAnimationDone(stateAt(2, 0, LAYER_OBJECT)), 0);
    // One set by the rules: 3 frames of 5 ticks.
    AnimState& door = stateAt(2, 1, LAYER_OBJECT);
    setElement(DOOR_OPENING, layerAt(2, 1, LAYER_OBJECT), door);
    animate(14);
    EXPECT_EQ(stateOf(door), ints(4, 2, ANIM_RUNNING | ANIM_ONCE, 0));
    EXPECT_EQ(isAnimationDone(door), 0);
    animate(1);
    EXPECT_EQ(stateOf(door), ints(0, 2, ANIM_DONE, 0));
    EXPECT_NE(isAnimationDone(door), 0);
    animate(10);
    EXPECT_EQ(stateOf(door), ints(0, 2, ANIM_DONE, 0));
    // A one-shot of a single picture runs with nothing to play, never done;
    // a running state under an empty layer is left alone.
    AnimState& lock = stateAt(3, 1, LAYER_OBJECT);
    setElement(LOCK, layerAt(3, 1, LAYER_OBJECT), lock);
    AnimState& empty = stateAt(0, 1, LAYER_OBJECT);
    empty = AnimState{0, 0, 1, 0};
    animate(50);
    EXPECT_EQ(stateOf(lock), ints(0, 0, ANIM_RUNNING | ANIM_ONCE, 0));
    EXPECT_EQ(ints(isAnimationDone(lock), empty.tick), ints(0, 0));
    // A frame turns only when the tick meets the delay exactly: one already
    // past it keeps counting, and wraps as a byte.
    AnimState& ball = stateAt(1, 1, LAYER_OBJECT);
    setElement(BALL, layerAt(1, 1, LAYER_OBJECT), ball);
    ball.tick = 5;
    animate(250);
    EXPECT_EQ(ints(ball.tick, ball.frame), ints(-1, 0));
    animate(2);
    EXPECT_EQ(ints(ball.tick, ball.frame), ints(0, 1));
}

TEST(SetElement, RestartsTheStateByTheModeAndNineCodesMakeASound) {
    loadStartLevel();
    std::vector<int32_t> expected;
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        int8_t layer = 0;
        AnimState state{5, 5, 0, 5};
        setElement(static_cast<ElementCode>(code), layer, state);
        const int mode = elementInfo[code].mode;
        EXPECT_EQ(ints(layer, state.tick, state.frame, state.flags, state.counter),
                  ints(code, 0, 0,
                       mode == 0   ? 0
                       : mode == 1 ? 1
                                   : 3,
                       0))
            << "code " << code;
    }
    EXPECT_EQ(heard, (std::vector<int32_t>{EFFECT_SWITCH, EFFECT_ENFLAM, EFFECT_EXPLOSE,
                                           EFFECT_SERRURE, EFFECT_DOOREND, EFFECT_BALLBOX,
                                           EFFECT_INFIRE, EFFECT_INFIRE, EFFECT_CBRULE}));
    // The same code again restarts and plays its effect again.
    heard.clear();
    AnimState& torch = stateAt(0, 1, LAYER_OBJECT);
    setElement(TORCH_LIT, layerAt(0, 1, LAYER_OBJECT), torch);
    animate(2);
    torch.counter = 5;
    setElement(TORCH_LIT, layerAt(0, 1, LAYER_OBJECT), torch);
    EXPECT_EQ(stateOf(torch), ints(0, 0, ANIM_RUNNING, 0));
    EXPECT_EQ(heard, (std::vector<int32_t>{EFFECT_ENFLAM, EFFECT_ENFLAM}));
}
