// Level set-up as only the game sees it: the view centred in its window, the
// records a previous level leaves. The animation step is in every traced
// step of the identity check.
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
