// The mixer and the committed sounds it plays.
#include "game/sound.h"
#include "tests/support/ints.h"
#include "tools/assets.h"
#include "tools/wav.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

void clearChannels() {
    for (Channel& channel : channels)
        channel = Channel{};
}

// Effects built by the tests, installed in the effect table for one test,
// which starts with every channel free.
struct TestEffects {
    std::vector<std::vector<int16_t>> blocks;

    TestEffects() { clearChannels(); }

    void add(int32_t id, std::vector<int16_t> samples) {
        blocks.push_back(std::move(samples));
        effects[id].sampleCount = static_cast<int32_t>(blocks.back().size());
        effects[id].samples = blocks.back().data();
    }
    ~TestEffects() {
        for (int id = 1; id < EFFECT_COUNT; id++)
            effects[id] = Effect{0, nullptr, effects[id].name};
    }
};

// One buffer mixed over a pattern; the sample just past its end is not the
// mixer's to write.
std::vector<int16_t> mix() {
    std::vector<int16_t> buffer(AUDIO_BUFFER_SAMPLES + 1, 0x5555);
    mixBuffer(buffer.data());
    EXPECT_EQ(buffer.back(), 0x5555);
    buffer.pop_back();
    return buffer;
}

} // namespace

TEST(Mixer, EffectsPlayHalvedInStepAndTheirChannelIsFreedOnTheFillAfterTheirEnd) {
    TestEffects test;
    std::vector<int16_t> ramp(3000);
    for (int32_t i = 0; i < 3000; i++)
        ramp[i] = static_cast<int16_t>(101 + i % 1000);
    test.add(EFFECT_SWITCH, ramp);
    test.add(EFFECT_WATER, std::vector<int16_t>(2048, 400));
    playEffect(EFFECT_SWITCH);
    playEffect(EFFECT_SWITCH);
    playEffect(EFFECT_WATER);
    EXPECT_EQ(ints(channels[0].effect, channels[1].effect, channels[2].effect, channels[3].effect),
              ints(EFFECT_SWITCH, EFFECT_SWITCH, EFFECT_WATER, 0));
    // Both copies of the ramp (101, 102, ...) halved, and 200 of the water.
    std::vector<int16_t> first = mix();
    EXPECT_EQ(ints(first[0], first[1], first[999], first[1000], first[2047], channels[0].position,
                   channels[1].position, channels[2].effect),
              ints(300, 302, 1300, 300, 348, 2048, 2048, EFFECT_WATER));
    // The water, exactly one buffer long, is freed now; the ramp's
    // 952-sample tail ends in silence.
    std::vector<int16_t> second = mix();
    EXPECT_EQ(ints(second[0], second[951], second[952], second[2047], channels[0].effect,
                   channels[1].effect, channels[2].effect),
              ints(148, 1100, 0, 0, 0, 0, 0));
}

TEST(Mixer, FreeChannelZeroStartsFromSilenceUnderTheOthers) {
    TestEffects test;
    test.add(1, std::vector<int16_t>(5000, 10));
    test.add(2, std::vector<int16_t>(100, 20));
    test.add(3, std::vector<int16_t>(5000, 40));
    channels[1] = Channel{1, 0};
    channels[2] = Channel{2, 0};
    channels[3] = Channel{3, 4096};
    std::vector<int16_t> buffer = mix();
    EXPECT_EQ(ints(buffer[0], buffer[99], buffer[100], buffer[903], buffer[904], buffer[2047],
                   channels[0].effect, channels[1].position, channels[2].effect,
                   channels[3].effect),
              ints(5 + 10 + 20, 5 + 10 + 20, 5 + 20, 5 + 20, 5, 5, 0, 2048, 0, 0));
}

TEST(Mixer, SumsWrapAndHalvingRoundsDown) {
    TestEffects test;
    test.add(1, std::vector<int16_t>(2048, 32767));
    test.add(2, {-1, -3, -32768, 1, 3});
    for (int i = 0; i < 4; i++)
        playEffect(1);
    EXPECT_EQ(mix()[0], -4);

    clearChannels();
    playEffect(2);
    std::vector<int16_t> buffer = mix();
    EXPECT_EQ(ints(buffer[0], buffer[1], buffer[2], buffer[3], buffer[4], buffer[5]),
              ints(-1, -2, -16384, 0, 1, 0));
}

TEST(PlayEffect, SilenceAnUnknownIdOrMutedSoundTakeNoChannelAndAFifthEffectIsDropped) {
    clearChannels();
    static std::vector<int32_t> observed;
    observed.clear();
    effectObserver = [](int32_t id) { observed.push_back(id); };
    channels[2] = Channel{EFFECT_DOOREND, 700};
    effectsMuted = 1;
    playEffect(EFFECT_EXPLOSE);
    effectsMuted = 0;
    for (int32_t id :
         std::initializer_list<int32_t>{EFFECT_SILENCE, -1, EFFECT_COUNT, EFFECT_EXPLOSE,
                                        EFFECT_ENFLAM, EFFECT_TELEP, EFFECT_CBRULE}) {
        playEffect(id);
    }
    EXPECT_EQ(ints(channels[0].effect, channels[1].effect, channels[2].effect, channels[2].position,
                   channels[3].effect, channels[3].position),
              ints(EFFECT_EXPLOSE, EFFECT_ENFLAM, EFFECT_DOOREND, 700, EFFECT_TELEP, 0));
    // The observer sees every request but silence, the dropped ones too.
    EXPECT_EQ(observed, (std::vector<int32_t>{EFFECT_EXPLOSE, -1, EFFECT_COUNT, EFFECT_EXPLOSE,
                                              EFFECT_ENFLAM, EFFECT_TELEP, EFFECT_CBRULE}));
    effectObserver = nullptr;
    clearChannels();
}

// The promises the mixer relies on. (The pictures cannot change unseen: the
// identity check draws every one of them; the levels are played through by
// the verify test.)
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
        EXPECT_EQ(ints(samples.front(), samples.back()), ints(0, 0)) << file;
    }
}
