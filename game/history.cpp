#include "game/history.h"

#include "game/board.h"
#include "game/rules.h"
#include "game/sound.h"

#include <algorithm>

namespace {

constexpr char WAIT = '.';

size_t lastMove(const std::string& inputs) {
    return inputs.find_last_not_of(WAIT);
}

// The ticks a line keeps when it is cut after `length` of them: the states
// saved further on belong to ticks that are gone.
void cutLine(PlayLine& line, size_t length) {
    line.inputs.resize(std::min(length, line.inputs.size()));
    line.moves = int32_t(line.inputs.size()) -
                 int32_t(std::count(line.inputs.begin(), line.inputs.end(), WAIT));
    line.checkpoints.resize(
        std::min(line.checkpoints.size(), line.inputs.size() / HISTORY_CHECKPOINT_TICKS));
}

// The game's own tick as the keys drive it: a move sets the request, a tick
// without one leaves it.
void runTick(int32_t move) {
    if (move != MOVE_NONE) {
        levelFlow.moveRequest = move;
    }
    advanceBoard();
}

void saveIfDue(PlayLine& line) {
    if (line.inputs.size() % HISTORY_CHECKPOINT_TICKS == 0) {
        line.checkpoints.emplace_back();
        captureRules(line.checkpoints.back());
    }
}

void addInput(PlayLine& line, char input) {
    line.inputs.push_back(input);
    line.moves += input != WAIT;
    saveIfDue(line);
}

// Sets the rules to the position at the end of the line: from the latest
// state saved, the ticks after it run again, saving states on the way and
// counting the moves afresh.
void replay(PlayLine& line) {
    const size_t saved = line.checkpoints.size();
    restoreRules(saved == 0 ? line.start : line.checkpoints.back());
    const std::string inputs = line.inputs;
    cutLine(line, saved * HISTORY_CHECKPOINT_TICKS);
    const uint32_t wasMuted = effectsMuted;
    effectsMuted = 1;
    for (size_t tick = line.inputs.size(); tick < inputs.size(); tick++) {
        runTick(moveFromChar(inputs[tick]));
        addInput(line, inputs[tick]);
    }
    effectsMuted = wasMuted;
    // The effort mark shows the strain of a move just made; a position
    // arrived at by undo or redo shows none.
    boardView.effortOverlay = 0;
}

PlayLine lineFromHere() {
    PlayLine line{};
    captureRules(line.start);
    return line;
}

} // namespace

void captureRules(RuleState& state) {
    state.board = board;
    state.fineGrid = fineGrid;
    state.gameState = gameState;
    state.moveRequest = levelFlow.moveRequest;
    state.levelComplete = levelFlow.levelComplete;
    state.effortOverlay = boardView.effortOverlay;
}

void restoreRules(const RuleState& state) {
    board = state.board;
    fineGrid = state.fineGrid;
    gameState = state.gameState;
    levelFlow.moveRequest = state.moveRequest;
    levelFlow.levelComplete = state.levelComplete;
    boardView.effortOverlay = state.effortOverlay;
}

char moveChar(int32_t move) {
    switch (move) {
    case MOVE_RIGHT: return 'R';
    case MOVE_LEFT: return 'L';
    case MOVE_UP: return 'U';
    case MOVE_DOWN: return 'D';
    default: return WAIT;
    }
}

int32_t moveFromChar(char c) {
    switch (c) {
    case 'R': return MOVE_RIGHT;
    case 'L': return MOVE_LEFT;
    case 'U': return MOVE_UP;
    case 'D': return MOVE_DOWN;
    case WAIT: return MOVE_NONE;
    default: return -1;
    }
}

void historyBegin(History& history) {
    history.line = lineFromHere();
    history.restarted.clear();
    history.redo.clear();
}

void historyRestart(History& history) {
    history.restarted.push_back(std::move(history.line));
    history.line = lineFromHere();
    history.redo.clear();
}

void historyRecord(History& history, int32_t move) {
    if (move != MOVE_NONE) {
        history.redo.clear();
    }
    addInput(history.line, moveChar(move));
}

bool historyUndo(History& history) {
    PlayLine& line = history.line;
    const size_t last = lastMove(line.inputs);
    if (last != std::string::npos) {
        // The waits before a move belong to it; those after it go as well,
        // as they led up to no move.
        const size_t before =
            last == 0 ? std::string::npos : line.inputs.find_last_not_of(WAIT, last - 1);
        const size_t keep = before == std::string::npos ? 0 : before + 1;
        history.redo.push_back(RedoStep{line.inputs.substr(keep, last + 1 - keep), nullptr});
        cutLine(line, keep);
        replay(line);
        return true;
    }
    if (history.restarted.empty()) {
        return false;
    }
    history.redo.push_back(RedoStep{{}, std::make_unique<RuleState>(line.start)});
    history.line = std::move(history.restarted.back());
    history.restarted.pop_back();
    replay(history.line);
    return true;
}

bool historyRedo(History& history) {
    if (history.redo.empty()) {
        return false;
    }
    RedoStep step = std::move(history.redo.back());
    history.redo.pop_back();
    if (step.restartStart) {
        history.restarted.push_back(std::move(history.line));
        history.line = PlayLine{};
        history.line.start = *step.restartStart;
    } else {
        // The waits played since the undo led up to no move; the redone
        // move brings its own.
        const size_t last = lastMove(history.line.inputs);
        cutLine(history.line, last == std::string::npos ? 0 : last + 1);
        history.line.inputs += step.inputs;
    }
    replay(history.line);
    return true;
}

int32_t historyMoves(const History& history) {
    return history.line.moves;
}

const std::string& historyInputs(const History& history) {
    return history.line.inputs;
}
