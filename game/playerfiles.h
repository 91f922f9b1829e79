#pragma once
// The player's files as the game keeps them: LevelInfo.dat (the highest
// level reached) and Records.txt (the best runs), read at start-up and
// written as play goes on. Progress is never lost in silence: a file that
// cannot be written is named to the player with the system's reason, once
// per file in a run, and a file that is damaged is kept aside as NAME.bad
// before a new one can take its place.
#include <cstdint>

// Reads both files into the level flow's highest level and playerRecords,
// keeping a damaged one aside and telling the player. Returns the level the
// progress file holds, 0 when it has none.
int32_t loadPlayerFiles();
// Writes the level as the highest reached.
void saveProgress(int32_t level);
// Writes playerRecords.
void saveRecords();
// Forgets which failures the player has been told of (a new run).
void resetSaveNotices();
