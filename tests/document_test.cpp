// The level being edited, without the editor's windows: what painting,
// resizing, undoing and hiding layers do to the level itself.
#include "editor/document.h"
#include "game/elements.h"
#include "tests/support/ints.h"

#include <gtest/gtest.h>

TEST(Document, EditsInsideTheLevelKeepOneUndoStepEachAndAShrinkForgetsTheCellsCut) {
    Document doc;
    documentNew(doc);
    // Outside the level, a layer or an element that does not exist, or the
    // element the cell already holds: x, y, layer, code.
    const int32_t refused[][4] = {
        {-1, 0, 0, LAVA}, {0, -1, 0, LAVA},         {10, 0, 0, LAVA},
        {0, 8, 0, LAVA},  {0, 0, -1, LAVA},         {0, 0, LAYER_COUNT, LAVA},
        {0, 0, 0, -1},    {0, 0, 0, ELEMENT_COUNT}, {9, 7, LAYER_OBJECT, SOLID_BLOCK}};
    for (const auto& c : refused) {
        EXPECT_FALSE(setCell(doc.level, c[0], c[1], c[2], c[3])) << c[0] << "," << c[1];
    }
    EXPECT_TRUE(setCell(doc.level, 9, 7, LAYER_FLOOR, LAVA));
    // 1 to 18 by 1 to 13, and a size other than the one it has.
    const struct {
        int32_t width, height;
        bool resized;
    } sizes[] = {{0, 5, false},  {19, 5, false}, {5, 0, false}, {5, 14, false},
                 {10, 8, false}, {18, 13, true}, {1, 1, true},  {10, 8, true}};
    for (const auto& s : sizes) {
        EXPECT_EQ(documentResize(doc, s.width, s.height), s.resized) << s.width << "x" << s.height;
    }
    // The one cell kept is the corner's wall; the walls just right of it and
    // just below it went with the rest.
    const LevelRecord& r = doc.level.record;
    EXPECT_EQ(ints(r.cells[0][0][LAYER_OBJECT], r.cells[1][0][LAYER_OBJECT],
                   r.cells[0][1][LAYER_OBJECT], r.cells[9][7][LAYER_FLOOR],
                   r.cells[1][1][LAYER_OBJECT], r.cells[8][6][LAYER_TOP]),
              ints(SOLID_BLOCK, EMPTY, EMPTY, EMPTY, EMPTY, EMPTY));
    EXPECT_FALSE(documentSetTitle(doc, ""));
    EXPECT_TRUE(documentSetTitle(doc, "T"));
    EXPECT_EQ(ints(doc.undo.size(), documentChanged(doc)), ints(4, 1));
    // Undone to before the first resize, lava and all, then one step redone.
    for (int i = 0; i < 4; i++) {
        EXPECT_TRUE(documentUndo(doc));
    }
    EXPECT_FALSE(documentUndo(doc));
    EXPECT_EQ(ints(r.width, r.cells[9][7][LAYER_FLOOR], r.cells[1][1][LAYER_OBJECT]),
              ints(10, LAVA, PLAYER_RIGHT));
    EXPECT_TRUE(documentRedo(doc));
    EXPECT_EQ(ints(r.width, r.height, doc.redo.size()), ints(18, 13, 3));
    // What the board shows with the objects hidden.
    const bool shown[3] = {true, false, true};
    const LevelRecord seen = shownLevel(doc.level, shown);
    EXPECT_EQ(ints(seen.cells[9][7][LAYER_FLOOR], seen.cells[0][0][LAYER_OBJECT],
                   seen.cells[8][6][LAYER_TOP]),
              ints(LAVA, EMPTY, EXIT));
}
