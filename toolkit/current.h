#pragma once
// The current window: the desktop's window whose procedure is running.
// Widgets have no window of their own; they draw into this one, with
// rectangles in its client coordinates. Outside any procedure there is no
// current window: these draw nothing and answer as for an inactive window.
#include "toolkit/surface.h"
#include <cstdint>

struct Font;

void currentFillRect(const Rect& r, uint16_t colour);
void currentRaisedBevel(const Rect& r);
void currentSunkenBevel(const Rect& r);
// 1 when the window is active and the mouse lies inside the rectangle.
int currentMouseInside(const Rect& r);
void currentTooltipBox(const Rect& r, const char* text, int32_t openedHeight);

// The window's canvas font; font 0 outside a window, the font every canvas
// starts with.
const Font& currentFont();
// Asks for a Draw of the window.
void requestCurrentRedraw();
