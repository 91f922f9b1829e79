#pragma once
// The shared pressable behaviour (Clickable), text buttons, icon buttons and
// menu bars. The window manager runs the menu bar and the frame's icon
// buttons itself, so they sit in the toolkit; their records are in
// toolkit/controls.h.
#include "toolkit/controls.h"
#include <cstdint>

void clickableInit(Clickable& c, Rect* rect, uint32_t mode, uint32_t hotKey, ClickCallback callback,
                   const char* tooltip);
void clickableReset(Clickable& c);
// 1 on the pass it was activated.
int clickableUpdate(Clickable& c);
void clickableDrawTooltip(Clickable& c);
// The upper-cased letter at the 1-based index; 0 and index cleared when the
// index points at nothing usable.
uint32_t hotKeyFromText(const char* text, int32_t& index);

// Width 0 means the natural width. The height is the button font's and 8.
void buttonCreate(Button& b, int32_t x, int32_t y, int32_t width, const char* text,
                  int32_t hotKeyIndex, uint32_t mode, const ButtonOptions& options = {});
int32_t buttonNaturalWidth(int32_t textWidth, int32_t leftIcon, int32_t rightIcon);
void buttonDraw(Button& b);
int buttonUpdate(Button& b);
void buttonFocus(Button& b);
void buttonUnfocus(Button& b);

void iconButtonCreate(IconButton& b, int32_t x, int32_t y, int32_t icon, const char* tooltip,
                      ClickCallback callback, uint32_t mode, int32_t size, uint32_t fillColour);
void iconButtonDraw(IconButton& b);
int iconButtonUpdate(IconButton& b);

void menuBarInit(MenuBar& bar, int32_t count, MenuBarCallback callback);
void menuBarDraw(MenuBar& bar);
// 1 when a button fired; the window then gets no Tick on this pass.
int menuBarUpdate(MenuBar& bar);
void menuBarResetAll(MenuBar& bar);
