#pragma once
// One step of every element's rules, and the one step of the whole board that
// the game window, ghtool and the level editor all run.
#include "game/move.h"

void gameStep(GameState& state);

// One tick of the board: the water's flowStep, then animateBoard, then
// gameStep, which carries out levelFlow.moveRequest and may set
// levelFlow.levelComplete. Drawing is the caller's business.
void advanceBoard();

// Clears every record the board's tick reads and writes (the board and its
// view, the fine grid, the game state, the level flow and the sound
// channels) to what a freshly started program has. The data file's contents
// are left alone.
void resetRuleRecords();
