#include "editor/document.h"

#include "game/elements.h"
#include "game/state.h"
#include "platform/files.h"

#include <cstring>

Document document;

namespace {

bool sameLevel(const LevelText& a, const LevelText& b) {
    return std::memcmp(&a.record, &b.record, sizeof a.record) == 0 && a.title == b.title &&
           a.solution == b.solution;
}

} // namespace

void documentNew(Document& doc) {
    doc = Document{};
    LevelRecord& r = doc.level.record;
    r.width = NEW_LEVEL_WIDTH;
    r.height = NEW_LEVEL_HEIGHT;
    for (int32_t x = 0; x < r.width; x++) {
        for (int32_t y = 0; y < r.height; y++) {
            const bool wall = x == 0 || y == 0 || x == r.width - 1 || y == r.height - 1;
            // Walls stand on no floor, as in every level of the game: the
            // shading along them comes from the hole they leave.
            r.cells[x][y][LAYER_FLOOR] = wall ? EMPTY : PLAIN_FLOOR;
            r.cells[x][y][LAYER_OBJECT] = wall ? SOLID_BLOCK : EMPTY;
        }
    }
    r.cells[1][1][LAYER_OBJECT] = PLAYER_RIGHT;
    r.cells[r.width - 2][r.height - 2][LAYER_TOP] = EXIT;
    doc.saved = doc.level;
}

bool documentOpen(Document& doc, const std::string& path, std::string& reason) {
    LevelText level{};
    if (!readLevelTextFile(path, level, reason)) {
        // The reader puts the file's name first; the editor names the file
        // on a line of its own.
        if (reason.compare(0, path.size() + 2, path + ": ") == 0) {
            reason.erase(0, path.size() + 2);
        }
        return false;
    }
    doc = Document{};
    doc.level = level;
    doc.saved = level;
    doc.path = path;
    return true;
}

std::string documentSave(Document& doc, const std::string& path) {
    const std::string text = formatLevelText(doc.level);
    std::string reason = replaceFile(path, text.data(), text.size());
    if (reason.empty()) {
        doc.path = path;
        doc.saved = doc.level;
    }
    return reason;
}

bool documentChanged(const Document& doc) {
    return !sameLevel(doc.level, doc.saved);
}

void documentMark(Document& doc) {
    doc.undo.push_back(doc.level);
    doc.redo.clear();
}

void documentDropMarkIfSame(Document& doc) {
    if (!doc.undo.empty() && sameLevel(doc.undo.back(), doc.level)) {
        doc.undo.pop_back();
    }
}

namespace {

// Undo and redo are one step between the two stacks, in opposite directions.
bool stepBetween(Document& doc, std::vector<LevelText>& from, std::vector<LevelText>& to) {
    if (from.empty()) {
        return false;
    }
    to.push_back(doc.level);
    doc.level = from.back();
    from.pop_back();
    return true;
}

} // namespace

bool documentUndo(Document& doc) {
    return stepBetween(doc, doc.undo, doc.redo);
}

bool documentRedo(Document& doc) {
    return stepBetween(doc, doc.redo, doc.undo);
}

bool setCell(LevelText& level, int32_t x, int32_t y, int32_t layer, int32_t code) {
    LevelRecord& r = level.record;
    if (x < 0 || y < 0 || x >= r.width || y >= r.height || layer < 0 || layer >= LAYER_COUNT ||
        !isElementCode(code) || r.cells[x][y][layer] == code) {
        return false;
    }
    r.cells[x][y][layer] = int8_t(code);
    return true;
}

bool documentResize(Document& doc, int32_t width, int32_t height) {
    LevelRecord& r = doc.level.record;
    if (width < 1 || width > BOARD_COLUMNS || height < 1 || height > BOARD_ROWS ||
        (width == r.width && height == r.height)) {
        return false;
    }
    documentMark(doc);
    // Cells outside the size are zero in every record, whatever they held
    // before a shrink: a level text writes none of them, so a file that is
    // read back compares equal.
    for (int32_t x = 0; x < BOARD_COLUMNS; x++) {
        for (int32_t y = 0; y < BOARD_ROWS; y++) {
            if (x >= width || y >= height) {
                std::memset(r.cells[x][y], 0, sizeof r.cells[x][y]);
            }
        }
    }
    r.width = width;
    r.height = height;
    return true;
}

namespace {

bool setText(Document& doc, std::string LevelText::*field, const std::string& text) {
    if (doc.level.*field == text) {
        return false;
    }
    documentMark(doc);
    doc.level.*field = text;
    return true;
}

} // namespace

bool documentSetTitle(Document& doc, const std::string& title) {
    return setText(doc, &LevelText::title, title);
}

bool documentSetSolution(Document& doc, const std::string& solution) {
    return setText(doc, &LevelText::solution, solution);
}

LevelRecord shownLevel(const LevelText& level, const bool shown[3]) {
    LevelRecord r = level.record;
    for (int32_t x = 0; x < r.width; x++) {
        for (int32_t y = 0; y < r.height; y++) {
            for (int32_t layer = 0; layer < LAYER_COUNT; layer++) {
                if (!shown[layer]) {
                    r.cells[x][y][layer] = EMPTY;
                }
            }
        }
    }
    return r;
}
