#pragma once
// How the system window shows the desktop: an integer zoom (every desktop
// pixel a zoom x zoom square of the screen), the window's size in screen
// pixels, and the pointer brought back into the desktop's own pixels. The
// SDL entry (shell/main.cpp) tells these functions what the window does;
// tests call them directly.
#include <cstdint>

// The desktop the game is laid out for: its menu bar and its largest board
// fit in it.
constexpr int32_t GAME_DESKTOP_WIDTH = 640;
constexpr int32_t GAME_DESKTOP_HEIGHT = 480;

struct WindowView {
    int32_t zoom;          // screen pixels per desktop pixel, each way
    int32_t largestZoom;   // the display's largest (largestZoom below)
    int32_t width, height; // the window's client area in screen pixels
};

extern WindowView view;

// The largest zoom at which a display of this size (its usable area) still
// shows the whole least desktop; 1 for displays smaller than that. It is
// also the zoom a game starts with.
int32_t largestZoom(int32_t displayWidth, int32_t displayHeight);

enum class ZoomKey {
    In,       // Ctrl+Plus
    Out,      // Ctrl+Minus
    Standard, // Ctrl+0: back to the display's largest
};
// The zoom after one of the zoom keys, between 1 and the largest.
int32_t zoomAfterKey(const WindowView& v, ZoomKey key);

struct WindowSize {
    int32_t width, height;
};
// The window is never made smaller than this many desktop pixels, at
// whatever zoom: the game's desktop, unless the program lays out a larger
// one before start-up (the level editor does).
extern WindowSize leastDesktop;
// The smallest client area the window may have at a zoom.
WindowSize minimumWindowSize(int32_t zoom);
// A plain window's client area once the zoom has changed: the desktop it
// shows now, at the new zoom, kept within the display's usable area and at
// least the smallest size.
WindowSize zoomedWindowSize(const WindowView& v, int32_t zoom, int32_t displayWidth,
                            int32_t displayHeight);

// The window's client area is width x height (at the current zoom), of the
// given SizeKind: the screen follows, then the desktop, which always draws
// everything again, whether or not its own size changed.
void shellWindowSized(uint32_t kind, int32_t width, int32_t height);
// The pointer is at (x, y) of the window's client area, in screen pixels;
// outside it too, while a button is held. It reaches the desktop divided by
// the zoom and kept within the part of the desktop the window shows, so that
// nothing dragged with it can leave the screen.
void shellPointerMoved(int32_t x, int32_t y);
