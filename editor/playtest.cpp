#include "editor/playtest.h"

#include "editor/document.h"
#include "editor/editor.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/history.h"
#include "toolkit/desktop.h"
#include "tools/sim.h"
#include "tools/verify.h"
#include "widgets/msgbox.h"

PlayTest playTest;

namespace {

SimRun run;
History history;
std::string completeText;

void keepSolution() {
    documentSetSolution(document, historyInputs(history));
    editor.note = "Solution kept";
    playTestStop();
}

// The inputs are replayed as verify replays a solution before they are
// offered as one, so that a solution kept is known to complete the level.
void completed() {
    const std::string& inputs = historyInputs(history);
    if (editorReplay(inputs).completedAt != int32_t(inputs.size())) {
        completeText = "The replay of these moves does not reach the exit.";
    } else {
        completeText = "The exit was reached on tick " + std::to_string(inputs.size()) +
                       ", after " + std::to_string(historyMoves(history)) + " moves.";
    }
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

// After a move was taken back or given again the board waits a whole step.
void afterHistory(bool changed) {
    if (changed) {
        playTest.nextStep = inputState.now + STEP_MS;
        editorRedraw();
    }
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
    historyBegin(history);
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
    const uint8_t key = inputState.keys.lastKey;
    if (key == KEY_ESCAPE) {
        playTestStop();
        return;
    }
    // A level completed waits for the dialog's answer, or for undo.
    if (levelFlow.levelComplete) {
        return;
    }
    const uint32_t now = inputState.now;
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
    historyRecord(history, move);
    editorRedraw();
    if (levelFlow.levelComplete) {
        completed();
    }
}

void playTestUndo() {
    afterHistory(historyUndo(history));
}

void playTestRedo() {
    afterHistory(historyRedo(history));
}

std::string playTestStatus() {
    std::string text = "Play-test: tick " + std::to_string(historyInputs(history).size()) + ", " +
                       std::to_string(historyMoves(history)) + " moves.";
    return text + (levelFlow.levelComplete ? " At the exit: Ctrl+Z takes back, Escape ends."
                                           : " Arrows move, Ctrl+Z takes back, Escape ends.");
}
