// The committed sound effects: the packer takes them as they are, so their
// format, length and level are checked here.
#include "game/sound.h"
#include "tools/wav.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

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
