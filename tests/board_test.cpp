// The board record, level set-up and the once-per-tick animation step.
#include "game/board.h"
#include "game/fluid.h"
#include "game/move.h"
#include "game/sound.h"
#include "toolkit/window.h"
#include "tools/leveltext.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<int32_t> heard;

void listen(int32_t id) {
    heard.push_back(id);
}

// Every test starts from the zeroed records of a fresh process.
void freshRecords() {
    board = Board{};
    boardView = BoardView{};
    fineGrid = FineGrid{};
    gameState = GameState{};
    heard.clear();
    effectObserver = listen;
}

void loadText(const char* text) {
    LevelText level;
    ASSERT_EQ(parseLevelText(text, level), "");
    loadLevel(level.record);
}

void animate(int ticks) {
    for (int i = 0; i < ticks; ++i) {
        animateBoard();
    }
}

// A ball (looping, 3 frames, delay 1), a player (looping, 2 frames, delay 4),
// an opening door from the level data (one-shot, 3 frames, delay 5) and a
// lever (still).
const char* const startLevel = R"(floor:
____
____

object:
o<d/
....

top:
....
....
)";

} // namespace

TEST(BoardView, LightTableFallsToOneAtTheLastStoredDistance) {
    freshRecords();
    Window window{};
    ASSERT_EQ(initBoardView(&window), 1);
    EXPECT_EQ(boardView.window, &window);
    EXPECT_EQ(boardView.lightTable[0], 255);
    EXPECT_EQ(boardView.lightTable[1], 250);   // 255 - trunc(5.204)
    EXPECT_EQ(boardView.lightTable[2], 248);   // 255 - trunc(7.359)
    EXPECT_EQ(boardView.lightTable[49], 219);  // 255 - trunc(36.43)
    EXPECT_EQ(boardView.lightTable[1200], 75); // 255 - trunc(180.27)
    EXPECT_EQ(boardView.lightTable[2400], 1);  // 255 - trunc(254.95)
    // The view also builds the water shapes the drawing needs.
    EXPECT_EQ(fineGrid.shapeTable[2], 1);
    EXPECT_EQ(fineGrid.shapeTable[31], 2);
}

TEST(BoardView, CentringShiftsArithmeticallySoLargeBoardsGoNegative) {
    freshRecords();
    Window window{};
    initBoardView(&window);
    window.canvas.surface.width = 501;
    window.canvas.surface.height = 400;
    boardView.pixelWidth = 594;
    boardView.pixelHeight = 429;
    centreBoard();
    EXPECT_EQ(boardView.originX, -47); // -93 >> 1, not -93 / 2
    EXPECT_EQ(boardView.originY, -15);
    window.canvas.surface.width = 640;
    window.canvas.surface.height = 480;
    boardView.pixelWidth = 165;
    boardView.pixelHeight = 99;
    centreBoard();
    EXPECT_EQ(boardView.originX, 237);
    EXPECT_EQ(boardView.originY, 190);
    // Headless tools have no window: the board sits at the origin.
    boardView.window = nullptr;
    centreBoard();
    EXPECT_EQ(boardView.originX, 0);
    EXPECT_EQ(boardView.originY, 0);
}

TEST(LoadLevel, CopiesCellsSizesTheViewAndClearsTwoRuleFlags) {
    freshRecords();
    Window window{};
    initBoardView(&window);
    window.canvas.surface.width = 300;
    window.canvas.surface.height = 200;
    gameState = GameState{1, 1, 1, 7};
    fineGrid.stepCounter = 10;
    loadText(startLevel);
    EXPECT_EQ(board.width, 4);
    EXPECT_EQ(board.height, 2);
    EXPECT_EQ(layerAt(0, 0, LAYER_OBJECT), BALL);
    EXPECT_EQ(layerAt(2, 0, LAYER_OBJECT), DOOR_OPENING);
    EXPECT_EQ(layerAt(3, 1, LAYER_FLOOR), PLAIN_FLOOR);
    EXPECT_EQ(boardView.pixelWidth, 132);
    EXPECT_EQ(boardView.pixelHeight, 66);
    EXPECT_EQ(boardView.originX, 84);
    EXPECT_EQ(boardView.originY, 67);
    EXPECT_EQ(gameState.burnersOn, 0);
    EXPECT_EQ(gameState.allPlatesPressed, 1);
    EXPECT_EQ(gameState.noBallLeft, 0);
    EXPECT_EQ(gameState.bubbleCounter, 7);
    // Set-up ran the fine grid and one water step.
    EXPECT_EQ(fineGrid.limitX, 9);
    EXPECT_EQ(fineGrid.limitY, 3);
    EXPECT_EQ(fineGrid.stepCounter, 11);
    EXPECT_TRUE(heard.empty());
}

