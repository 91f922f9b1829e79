#pragma once
// The level being edited: its text (grids, title, solution), where it came
// from, what was last saved, and the edits that can be undone and redone.
// Nothing here draws or reads input, so tests drive it directly.
#include "tools/leveltext.h"
#include <string>
#include <vector>

// A new level is this size: walls round a room with a player and an exit.
constexpr int32_t NEW_LEVEL_WIDTH = 10;
constexpr int32_t NEW_LEVEL_HEIGHT = 8;

struct Document {
    LevelText level;
    LevelText saved;  // as last opened or saved: the level is changed while it differs
    std::string path; // empty for a level never saved
    // Every edit keeps the whole level from before it. A level is at most
    // 18 x 13 x 3 bytes and a title, so keeping them all costs little, and
    // undo is then never more than a copy.
    std::vector<LevelText> undo;
    std::vector<LevelText> redo;
};

extern Document document;

void documentNew(Document& doc);
// Reads and parses the file. On failure the document is left as it was and
// reason is the system's or the parser's own ("line 4: unknown header").
bool documentOpen(Document& doc, const std::string& path, std::string& reason);
// Writes the level text through a temporary file and a rename. On failure
// the document keeps its edits and the system's reason is returned; on
// success an empty text, and the document is saved under path.
std::string documentSave(Document& doc, const std::string& path);
bool documentChanged(const Document& doc);

// Keeps the level as it is now for undo; the caller then changes it. Redo
// is forgotten, as after any new edit.
void documentMark(Document& doc);
// Drops the latest mark again when the edit it was made for changed nothing.
void documentDropMarkIfSame(Document& doc);
bool documentUndo(Document& doc);
bool documentRedo(Document& doc);

// Edits; each keeps its own undo step, and does nothing (and keeps none)
// when nothing would change.
// Sets one layer of a cell; without marking, for the strokes of a drag that
// the caller has marked once.
bool setCell(LevelText& level, int32_t x, int32_t y, int32_t layer, int32_t code);
// A new size, 1 to 18 x 1 to 13: cells inside both sizes are kept, new ones
// are empty.
bool documentResize(Document& doc, int32_t width, int32_t height);
bool documentSetTitle(Document& doc, const std::string& title);
bool documentSetSolution(Document& doc, const std::string& solution);

// The level as a record with the hidden layers emptied: what the board shows.
LevelRecord shownLevel(const LevelText& level, const bool shown[3]);
