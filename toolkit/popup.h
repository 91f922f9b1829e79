#pragma once
// The desktop's popup menu: a stack of up to 16 cascading levels that belong
// to one owner window. The window manager runs its pass instead of the
// owner's Tick while it is open, and draws its levels over the owner. The
// records are in toolkit/controls.h.
#include "toolkit/controls.h"
#include <cstdint>

void popupBegin(PopupMenu& menu, int32_t minWidth, int32_t maxWidth);
void popupAdd(PopupMenu& menu, uint32_t kind, int32_t indent, int32_t icon, const char* text,
              int32_t hotKeyIndex, bool enabled);
void popupOpen(PopupMenu& menu, int32_t x, int32_t y, MenuCallback onChoose, MenuCallback onHover,
               MenuCallback onClose, int32_t avoid);
// Where a submenu of the current level's selected item opens. Only while a
// level is current (from a callback).
void popupQuery(const PopupMenu& menu, int32_t& x, int32_t& y);
void popupClose(PopupMenu& menu);
void popupPop(PopupMenu& menu);
// The menu's own pass; 1 while a menu is open.
int popupPass(PopupMenu& menu);
void popupRedraw(PopupMenu& menu);

// The owner's menu bar while its menu is open: sliding the pointer onto
// another title closes the menu and opens that title's.
void menuBarHover(MenuBar& bar, PopupMenu& menu);
