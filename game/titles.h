#pragma once
// The levels' titles. The level texts carry them and GHold.dat, whose format
// has no room for them, does not: ghtool pack writes them into a small text
// file beside the data file, one line per level, and the game shows them
// when that file is there. Without it every title is empty.
#include "game/gamedata.h"
#include <cstdint>
#include <string>

// Titles longer than this are cut; they are shown on one line beside the
// game menu.
constexpr int32_t LEVEL_TITLE_SIZE = 48; // with the terminating zero

struct LevelTitles {
    char text[LEVEL_COUNT][LEVEL_TITLE_SIZE];
};

extern LevelTitles levelTitles;

// Where the titles of a data file are: beside it, with the extension
// ".titles" in place of its own ("GHold.dat" gives "GHold.titles").
std::string titlesPathFor(const std::string& dataFile);
// The file's text for the titles of levels 0 to 50 in order.
std::string levelTitlesText(const std::string (&titles)[LEVEL_COUNT]);
// Reads the titles; a missing or unreadable file leaves every title empty.
// Only the characters the fonts draw (32 to 126) are kept.
void loadLevelTitles(const std::string& path);
