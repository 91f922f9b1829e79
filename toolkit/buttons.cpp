// The shared pressable behaviour (Clickable), text buttons, icon buttons and
// menu bars. They sit in the toolkit because the window manager runs the menu
// bar and the frame's icon buttons itself.
#include "toolkit/buttons.h"

#include "toolkit/current.h"
#include "toolkit/font.h"
#include "toolkit/style.h"
#include "toolkit/window.h"
#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t TOOLTIP_DELAY = 700;
// Once open, the tooltip grows by one row every this many ms.
constexpr int32_t TOOLTIP_ROW_MS = 2;
// A button is its text line and this much more, in width (its natural
// width) and in height.
constexpr int32_t BUTTON_PADDING = 8;
constexpr int32_t TEXT_INSET = 4;  // the text's least offset, and its right margin
constexpr int32_t TEXT_TOP = 5;    // from the button's top to the text's
constexpr int32_t ICON_INSET = 4;  // the left icon from the left edge
constexpr int32_t RIGHT_ICON = 17; // the right icon's offset from the right edge
// The tooltip hangs below and right of its owner; it is as wide as its text
// and 8, and as high as the tooltip font and 3.
constexpr int32_t TOOLTIP_OFFSET = 8;
constexpr int32_t TOOLTIP_PADDING = 8;
constexpr int32_t TOOLTIP_MARGIN = 3;
// Pressed buttons sink towards the middle of the desktop: down below the
// top eighth of its height, up within it.
constexpr int32_t SINK_LINE = 8;
// Only squares this large centre their icon.
constexpr int32_t CENTRED_ICON_SIZE = 17;

void setFlag(uint32_t& field, uint32_t value) {
    if (field != value) {
        field = value;
        requestCurrentRedraw();
    }
}

void setHeight(int32_t& field, int32_t value) {
    if (field != value) {
        field = value;
        requestCurrentRedraw();
    }
}

int32_t tooltipFullHeight() {
    return builtinFont(styleTable.tooltipFont).height + TOOLTIP_MARGIN;
}

void activate(Clickable& c) {
    if (c.callback != nullptr) {
        c.callback();
    }
}

// A press, by the mouse or by the hot key: the tooltip goes and stays away
// until the pointer comes back.
void press(Clickable& c, uint32_t now, bool byKey) {
    requestCurrentRedraw();
    c.pressed = 1;
    c.hoverTracking = 0;
    c.tooltipHeight = 0;
    c.hoverTime = 0;
    c.keyboardMode = byKey ? 1 : 0;
    c.lastTime = c.pressTime = now;
}

// Pressing with Alt and the letter: the control shows pressed and hot until
// the mouse is used again.
int activateByKey(Clickable& c, uint32_t now) {
    inputState.keys.altLetter = 0;
    press(c, now, true);
    c.hot = 1;
    activate(c);
    return 1;
}

// The release; reached with the pointer inside, or with a quick release
// that slipped off.
int release(Clickable& c, uint32_t now) {
    MouseState& m = inputState.mouse;
    if (m.leftReleased) {
        m.leftReleased = 0;
        c.hoverTime = 0;
        c.tooltipHeight = 0;
        c.lastTime = now;
        requestCurrentRedraw();
        c.keyboardMode = 0;
        if (c.mode == CLICK_ON_RELEASE && c.pressed) {
            c.pressed = 0;
            activate(c);
            return 1;
        }
        c.pressed = 0;
    }
    return 0;
}

} // namespace

void clickableInit(Clickable& c, Rect* rect, uint32_t mode, uint32_t hotKey, ClickCallback callback,
                   const char* tooltip) {
    c = Clickable{};
    c.rect = rect;
    c.mode = mode;
    c.hotKey = hotKey;
    c.callback = callback;
    c.tooltip = tooltip;
    if (tooltip != nullptr) {
        c.tooltipRect.width =
            textWidth(builtinFont(styleTable.tooltipFont), tooltip, TEXT_MAX) + TOOLTIP_PADDING;
        c.tooltipRect.height = tooltipFullHeight();
    }
    c.enabled = 1;
    requestCurrentRedraw();
}

void clickableReset(Clickable& c) {
    setFlag(c.pressed, 0);
    setFlag(c.hot, 0);
    setHeight(c.tooltipHeight, 0);
    c.hoverTracking = 1;
    c.pressTime = 0;
    c.hoverTime = 0;
    c.lastTime = inputState.now;
}

