// How long the window manager takes for the screen work of one update pass on
// a 640 x 480 desktop: a full composition of the stack, a pass in which only
// the top window redraws, and one step of dragging a window.
#include "platform/platform_script.h"
#include "toolkit/config.h"
#include "toolkit/desktop.h"
#include <benchmark/benchmark.h>

namespace {

void BusyWindowProc(Window* w, uint32_t param) {
    if (w->message == Tick && param != 0) {
        w->redrawRequested = 1;
    }
    if (w->message == Draw) {
        surfaceFill(w->canvas.surface, uint16_t(0x0841 * (param + 1)));
    }
}

// The desktop with three framed windows above the desktop window.
void startDesktop() {
    platformClear(platform);
    platform.clientWidth = 640;
    platform.clientHeight = 480;
    platformInit(platform);
    scriptScreenResize(640, 480);
    configReset();
    desktopInit(desktop, 640, 480, BusyWindowProc);
    for (uint32_t i = 1; i <= 3; i++) {
        createWindow(desktop, int32_t(60 * i), int32_t(40 * i), 256, 200, "Window", 31,
                     BusyWindowProc, i);
    }
    updatePass(desktop);
}

void stopDesktop() {
    while (desktop.count > 0) {
        closeTopWindow(desktop);
    }
    // Not desktopShutdown: that would write Cfg.txt where the benchmark runs.
    surfaceClearRecord(desktop.desktopBitmap);
    surfaceClearRecord(desktop.backup);
    platformShutdown(platform);
}

void BM_FullComposition(benchmark::State& state) {
    startDesktop();
    for (auto _ : state) {
        desktop.needsRedraw = 1;
        compose(desktop, 0);
    }
    stopDesktop();
}
BENCHMARK(BM_FullComposition);

void BM_PassWithTopWindowRedrawn(benchmark::State& state) {
    startDesktop();
    for (auto _ : state) {
        updatePass(desktop);
    }
    stopDesktop();
}
BENCHMARK(BM_PassWithTopWindowRedrawn);

void BM_DragStep(benchmark::State& state) {
    startDesktop();
    const Window* top = desktop.windows[desktop.count - 1];
    const int32_t x = top->titleX + 20;
    const int32_t y = top->titleY + 5;
    scriptMouseMove(x, y);
    scriptLeftDown();
    updatePass(desktop);
    mouseClearEvents(inputState.mouse);
    int32_t offset = 0;
    for (auto _ : state) {
        offset = offset == 0 ? 9 : 0;
        scriptMouseMove(x + offset, y);
        updatePass(desktop);
        mouseClearEvents(inputState.mouse);
    }
    scriptLeftUp();
    updatePass(desktop);
    stopDesktop();
}
BENCHMARK(BM_DragStep);

} // namespace

BENCHMARK_MAIN();
