// The data file the build packs from assets/: the game can load it, it holds
// what the sources say, and exporting it gives sources that pack to the very
// same bytes.
#include "game/gamedata.h"

#include "tests/support/datafile.h"
#include "tools/export.h"
#include "tools/leveltext.h"
#include "tools/pack.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ShippedData, LoadsAndHoldsTheLevelTexts) {
    ASSERT_EQ(loadGameData(GHOLD_DATA_FILE), 1);
    for (int i = 0; i < LEVEL_COUNT; ++i) {
        LevelText text;
        std::string error;
        ASSERT_TRUE(readLevelTextFile(std::string(GHOLD_SOURCE_DIR) + "/assets/" + levelPath(i),
                                      text, error))
            << error;
        EXPECT_EQ(std::memcmp(&levelRecords[i], &text.record, sizeof text.record), 0) << i;
    }
    for (int i = 0; i < PICTURE_COUNT; ++i) {
        EXPECT_GT(titlePictures[i].width, 0);
        EXPECT_NE(titlePictures[i].pixels, nullptr);
    }
}

TEST(ShippedData, ExportThenPackGivesTheSameFile) {
    TempDir dir("shipped");
    const std::string assets = (dir.path / "assets").string();
    const std::string repacked = (dir.path / "GHold.dat").string();
    ASSERT_EQ(exportGameData(GHOLD_DATA_FILE, assets), "");
    ASSERT_EQ(packAssets(assets, repacked), "");
    const std::vector<uint8_t> original = readBytes(GHOLD_DATA_FILE);
    EXPECT_GT(original.size(), 1000u);
    EXPECT_TRUE(readBytes(repacked) == original);
}
