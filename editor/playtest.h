#pragma once
// The play-test: the level being edited, run in the editor's window by the
// game's own rules at the game's 100 ms steps, moved with the arrows. Moves
// can be taken back and given again. Once the player reaches the exit, the
// moves played can be kept as the level's solution.
#include <cstdint>
#include <string>

struct PlayTest {
    bool running;
    uint32_t nextStep;  // ms: the next timed step
    std::string inputs; // one move character per tick, as a solution holds them
    int32_t moves;
};

extern PlayTest playTest;

// Sets the level up as the game would and starts stepping it.
void playTestStart();
void playTestStop();
// One Tick of the editor window while the play-test runs: the keys, and the
// step when its time has come or an arrow asked for it.
void playTestTick();
void playTestUndo();
void playTestRedo();
// The status line's account of the play-test.
std::string playTestStatus();
