// The desktop's popup menu: a stack of up to 16 cascading levels that belong
// to one owner window. The window manager runs its pass instead of the
// owner's Tick while it is open, and draws its levels over the owner.
#include "toolkit/popup.h"

#include "toolkit/buttons.h"
#include "toolkit/current.h"
#include "toolkit/font.h"
#include "toolkit/scrollbar.h"
#include "toolkit/style.h"
#include "toolkit/window.h"
#include <algorithm>

namespace {

constexpr int32_t SMALL_ROW = 14; // separators and captions
// An item's row is the menu font's height and this; a menu bar's button is
// as high with the button font.
constexpr int32_t ROW_PADDING = 8;
constexpr int32_t TEXT_INSET = 4;  // the text's (or the icon's) room left of it, and right
constexpr int32_t TEXT_TOP = 5;    // from the row's top to the text's
constexpr int32_t ARROW_ROOM = 16; // the submenu arrow at the row's right end
// An item's icon sits (font height - 7) / 2 below its row's top.
constexpr int32_t ICON_RAISE = 7;
constexpr int32_t HOVER_DELAY = 300;
constexpr uint32_t OPEN_GUARD = 200;

const Font& menuFont() {
    return builtinFont(styleTable.menuFont);
}

int32_t itemRow() {
    return menuFont().height + ROW_PADDING;
}

int32_t rowHeight(uint32_t kind) {
    return kind == MENU_COMMAND || kind == MENU_SUBMENU ? itemRow() : SMALL_ROW;
}

int32_t shownEnd(const MenuLevel& level) {
    return std::min(level.itemCount, level.first + level.rows);
}

void layoutItems(MenuLevel& level) {
    int32_t y = level.y;
    for (int32_t i = level.first; i < shownEnd(level); i++) {
        MenuItem& item = level.items[i];
        item.x = level.x;
        item.width = level.width;
        item.y = y;
        y += item.height;
    }
}

// The first shown item under the pointer, in the owner's coordinates;
// separators and disabled items are hit like the others.
int32_t hitItem(const MenuLevel& level) {
    for (int32_t i = level.first; i < shownEnd(level); i++) {
        const MenuItem& item = level.items[i];
        const Rect r{item.x, item.y, item.width, item.height};
        if (currentMouseInside(r)) {
            return i;
        }
    }
    return -1;
}

bool overAnyLevel(const PopupMenu& menu) {
    for (int32_t k = 0; k < menu.count; k++) {
        const MenuLevel& level = menu.levels[k];
        const int32_t extra = level.scrollBar.active ? SCROLLBAR_SIZE : 0;
        if (currentMouseInside(Rect{level.x, level.y, level.width + extra, level.height})) {
            return true;
        }
    }
    return false;
}

void clearDelays(PopupMenu& menu) {
    for (MenuLevel& level : menu.levels) {
        level.delay = 0;
    }
}

int32_t levelIndex(const PopupMenu& menu) {
    return menu.current != nullptr ? int32_t(menu.current - menu.levels) : -1;
}

void dropAbove(PopupMenu& menu, int32_t k) {
    if (menu.count != k + 1) {
        menu.count = k + 1;
        if (menu.owner != nullptr) {
            menu.owner->redrawRequested = 1;
        }
    }
}

void choose(MenuLevel& level, int32_t index) {
    level.chosen = index;
    if (level.onChoose != nullptr) {
        level.onChoose();
    }
}

void scrollTo(MenuLevel& level, int32_t first) {
    first = std::clamp(first, 0, std::max(level.itemCount - level.rows, 0));
    if (first != level.first) {
        level.first = first;
        layoutItems(level);
        vscrollTo(level.scrollBar, first);
    }
}

// The shown rows follow the keyboard's selection.
void followSelection(MenuLevel& level) {
    if (level.selected < 0) {
        return;
    }
    if (level.selected >= level.first + level.rows) {
        scrollTo(level, level.selected - level.rows + 1);
    } else if (level.selected < level.first) {
        scrollTo(level, level.selected);
    }
}

int32_t nextEnabled(const MenuLevel& level) {
    const int32_t sel = level.selected;
    for (int32_t i = sel + 1; i < level.itemCount; i++) {
        if (level.items[i].enabled) {
            return i;
        }
    }
    // The wrap stops short of the selected item; from -1 or 0 the first
    // search has already looked at everything.
    for (int32_t i = 0; sel > 0 && i < sel; i++) {
        if (level.items[i].enabled) {
            return i;
        }
    }
    return sel;
}

int32_t previousEnabled(const MenuLevel& level) {
    const int32_t sel = level.selected;
    for (int32_t i = sel - 1; i >= 0; i--) {
        if (level.items[i].enabled) {
            return i;
        }
    }
    for (int32_t i = level.itemCount - 1; i > sel; i--) {
        if (level.items[i].enabled) {
            return i;
        }
    }
    return sel;
}

// The enabled item of the level whose hot key the typed character is, or -1.
int32_t hotKeyItem(const MenuLevel& level, uint32_t c) {
    if (c >= 'a' && c <= 'z') {
        c -= 'a' - 'A';
    }
    for (int32_t i = 0; c != 0 && i < level.itemCount; i++) {
        if (level.items[i].enabled && level.items[i].hotKey == c) {
            return i;
        }
    }
    return -1;
}

void keyboardStep(PopupMenu& menu) {
    KeyboardState& k = inputState.keys;
    MenuLevel& level = *menu.current;
    const bool moving = k.down[KEY_DOWN] || k.down[KEY_UP] || k.down[KEY_LEFT] ||
                        k.down[KEY_RIGHT] || k.down[KEY_ENTER];
    const int32_t hot = moving ? -1 : hotKeyItem(level, k.lastChar);
    // Any other key changes nothing: a submenu the mouse opened stays open.
    if (!moving && hot < 0) {
        return;
    }
    menu.keyboardMode = 1;
    if (k.down[KEY_DOWN]) {
        level.selected = nextEnabled(level);
        followSelection(level);
    } else if (k.down[KEY_UP]) {
        level.selected = previousEnabled(level);
        followSelection(level);
    } else if (k.down[KEY_LEFT]) {
        // The level above is dropped below, with every level over the current.
        if (menu.count >= 2) {
            menu.current = &menu.levels[menu.count - 2];
        }
    } else if (k.down[KEY_RIGHT] || k.down[KEY_ENTER]) {
        const int32_t sel = level.selected;
        if (sel >= 0 && sel < level.itemCount && level.items[sel].enabled &&
            (k.down[KEY_ENTER] || level.items[sel].kind == MENU_SUBMENU)) {
            // A submenu the mouse opened goes first, so that the one the
            // callback opens takes its place instead of stacking on it.
            dropAbove(menu, levelIndex(menu));
            choose(level, sel);
        }
    } else {
        k.down[k.lastKey] = 0;
        k.lastKey = 0;
        level.selected = hot;
        dropAbove(menu, levelIndex(menu));
        if (level.onChoose != nullptr) {
            choose(level, hot);
        } else {
            popupClose(menu);
        }
    }
    if (menu.owner != nullptr && menu.keyboardMode && menu.current != nullptr) {
        menu.count = levelIndex(menu) + 1;
    }
}

// Returns whether the pointer rests on an item of some level.
bool hoverStep(PopupMenu& menu, uint32_t now) {
    int32_t k = menu.count - 1;
    int32_t i = -1;
    for (; k >= 0; k--) {
        i = hitItem(menu.levels[k]);
        if (i >= 0) {
            break;
        }
    }
    if (k < 0) {
        menu.levels[menu.count - 1].selected = -1;
        return false;
    }
    MenuLevel& level = menu.levels[k];
    menu.current = &level;
    const int32_t previous = level.selected;
    level.selected = i;
    if (level.onHover != nullptr) {
        level.onHover();
        if (menu.owner == nullptr) {
            return true;
        }
    }
    // The path to the open submenu stays highlighted.
    for (int32_t j = 0; j < k; j++) {
        menu.levels[j].selected = menu.levels[j].chosen;
    }
    for (int32_t j = k + 1; j < menu.count; j++) {
        menu.levels[j].selected = -1;
    }
    if (previous != i) {
        clearDelays(menu);
        level.delay = HOVER_DELAY;
        level.delayTime = now;
    } else if (level.delay != 0) {
        level.delay -= int32_t(now - level.delayTime);
        level.delayTime = now;
        if (level.delay <= 0) {
            // Resting on an item closes deeper submenus; resting on a
            // submenu item opens its own.
            level.delay = 0;
            dropAbove(menu, k);
            const MenuItem& item = level.items[i];
            if (item.kind == MENU_SUBMENU && item.enabled) {
                choose(level, i);
            }
        }
    }
    if (level.delay > 0) {
        wakeAt(level.delayTime + uint32_t(level.delay));
    }
    return true;
}

bool findFromBottom(const PopupMenu& menu, int32_t& k, int32_t& i) {
    for (k = 0; k < menu.count; k++) {
        i = hitItem(menu.levels[k]);
        if (i >= 0) {
            return true;
        }
    }
    return false;
}

// A quick click that slipped off counts where the button went down.
bool slipBack(PopupMenu& menu, uint32_t now) {
    if (menu.pressTime == 0 || now - menu.pressTime >= SLIP_TIME) {
        return false;
    }
    menu.pressTime = 0;
    MouseState& m = inputState.mouse;
    m.x = m.pressX;
    m.y = m.pressY;
    return true;
}

// Check items are not offered: nothing in the game sets a level's check
// mode, so the click below is always the plain one.
void clickStep(PopupMenu& menu, uint32_t now) {
    int32_t k = 0;
    int32_t i = -1;
    if (!findFromBottom(menu, k, i)) {
        if (!slipBack(menu, now) || !findFromBottom(menu, k, i)) {
            return; // a release outside the menu leaves it open
        }
    } else if (!menu.levels[k].items[i].enabled && slipBack(menu, now)) {
        const int32_t again = hitItem(menu.levels[k]);
        if (again >= 0) {
            i = again;
        }
    }
    MenuLevel& level = menu.levels[k];
    level.selected = i;
    if (!level.items[i].enabled) {
        return;
    }
    menu.current = &level;
    const bool submenuOpen =
        level.items[i].kind == MENU_SUBMENU && level.chosen == i && menu.count > k + 1;
    if (!submenuOpen) {
        dropAbove(menu, k);
        if (level.onChoose != nullptr) {
            choose(level, i);
        } else {
            popupClose(menu);
        }
    }
    clearDelays(menu);
}

// The scroll bar of a scrolling level: arrows, thumb, track and wheel move
// the shown rows. True when the bar took the mouse on this pass.
bool scrollBarStep(MenuLevel& level) {
    if (!vscrollUpdate(level.scrollBar)) {
        return false;
    }
    if (level.scrollBar.top != level.first) {
        level.first = level.scrollBar.top;
        layoutItems(level);
    }
    return true;
}

void drawItem(WindowCanvas& canvas, const MenuLevel& level, int32_t index) {
    const MenuItem& item = level.items[index];
    const Font& font = menuFont();
    StyleColour bg = COLOUR_MENU_ITEM;
    StyleColour ink = item.enabled ? COLOUR_TEXT : COLOUR_DIM_TEXT;
    if (index == level.selected && item.enabled) {
        bg = COLOUR_MENU_HIGHLIGHT;
        ink = COLOUR_MENU_HIGHLIGHT_TEXT;
    } else if (item.checked) {
        bg = COLOUR_MENU_CHECKED;
        ink = COLOUR_MENU_CHECKED_TEXT;
    }
    const uint16_t inkColour = styleColour(ink);
    drawFilledRect(canvas, level.x, item.y, level.x + level.width - 1, item.y + item.height - 1,
                   styleColour(bg));
    if (item.text == nullptr) {
        if (item.kind == MENU_SEPARATOR) {
            const int32_t middle = item.y + (item.height >> 1);
            darkenHalfH(canvas, level.x + 4, level.x + level.width - 4, middle - 1);
            lightenH(canvas, level.x + 4, level.x + level.width - 4, middle);
        }
        return;
    }
    const int32_t iconY = item.y + (font.height - ICON_RAISE) / 2;
    if (item.icon != 0) {
        drawIcon(canvas, item.icon, level.x + item.indent + TEXT_INSET, iconY);
    }
    const int32_t textStart = item.indent + (item.icon != 0 ? ICON_ROOM + TEXT_INSET : TEXT_INSET);
    int32_t clip = item.width - textStart - TEXT_INSET;
    if (item.kind == MENU_SUBMENU) {
        drawIcon(canvas, ICON_RIGHT_ARROW, item.x + item.width - ARROW_ROOM, iconY);
        clip -= ARROW_ROOM;
    }
    const int32_t textX = level.x + textStart;
    if (clip > 0) {
        drawText(canvas, item.text, textX, item.y + TEXT_TOP, inkColour, clip, &font);
    }
    if (item.hotKeyIndex != 0) {
        const int32_t ux = textX + textWidth(font, item.text, item.hotKeyIndex - 1);
        const int32_t uw = charWidth(font, uint8_t(item.text[item.hotKeyIndex - 1]));
        drawHLine(canvas, ux, ux + uw, item.y + font.height + 4, inkColour);
    }
}

void drawLevel(const MenuLevel& level) {
    if (level.window == nullptr) {
        return;
    }
    WindowCanvas& canvas = level.window->canvas;
    for (int32_t i = level.first; i < shownEnd(level); i++) {
        drawItem(canvas, level, i);
    }
    const int32_t right = level.x + level.width - 1 + (level.scrollBar.active ? SCROLLBAR_SIZE : 0);
    drawShadowedBevel(canvas, level.x, level.y, right, level.y + level.height - 1);
    vscrollDraw(level.scrollBar);
}

// Where a level goes: below the point, else above it, else scrolling in the
// direction with more room; then pushed inside the owner's canvas.
void placeLevel(MenuLevel& level, int32_t x, int32_t y, int32_t avoid, int32_t canvasWidth,
                int32_t canvasHeight) {
    const int32_t rowH = itemRow();
    const int32_t buttonFontH = builtinFont(styleTable.buttonFont).height;
    const int32_t barH = buttonFontH + ROW_PADDING; // a menu bar's height
    const int32_t fontH = menuFont().height;
    level.x = x;
    level.y = y;
    level.rows = level.itemCount;
    bool fits = y + level.height + avoid <= canvasHeight;
    if (!fits) {
        // With no avoid height a flipped level ends level with the bottom of
        // the row at y: a submenu lines up with its parent item.
        const int32_t up = avoid != 0 ? y - level.height - avoid : y - level.height + rowH;
        if (avoid != 0 ? up >= 0 : up >= barH) {
            level.y = up;
            fits = true;
        }
    }
    if (!fits) {
        for (int32_t i = 0; i < level.itemCount; i++) {
            level.items[i].height = rowH;
        }
        const int32_t half = rowH / 2;
        const int32_t rowsBelow = (canvasHeight - half - y - avoid) / rowH;
        const int32_t rowsAbove =
            avoid != 0 ? (y - half - avoid) / rowH : (y + fontH - buttonFontH) / rowH;
        if (rowsAbove > rowsBelow) {
            level.rows = rowsAbove;
            level.y = y - rowH * rowsAbove + (avoid != 0 ? -avoid : rowH);
        } else {
            level.rows = rowsBelow;
            level.y = y + avoid;
        }
        // A canvas too small for a single row still shows one.
        level.rows = std::clamp(level.rows, 1, std::max(level.itemCount, 1));
        level.height = rowH * level.rows;
    }
    const int32_t outerWidth = level.width + (fits ? 0 : SCROLLBAR_SIZE);
    if (level.x + outerWidth > canvasWidth) {
        level.x = canvasWidth - outerWidth;
    }
    if (level.y + level.height > canvasHeight) {
        level.y = canvasHeight - level.height;
    }
    raiseTo(level.x, 4);
    raiseTo(level.y, 0);
    if (!fits) {
        vscrollCreate(level.scrollBar, level.x + level.width, level.y, level.height, level.height,
                      0, level.itemCount, rowH);
    }
}

} // namespace

