// The data file the build packs from assets/ and the committed sources it is
// packed from: the game can load it, it holds what the sources say, exporting
// it gives sources that pack to the very same bytes, and the sounds keep the
// promises the mixer relies on. (The pictures cannot change unseen: the
// identity check draws every one of them.)
#include "game/gamedata.h"

#include "game/sound.h"
#include "tests/support/datafile.h"
#include "tools/export.h"
#include "tools/leveltext.h"
#include "tools/pack.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

TEST(SoundFiles, EveryEffectIsShortFadedAndPeaksNearMinus3dB) {
    for (int id = 1; id < EFFECT_COUNT; id++) {
        std::string name = effects[id].name;
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        char file[64];
        std::snprintf(file, sizeof file, "%02d-%s.wav", id, name.c_str());
        std::vector<int16_t> samples;
        ASSERT_EQ(readWav(std::string(GHOLD_SOURCE_DIR) + "/assets/sounds/" + file, samples), "")
            << file;
        // The explosion and the door may run longer than the rest.
        double limit = id == EFFECT_EXPLOSE || id == EFFECT_DOOREND ? 1.5 : 1.0;
        EXPECT_GT(samples.size(), 1000u) << file;
        EXPECT_LE(samples.size(), static_cast<size_t>(limit * WAV_SAMPLE_RATE)) << file;
        int peak = 0;
        for (int16_t s : samples)
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        // -3 dBFS is 23197; two effects halved by the mixer must fit 16 bits.
        EXPECT_GE(peak, 22000) << file;
        EXPECT_LE(peak, 23300) << file;
        EXPECT_EQ(samples.front(), 0) << file;
        EXPECT_EQ(samples.back(), 0) << file;
    }
}
