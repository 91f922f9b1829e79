#pragma once
// ghtool verify: replays the solution kept in every level text through the
// rules (the same steps as the game and ghtool sim) and proves that each one
// reaches the exit. With --stats it also describes the campaign level by level.
#include "game/gamedata.h"
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

struct ReplayResult {
    int32_t completedAt; // tick at which the player entered the exit, 0 if never
    int32_t ticks;       // ticks replayed (stops at completion)
    int32_t moves;       // ticks on which the player changed cells
    int32_t pushes;      // of those, moves into a cell that held something to push
    bool trailing;       // the solution goes on after the level was complete
};

// Replays solution (R L U D . per tick) on a fresh copy of record.
ReplayResult replaySolution(const LevelRecord& record, const std::string& solution);

// True when the player can reach an exit by walking alone: over empty cells,
// never pushing, throwing or lighting anything, through a door only when the
// level starts without balls and past barriers only when it has no plates.
bool walkableToExit(const LevelRecord& record);

// The interactive element kinds present at the start, as short names joined
// by spaces ("ball box door plate").
std::string mechanicsOf(const LevelRecord& record);

// "ghtool verify [--stats] [--data IN.dat] [SRC_DIR]": 0 when every level's
// solution completes it, 1 naming each one that does not, 2 for bad input.
int verifyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