void popupBegin(PopupMenu& menu, int32_t minWidth, int32_t maxWidth) {
    if (menu.count >= MENU_LEVELS) {
        return;
    }
    menu.owner = nullptr;
    MenuLevel& level = menu.levels[menu.count];
    level = MenuLevel{};
    level.minWidth = minWidth;
    level.maxWidth = maxWidth;
    level.selected = -1;
    level.chosen = -1;
    level.window = desktop.current;
    menu.current = &level;
    menu.count++;
    menu.pressTime = 0;
}

void popupAdd(PopupMenu& menu, uint32_t kind, int32_t indent, int32_t icon, const char* text,
              int32_t hotKeyIndex, bool enabled) {
    if (menu.current == nullptr || menu.current->itemCount >= MENU_ITEMS) {
        return;
    }
    MenuLevel& level = *menu.current;
    MenuItem& item = level.items[level.itemCount++];
    item = MenuItem{};
    item.kind = kind;
    item.enabled = (kind == MENU_COMMAND || kind == MENU_SUBMENU) && enabled ? 1 : 0;
    item.icon = icon;
    item.text = text;
    item.indent = indent;
    item.hotKeyIndex = hotKeyIndex;
    item.hotKey = hotKeyFromText(text, item.hotKeyIndex);
    item.height = rowHeight(kind);
    int32_t width =
        (text != nullptr ? textWidth(menuFont(), text, TEXT_MAX) : 0) + indent + 2 * TEXT_INSET;
    width += (icon != 0 ? ICON_ROOM : 0) + (kind == MENU_SUBMENU ? ARROW_ROOM : 0);
    level.width = std::max({level.width, width, level.minWidth});
    if (level.maxWidth != 0) {
        lowerTo(level.width, level.maxWidth);
    }
    level.height += item.height;
}

