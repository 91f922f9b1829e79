#include "tests/support/desktop_env.h"

#include "platform/platform_script.h"
#include "toolkit/config.h"

void scriptedPlatformStart(int32_t width, int32_t height, uint32_t now) {
    platformClear(platform);
    platform.clientWidth = width;
    platform.clientHeight = height;
    scriptSetBitmapBudget(-1);
    scriptFailPlatformInit(0);
    platformInit(platform);
    scriptScreenResize(width, height);
    scriptScreenResetCounters();
    scriptSetTime(now);
    configReset();
}

const char* scriptedDesktopStart(int32_t width, int32_t height, WindowProc proc) {
    scriptedPlatformStart(width, height);
    return desktopInit(desktop, width, height, proc);
}

void scriptedDesktopStop() {
    while (desktop.count > 0) {
        // Without a procedure nobody can refuse the close.
        desktop.windows[desktop.count - 1]->proc = nullptr;
        closeTopWindow(desktop);
    }
    surfaceClearRecord(desktop.desktopBitmap);
    surfaceClearRecord(desktop.backup);
    desktop = Desktop{};
    platformShutdown(platform);
}

uint16_t screenAt(int32_t x, int32_t y) {
    const ScriptScreen& s = scriptScreen();
    return s.pixels[size_t(y) * size_t(s.width) + size_t(x)];
}

std::vector<int64_t> lastScreenCopy() {
    const ScriptScreen& s = scriptScreen();
    return {s.copyCount, s.lastX, s.lastY, s.lastWidth, s.lastHeight};
}

std::vector<uint16_t> screenCrop(int32_t x, int32_t y, int32_t width, int32_t height) {
    std::vector<uint16_t> crop;
    for (int32_t row = y; row < y + height; row++) {
        for (int32_t column = x; column < x + width; column++) {
            crop.push_back(screenAt(column, row));
        }
    }
    return crop;
}
