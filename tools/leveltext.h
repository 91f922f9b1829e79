#pragma once
// Level texts: the readable source form of a level (docs/level-format.md).
// Three grids, one character per cell and per layer, an optional title and an
// optional solution of one move character per tick.
#include "game/gamedata.h"
#include "game/history.h" // the move characters of a solution
#include <string>
#include <string_view>

struct LevelText {
    LevelRecord record;
    std::string title;
    std::string solution; // R, L, U, D or '.' per tick
};

// The character that stands for an element code in a grid, and back (-1 for
// a character that stands for no code).
char elementChar(int code);
int elementFromChar(char c);

// The name the game's code uses for an element code ("PLAYER_LEFT"), or an
// empty string for the codes that have no rule and no name of their own.
const char* elementName(int code);

// The legend of the grids as a markdown table (code, name, character), the
// one docs/level-format.md carries; printed by "ghtool legend".
std::string legendTable();

// Returns an empty string on success, else "line N: what is wrong".
std::string parseLevelText(std::string_view text, LevelText& level);
std::string formatLevelText(const LevelText& level);

// Reads and parses a file; on failure error says why and the file name.
bool readLevelTextFile(const std::string& path, LevelText& level, std::string& error);
