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
