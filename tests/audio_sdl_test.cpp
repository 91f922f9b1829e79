// The real SDL sound output, played into a file by SDL's disk driver instead
// of a sound card.
#include "game/sound.h"
#include "shell/platform_sdl.h"
#include "tests/support/datafile.h"

#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

TEST(SdlAudio, DiskDriverReceivesTheHalvedEffectAfterTheQueuedBuffers) {
    TempDir dir("audio");
    const std::string file = (dir.path / "out.raw").string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    // A few milliseconds per 2048-sample chunk: far faster than real time.
    setenv("SDL_DISKAUDIODELAY", "5", 1);

    std::vector<int16_t> effect(3000);
    for (size_t i = 0; i < effect.size(); i++)
        effect[i] = static_cast<int16_t>(i % 2 ? 1001 + i : -1001 - static_cast<int>(i));
    effects[EFFECT_SERRURE].sampleCount = 3000;
    effects[EFFECT_SERRURE].samples = effect.data();

    ASSERT_EQ(soundInit(), 1);
    playEffect(EFFECT_SERRURE);
    // Bounded wait: at most 500 ms for the whole effect to reach the file.
    std::vector<int16_t> samples;
    size_t start = 0;
    for (int waited = 0; waited < 500; waited += 10) {
        SDL_Delay(10);
        // The driver writes the device's own format: 16-bit samples in the
        // machine's byte order.
        const std::vector<uint8_t> bytes = readBytes(file);
        samples.resize(bytes.size() / 2);
        std::copy_n(bytes.data(), samples.size() * 2, reinterpret_cast<uint8_t*>(samples.data()));
        start =
            size_t(std::find_if(samples.begin(), samples.end(), [](int16_t s) { return s != 0; }) -
                   samples.begin());
        if (start < samples.size() && samples.size() > start + effect.size())
            break;
    }
    soundShutdown();
    EXPECT_EQ(audioOut.open, 0u);
    effects[EFFECT_SERRURE] = Effect{0, nullptr, "SERRURE"};

    // The two buffers queued at open were mixed before the effect started.
    // The driver may have written a chunk of silence before the device was
    // started, ahead of the buffers.
    ASSERT_GE(start, static_cast<size_t>(2 * AUDIO_BUFFER_SAMPLES));
    ASSERT_GE(samples.size(), start + effect.size() + 1);
    EXPECT_EQ(start % SDL_AUDIO_CHUNK_SAMPLES, 0u);
    for (size_t i = 0; i < effect.size(); i++)
        ASSERT_EQ(samples[start + i], effect[i] >> 1) << i;
    EXPECT_EQ(samples[start + effect.size()], 0);
}