int clickableUpdate(Clickable& c) {
    if (!c.enabled || c.rect == nullptr) {
        return 0;
    }
    const uint32_t now = inputState.now;
    MouseState& m = inputState.mouse;
    KeyboardState& k = inputState.keys;
    if (c.hotKey != 0 && k.altLetter == c.hotKey) {
        return activateByKey(c, now);
    }
    if (m.moved || m.leftPressed) {
        c.keyboardMode = 0;
    } else if (k.lastKey != 0) {
        c.keyboardMode = 1;
    }
    if (c.keyboardMode) {
        return 0;
    }
    if (!currentMouseInside(*c.rect)) {
        if (c.pressTime != 0) {
            const uint32_t pressedAt = c.pressTime;
            c.pressTime = 0;
            if (now - pressedAt < SLIP_TIME) {
                // Later controls on this pass see the press position too.
                m.x = m.pressX;
                m.y = m.pressY;
                if (currentMouseInside(*c.rect)) {
                    return release(c, now);
                }
            }
        }
        setFlag(c.hot, 0);
        setFlag(c.pressed, 0);
        setHeight(c.tooltipHeight, 0);
        return 0;
    }
    if (!c.hot) {
        clickableReset(c);
        c.hot = 1;
        requestCurrentRedraw();
    }
    if (c.tooltip != nullptr && c.hoverTracking && !c.pressed) {
        c.hoverTime += int32_t(now - c.lastTime);
        c.lastTime = now;
        if (c.hoverTime > int32_t(TOOLTIP_DELAY)) {
            // A row more every TOOLTIP_ROW_MS once the pointer has rested long enough.
            setHeight(c.tooltipHeight,
                      std::min((c.hoverTime - int32_t(TOOLTIP_DELAY)) / TOOLTIP_ROW_MS,
                               tooltipFullHeight()));
        }
        if (c.tooltipHeight < tooltipFullHeight()) {
            const int32_t wait = std::max(int32_t(TOOLTIP_DELAY) - c.hoverTime, 0);
            wakeAt(now + uint32_t(wait + TOOLTIP_ROW_MS));
        }
    }
    if (m.leftPressed) {
        m.leftPressed = 0;
        press(c, now, false);
        if (c.mode == CLICK_ON_PRESS) {
            activate(c);
            return 1;
        }
    }
    return release(c, now);
}

void clickableDrawTooltip(Clickable& c) {
    if (c.tooltip == nullptr || c.tooltipHeight == 0 || c.rect == nullptr) {
        return;
    }
    // Owners may have moved since creation: the box follows their rectangle.
    c.tooltipRect.x = c.rect->x + TOOLTIP_OFFSET;
    c.tooltipRect.y = c.rect->y + c.rect->height + TOOLTIP_OFFSET;
    currentTooltipBox(c.tooltipRect, c.tooltip, c.tooltipHeight);
}

uint32_t hotKeyFromText(const char* text, int32_t& index) {
    if (text == nullptr || index <= 0 || int32_t(std::strlen(text)) < index ||
        text[index - 1] == ' ') {
        index = 0;
        return 0;
    }
    const char c = text[index - 1];
    if (c >= 'a' && c <= 'z') {
        return uint32_t(c - 'a' + 'A');
    }
    return uint8_t(c);
}

int32_t buttonNaturalWidth(int32_t textWidth, int32_t leftIcon, int32_t rightIcon) {
    return textWidth + BUTTON_PADDING + (leftIcon ? ICON_ROOM : 0) + (rightIcon ? ICON_ROOM : 0);
}

void buttonCreate(Button& b, int32_t x, int32_t y, int32_t width, const char* text,
                  int32_t hotKeyIndex, uint32_t mode, const ButtonOptions& options) {
    const Font& font = builtinFont(styleTable.buttonFont);
    b.text = text;
    b.hotKeyIndex = hotKeyIndex;
    const uint32_t hotKey = hotKeyFromText(text, b.hotKeyIndex);
    const int32_t tw = text != nullptr ? textWidth(font, text, TEXT_MAX) : 0;
    const int32_t w =
        width != 0 ? width : buttonNaturalWidth(tw, options.leftIcon, options.rightIcon);
    const int32_t rightRoom = options.rightIcon ? ICON_ROOM : 0;
    int32_t offset = 0;
    if (options.alignment == ALIGN_CENTRE) {
        offset = (w - tw) >> 1;
    } else if (options.alignment == ALIGN_RIGHT) {
        offset = w - tw - TEXT_INSET - rightRoom;
    }
    raiseTo(offset, options.leftIcon ? ICON_ROOM + TEXT_INSET : TEXT_INSET);
    b.textOffset = offset;
    b.textClipWidth = w - TEXT_INSET - rightRoom - offset;
    b.leftIcon = options.leftIcon;
    b.rightIcon = options.rightIcon;
    b.alignment = options.alignment;
    b.sunken = options.sunken ? 1 : 0;
    b.enabled = 1;
    b.visible = 1;
    setRect(b.rect, x, y, w, font.height + BUTTON_PADDING);
    clickableInit(b.click, &b.rect, mode, hotKey, options.callback, options.tooltip);
}

