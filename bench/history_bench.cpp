// Undo after a long level: "Torch, River and Ice" (water, fire, torches, lava
// and ice all running) played for 3,000 ticks, then the last move taken back
// and given again. The target is an undo under 20 ms.
//
// BM_UndoAfter3000Steps is the worst case: the position undo goes back to
// lies 199 ticks after the latest saved state. BM_UndoWithoutSavedStates
// drops the saved states first, so that undo runs all 2,999 ticks again from
// the level's start: what replay alone would cost.
#include "game/history.h"
#include "tools/sim.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int LEVEL = 42;
constexpr size_t TICKS = 3000;

// Waits, then two moves on the last two ticks: undo keeps 2,999 ticks.
void playLongLevel(History& history) {
    if (!loadGameData(GHOLD_DATA_FILE)) {
        std::fprintf(stderr, "%s: cannot be read\n", GHOLD_DATA_FILE);
        std::abort();
    }
    SimRun run{};
    simStart(run, levelRecords[LEVEL]);
    historyBegin(history);
    const std::string inputs = std::string(TICKS - 2, '.') + "RL";
    for (char c : inputs) {
        simTick(run, moveFromChar(c));
        historyRecord(history, moveFromChar(c));
    }
}

void timeUndo(benchmark::State& state, bool dropSavedStates) {
    static History history;
    playLongLevel(history);
    for (auto _ : state) {
        if (dropSavedStates) {
            history.line.checkpoints.clear();
        }
        const Clock::time_point start = Clock::now();
        const bool undone = historyUndo(history);
        const Clock::time_point end = Clock::now();
        historyRedo(history);
        if (!undone || historyInputs(history).size() != TICKS) {
            state.SkipWithError("undo and redo did not come back to 3,000 ticks");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

void BM_UndoAfter3000Steps(benchmark::State& state) {
    timeUndo(state, false);
}
BENCHMARK(BM_UndoAfter3000Steps)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_UndoWithoutSavedStates(benchmark::State& state) {
    timeUndo(state, true);
}
BENCHMARK(BM_UndoWithoutSavedStates)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
