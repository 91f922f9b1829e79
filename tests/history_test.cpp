// Undo and redo by running the recorded ticks again: every position they
// land on is the one the live run had after as many ticks, through the
// states saved on the way, across a restart, and without a sound.
#include "game/history.h"

#include "game/board.h"
#include "game/sound.h"
#include "tests/support/ints.h"
#include "tests/support/scenario.h"
#include "tools/leveltext.h"
#include "tools/sim.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The rules' whole state as ghtool sim writes it. The effort mark, which
// undo and redo always clear, is left out.
std::string position() {
    const int32_t effort = boardView.effortOverlay;
    boardView.effortOverlay = 0;
    const std::string state = simStateJson(SimRun{});
    boardView.effortOverlay = effort;
    return state;
}

class HistoryTest : public ::testing::Test {
  protected:
    LevelText level;
    SimRun run;
    History history;
    // positions[n]: the position after n ticks of the live run.
    std::vector<std::string> positions;

    // "Torch, River and Ice": water running, torches, fire, lava and ice.
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(readLevelTextFile(GHOLD_SOURCE_DIR "/assets/levels/level42.txt", level, error))
            << error;
        simStart(run, level.record);
        historyBegin(history);
        positions = {position()};
    }

    void play(const std::string& inputs, bool keep = true) {
        for (char c : inputs) {
            simTick(run, moveFromChar(c));
            historyRecord(history, moveFromChar(c));
            if (keep) {
                positions.push_back(position());
            }
        }
    }
};

} // namespace

TEST_F(HistoryTest, UndoTakesBackEachMoveWithItsWaitsAndRedoGivesThemBack) {
    // Moves on ticks 1, 251 and 255, and 200 waits after the last: states
    // are saved after 200 and 400 ticks.
    const std::string inputs = "R" + std::string(249, '.') + "D..." + "L" + std::string(200, '.');
    play(inputs);
    EXPECT_EQ(ints(historyMoves(history), historyInputs(history) == inputs), ints(3, 1));
    stopEffects();
    // Each step: undo (-1) or redo (+1), whether it did anything, and the
    // position it leaves (ticks of the live run) with the moves and inputs
    // left. Waits played after an undo (-2) go when the next move is redone.
    const int steps[][5] = {{-1, 1, 251, 2, 251}, {-1, 1, 1, 1, 1},    {-1, 1, 0, 0, 0},
                            {-1, 0, 0, 0, 0},     {1, 1, 1, 1, 1},     {-2, 0, 1, 1, 6},
                            {1, 1, 251, 2, 251},  {1, 1, 255, 3, 255}, {1, 0, 255, 3, 255}};
    for (const auto& [step, done, ticks, moves, kept] : steps) {
        SCOPED_TRACE(ticks);
        if (step == -2) {
            play(".....", false);
        } else {
            EXPECT_EQ(step < 0 ? historyUndo(history) : historyRedo(history), done != 0);
            EXPECT_EQ(position(), positions[size_t(ticks)]);
        }
        EXPECT_EQ(ints(historyMoves(history), historyInputs(history).size()), ints(moves, kept));
    }
    EXPECT_EQ(historyInputs(history), inputs.substr(0, 255));
    // Nothing was heard while the ticks ran again.
    EXPECT_EQ(ints(channels[0].effect, channels[1].effect, channels[2].effect, channels[3].effect),
              ints(0, 0, 0, 0));
    // A move played after an undo leaves nothing to redo.
    ASSERT_TRUE(historyUndo(history));
    play("U", false);
    EXPECT_FALSE(historyRedo(history));
    EXPECT_EQ(historyInputs(history), inputs.substr(0, 251) + "U");
}

// The keys' side of a restart, undone and redone, is in game_test.
TEST_F(HistoryTest, RedoAfterARestartEndsAtTheRestartAndANewLevelForgetsIt) {
    play("RR" + std::string(230, '.') + "D");
    loadLevel(level.record);
    historyRestart(history);
    const std::string restarted = position();
    play("..", false);
    EXPECT_EQ(historyMoves(history), 0);
    ASSERT_TRUE(historyUndo(history) && historyUndo(history));
    EXPECT_EQ(position(), positions[2]);
    ASSERT_TRUE(historyRedo(history) && historyRedo(history));
    EXPECT_EQ(position(), restarted);
    EXPECT_EQ(historyInputs(history), "");
    ASSERT_TRUE(historyUndo(history));
    historyBegin(history);
    EXPECT_FALSE(historyUndo(history));
}

// A move pressed while the player still reels from the fire waits in the
// request; a state saved then keeps it for the ticks run again after it.
TEST_F(HistoryTest, AMoveWaitingAtASavedStateIsMadeWhenTheTicksRunAgain) {
    ASSERT_EQ(parseLevelText(levelText(".>.", "", "..F"), level), "");
    simStart(run, level.record);
    historyBegin(history);
    positions = {position()};
    play(std::string(198, '.') + "RL" + "..R");
    ASSERT_NE(positions[200].find("\"moveRequest\":2,"), std::string::npos);
    ASSERT_TRUE(historyUndo(history));
    EXPECT_EQ(position(), positions[200]);
}
