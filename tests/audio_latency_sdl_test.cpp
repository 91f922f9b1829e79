// When the SDL sound output mixes a buffer, told by SDL's disk driver, which
// writes each chunk to a file and then waits as long as a chunk would play.
// Every buffer the test's fill routine mixes is marked with its number, and
// with 1000 more once the "effect" has started, so the file shows which
// buffer first carried it.
#include "shell/platform_sdl.h"

#include "tests/support/datafile.h"

#include <atomic>
#include <gtest/gtest.h>
#include <string>

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

} // namespace

TEST(SdlAudioLatency, AnEffectIsHeardOnceTheBufferQueuedBehindTheOnePlayingHasPlayed) {
    TempDir folder("audio-latency");
    const std::string file = (folder.path / "out.raw").string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", std::to_string(CHUNK_MS).c_str(), 1);

    AudioOut out{};
    ASSERT_EQ(audioOpen(out, markBuffer), 1) << SDL_GetError();
    // Buffers 1 and 2 are mixed at open; the effect starts halfway through
    // buffer 3, and by buffer 7 the buffer that carries it has been written.
    const uint32_t opened = SDL_GetTicks();
    SDL_Delay(BUFFER_MS * 5 / 2);
    const uint32_t effectAt = SDL_GetTicks() - opened;
    effectStarted = true;
    SDL_Delay(BUFFER_MS * 7 - effectAt);
    const uint32_t closing = SDL_GetTicks();
    audioClose(out);
    const uint32_t closeMs = SDL_GetTicks() - closing;
    EXPECT_EQ(out.open, 0u);
    // The output stops at once rather than playing out what SDL holds.
    EXPECT_LT(closeMs, 150u);

    std::vector<uint8_t> bytes = readBytes(file);
    // Whatever the driver wrote before the device was started is silence;
    // the buffers' timing counts from the first marked chunk.
    size_t silent = 0;
    int16_t firstMarked = 0;
    for (size_t i = 0; i + 1 < bytes.size() && firstMarked == 0; i += 2) {
        const int16_t sample = int16_t(bytes[i] | bytes[i + 1] << 8);
        silent += sample == 0 ? 1 : 0;
        firstMarked = sample > 1000 ? sample : 0;
    }
    const uint32_t startMs = uint32_t(silent / SDL_AUDIO_CHUNK_SAMPLES) * CHUNK_MS;
    ASSERT_GT(effectAt, startMs);
    const int playing = int((effectAt - startMs) / BUFFER_MS) + 1;
    // The buffer queued behind the one playing was mixed before the effect;
    // the one after it is mixed once the playing one has finished.
    EXPECT_EQ(firstMarked, 1000 + playing + 2) << "effect during buffer " << playing;
}
