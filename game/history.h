#pragma once
// The inputs of the level in play, kept so that moves can be taken back and
// given again. The rules are deterministic, so a position is its inputs: the
// rules' state when the level was set up and one move (or none) per tick
// since. Undo and redo set the board to the position after fewer or more of
// those ticks by running them again through advanceBoard, from the nearest
// state saved on the way.
//
// The game window keeps one History for the level it shows; a level editor's
// play-test can keep its own, with these calls alone:
//   historyBegin    right after it sets the level up (loadLevel, simStart);
//   historyRecord   after every tick it runs with advanceBoard, with the
//                   move of that tick (MOVE_NONE for none);
//   historyUndo, historyRedo  (and historyRestart for a restart that undo
//                   may take back);
//   historyInputs   what was played, in the level text's move format, ready
//                   for a "solution:" line; historyMoves, its moves.
// A History works on the records advanceBoard steps (board, fineGrid,
// gameState, levelFlow's move request and completion), so one History at a
// time drives them; what it keeps beside that is its own.
#include "game/fluid.h"
#include "game/state.h"
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Everything advanceBoard reads and writes: a position of the level. A record
// a later tick depends on has to be here, or undo lands somewhere else than
// the position it took back.
struct RuleState {
    Board board;
    FineGrid fineGrid;
    GameState gameState;
    int32_t moveRequest;
    uint32_t levelComplete;
    int32_t effortOverlay;
};

void captureRules(RuleState& state);
void restoreRules(const RuleState& state);

// A state is saved after every this many ticks of a line, so that undo runs
// at most this many ticks again, however long the level has been played.
constexpr size_t HISTORY_CHECKPOINT_TICKS = 200;

// The level text's move format: 'R', 'L', 'U', 'D' for a move, '.' for a
// tick without one.
char moveChar(int32_t move);
// MOVE_RIGHT to MOVE_DOWN, MOVE_NONE for '.', -1 for any other character.
int32_t moveFromChar(char c);

// One line of play: from the level's set-up, or from a restart, to now.
struct PlayLine {
    RuleState start;
    std::string inputs;                 // one move character per tick
    int32_t moves;                      // the characters of inputs that are moves
    std::vector<RuleState> checkpoints; // [i]: after (i + 1) * HISTORY_CHECKPOINT_TICKS ticks
};

// What undo took back: a move with the waits before it, or a restart
// (restartStart then holds the state the restart set the level up in).
struct RedoStep {
    std::string inputs;
    std::unique_ptr<RuleState> restartStart;
};

struct History {
    PlayLine line;
    std::vector<PlayLine> restarted; // lines that a restart ended, the latest last
    std::vector<RedoStep> redo;      // the next to redo last
};

// The level has just been set up: the rules' state now is its start.
// Everything kept of what was played before is forgotten.
void historyBegin(History& history);
// The level has just been set up again by a restart: the line played so far
// is kept, so that undo right after the restart brings it back.
void historyRestart(History& history);
// advanceBoard has just run one tick with this move (MOVE_NONE for a tick
// without one). A move makes whatever was undone impossible to redo.
void historyRecord(History& history, int32_t move);
// Takes back the latest move together with the waits before it, or, when
// the line holds no move, the restart that began it; the rules' state is
// then the position after what is left. False when there is nothing to take
// back. Nothing is heard while the ticks run again.
bool historyUndo(History& history);
// Gives back what the latest undo took, dropping the waits played since.
bool historyRedo(History& history);
// The moves (not the waits) of the line in play.
int32_t historyMoves(const History& history);
const std::string& historyInputs(const History& history);
