#pragma once
// The window manager: the desktop's start and end, creating and closing its
// modal windows, and the update pass that ticks, draws and composes them.
// The Desktop record itself is in toolkit/window.h; the style table every
// widget draws with is in toolkit/style.h.
#include "toolkit/current.h"
#include "toolkit/style.h"
#include "toolkit/surface.h"
#include "toolkit/window.h"
#include <cstdint>

// Creation flags beyond the style flags of a window frame.
enum : uint32_t {
    CREATE_OUTER_SIZE = 64, // width and height are the frame's, not the client's
    CREATE_MAXIMISED = 128,
};

// Returns nullptr, or "Failed to init desktop bitmap", "Failed to create
// backup bitmap" or "Failed to init desktop window".
const char* desktopInit(Desktop& d, int32_t width, int32_t height, WindowProc proc);
void desktopShutdown(Desktop& d);
int desktopResize(Desktop& d, int32_t width, int32_t height);
// x and y are the frame's top-left, -1 for centred. Null on failure.
Window* createWindow(Desktop& d, int32_t x, int32_t y, int32_t width, int32_t height,
                     const char* title, uint32_t flags, WindowProc proc, uint32_t param);
int closeTopWindow(Desktop& d);
void requestQuit(Desktop& d);
void updatePass(Desktop& d);
void compose(Desktop& d, bool composeOnly);
