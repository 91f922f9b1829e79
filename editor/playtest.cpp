#include "editor/playtest.h"

#include "editor/commands.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "game/board.h"
#include "game/flow.h"
#include "toolkit/desktop.h"
#include "tools/sim.h"
#include "tools/verify.h"
#include "widgets/msgbox.h"

PlayTest playTest;

namespace {

SimRun run;
std::string completeText;

int32_t moveForKey(uint8_t key) {
    switch (key) {
    case KEY_RIGHT: return MOVE_RIGHT;
    case KEY_LEFT: return MOVE_LEFT;
    case KEY_UP: return MOVE_UP;
    case KEY_DOWN: return MOVE_DOWN;
    default: return MOVE_NONE;
    }
}

constexpr char MOVE_CHARS[] = {'.', 'R', 'L', 'U', 'D'};

void keepSolution() {
    documentSetSolution(document, playTest.inputs);
    editor.note = "Solution kept";
    playTestStop();
}

// The count the dialog gives is verify's own, from a replay of the moves
// played: the solution kept is then known to complete the level.
void completed() {
    const ReplayResult result = editorReplay(playTest.inputs);
    completeText = "The exit was reached in " + std::to_string(result.ticks) + " ticks and " +
                   std::to_string(result.moves) + " moves.";
    std::unique_ptr<Dialog> d = dialogCreate();
    if (!d) {
        return;
    }
    dialogAddBlank(*d);
    dialogAddText(*d, completeText.c_str());
    dialogAddText(*d, "Keep the moves as the level's solution?");
    dialogAddBlank(*d);
    dialogAddButtons(*d, DIALOG_OK_CANCEL);
    dialogShow(std::move(d), "Play-test complete", keepSolution, nullptr);
}

} // namespace

void playTestStart() {
    if (playTest.running) {
        return;
    }
    editor.painting = 0;
    playTest = PlayTest{};
    playTest.running = true;
    // Set up as verify and ghtool sim set a level up, so that what is played
    // here replays there tick for tick.
    simStart(run, document.level.record);
    boardView.window = editor.window;
    placeBoard();
    playTest.nextStep = inputState.now;
    editorRedraw();
}

void playTestStop() {
    playTest.running = false;
    editorRedraw();
}

void playTestTick() {
    if (levelFlow.levelComplete) {
        if (inputState.keys.lastKey == KEY_ESCAPE) {
            playTestStop();
        }
        return;
    }
    const uint32_t now = inputState.now;
    const uint8_t key = inputState.keys.lastKey;
    if (key == KEY_ESCAPE) {
        playTestStop();
        return;
    }
    const int32_t move = moveForKey(key);
    // Arrows step at once, as in the game; otherwise the board steps when
    // its 100 ms are up (an unsigned comparison, like every deadline).
    if (move == MOVE_NONE && now < playTest.nextStep) {
        wakeAt(playTest.nextStep);
        return;
    }
    playTest.nextStep = now + STEP_MS;
    wakeAt(playTest.nextStep);
    simTick(run, move);
    playTest.inputs += MOVE_CHARS[move];
    playTest.moves += move != MOVE_NONE ? 1 : 0;
    editorRedraw();
    if (levelFlow.levelComplete) {
        completed();
    }
}

void playTestUndo() {}

void playTestRedo() {}

std::string playTestStatus() {
    std::string text = "Play-test: tick " + std::to_string(playTest.inputs.size()) + ", " +
                       std::to_string(playTest.moves) + " moves.";
    return text + (levelFlow.levelComplete ? " Complete: Escape ends the play-test."
                                           : " Arrows move, Ctrl+Z takes back, Escape ends.");
}
