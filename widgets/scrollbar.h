#pragma once
// Scroll bars for windows. The popup menu, which the window manager runs,
// scrolls with them too, so their records and behaviour sit in the toolkit
// (toolkit/controls.h, toolkit/scrollbar.h); windows include this header.
#include "toolkit/scrollbar.h"
