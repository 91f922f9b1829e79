#pragma once
// The desktop: the stack of up to eight modal toolkit windows on one screen
// surface, the update pass that ticks, draws and composes them, and the style
// table of fonts and colours every widget draws with.
#include "toolkit/surface.h"
#include "toolkit/window.h"
#include <cstdint>

constexpr int MAX_WINDOWS = 8;
constexpr int STYLE_COLOURS = 41;

struct StyleTable {
    int32_t windowTextFont;
    int32_t titleFont;
    int32_t buttonFont;
    int32_t menuFont;
    int32_t tooltipFont;
    uint16_t colours[STYLE_COLOURS];
};

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
};

extern Desktop desktop;
extern StyleTable styleTable;

// The fonts and colours the desktop draws with; desktopInit fills styleTable
// with them. A program that draws widgets without a desktop (the picture
// generator) fills its table the same way.
void fillStyleTable(StyleTable& s);

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
void compose(Desktop& d, int composeOnly);
void sendMessage(Window* window, uint32_t code);
