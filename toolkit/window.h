#pragma once
// The toolkit window record, and the Desktop record that stacks up to eight
// of them on the screen. The window manager (toolkit/desktop.h) runs the
// stack; the frame unit (toolkit/frame.h) places windows and draws their
// frames. Both, and every widget, reach the records through this header.
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

constexpr int MAX_WINDOWS = 8;

struct Desktop {
    Window* current; // the window whose procedure runs now
    uint32_t needsRedraw;
    uint32_t shadows;
    int32_t doubleClickTime;
    uint32_t awake;
    uint32_t minimized;
    PopupMenu popupMenu; // its owner is null while no menu is open
    uint32_t drawCount;
    Surface desktopBitmap;
    Surface backup;
    uint32_t nextBandTime;
    Window* windows[MAX_WINDOWS];
    int32_t count;
    int32_t countAtStart;
    Window* desktopWindow;
    Window* resizing;
    Window* dragging;
    // The earliest time a window asked for a pass at during this pass, while
    // wakeSet is 1 (see wakeAt).
    uint32_t wakeTime;
    uint32_t wakeSet;
};

extern Desktop desktop;

// Calls the window's procedure with the message, the window current while it
// runs; nothing for a window without a procedure (one that is closing).
void sendMessage(Window* window, uint32_t code);
// Whatever waits for a time of its own (the game's step, a caret's blink, a
// tooltip or a menu's delay) asks for a pass by then on every Tick it waits;
// the main loop sleeps until the earliest such time when no message comes
// first. Each pass starts with no request, so one that nobody renews lapses.
void wakeAt(uint32_t time);
// Whether the window is on the desktop's stack: closed windows are freed, so
// a pointer kept from before may no longer be one.
bool windowOnStack(const Window* window);
