#pragma once
// The style table: the fonts and the 41 colours every frame and widget draws
// with. A colour is asked for by the role it plays, styleColour(COLOUR_...),
// and the table's rows are labelled by the same names, so that no unit keeps
// a position of its own.
#include "toolkit/font.h"
#include <cstdint>

// The colours by role, in table order. The spare ones are kept in the table
// (and filled) although nothing draws with them.
enum StyleColour : int {
    COLOUR_DESKTOP_BACKGROUND,
    COLOUR_WINDOW_BACKGROUND,
    COLOUR_SPARE_2,
    COLOUR_TITLE_INACTIVE,
    COLOUR_TITLE_ACTIVE,
    COLOUR_BUTTON_FACE,
    COLOUR_HOT_FACE, // a hot button or check box
    COLOUR_MENU_ITEM,
    COLOUR_MENU_HIGHLIGHT,
    COLOUR_MENU_CHECKED,
    COLOUR_WINDOW_BORDER,
    COLOUR_SCROLL_TRACK,
    COLOUR_SCROLL_FACE, // the arrows and the thumb
    COLOUR_TOOLTIP_BACKGROUND,
    COLOUR_EDIT_SELECTION, // the line editor's selection
    COLOUR_DIALOG_BACKGROUND,
    COLOUR_SPARE_16,
    COLOUR_SPARE_17,
    COLOUR_SPARE_18,
    COLOUR_SPARE_19,
    COLOUR_CHECK_BOX_FACE,
    COLOUR_EDIT_TEXT, // the text box's and the line editor's text
    COLOUR_TITLE_TEXT_INACTIVE,
    COLOUR_TITLE_TEXT_ACTIVE,
    COLOUR_HOT_BUTTON_TEXT,
    COLOUR_BUTTON_TEXT,
    COLOUR_DISABLED_BUTTON_TEXT,
    COLOUR_TEXT,     // dialog lines and menu items
    COLOUR_DIM_TEXT, // disabled dialog lines and menu items
    COLOUR_MENU_HIGHLIGHT_TEXT,
    COLOUR_MENU_CHECKED_TEXT,
    COLOUR_TOOLTIP_TEXT,
    COLOUR_SPARE_32, // listed for the text box, which writes in the same black as 21
    COLOUR_SPARE_33,
    COLOUR_SPARE_34,
    COLOUR_SPARE_35,
    COLOUR_SPARE_36,
    COLOUR_SPARE_37,
    COLOUR_SPARE_38,
    COLOUR_RESIZE_OUTLINE, // the dotted outline of a window being resized
    COLOUR_SPARE_40,
    STYLE_COLOURS
};

struct StyleTable {
    int32_t windowTextFont;
    int32_t titleFont;
    int32_t buttonFont;
    int32_t menuFont;
    int32_t tooltipFont;
    uint16_t colours[STYLE_COLOURS];
};

extern StyleTable styleTable;

// The fonts and colours the desktop draws with; desktopInit fills styleTable
// with them. A program that draws widgets without a desktop (the picture
// generator) fills its table the same way.
void fillStyleTable(StyleTable& s);

inline uint16_t styleColour(StyleColour role) {
    return styleTable.colours[role];
}
