#pragma once
// Window frames: style flags, how the frame and client rectangles follow from
// a requested position and size, maximise and restore, moving, dragging by the
// title bar, resizing by the edges, frame drawing and the text caret.
//
// Frames are drawn on the desktop window's canvas; a window's own canvas holds
// only its client area.
#include "toolkit/window.h"
#include <cstdint>

struct Desktop;

enum : uint32_t {
    STYLE_MOVABLE = 1,   // dragging by the title bar
    STYLE_BORDER = 2,    // a two-pixel border around the client area
    STYLE_3D = 4,        // shading of the border (with STYLE_BORDER only)
    STYLE_CLOSE = 8,     // close button in the title bar
    STYLE_TITLE = 16,    // title bar
    STYLE_MAXIMISE = 32, // maximise button, and resizing by the edges
};

// Resize edges under the mouse, as stored in Window::resizeEdge.
enum : uint32_t {
    EDGE_LEFT = 1,
    EDGE_RIGHT = 2,
    EDGE_TOP = 4,
    EDGE_BOTTOM = 8,
};

struct FrameInsets {
    int32_t left, top, right, bottom;
};

// The style flags a window actually gets: any of 1, 8 or 32 implies 16.
uint32_t styleWithTitle(uint32_t style);
FrameInsets frameInsets(uint32_t flags);
int32_t titleFontHeight();
// The client width at which a window of this style shows the whole of its
// title; 0 for no title.
int32_t widthForTitle(const char* title, uint32_t style);

// Size of the desktop window's canvas (0 x 0 before there is one).
int32_t desktopWidth();
int32_t desktopHeight();

// x, y are the frame's top-left (-1 centres); width, height the client size,
// or the frame size with outer. Returns the placement's result.
int windowInit(Window& w, int32_t x, int32_t y, int32_t width, int32_t height, const char* title,
               uint32_t style, bool outer, bool maximised);
// Procedures call this in Create; the minimum includes the frame's insets.
void setMinimumSize(Window& w, int32_t width, int32_t height);
// 1 on success, 0 when the canvas could not be sized.
int placeWindow(Window& w, int32_t x, int32_t y, int32_t width, int32_t height, bool outer,
                bool maximise);
void maximiseWindow(Window& w);
void restoreWindow(Window& w);
void followDesktopSize(Window& w);
void keepOnScreen(Window& w);
void moveWindow(Window& w, int32_t clientX, int32_t clientY);

// Dragging by the title bar. dragStart returns 1 when the mouse is on the
// title bar and the drag has begun.
int dragStart(Window& w);
void dragStep(Window& w);
void dragDisplay(Desktop& d, Window& w);

// Resizing by the frame's edges.
void resizeHover(Window& w);
void resizeStart(Window& w);
void resizeStep(Window& w);

// Both draw on the current (desktop) window's canvas.
void drawFrame(Window& w);
void drawButtonArea(Window& w);

void caretShow(Caret& caret, const void* owner);
void caretHide(Caret& caret, const void* owner);
int caretOwnedBy(const Caret& caret, const void* owner);
void caretSetPosition(Caret& caret, int32_t x, int32_t y);
// Blinks the caret on the screen; the widgets that edit text call it on every tick.
void caretUpdate(Window& w);