void popupOpen(PopupMenu& menu, int32_t x, int32_t y, MenuCallback onChoose, MenuCallback onHover,
               MenuCallback onClose, int32_t avoid) {
    Window* owner = desktop.current;
    if (owner == nullptr || menu.current == nullptr) {
        return;
    }
    menu.owner = owner;
    MenuLevel& level = *menu.current;
    vscrollClear(level.scrollBar);
    level.first = 0;
    placeLevel(level, x, y, avoid, owner->canvas.surface.width, owner->canvas.surface.height);
    layoutItems(level);
    level.onChoose = onChoose;
    level.onHover = onHover;
    level.onClose = onClose;
    level.chosen = -1;
    menu.openGuard = inputState.now + OPEN_GUARD;
    owner->caret.on = 0;
    owner->redrawRequested = 1;
}

void popupQuery(const PopupMenu& menu, int32_t& x, int32_t& y) {
    const MenuLevel& level = *menu.current;
    x = level.x + level.width;
    y = level.items[level.selected >= 0 ? level.selected : 0].y;
}

void popupClose(PopupMenu& menu) {
    Window* owner = menu.owner;
    if (owner == nullptr) {
        return;
    }
    desktop.current = owner;
    menuBarResetAll(owner->menuBar);
    owner->redrawRequested = 1;
    while (menu.count > 0) {
        popupPop(menu);
    }
    menu.owner = nullptr;
    inputState.mouse.leftPressed = 0;
}

