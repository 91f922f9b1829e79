// The committed sounds keep the promises the mixer relies on. (The pictures
// cannot change unseen: the identity check draws every one of them; the
// levels are played through by the verify test; the export and the pack are
// checked against each other in pack_test.)
#include "game/sound.h"
#include "tools/assets.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

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
