#include "toolkit/style.h"

StyleTable styleTable;

namespace {

struct StyleRow {
    StyleColour role;
    uint16_t value;
};

constexpr StyleRow STYLE_ROWS[] = {
    {COLOUR_DESKTOP_BACKGROUND, 0x02EF},
    {COLOUR_WINDOW_BACKGROUND, 0xBDF7},
    {COLOUR_SPARE_2, 0xBDF7},
    {COLOUR_TITLE_INACTIVE, 0x94B2},
    {COLOUR_TITLE_ACTIVE, 0x3BB8},
    {COLOUR_BUTTON_FACE, 0xA514},
    {COLOUR_HOT_FACE, 0x03CA},
    {COLOUR_MENU_ITEM, 0xA514},
    {COLOUR_MENU_HIGHLIGHT, 0x146C},
    {COLOUR_MENU_CHECKED, 0x7C0F},
    {COLOUR_WINDOW_BORDER, 0xBDF7},
    {COLOUR_SCROLL_TRACK, 0x528F},
    {COLOUR_SCROLL_FACE, 0x6B91},
    {COLOUR_TOOLTIP_BACKGROUND, 0x7BCF},
    {COLOUR_EDIT_SELECTION, 0xDEFB},
    {COLOUR_DIALOG_BACKGROUND, 0xA514},
    {COLOUR_SPARE_16, 0x7BCF},
    {COLOUR_SPARE_17, 0x7BCF},
    {COLOUR_SPARE_18, 0x528F},
    {COLOUR_SPARE_19, 0xA514},
    {COLOUR_CHECK_BOX_FACE, 0xDEFB},
    {COLOUR_EDIT_TEXT, 0x0000},
    {COLOUR_TITLE_TEXT_INACTIVE, 0x0000},
    {COLOUR_TITLE_TEXT_ACTIVE, 0xFFFF},
    {COLOUR_HOT_BUTTON_TEXT, 0xFFFF},
    {COLOUR_BUTTON_TEXT, 0x0000},
    {COLOUR_DISABLED_BUTTON_TEXT, 0x7BCF},
    {COLOUR_TEXT, 0x0000},
    {COLOUR_DIM_TEXT, 0x632C},
    {COLOUR_MENU_HIGHLIGHT_TEXT, 0xFFFF},
    {COLOUR_MENU_CHECKED_TEXT, 0xFFFF},
    {COLOUR_TOOLTIP_TEXT, 0xFFFF},
    {COLOUR_SPARE_32, 0x0000},
    {COLOUR_SPARE_33, 0x0000},
    {COLOUR_SPARE_34, 0x0000},
    {COLOUR_SPARE_35, 0x7BCF},
    {COLOUR_SPARE_36, 0xB5B6},
    {COLOUR_SPARE_37, 0xFFFF},
    {COLOUR_SPARE_38, 0x0000},
    {COLOUR_RESIZE_OUTLINE, 0xFFFF},
    {COLOUR_SPARE_40, 0x0000},
};

// Every role has its row, in the enum's order.
constexpr bool rowsInOrder() {
    int role = 0;
    for (const StyleRow& row : STYLE_ROWS) {
        if (row.role != role++) {
            return false;
        }
    }
    return role == STYLE_COLOURS;
}
static_assert(rowsInOrder());

// Window text, titles, buttons and menus in the bold face; tooltips in the
// thin face with serifs.
constexpr int32_t BOLD_FONT = 0;
constexpr int32_t THIN_FONT = 1;

} // namespace

void fillStyleTable(StyleTable& s) {
    s.windowTextFont = BOLD_FONT;
    s.titleFont = BOLD_FONT;
    s.buttonFont = BOLD_FONT;
    s.menuFont = BOLD_FONT;
    s.tooltipFont = THIN_FONT;
    for (const StyleRow& row : STYLE_ROWS) {
        s.colours[row.role] = row.value;
    }
}
