#pragma once
// Records.txt, among the player's files beside LevelInfo.dat: for each level
// completed, the fewest moves and the fewest steps it took, and the inputs of
// the best run, which replay it from the level's start.
//
// A text file, one line per completed level: its number, the fewest moves,
// the fewest steps and the best run in the level text's move format, parted
// by single spaces. Lines that are empty or start with '#' say nothing.
#include "game/gamedata.h"
#include <cstdint>
#include <string>

struct LevelBest {
    uint32_t completed;
    int32_t moves; // arrow presses taken in the completed run with the fewest
    int32_t steps; // ticks of the completed run with the fewest
    // The run with the fewest moves; of two with as few, the one with fewer
    // steps. It need not be the run that gave the fewest steps.
    std::string solution;
};

struct PlayerRecords {
    LevelBest levels[LEVEL_COUNT];
};

extern PlayerRecords playerRecords;

enum class RecordsFile : uint8_t {
    Absent,  // no file, or nothing regular under its name
    Read,    // every line read
    Damaged, // some line broke the format; the others were taken
};

// Takes in a completed run given by its inputs (one move character per
// tick). True when it set a new best of either kind.
bool noteCompletedRun(PlayerRecords& records, int32_t level, const std::string& inputs);

std::string recordsText(const PlayerRecords& records);
RecordsFile parseRecords(const std::string& text, PlayerRecords& records);

// On a file of any name: reading clears the records first; writing returns
// an empty text, or the system's reason the file could not be written.
RecordsFile readRecordsFile(const std::string& path, PlayerRecords& records);
std::string writeRecordsFile(const std::string& path, const PlayerRecords& records);
// The player's own file (toolkit/places.h).
std::string recordsFilePath();
