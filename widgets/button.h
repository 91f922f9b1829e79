#pragma once
// Buttons for windows: text buttons, icon buttons, check boxes and menu bars.
//
// Text buttons, icon buttons and menu bars are run by the window manager too
// (the frame's buttons, every window's menu bar), so their records and
// behaviour sit in the toolkit (toolkit/buttons.h); this header is where
// windows find them, together with the check box, which only windows use.
#include "toolkit/buttons.h"
#include <cstdint>

// A 12 x 12 box toggled by a click (released inside) or by Space while hot.
void checkBoxCreate(CheckBox& box, int32_t x, int32_t y, const char* tooltip);
void checkBoxDraw(CheckBox& box);
// 1 on the pass the box was toggled.
int checkBoxUpdate(CheckBox& box);
