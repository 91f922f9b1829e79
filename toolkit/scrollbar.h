#pragma once
// Scroll bars, 18 pixels thick: a vertical one that scrolls a list of equally
// tall entries (the text box's lines, the rows of a popup menu too long for
// its window) and a horizontal one that scrolls by pixels (the text box's long
// lines). Each has an arrow at both ends, a thumb whose length shows the
// visible share, and the two parts of the track beside the thumb.
//
// Bars are plain records owned by their user (toolkit/controls.h): drawn into
// the current window's canvas during Draw and polled during Tick, with every
// rectangle in the current window's client coordinates. A record that is all
// zero is inert.
#include "toolkit/controls.h"
#include <cstdint>

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
