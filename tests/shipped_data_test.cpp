// The data file the build packs from assets/ and the committed sources it is
// packed from: exporting it gives sources that pack to the very same bytes
// (titles included), and the sounds keep the promises the mixer relies on.
// (The pictures cannot change unseen: the identity check draws every one of
// them; the levels are played through by the verify test.)
#include "game/sound.h"
#include "tests/support/datafile.h"
#include "tools/assets.h"
#include "tools/export.h"
#include "tools/pack.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

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
        const std::string file = std::string(GHOLD_SOURCE_DIR) + "/assets/" + soundPath(id);
        std::vector<int16_t> samples;
        ASSERT_EQ(readWav(file, samples), "") << file;
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
