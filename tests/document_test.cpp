// The level being edited, without the editor's windows: what opening,
// painting, resizing and hiding layers do to the level itself.
#include "editor/document.h"
#include "game/elements.h"
#include "tests/support/datafile.h"

#include <fstream>
#include <gtest/gtest.h>

TEST(Document, OpeningTakesTheLevelAndNameAndSavingAsTakesTheNewName) {
    TempDir folder{"document"};
    const std::string path = (folder.path / "small.txt").string();
    Document doc;
    documentNew(doc);
    ASSERT_TRUE(documentResize(doc, 4, 3));
    LevelText level{};
    level.record.width = 3;
    level.record.height = 2;
    level.record.cells[2][1][LAYER_OBJECT] = BALL;
    level.title = "Small";
    std::ofstream(path, std::ios::binary) << formatLevelText(level);

    std::string reason;
    ASSERT_TRUE(documentOpen(doc, path, reason)) << reason;
    EXPECT_EQ(doc.path, path);
    EXPECT_EQ(doc.level.title, "Small");
    EXPECT_EQ(doc.level.record.cells[2][1][LAYER_OBJECT], BALL);
    EXPECT_TRUE(doc.undo.empty());
    EXPECT_FALSE(documentChanged(doc));

    ASSERT_TRUE(setCell(doc.level, 0, 0, LAYER_FLOOR, PLAIN_FLOOR));
    const std::string copy = (folder.path / "copy.txt").string();
    EXPECT_EQ(documentSave(doc, copy), "");
    EXPECT_EQ(doc.path, copy);
    EXPECT_FALSE(documentChanged(doc));
}

TEST(Document, ACellIsSetOnlyInsideTheLevelAndOnlyToAnElement) {
    LevelText level{};
    level.record.width = 5;
    level.record.height = 4;
    struct Case {
        int32_t x, y, layer, code;
        bool set;
    } const cases[] = {
        {0, 0, LAYER_FLOOR, PLAIN_FLOOR, true},   {4, 3, LAYER_TOP, EXIT, true},
        {-1, 0, LAYER_FLOOR, PLAIN_FLOOR, false}, {0, -1, LAYER_FLOOR, PLAIN_FLOOR, false},
        {5, 0, LAYER_FLOOR, PLAIN_FLOOR, false},  {0, 4, LAYER_FLOOR, PLAIN_FLOOR, false},
        {0, 0, -1, PLAIN_FLOOR, false},           {0, 0, LAYER_COUNT, PLAIN_FLOOR, false},
        {1, 1, LAYER_OBJECT, 63, false},          {4, 3, LAYER_TOP, EXIT, false}, // already there
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " layer " << c.layer);
        EXPECT_EQ(setCell(level, c.x, c.y, c.layer, c.code), c.set);
    }
    EXPECT_EQ(level.record.cells[0][0][LAYER_FLOOR], PLAIN_FLOOR);
    EXPECT_EQ(level.record.cells[1][1][LAYER_OBJECT], EMPTY);
}

TEST(Document, ShrinkingEmptiesTheCellsLeftOutsideSoGrowingBackShowsThemEmpty) {
    Document doc;
    documentNew(doc); // 10 x 8, walls all round
    ASSERT_TRUE(documentResize(doc, 3, 2));
    EXPECT_FALSE(documentResize(doc, 3, 2));
    EXPECT_FALSE(documentResize(doc, 0, 2));
    EXPECT_FALSE(documentResize(doc, 19, 2));
    EXPECT_FALSE(documentResize(doc, 3, 14));
    ASSERT_TRUE(documentResize(doc, 18, 13));
    const LevelRecord& r = doc.level.record;
    EXPECT_EQ(r.cells[0][1][LAYER_OBJECT], SOLID_BLOCK);
    EXPECT_EQ(r.cells[0][2][LAYER_OBJECT], EMPTY);
    EXPECT_EQ(r.cells[3][0][LAYER_OBJECT], EMPTY);
    EXPECT_EQ(r.cells[8][6][LAYER_TOP], EMPTY); // the exit
    ASSERT_EQ(doc.undo.size(), 2u);
    EXPECT_EQ(doc.undo[0].record.cells[8][6][LAYER_TOP], EXIT);
}

TEST(Document, HiddenLayersAreEmptiedInEveryCellOfTheShownLevel) {
    Document doc;
    documentNew(doc);
    const bool floorHidden[3] = {false, true, true};
    const LevelRecord shown = shownLevel(doc.level, floorHidden);
    EXPECT_EQ(shown.cells[1][1][LAYER_FLOOR], EMPTY);
    EXPECT_EQ(shown.cells[1][1][LAYER_OBJECT], PLAYER_RIGHT);
    EXPECT_EQ(shown.cells[0][0][LAYER_OBJECT], SOLID_BLOCK);
    EXPECT_EQ(shown.cells[8][6][LAYER_TOP], EXIT);
    const bool onlyFloor[3] = {true, false, false};
    const LevelRecord floor = shownLevel(doc.level, onlyFloor);
    EXPECT_EQ(floor.cells[0][0][LAYER_OBJECT], EMPTY);
    EXPECT_EQ(floor.cells[8][6][LAYER_TOP], EMPTY);
    EXPECT_EQ(floor.cells[1][1][LAYER_FLOOR], PLAIN_FLOOR);
}
