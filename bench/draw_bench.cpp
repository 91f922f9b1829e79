// Full-screen fills and blits at 1920 x 1080, each timed against a memcpy of
// the same number of bytes in the same run: the counter x_memcpy is the
// drawing time divided by the memcpy time (the target is 3 or less).
#include "toolkit/font.h"
#include "toolkit/surface.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <vector>

namespace {

constexpr int32_t WIDTH = 1920;
constexpr int32_t HEIGHT = 1080;
constexpr size_t BYTES = size_t(WIDTH) * HEIGHT * 2;

using Clock = std::chrono::steady_clock;

double secondsOf(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Times `draw` and a memcpy of the same size alternately, so that both see
// the same caches and clock speed; the drawing time is the iteration time.
template <typename Draw> void compareWithMemcpy(benchmark::State& state, Draw draw) {
    std::vector<uint16_t> from(BYTES / 2, 0x1234), to(BYTES / 2);
    double drawing = 0, copying = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        draw();
        Clock::time_point middle = Clock::now();
        std::memcpy(to.data(), from.data(), BYTES);
        benchmark::DoNotOptimize(to.data());
        Clock::time_point end = Clock::now();
        drawing += secondsOf(middle - start);
        copying += secondsOf(end - middle);
        state.SetIterationTime(secondsOf(middle - start));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(BYTES));
    state.counters["x_memcpy"] = copying > 0 ? drawing / copying : 0;
}

void BM_FillFullScreen(benchmark::State& state) {
    Surface s{};
    surfaceInit(s, WIDTH, HEIGHT, nullptr);
    uint16_t colour = 0;
    compareWithMemcpy(state, [&] {
        surfaceFill(s, colour++);
        benchmark::DoNotOptimize(s.pixels);
    });
}
BENCHMARK(BM_FillFullScreen)->UseManualTime();

void BM_FillRectFullScreen(benchmark::State& state) {
    Surface s{};
    surfaceInit(s, WIDTH, HEIGHT, nullptr);
    uint16_t colour = 0;
    compareWithMemcpy(state, [&] {
        surfaceFillRect(s, -5, -5, WIDTH + 5, HEIGHT + 5, colour++);
        benchmark::DoNotOptimize(s.pixels);
    });
}
BENCHMARK(BM_FillRectFullScreen)->UseManualTime();

void BM_BlitFullScreen(benchmark::State& state) {
    Surface source{}, destination{};
    surfaceInit(source, WIDTH, HEIGHT, nullptr);
    surfaceInit(destination, WIDTH, HEIGHT, nullptr);
    surfaceFill(source, 0x7BEF);
    compareWithMemcpy(state, [&] {
        surfaceBlit(source, destination, 0, 0);
        benchmark::DoNotOptimize(destination.pixels);
    });
}
BENCHMARK(BM_BlitFullScreen)->UseManualTime();

void BM_BlitKeyedFullScreen(benchmark::State& state) {
    Surface source{}, destination{};
    surfaceInit(source, WIDTH, HEIGHT, nullptr);
    surfaceInit(destination, WIDTH, HEIGHT, nullptr);
    surfaceFill(source, 0x7BEF);
    surfaceFillRect(source, 0, 0, WIDTH / 2, HEIGHT - 1, COLOUR_KEY);
    compareWithMemcpy(state, [&] {
        surfaceBlitKeyed(source, destination, 0, 0);
        benchmark::DoNotOptimize(destination.pixels);
    });
}
BENCHMARK(BM_BlitKeyedFullScreen)->UseManualTime();

// A screenful of text in the default font, for a sense of what a text-heavy
// window costs; not compared with memcpy.
void BM_TextScreenful(benchmark::State& state) {
    setupBuiltinFonts();
    WindowCanvas c;
    canvasInit(c);
    canvasCreate(c, WIDTH, HEIGHT);
    const char* line = "The quick brown fox jumps over the lazy dog. 0123456789 The quick brown "
                       "fox jumps over the lazy dog. 0123456789 The quick brown fox jumps over "
                       "the lazy dog. 0123456789 The quick brown fox jumps over the lazy";
    for (auto _ : state) {
        for (int32_t y = 0; y + 13 <= HEIGHT; y += 13) {
            drawText(c, line, 0, y, 0xFFFF, 0, nullptr);
        }
        benchmark::DoNotOptimize(c.surface.pixels);
    }
    canvasFree(c);
}
BENCHMARK(BM_TextScreenful);

} // namespace

BENCHMARK_MAIN();
