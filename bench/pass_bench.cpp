// One update pass of the game as it runs between key presses: the game
// window's timed step (water, animation, rules), the board drawn into the
// window's canvas and its rectangle copied to the screen, on desktops of
// 640 x 480 and 1920 x 1080. The level is the largest of GHold.dat, played
// from its start with no key pressed.
//
// Also the program's own share of its start on the scripted platform: the
// data file read, and everything from the desktop's creation (data file,
// display test, title picture window) to the first title picture composed.
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

// A folder of its own holding GHold.dat becomes the current one. false when
// the data file is not there.
bool enterFolder(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    std::error_code error;
    std::filesystem::copy_file(GHOLD_DATA_FILE, folder / "GHold.dat",
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        return false;
    }
    std::filesystem::current_path(folder);
    return true;
}

// The desktop as the program creates it: the game window reads GHold.dat and
// opens the first title picture's window above itself.
bool startDesktop(int32_t width, int32_t height) {
    desktop = Desktop{};
    configReset();
    platformClear(platform);
    platform.clientWidth = width;
    platform.clientHeight = height;
    now = 1000;
    scriptSetTime(now);
    return platformInit(platform) == nullptr &&
           desktopInit(desktop, width, height, GameWindowProc) == nullptr && desktop.count == 2;
}

// The game as the program starts it, past its title pictures and the level's
// banner.
bool startGame(int32_t width, int32_t height) {
    if (!startDesktop(width, height)) {
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
    if (!enterFolder(folder) || !startGame(width, height)) {
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

void BM_LoadGameData(benchmark::State& state) {
    for (auto _ : state) {
        if (!loadGameData(GHOLD_DATA_FILE)) {
            state.SkipWithError("GHold.dat missing");
            return;
        }
    }
}

void BM_StartToTitle(benchmark::State& state) {
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "ghold-start-bench";
    if (!enterFolder(folder)) {
        state.SkipWithError("GHold.dat missing");
        return;
    }
    for (auto _ : state) {
        if (!startDesktop(640, 480)) {
            state.SkipWithError("the game did not start");
            break;
        }
        pass(0);
        state.PauseTiming();
        stopGame();
        state.ResumeTiming();
    }
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(BM_LoadGameData)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartToTitle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GameTickPass)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
