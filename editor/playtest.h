#pragma once
// The play-test: the level being edited, run in the editor's window by the
// game's own rules at the game's 100 ms steps, moved with the arrows. Moves
// are taken back and given again through the game's history of the level in
// play. Once the player reaches the exit, the inputs played can be kept as
// the level's solution.
#include <cstdint>
#include <string>

struct PlayTest {
    bool running;
    uint32_t nextStep; // ms: the next timed step
};

extern PlayTest playTest;

// Sets the level up as verify does and starts stepping it.
void playTestStart();
void playTestStop();
// One Tick of the editor window while the play-test runs: the keys, and the
// step when its time has come or an arrow asked for it.
void playTestTick();
void playTestUndo();
void playTestRedo();
// The status line's account of the play-test.
std::string playTestStatus();
