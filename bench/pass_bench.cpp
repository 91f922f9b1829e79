// One update pass of the game as it runs between key presses: the game
// window's timed step (water, animation, rules), the board drawn into the
// window's canvas and its rectangle copied to the screen, on desktops of
// 640 x 480 and 1920 x 1080. The level is the largest of GHold.dat, played
// from its start with no key pressed.
#include "game/board.h"
#include "game/flow.h"
#include "game/gamedata.h"
#include "platform/platform_script.h"
#include "toolkit/config.h"
#include "toolkit/desktop.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

uint32_t now;

void pass(uint32_t advance) {
    now += advance;
    scriptSetTime(now);
    updatePass(desktop);
    mouseClearEvents(inputState.mouse);
    keysClearEvents(inputState.keys);
}

int32_t largestLevel() {
    int32_t best = 0;
    for (int32_t i = 0; i < LEVEL_COUNT; i++) {
        const LevelRecord& r = levelRecords[i];
        if (r.width * r.height >= levelRecords[best].width * levelRecords[best].height) {
            best = i;
        }
    }
    return best;
}

// The game as the program starts it, in a folder of its own holding
// GHold.dat, past its title pictures and the level's banner. false when the
// data file is not there.
bool startGame(int32_t width, int32_t height, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    std::error_code error;
    std::filesystem::copy_file(GHOLD_DATA_FILE, folder / "GHold.dat",
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        return false;
    }
    std::filesystem::current_path(folder);
    desktop = Desktop{};
    configReset();
    platformClear(platform);
    platform.clientWidth = width;
    platform.clientHeight = height;
    now = 1000;
    scriptSetTime(now);
    if (platformInit(platform) != nullptr ||
        desktopInit(desktop, width, height, GameWindowProc) != nullptr || desktop.count != 2) {
        return false;
    }
    inputState.keys.lastKey = KEY_SPACE;
    pass(0);
    inputState.keys.lastKey = KEY_SPACE;
    pass(0);
    // The Continue window is gone: play the largest level, after its banner.
    startLevel(largestLevel());
    pass(0);
    pass(BANNER_MS);
    return levelFlow.boardVisible != 0;
}

void stopGame() {
    while (desktop.count > 0 && closeTopWindow(desktop)) {
    }
    // Not desktopShutdown: it would write Cfg.txt.
    surfaceClearRecord(desktop.desktopBitmap);
    surfaceClearRecord(desktop.backup);
    desktop = Desktop{};
    platformShutdown(platform);
}

void BM_GameTickPass(benchmark::State& state) {
    const int32_t width = int32_t(state.range(0));
    const int32_t height = int32_t(state.range(1));
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("ghold-pass-bench-" + std::to_string(width));
    if (!startGame(width, height, folder)) {
        std::filesystem::current_path(previous);
        state.SkipWithError("GHold.dat missing or the game did not start");
        return;
    }
    const uint32_t before = scriptScreen().copyCount;
    for (auto _ : state) {
        pass(STEP_MS);
    }
    state.counters["copies"] = benchmark::Counter(double(scriptScreen().copyCount - before),
                                                  benchmark::Counter::kAvgIterations);
    state.SetLabel("level " + std::to_string(levelFlow.level));
    stopGame();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(BM_GameTickPass)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
