// How late SDL's sound output carries an effect, and how long closing it
// takes, told by SDL's disk driver, which writes each chunk to a file and
// then waits as long as a chunk would play. Every buffer the fill routine
// mixes is marked with its number, and with 1000 more once the "effect" has
// started, so the file shows which buffer first carried it. The effect
// starts halfway through a buffer; a buffer is mixed once the one before
// the buffer playing has finished, so the effect should arrive two buffers
// after the one playing (buffers_late 2), and closing should take about
// 50 ms. Both depend on the wall clock, which is why they are measured here
// rather than checked by a test.
#include "shell/platform_sdl.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::atomic<int> fills;
std::atomic<bool> effectStarted;

void markBuffer(int16_t* buffer) {
    const int n = ++fills;
    const int16_t mark = int16_t(effectStarted ? 1000 + n : n);
    for (int32_t i = 0; i < AUDIO_BUFFER_SAMPLES; i++) {
        buffer[i] = mark;
    }
}

// Each buffer takes this long to play on the disk driver.
constexpr uint32_t BUFFER_MS = 200;
constexpr uint32_t CHUNK_MS = BUFFER_MS * SDL_AUDIO_CHUNK_SAMPLES / AUDIO_BUFFER_SAMPLES;

void AudioLatency(benchmark::State& state) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("ghold-audio-latency-" + std::to_string(getpid()));
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", std::to_string(CHUNK_MS).c_str(), 1);
    for (auto _ : state) {
        fills = 0;
        effectStarted = false;
        AudioOut out{};
        if (audioOpen(out, markBuffer) != 1) {
            state.SkipWithError(SDL_GetError());
            break;
        }
        // Buffers 1 and 2 are mixed at open; the effect starts halfway
        // through buffer 3.
        const uint32_t opened = SDL_GetTicks();
        SDL_Delay(BUFFER_MS * 5 / 2);
        const uint32_t effectAt = SDL_GetTicks() - opened;
        effectStarted = true;
        SDL_Delay(BUFFER_MS * 7 - effectAt);
        const uint32_t closing = SDL_GetTicks();
        audioClose(out);
        state.counters["close_ms"] = SDL_GetTicks() - closing;

        // Whatever the driver wrote before the device was started is
        // silence; the buffers' timing counts from the first marked chunk.
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>()};
        size_t silent = 0;
        int firstMarked = 0;
        for (size_t i = 0; i + 1 < bytes.size() && firstMarked == 0; i += 2) {
            const int sample = int16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
            silent += sample == 0 ? 1 : 0;
            firstMarked = sample > 1000 ? sample : 0;
        }
        const uint32_t startMs = uint32_t(silent / SDL_AUDIO_CHUNK_SAMPLES) * CHUNK_MS;
        const int playing = int((effectAt - startMs) / BUFFER_MS) + 1;
        state.counters["buffers_late"] = firstMarked - 1000 - playing;
    }
    std::filesystem::remove(file);
}

} // namespace

BENCHMARK(AudioLatency)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