// Levels go top first; the level told it closes is the one leaving the stack.
void popupPop(PopupMenu& menu) {
    if (menu.count <= 0) {
        return;
    }
    MenuLevel& top = menu.levels[menu.count - 1];
    if (top.onClose != nullptr) {
        top.onClose();
    }
    menu.count--;
    menu.current = menu.count > 0 ? &menu.levels[menu.count - 1] : nullptr;
}

int popupPass(PopupMenu& menu) {
    if (menu.owner == nullptr || menu.current == nullptr) {
        return menu.owner != nullptr ? 1 : 0;
    }
    const uint32_t now = inputState.now;
    MouseState& m = inputState.mouse;
    KeyboardState& k = inputState.keys;
    const int32_t countBefore = menu.count;
    int32_t selectedBefore[MENU_LEVELS];
    for (int32_t i = 0; i < MENU_LEVELS; i++) {
        selectedBefore[i] = menu.levels[i].selected;
    }

    if (m.rightPressed || k.altPressed || k.down[KEY_ESCAPE]) {
        // The owner is ticked again on this very pass; the Escape that closed
        // the menu must not reach it too (the game would quit).
        if (k.down[KEY_ESCAPE] && k.lastKey == KEY_ESCAPE) {
            k.lastKey = 0;
        }
        popupClose(menu);
    } else if (scrollBarStep(*menu.current)) {
        // Held arrows are drawn pressed in, and the thumb follows a drag.
        menu.owner->redrawRequested = 1;
    } else if (k.lastKey != 0 && k.altLetter == 0) {
        keyboardStep(menu);
    } else {
        if (m.leftPressed || m.leftReleased || m.moved) {
            menu.keyboardMode = 0;
        }
        if (!menu.keyboardMode) {
            hoverStep(menu, now);
            if (menu.owner != nullptr && m.leftPressed) {
                if (!overAnyLevel(menu)) {
                    popupClose(menu);
                } else {
                    menu.pressTime = now;
                }
            }
            if (menu.owner != nullptr && m.leftReleased) {
                m.leftReleased = 0;
                if (menu.openGuard != 0 && now < menu.openGuard) {
                    // The release of the click that opened the menu.
                    return 1;
                }
                menu.openGuard = 0;
                clickStep(menu, now);
            }
        }
    }

    if (menu.owner == nullptr) {
        return 0;
    }
    if (menu.count != countBefore || menu.current == nullptr) {
        menu.owner->redrawRequested = 1;
    } else {
        for (int32_t i = 0; i < menu.count; i++) {
            if (menu.levels[i].selected != selectedBefore[i]) {
                menu.selectionChanged = 1;
            }
        }
    }
    return 1;
}

void popupRedraw(PopupMenu& menu) {
    if (menu.owner == nullptr || menu.current == nullptr) {
        return;
    }
    for (int32_t i = 0; i < menu.count; i++) {
        drawLevel(menu.levels[i]);
    }
}

void menuBarHover(MenuBar& bar, PopupMenu& menu) {
    if (!bar.active || !inputState.mouse.moved || bar.count < 1) {
        return;
    }
    for (int32_t i = 0; i < bar.count; i++) {
        Button& b = bar.buttons[i];
        if (!b.enabled || b.click.hot || !currentMouseInside(b.rect)) {
            continue;
        }
        menuBarResetAll(bar);
        popupClose(menu);
        b.click.hot = 1;
        if (b.click.mode == CLICK_ON_PRESS) {
            b.click.pressed = 1;
        }
        if (bar.callback != nullptr) {
            bar.callback(i);
        }
        return;
    }
}