TEST(LoadLevel, StartStatesShowTheLastFrameOfAnimatedCodesOnly) {
    freshRecords();
    // A code outside the level's width must not be given a start state.
    LevelText level;
    ASSERT_EQ(parseLevelText(startLevel, level), "");
    level.record.cells[5][0][LAYER_OBJECT] = BALL;
    board.states[cellIndex(5, 0)][LAYER_OBJECT] = AnimState{3, 3, 3, 3};
    loadLevel(level.record);

    const AnimState ball = stateAt(0, 0, LAYER_OBJECT);
    EXPECT_EQ(ball.tick, 0);
    EXPECT_EQ(ball.frame, 2);
    EXPECT_EQ(ball.flags, 1);
    const AnimState door = stateAt(2, 0, LAYER_OBJECT);
    EXPECT_EQ(door.frame, 2);
    EXPECT_EQ(door.flags, 2); // the mode itself: one-shot but not running
    const AnimState lever = stateAt(3, 0, LAYER_OBJECT);
    EXPECT_EQ(lever.frame, 0);
    EXPECT_EQ(lever.flags, 0);
    const AnimState floor = stateAt(0, 0, LAYER_FLOOR); // plain floor has 5 frames, still
    EXPECT_EQ(floor.frame, 0);
    EXPECT_EQ(floor.flags, 0);
    const AnimState outside = stateAt(5, 0, LAYER_OBJECT);
    EXPECT_EQ(outside.frame, 0);
    EXPECT_EQ(outside.flags, 0);
    EXPECT_EQ(outside.counter, 0);
}

TEST(Animation, LoopingStartElementsWrapToFrameZeroOnTheirFirstAdvance) {
    freshRecords();
    loadText(startLevel);
    animate(1);
    EXPECT_EQ(stateAt(0, 0, LAYER_OBJECT).frame, 0); // ball, delay 1
    EXPECT_EQ(stateAt(1, 0, LAYER_OBJECT).frame, 1); // player, delay 4
    EXPECT_EQ(stateAt(1, 0, LAYER_OBJECT).tick, 1);
    animate(3);
    EXPECT_EQ(stateAt(0, 0, LAYER_OBJECT).frame, 0); // 4 advances: 0 1 2 0
    EXPECT_EQ(stateAt(1, 0, LAYER_OBJECT).frame, 0);
    EXPECT_EQ(stateAt(1, 0, LAYER_OBJECT).tick, 0);
    EXPECT_EQ(stateAt(1, 0, LAYER_OBJECT).flags, 1);
}

