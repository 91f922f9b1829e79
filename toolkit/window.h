#pragma once
// The toolkit window record. The desktop (toolkit/desktop.h) owns the stack of
// windows and sends each window's procedure its messages; the frame unit
// (toolkit/frame.h) places windows and draws their frames.
#include "toolkit/controls.h"
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

// The blinking text caret of a window. One per window; the widget that shows
// it becomes its owner, so that another widget cannot switch it off by mistake.
struct Caret {
    int32_t x, y, height; // client coordinates
    uint32_t on;
    uint32_t restartBlink;
    uint32_t blinkStart;  // ms
    uint32_t shown;       // the strip is on the screen now
    int32_t lastX, lastY; // where it was drawn
    const void* owner;
};

// Where a window stood before a move, a drag or a maximise. The frame position
// and size double as the rectangle a maximised window is restored to.
struct WindowSnapshot {
    int32_t clientX, clientY;
    int32_t frameX, frameY;
    int32_t titleX, titleY;
    int32_t closeX, closeY;
    int32_t maximiseX, maximiseY;
    int32_t frameWidth, frameHeight;
    int32_t buttonAreaX, buttonAreaY;
};

// Fields in the order the window manager knows them.
struct Window {
    const char* title; // not copied: must outlive the window
    int32_t x, y;      // client area's top-left on the desktop surface
    uint32_t closeRequested;
    uint32_t redrawRequested;
    WindowCanvas canvas;
    uint32_t message;
    uint32_t param;
    WindowProc proc; // null once the window is closing
    uint32_t createDone;
    MenuBar menuBar;
    Caret caret;
    uint32_t active;

    // Geometry and state of the frame.
    uint32_t flags; // style flags in effect; a maximised window keeps only 8, 16 and 32
    uint32_t dragActive;
    uint32_t resizeActive;
    uint32_t hidden;
    uint32_t sized;
    uint32_t limitedMaximised;
    uint32_t maximised;
    uint32_t baseFlags;  // style flags as created
    uint32_t resizeEdge; // 1 left, 2 right, 4 top, 8 bottom
    int32_t minWidth, minHeight;
    int32_t pressX, pressY;
    int32_t movingX, movingY, fixedX, fixedY; // the resize rectangle
    WindowSnapshot snapshot;
    int32_t previousFrameX, previousFrameY;
    int32_t frameX, frameY, frameWidth, frameHeight;
    int32_t titleX, titleY, titleWidth, titleHeight;
    int32_t buttonAreaX, buttonAreaY, buttonAreaWidth, buttonAreaHeight;
    IconButton closeButton;    // icon 19, with STYLE_CLOSE
    IconButton maximiseButton; // icon 20, with STYLE_MAXIMISE
};
