// How fast ghtool solve searches and how much memory a state costs it: a
// million states of level 31 (open floor, two kegs, a lava river), the
// kind of search that settles a level of the campaign.
#include "tools/solve.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int level = 31;
constexpr int64_t statesPerRun = 1'000'000;

void BM_SolveStates(benchmark::State& state) {
    if (!loadGameData(GHOLD_DATA_FILE)) {
        std::fprintf(stderr, "%s does not load\n", GHOLD_DATA_FILE);
        std::abort();
    }
    SolveOptions options = defaultSolveOptions();
    options.maxStates = statesPerRun;
    int64_t states = 0;
    int64_t ticks = 0;
    double bytesPerState = 0;
    for (auto _ : state) {
        const SolveResult result = solveLevel(levelRecords[level], options);
        states += result.states;
        ticks += result.ticksRun;
        bytesPerState = static_cast<double>(result.bytes) / static_cast<double>(result.states);
    }
    state.counters["states_per_second"] =
        benchmark::Counter(static_cast<double>(states), benchmark::Counter::kIsRate);
    state.counters["ticks_per_second"] =
        benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
    state.counters["bytes_per_state"] = bytesPerState;
}
BENCHMARK(BM_SolveStates)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
