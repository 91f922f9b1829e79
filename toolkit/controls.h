#pragma once
// The records of the pressable controls and of the popup menu.
//
// The window manager itself uses these: every window carries a menu bar and
// the frame's close and maximise buttons, and the desktop owns the one popup
// menu. So the records live here, in the toolkit, below the widgets, in a
// header of their own that the window record can include; their behaviour is
// in toolkit/buttons.h, toolkit/scrollbar.h and toolkit/popup.h.
// widgets/button.h, widgets/scrollbar.h and widgets/popup.h are the names the
// windows include; the check box, which only windows use, lives in widgets/.
//
// Widgets own nothing and have no window of their own: they draw into the
// desktop's current window (the one whose procedure runs) and their
// rectangles are in its client coordinates.
#include "toolkit/surface.h"
#include <cstdint>

struct Window;

using ClickCallback = void (*)();
using MenuBarCallback = void (*)(int32_t index);
using MenuCallback = void (*)();

// The behaviour every pressable thing shares: hover, press, Alt hot key,
// delayed tooltip and callback. Times are InputState.now milliseconds.
//
// Nothing in the program reads an activation count or a held control's
// repeat, so the record keeps neither: a control that repeats would add
// them back with a reader.
struct Clickable {
    uint32_t pressed;
    uint32_t hot;    // pointer over it, or keyboard focus
    uint32_t hotKey; // upper-case letter pressed with Alt, 0 for none
    Rect* rect;      // the owner's rectangle, not a copy
    uint32_t enabled;
    uint32_t mode; // CLICK_ON_PRESS or CLICK_ON_RELEASE
    int32_t hoverTime;
    int32_t tooltipHeight; // rows of the tooltip shown, 0 when hidden
    uint32_t hoverTracking;
    uint32_t keyboardMode; // the mouse is ignored until it is used again
    Rect tooltipRect;
    const char* tooltip;
    uint32_t pressTime; // 0 when no press is pending
    uint32_t lastTime;
    ClickCallback callback;
};

// A release this soon after the press counts where the press was, so that a
// quick click that slips off the edge of a control or a menu item still lands.
constexpr uint32_t SLIP_TIME = 200;
// The room an icon takes beside a button's or a menu item's text.
constexpr int32_t ICON_ROOM = 20;

enum : uint32_t {
    CLICK_ON_PRESS = 0,
    CLICK_ON_RELEASE = 1,
};

enum : int32_t {
    ALIGN_LEFT = 0,
    ALIGN_RIGHT = 1,
    ALIGN_CENTRE = 2,
};

// What most buttons leave as it is: no tooltip, no callback of their own,
// centred text, no icons, drawn raised.
struct ButtonOptions {
    const char* tooltip = nullptr;
    ClickCallback callback = nullptr;
    int32_t alignment = ALIGN_CENTRE;
    int32_t leftIcon = 0; // built-in icon, 0 for none
    int32_t rightIcon = 0;
    bool sunken = false;
};

struct Button {
    Rect rect;
    Clickable click;
    const char* text; // not copied
    uint32_t enabled;
    int32_t hotKeyIndex; // 1-based position of the underlined letter, 0 for none
    uint32_t visible;
    int32_t leftIcon; // built-in icon, 0 for none
    int32_t rightIcon;
    int32_t alignment;
    int32_t textOffset;
    int32_t textClipWidth;
    uint32_t sunken; // always drawn pressed in
};

struct IconButton {
    Rect rect;
    Clickable click;
    uint32_t fillColour; // 0 for no fill
    int32_t icon;
    int32_t iconOffset;
};

struct CheckBox {
    uint32_t checked;
    Rect rect;
    Clickable click;
    uint32_t enabled;
    uint32_t visible;
};

constexpr int MENU_BAR_BUTTONS = 16;

struct MenuBar {
    uint32_t active;
    Button buttons[MENU_BAR_BUTTONS];
    int32_t count;
    MenuBarCallback callback;
};

// ---- Scroll bars -------------------------------------------------------------
// Their behaviour is in toolkit/scrollbar.h: the popup menu scrolls a level
// too long for its window with one, so they sit below the widgets too.

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

// ---- Popup menu ------------------------------------------------------------

constexpr int MENU_LEVELS = 16;
constexpr int MENU_ITEMS = 100;

enum : uint32_t {
    MENU_CAPTION = 0, // a 14-pixel row that can never be chosen
    MENU_SEPARATOR = 1,
    MENU_COMMAND = 2,
    MENU_SUBMENU = 3, // drawn with the right arrow
};

struct MenuItem {
    uint32_t kind;
    uint32_t enabled;
    uint32_t checked;
    int32_t x, y, width, height;
    int32_t icon;
    const char* text; // not copied; null for a separator
    int32_t indent;
    int32_t hotKeyIndex;
    uint32_t hotKey;
};

// Check items are not offered: nothing in the game would set a level's check
// mode, so a level has none and a click is always the plain one.
struct MenuLevel {
    int32_t selected; // -1 for none
    int32_t itemCount;
    MenuItem items[MENU_ITEMS];
    int32_t x, y, width, height;
    int32_t chosen;
    int32_t rows;
    int32_t first;
    int32_t minWidth, maxWidth;
    int32_t delay; // ms left before the hovered item acts
    uint32_t delayTime;
    MenuCallback onChoose, onHover, onClose;
    Window* window;
    // A level that does not fit above or below its point scrolls by this
    // bar; it stays inert (zero) on a level that fits.
    VScrollBar scrollBar;
};

struct PopupMenu {
    MenuLevel* current;
    Window* owner; // null while no menu is open
    MenuLevel levels[MENU_LEVELS];
    uint32_t keyboardMode;
    uint32_t selectionChanged;
    int32_t count;
    uint32_t pressTime;
    uint32_t openGuard;
};
