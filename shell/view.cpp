#include "shell/view.h"

#include "platform/platform.h"
#include "shell/mainwnd.h"

#include <algorithm>

WindowView view{1, 1, 0, 0};
WindowSize leastDesktop{GAME_DESKTOP_WIDTH, GAME_DESKTOP_HEIGHT};

namespace {

uint32_t packWords(int32_t low, int32_t high) {
    return (uint32_t(low) & 0xFFFF) | ((uint32_t(high) & 0xFFFF) << 16);
}

} // namespace

int32_t largestZoom(int32_t displayWidth, int32_t displayHeight) {
    return std::max(
        std::min(displayWidth / leastDesktop.width, displayHeight / leastDesktop.height), 1);
}

int32_t zoomAfterKey(const WindowView& v, ZoomKey key) {
    switch (key) {
    case ZoomKey::In: return std::min(v.zoom + 1, v.largestZoom);
    case ZoomKey::Out: return std::max(v.zoom - 1, 1);
    case ZoomKey::Standard: return v.largestZoom;
    }
    return v.zoom;
}

WindowSize minimumWindowSize(int32_t zoom) {
    return {leastDesktop.width * zoom, leastDesktop.height * zoom};
}

WindowSize zoomedWindowSize(const WindowView& v, int32_t zoom, int32_t displayWidth,
                            int32_t displayHeight) {
    const WindowSize least = minimumWindowSize(zoom);
    const int64_t width = std::min(int64_t{v.width / v.zoom} * zoom, int64_t{displayWidth});
    const int64_t height = std::min(int64_t{v.height / v.zoom} * zoom, int64_t{displayHeight});
    return {std::max(int32_t(width), least.width), std::max(int32_t(height), least.height)};
}

void shellWindowSized(uint32_t kind, int32_t width, int32_t height) {
    if (kind != SIZE_MINIMIZED) {
        view.width = width;
        view.height = height;
        platformScreenResize(width, height, view.zoom);
    }
    MainWndProc(MSG_SIZE, kind, packWords(width / view.zoom, height / view.zoom));
}

void shellPointerMoved(int32_t x, int32_t y) {
    const int32_t zoom = view.zoom;
    const int32_t right = std::max(view.width / zoom, 1) - 1;
    const int32_t bottom = std::max(view.height / zoom, 1) - 1;
    const int32_t desktopX = std::clamp(x / zoom, 0, right);
    const int32_t desktopY = std::clamp(y / zoom, 0, bottom);
    MainWndProc(MSG_MOUSE_MOVE, 0, packWords(desktopX, desktopY));
}
