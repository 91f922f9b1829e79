// How many board ticks (water step, animation step, game step) one core runs
// per second on the busiest board we can build (water from sources and
// spouts, floats, lava dragging a row of objects, things burning in fire and
// over burners, kegs and bombs going off, blast blocks and breakable walls)
// and on an empty one.
#include "tools/leveltext.h"
#include "tools/sim.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// 18 x 13. The thrown lever in the level data never finishes playing, so the
// burners stay lit for the whole run; the explosions in the level data spread
// on the first step.
const char* const busyLevel = R"(floor:
__________________
__________________
__________________
__________________
__________________
__________________
__________________
_~~~~~~~~~~~~~~~~_
__________________
__________________
_u__u__u__u__u____
_iiiiii__________+
__________________

object:
##################
#S..S..S...S..S..#
#................#
#.r..r..r.r..r...#
#................#
#.t.g.!.c.t.g.!..#
#................#
#.B.o.B.o.k.B.o..#
#.g*g.!*t.c*g.$..#
#..O..p..O....H..#
#.(.)..../\..<...#
#.BtB.o..........#
##################

top:
..................
..................
.V...V...V...V....
..................
..................
.FFFFFFFFFFFFF....
..................
..................
..............%...
..................
..................
..................
..................
)";

// The other end: 18 x 13 of plain floor inside a wall, nothing but the player,
// no water, nothing burning. The rules should cost little more here than
// their walk over the board.
std::string emptyLevelText() {
    constexpr int WIDTH = 18, HEIGHT = 13;
    std::string floor = "floor:\n", object = "object:\n", top = "top:\n";
    for (int y = 0; y < HEIGHT; ++y) {
        const bool edge = y == 0 || y == HEIGHT - 1;
        std::string inside(WIDTH - 2, edge ? '#' : '.');
        if (y == HEIGHT / 2) {
            inside[7] = '>'; // the player, a little left of the middle, facing right
        }
        floor += std::string(WIDTH, '_') + "\n";
        object += "#" + inside + "#\n";
        top += std::string(WIDTH, '.') + "\n";
    }
    return floor + "\n" + object + "\n" + top;
}

// The board is played from a fresh start for this many ticks, so that the
// explosions and the burning happen again and again.
constexpr int ticksPerRun = 64;
// A slow walk back and forth keeps the player's rule busy too.
constexpr char walk[] = "LLLL....RRRR....";

LevelRecord parseLevel(const char* text) {
    LevelText level;
    const std::string problem = parseLevelText(text, level);
    if (!problem.empty()) {
        std::fprintf(stderr, "benchmark level: %s\n", problem.c_str());
        std::abort();
    }
    return level.record;
}

void runTicks(benchmark::State& state, const char* levelText) {
    const LevelRecord record = parseLevel(levelText);
    SimRun run{};
    int64_t ticks = 0;
    for (auto _ : state) {
        simStart(run, record);
        for (int i = 0; i < ticksPerRun; ++i) {
            const char c = walk[i % (sizeof walk - 1)];
            simTick(run, c == 'L' ? 2 : c == 'R' ? 1 : 0);
        }
        ticks += ticksPerRun;
        benchmark::DoNotOptimize(run.step);
    }
    state.counters["ticks_per_second"] =
        benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}

void BM_RulesTick(benchmark::State& state) {
    runTicks(state, busyLevel);
}
BENCHMARK(BM_RulesTick);

void BM_RulesTickEmpty(benchmark::State& state) {
    runTicks(state, emptyLevelText().c_str());
}
BENCHMARK(BM_RulesTickEmpty);

} // namespace

BENCHMARK_MAIN();
