#pragma once
// ghtool solve: the shortest input sequence that completes a level, found by a
// breadth-first search over whole board states. Every state is stepped by the
// same tick as the game and ghtool sim, and states that no rule could tell
// apart are merged.
#include "game/gamedata.h"
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

// What makes one solution shorter than another.
enum class SolveBy {
    Ticks,   // fewest ticks; among those, fewest key presses
    Presses, // fewest key presses; waiting is free
};

struct SolveOptions {
    SolveBy by;
    int64_t maxStates;      // distinct states kept before giving up
    double maxSeconds;      // 0: no time bound
    int32_t maxCost;        // deepest cost (ticks or presses) searched; -1: no bound
    std::ostream* progress; // where the progress line goes; null for none
    bool progressLines;     // a full line every half minute instead of one rewritten line
};

// Ticks, 60 million states (about 2 GB on the late levels), no other bound,
// no progress line.
SolveOptions defaultSolveOptions();

enum class SolveOutcome {
    Solved,
    NoSolution, // every reachable state was searched
    Bounded,    // a bound stopped the search first
};

struct SolveResult {
    SolveOutcome outcome;
    std::string moves; // the solution, one of R L U D . per tick
    int32_t ticks;
    int32_t presses;
    // No solution costs this much or less (ticks or presses, as searched);
    // -1 when not even cost 0 was settled.
    int32_t settled;
    const char* bound; // "states", "seconds", "memory" or "cost" when Bounded
    int64_t states;    // distinct states stored
    int64_t ticksRun;  // ticks stepped, one per state and input tried
    int64_t bytes;     // memory held by the search at its end
    double seconds;
};

SolveResult solveLevel(const LevelRecord& record, const SolveOptions& options);

// "ghtool solve [--data IN.dat --level N | LEVEL.txt] [--by ticks|moves]
// [--max-states N] [--max-seconds S]": prints the solution as level-text
// "solution:" lines with its counts in comments. Exit status 0 when it found
// one, 1 when the level has none, 3 when a bound was reached first, 2 for bad
// input.
int solveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
