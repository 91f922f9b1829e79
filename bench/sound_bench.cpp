// The mixer runs inside the audio callback: one buffer of 2048 samples with
// all four channels busy must cost far less than the 186 ms the buffer plays.
#include "game/sound.h"

#include <benchmark/benchmark.h>
#include <vector>

static void MixFourChannels(benchmark::State& state) {
    std::vector<int16_t> samples(1 << 20);
    for (size_t i = 0; i < samples.size(); i++)
        samples[i] = static_cast<int16_t>(i * 7919);
    for (int id = 1; id <= 4; id++)
        effects[id] =
            Effect{static_cast<int32_t>(samples.size()), samples.data(), effects[id].name};
    std::vector<int16_t> buffer(AUDIO_BUFFER_SAMPLES);
    for (auto _ : state) {
        for (int c = 0; c < CHANNEL_COUNT; c++)
            channels[c] = Channel{c + 1, 4096 * c};
        mixBuffer(buffer.data());
        benchmark::DoNotOptimize(buffer.data());
    }
}
BENCHMARK(MixFourChannels);

BENCHMARK_MAIN();
