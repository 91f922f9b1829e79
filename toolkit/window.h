#pragma once
// The toolkit window record. The desktop (toolkit/desktop.h) owns the stack of
// windows and sends each window's procedure its messages.
#include "toolkit/surface.h"
#include <cstdint>

enum WindowMessage : uint32_t {
    Create = 0,
    Tick = 1,
    Draw = 2,
    Size = 3,
    Close = 4,
};

struct Window;
using WindowProc = void (*)(Window* window, uint32_t param);

// Fields in the order the window manager knows them. The frame, menu bar and
// caret fields join as their units arrive.
struct Window {
    const char* title; // not copied: must outlive the window
    int32_t x, y;      // client area's top-left on the desktop surface
    uint32_t closeRequested;
    uint32_t redrawRequested;
    WindowCanvas canvas;
    uint32_t message;
    uint32_t param;
    WindowProc proc;
    uint32_t createDone;
    uint32_t active;
};
