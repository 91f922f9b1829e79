#pragma once
// The rules run headless: a level set up exactly as the game sets it up, ticks
// exactly as the game runs them (without drawing), and the whole state written
// as one line of JSON per step. ghtool's sim and verify, and the rule tests,
// all go through these functions.
#include "game/gamedata.h"
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

struct SimRun {
    int32_t step;                 // 0 after set-up, then one more per tick
    std::vector<int32_t> effects; // effects started during the latest step, in call order
};

// Step 0: clears the records (resetRuleRecords), sets up the board view without a window and
// loads the level as the game does (fine grid set-up with its one water step).
// From here on the run's effects list collects what the rules start.
void simStart(SimRun& run, const LevelRecord& record);

// One tick as the game's timed step runs it (advanceBoard), without the drawing. move 1 to 4
// sets the move request (right, left, up, down); 0 leaves it as it stands, as
// when no key was pressed.
void simTick(SimRun& run, int move);

// The state after the latest step as one compact JSON object (no newline).
std::string simStateJson(const SimRun& run);

// A level number as the command line gives it: strictly decimal, at most four
// digits; anything else is -1.
int parseLevelNumber(const std::string& text);

// The level a command names: level levelNumber of the packed data file when
// dataFile is given, else the level text at textPath. Returns an empty string
// on success, else what is wrong ("level 60 is not a level number (0 to 50)").
std::string loadNamedLevel(const std::string& dataFile, const std::string& levelNumber,
                           const std::string& textPath, LevelRecord& record);

// ghtool sim with the arguments that follow "sim". Writes JSON lines to out
// and complaints to err; returns the exit status (0, or 2 for bad input).
int simCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