void buttonDraw(Button& b) {
    Window* window = desktop.current;
    if (!b.visible || window == nullptr) {
        return;
    }
    WindowCanvas& canvas = window->canvas;
    const Font& font = builtinFont(styleTable.buttonFont);
    const bool hot = b.click.hot != 0;
    const uint16_t face = styleColour(hot ? COLOUR_HOT_FACE : COLOUR_BUTTON_FACE);
    const uint16_t ink = styleColour(hot         ? COLOUR_HOT_BUTTON_TEXT
                                     : b.enabled ? COLOUR_BUTTON_TEXT
                                                 : COLOUR_DISABLED_BUTTON_TEXT);
    const Rect& r = b.rect;
    currentFillRect(r, face);
    const bool in = b.click.pressed || b.sunken;
    int32_t d = 0;
    if (in) {
        // So that one in the top strip (a menu bar) does not push into the edge.
        const int32_t desktopH =
            desktop.desktopWindow != nullptr ? desktop.desktopWindow->canvas.surface.height : 0;
        d = (window->y + r.y) * SINK_LINE >= desktopH ? 1 : -1;
    }
    const int32_t textX = r.x + b.textOffset + d;
    const int32_t textY = r.y + TEXT_TOP + d;
    const int32_t iconY = r.y + ((r.height - ICON_HEIGHT) >> 1) + d;
    // A clip width of 0 would mean no limit to the text drawing.
    if (b.text != nullptr && b.textClipWidth > 0) {
        drawText(canvas, b.text, textX, textY, ink, b.textClipWidth, &font);
    }
    if (b.leftIcon) {
        drawIcon(canvas, b.leftIcon, r.x + ICON_INSET + d, iconY);
    }
    if (b.rightIcon) {
        drawIcon(canvas, b.rightIcon, r.x + r.width - RIGHT_ICON + d, iconY);
    }
    if (in) {
        currentSunkenBevel(r);
    } else {
        currentRaisedBevel(r);
    }
    if (b.hotKeyIndex != 0 && b.text != nullptr) {
        const Font& measure = canvas.font != nullptr ? *canvas.font : font;
        const int32_t ux = textX + textWidth(measure, b.text, b.hotKeyIndex - 1);
        const int32_t uw = charWidth(measure, uint8_t(b.text[b.hotKeyIndex - 1]));
        drawHLine(canvas, ux, ux + uw, textY + measure.height - 1, ink);
    }
    clickableDrawTooltip(b.click);
}

int buttonUpdate(Button& b) {
    if (!b.visible) {
        return 0;
    }
    if (!b.enabled) {
        clickableReset(b.click);
        return 0;
    }
    return clickableUpdate(b.click);
}

void buttonFocus(Button& b) {
    if (b.enabled) {
        clickableReset(b.click);
        b.click.hot = 1;
    }
}

void buttonUnfocus(Button& b) {
    clickableReset(b.click);
}

void iconButtonCreate(IconButton& b, int32_t x, int32_t y, int32_t icon, const char* tooltip,
                      ClickCallback callback, uint32_t mode, int32_t size, uint32_t fillColour) {
    setRect(b.rect, x, y, size, size);
    b.icon = icon;
    // Floor division.
    b.iconOffset = size >= CENTRED_ICON_SIZE ? (size - ICON_HEIGHT) >> 1 : 0;
    b.fillColour = uint16_t(fillColour);
    clickableInit(b.click, &b.rect, mode, 0, callback, tooltip);
}

void iconButtonDraw(IconButton& b) {
    if (desktop.current == nullptr) {
        return;
    }
    if (b.fillColour != 0) {
        currentFillRect(b.rect, uint16_t(b.fillColour));
    }
    drawIcon(desktop.current->canvas, b.icon, b.rect.x + b.iconOffset, b.rect.y + b.iconOffset);
    if (b.click.pressed) {
        currentSunkenBevel(b.rect);
    } else {
        currentRaisedBevel(b.rect);
    }
    clickableDrawTooltip(b.click);
}

int iconButtonUpdate(IconButton& b) {
    return clickableUpdate(b.click);
}

void menuBarInit(MenuBar& bar, int32_t count, MenuBarCallback callback) {
    bar = MenuBar{};
    if (count != 0) {
        bar.count = std::clamp(count, 0, MENU_BAR_BUTTONS);
        bar.callback = callback;
        bar.active = 1;
    }
}

void menuBarDraw(MenuBar& bar) {
    for (int32_t i = 0; i < bar.count; i++) {
        buttonDraw(bar.buttons[i]);
    }
}

int menuBarUpdate(MenuBar& bar) {
    if (!bar.active || bar.count < 1) {
        return 0;
    }
    for (int32_t i = 0; i < bar.count; i++) {
        if (buttonUpdate(bar.buttons[i])) {
            if (bar.callback != nullptr) {
                bar.callback(i);
            }
            return 1;
        }
    }
    return 0;
}

void menuBarResetAll(MenuBar& bar) {
    for (int32_t i = 0; i < bar.count; i++) {
        clickableReset(bar.buttons[i].click);
    }
}
