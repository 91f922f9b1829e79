#pragma once
// Popup menus for windows. The desktop owns the one PopupMenu
// (desktop.popupMenu) and runs it in place of the owner's Tick, so the record
// and its behaviour sit in the toolkit (toolkit/popup.h); windows include
// this header to build, open and answer their menus.
#include "toolkit/popup.h"
#include "toolkit/window.h"
