#pragma once
// Scroll bars, 18 pixels thick: a vertical one that scrolls a list of equally
// tall entries (the text box's lines, the rows of a popup menu too long for
// its window) and a horizontal one that scrolls by pixels (the text box's long
// lines). Each has an arrow at both ends, a thumb whose length shows the
// visible share, and the two parts of the track beside the thumb.
//
// Bars are plain records owned by their user: drawn into the current window's
// canvas during Draw and polled during Tick, with every rectangle in the
// current window's client coordinates. A record that is all zero is inert.
#include "toolkit/surface.h"
#include <cstdint>

constexpr int32_t SCROLLBAR_SIZE = 18;

// The parts of a bar, as pressedPart and hoveredPart hold them.
enum : int32_t {
    SCROLL_PART_NONE = -1,
    SCROLL_PART_FIRST_ARROW = 0,  // up or left
    SCROLL_PART_SECOND_ARROW = 2, // down or right
    SCROLL_PART_TRACK_BEFORE = 3,
    SCROLL_PART_TRACK_AFTER = 4,
};

struct VScrollBar {
    int32_t top;    // first visible entry
    int32_t offset; // scroll position in pixels: entrySize * top
    Rect upButton;
    Rect thumb;
    Rect downButton;
    Rect trackBefore;
    Rect trackAfter;
    uint32_t active;
    int32_t visible; // pixels of content shown: the page
    int32_t travel;  // how far the thumb can move
    int32_t thumbPos;
    int32_t maxScroll; // total - visible
    int32_t total;     // entrySize * count, or visible when everything fits
    uint32_t repeating;
    int32_t pressedPart, hoveredPart;
    int32_t repeatInterval; // ms: 50 for the arrows, 200 for the track
    uint32_t disabled;      // everything fits: drawn, but deaf to input
    uint32_t nextRepeat;
    uint32_t dragging;
    Rect dragBand; // a drag follows the pointer only within it
    int32_t count;
    int32_t entrySize;
};

struct HScrollBar {
    int32_t pos; // scroll position in pixels
    Rect leftButton;
    Rect thumb;
    Rect rightButton;
    Rect trackBefore;
    Rect trackAfter;
    uint32_t active;
    int32_t visible; // the bar's own width
    int32_t travel;
    int32_t thumbPos;
    int32_t maxScroll;
    int32_t total;
    uint32_t repeating;
    int32_t pressedPart, hoveredPart;
    int32_t repeatInterval;
    uint32_t disabled;
    uint32_t nextRepeat;
    uint32_t dragging;
    Rect dragBand;
};

void vscrollClear(VScrollBar& bar);
void vscrollCreate(VScrollBar& bar, int32_t x, int32_t y, int32_t height, int32_t visible,
                   int32_t top, int32_t count, int32_t entrySize);
void vscrollSetContent(VScrollBar& bar, int32_t top, int32_t visible, int32_t count);
// Makes `entry` the first visible entry, as far as the content allows.
void vscrollTo(VScrollBar& bar, int32_t entry);
void vscrollDragTo(VScrollBar& bar, int32_t thumbPos);
int32_t vscrollPageEntries(const VScrollBar& bar);
// 1 when the bar used the mouse on this pass; the caller then leaves the
// mouse alone.
int vscrollUpdate(VScrollBar& bar);
void vscrollDraw(const VScrollBar& bar);

void hscrollClear(HScrollBar& bar);
void hscrollCreate(HScrollBar& bar, int32_t x, int32_t y, int32_t width, int32_t total,
                   int32_t pos);
void hscrollSetContent(HScrollBar& bar, int32_t total, int32_t pos);
void hscrollTo(HScrollBar& bar, int32_t pos);
void hscrollDragTo(HScrollBar& bar, int32_t thumbPos);
int hscrollUpdate(HScrollBar& bar);
void hscrollDraw(const HScrollBar& bar);
