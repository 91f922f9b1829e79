#pragma once
// The pressable controls and the popup menu.
//
// The window manager itself uses these: every window carries a menu bar and
// the frame's close and maximise buttons, the desktop owns the one popup menu,
// and the update pass runs the menu bar's update and hover steps and the
// menu's own pass. So the records and their behaviour live here, in the
// toolkit, below the widgets; widgets/button.h and widgets/popup.h are the
// names the windows include, and the check box, which only windows use, lives
// in widgets/.
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
struct Clickable {
    uint32_t state; // toggled on every activation
    uint32_t pressed;
    uint32_t repeated;
    uint32_t hot;    // pointer over it, or keyboard focus
    uint32_t hotKey; // upper-case letter pressed with Alt, 0 for none
    Rect* rect;      // the owner's rectangle, not a copy
    uint32_t enabled;
    uint32_t mode; // CLICK_ON_PRESS or CLICK_ON_RELEASE
    uint32_t holdTime;
    int32_t hoverTime;
    int32_t tooltipHeight; // rows of the tooltip shown, 0 when hidden
    uint32_t hoverTracking;
    uint32_t keyboardMode; // the mouse is ignored until it is used again
    Rect tooltipRect;
    const char* tooltip;
    uint32_t pressTime; // 0 when no press is pending
    uint32_t repeatTime;
    uint32_t lastTime;
    ClickCallback callback;
};

enum : uint32_t {
    CLICK_ON_PRESS = 0,
    CLICK_ON_RELEASE = 1,
};

enum : int32_t {
    ALIGN_LEFT = 0,
    ALIGN_RIGHT = 1,
    ALIGN_CENTRE = 2,
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

// A level that does not fit above or below its point scrolls. Its scroll
// bar is the plain strip drawn by the menu itself (the scroll-bar widget lies
// above the toolkit): it shows where the shown rows lie, and the rows follow
// the keyboard's selection and the mouse wheel.
struct MenuScrollStrip {
    uint32_t shown;
    Rect rect;
};

struct MenuLevel {
    int32_t selected; // -1 for none
    int32_t itemCount;
    uint32_t checkMode;
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
    MenuScrollStrip scrollBar;
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

// ---- Operations --------------------------------------------------------------

void clickableInit(Clickable& c, Rect* rect, uint32_t mode, uint32_t hotKey, ClickCallback callback,
                   const char* tooltip);
void clickableReset(Clickable& c);
// 1 on the pass it was activated.
int clickableUpdate(Clickable& c);
void clickableDrawTooltip(Clickable& c);
// The upper-cased letter at the 1-based index; 0 and index cleared when the
// index points at nothing usable.
uint32_t hotKeyFromText(const char* text, int32_t& index);

// Width 0 means the natural width.
void buttonCreate(Button& b, int32_t x, int32_t y, int32_t width, const char* text,
                  int32_t hotKeyIndex, const char* tooltip, ClickCallback callback, uint32_t mode,
                  int32_t alignment, int32_t leftIcon, int32_t rightIcon, uint32_t sunken);
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
// While a menu of the window is open: sliding onto another title opens its menu.
void menuBarHover(MenuBar& bar);

void popupBegin(PopupMenu& menu, int32_t minWidth, int32_t maxWidth);
void popupAdd(PopupMenu& menu, uint32_t kind, int32_t indent, int32_t icon, const char* text,
              int32_t hotKeyIndex, uint32_t enabled);
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

// Small shared helpers of the controls.
const Font& styleFont(int32_t index);
void requestCurrentRedraw();