TEST(Animation, OneShotsPlayOnlyWhenSetAndFinishAfterFramesTimesDelay) {
    freshRecords();
    loadText(startLevel);
    // The door that came with the level stands on its last frame for good.
    animate(200);
    EXPECT_EQ(stateAt(2, 0, LAYER_OBJECT).frame, 2);
    EXPECT_EQ(stateAt(2, 0, LAYER_OBJECT).flags, 2);
    EXPECT_EQ(isAnimationDone(stateAt(2, 0, LAYER_OBJECT)), 0);

    // One set by the rules: 3 frames of 5 ticks.
    AnimState& door = stateAt(2, 1, LAYER_OBJECT);
    setElement(DOOR_OPENING, layerAt(2, 1, LAYER_OBJECT), door);
    EXPECT_EQ(door.flags, 3);
    animate(14);
    EXPECT_EQ(door.frame, 2);
    EXPECT_EQ(door.tick, 4);
    EXPECT_EQ(isAnimationDone(door), 0);
    animate(1);
    EXPECT_EQ(door.flags, ANIM_DONE);
    EXPECT_EQ(door.frame, 2);
    EXPECT_NE(isAnimationDone(door), 0);
    animate(10); // stopped: nothing moves any more
    EXPECT_EQ(door.flags, ANIM_DONE);
    EXPECT_EQ(door.frame, 2);
    EXPECT_EQ(door.tick, 0);

    // A one-shot of a single picture runs but has nothing to play, so it is
    // never reported done.
    AnimState& lock = stateAt(3, 1, LAYER_OBJECT);
    setElement(LOCK, layerAt(3, 1, LAYER_OBJECT), lock);
    EXPECT_EQ(lock.flags, 3);
    animate(50);
    EXPECT_EQ(lock.flags, 3);
    EXPECT_EQ(lock.tick, 0);
    EXPECT_EQ(isAnimationDone(lock), 0);

    // A running state under an empty layer is left alone.
    AnimState& empty = stateAt(0, 1, LAYER_OBJECT);
    empty = AnimState{0, 0, 1, 0};
    animate(5);
    EXPECT_EQ(empty.tick, 0);

    // A frame turns only when the tick meets the delay exactly: a tick
    // already past it keeps counting (and wraps as a byte) instead.
    AnimState& ball = stateAt(1, 1, LAYER_OBJECT);
    setElement(BALL, layerAt(1, 1, LAYER_OBJECT), ball);
    ball.tick = 5;
    animate(250);
    EXPECT_EQ(ball.tick, static_cast<int8_t>(255));
    EXPECT_EQ(ball.frame, 0);
    animate(2); // -1, 0, then 1 equals the delay
    EXPECT_EQ(ball.tick, 0);
    EXPECT_EQ(ball.frame, 1);
}

TEST(SetElement, SameCodeRestartsAndReplaysItsEffect) {
    freshRecords();
    loadText(startLevel);
    AnimState& torch = stateAt(0, 1, LAYER_OBJECT);
    int8_t& code = layerAt(0, 1, LAYER_OBJECT);
    setElement(TORCH_LIT, code, torch);
    animate(2);
    torch.counter = 5;
    EXPECT_EQ(torch.frame, 2);
    setElement(TORCH_LIT, code, torch);
    EXPECT_EQ(code, TORCH_LIT);
    EXPECT_EQ(torch.tick, 0);
    EXPECT_EQ(torch.frame, 0);
    EXPECT_EQ(torch.counter, 0);
    EXPECT_EQ(torch.flags, 1);
    EXPECT_EQ(heard, (std::vector<int32_t>{EFFECT_ENFLAM, EFFECT_ENFLAM}));
}

TEST(SetElement, FlagsFollowTheModeAndNineCodesMakeASound) {
    freshRecords();
    std::vector<int32_t> expected;
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        switch (code) {
        case LEVER_THROWN: expected.push_back(EFFECT_SWITCH); break;
        case TORCH_LIT: expected.push_back(EFFECT_ENFLAM); break;
        case EXPLOSION: expected.push_back(EFFECT_EXPLOSE); break;
        case LOCK_OPENING: expected.push_back(EFFECT_SERRURE); break;
        case DOOR_OPENING: expected.push_back(EFFECT_DOOREND); break;
        case BALL_INTO_BOX: expected.push_back(EFFECT_BALLBOX); break;
        case PLAYER_HURT_LEFT:
        case PLAYER_HURT_RIGHT: expected.push_back(EFFECT_INFIRE); break;
        case FLOAT_BURNING: expected.push_back(EFFECT_CBRULE); break;
        default: break;
        }
    }
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        int8_t layer = 0;
        AnimState state{5, 5, 0, 5};
        setElement(static_cast<ElementCode>(code), layer, state);
        EXPECT_EQ(layer, code);
        const int mode = elementInfo[code].mode;
        EXPECT_EQ(state.flags, mode == 0 ? 0 : (mode == 1 ? 1 : 3)) << "code " << code;
        EXPECT_EQ(state.frame, 0);
        EXPECT_EQ(state.tick, 0);
        EXPECT_EQ(state.counter, 0);
    }
    EXPECT_EQ(heard, expected);
}
