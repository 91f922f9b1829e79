// Vertical and horizontal scroll bars: content ranges, thumb geometry,
// paging, held arrows that repeat, thumb dragging and the wheel.
#include "toolkit/scrollbar.h"

#include "toolkit/desktop.h"

namespace {

constexpr int32_t ARROW_REPEAT_MS = 50;
constexpr int32_t TRACK_REPEAT_MS = 200;
// A held part acts once at once and again only after this long, so that a
// click does not turn into two steps.
constexpr uint32_t FIRST_REPEAT_MS = 200;
constexpr int32_t MIN_THUMB = 7;
// Both arrows together: the track is the bar's length less this.
constexpr int32_t ARROWS = 2 * SCROLLBAR_SIZE;
// Beyond this many pixels the thumb position is worked out from offsets
// divided by 1024 first, so that the product stays within 32 bits.
constexpr int32_t LARGE_OFFSET = 1 << 20;
constexpr int32_t OFFSET_SCALE = 1024;
constexpr int32_t WHEEL_ENTRIES = 3;
constexpr int32_t WHEEL_PIXELS = 25;
constexpr int32_t ARROW_PIXELS = 8;
constexpr int32_t TRACK_PIXELS = 40;
// A drag follows the pointer while it stays within 32 pixels of the bar's
// sides.
constexpr int32_t DRAG_REACH = 32;

void clampThumb(int32_t& thumbPos, int32_t travel) {
    lowerTo(thumbPos, travel);
    raiseTo(thumbPos, 0);
}

// The part under the pointer, tested arrows first; the thumb is no part.
int32_t partUnderPointer(const Rect& firstArrow, const Rect& secondArrow, const Rect& before,
                         const Rect& after) {
    if (currentMouseInside(firstArrow)) {
        return SCROLL_PART_FIRST_ARROW;
    }
    if (currentMouseInside(secondArrow)) {
        return SCROLL_PART_SECOND_ARROW;
    }
    if (currentMouseInside(before)) {
        return SCROLL_PART_TRACK_BEFORE;
    }
    if (currentMouseInside(after)) {
        return SCROLL_PART_TRACK_AFTER;
    }
    return SCROLL_PART_NONE;
}

void drawArrow(const Rect& button, int icon, bool sunken) {
    currentFillRect(button, styleColour(COLOUR_SCROLL_FACE));
    drawIcon(desktop.current->canvas, icon, button.x, button.y);
    if (sunken) {
        currentSunkenBevel(button);
    } else {
        currentRaisedBevel(button);
    }
}

void drawParts(const Rect& firstArrow, int firstIcon, const Rect& thumb, const Rect& secondArrow,
               int secondIcon, const Rect& before, const Rect& after, bool firstSunken,
               bool secondSunken) {
    drawArrow(firstArrow, firstIcon, firstSunken);
    currentFillRect(thumb, styleColour(COLOUR_SCROLL_FACE));
    currentRaisedBevel(thumb);
    drawArrow(secondArrow, secondIcon, secondSunken);
    currentFillRect(before, styleColour(COLOUR_SCROLL_TRACK));
    currentFillRect(after, styleColour(COLOUR_SCROLL_TRACK));
}

// ---- Vertical --------------------------------------------------------------

int32_t barHeight(const VScrollBar& bar) {
    return bar.downButton.y + SCROLLBAR_SIZE - bar.upButton.y;
}

void layOut(VScrollBar& bar) {
    clampThumb(bar.thumbPos, bar.travel);
    const int32_t x = bar.upButton.x;
    const int32_t thumbY = bar.upButton.y + SCROLLBAR_SIZE + bar.thumbPos;
    bar.thumb.x = x;
    bar.thumb.y = thumbY;
    bar.thumb.width = SCROLLBAR_SIZE;
    setRect(bar.trackBefore, x, bar.upButton.y + SCROLLBAR_SIZE, SCROLLBAR_SIZE, bar.thumbPos);
    const int32_t afterY = thumbY + bar.thumb.height;
    setRect(bar.trackAfter, x, afterY, SCROLLBAR_SIZE, bar.downButton.y - afterY);
}

int32_t verticalStep(const VScrollBar& bar, int32_t part) {
    switch (part) {
    case SCROLL_PART_FIRST_ARROW: return -1;
    case SCROLL_PART_SECOND_ARROW: return 1;
    case SCROLL_PART_TRACK_BEFORE: return -vscrollPageEntries(bar);
    case SCROLL_PART_TRACK_AFTER: return vscrollPageEntries(bar);
    default: return 0;
    }
}

int32_t verticalPartUnderPointer(const VScrollBar& bar) {
    return partUnderPointer(bar.upButton, bar.downButton, bar.trackBefore, bar.trackAfter);
}

// ---- Horizontal ------------------------------------------------------------

void layOut(HScrollBar& bar) {
    clampThumb(bar.thumbPos, bar.travel);
    const int32_t y = bar.leftButton.y;
    const int32_t thumbX = bar.leftButton.x + SCROLLBAR_SIZE + bar.thumbPos;
    bar.thumb.x = thumbX;
    bar.thumb.y = y;
    bar.thumb.height = SCROLLBAR_SIZE;
    setRect(bar.trackBefore, bar.leftButton.x + SCROLLBAR_SIZE, y, bar.thumbPos, SCROLLBAR_SIZE);
    const int32_t afterX = thumbX + bar.thumb.width;
    setRect(bar.trackAfter, afterX, y, bar.rightButton.x - afterX, SCROLLBAR_SIZE);
}

int32_t horizontalStep(int32_t part) {
    switch (part) {
    case SCROLL_PART_FIRST_ARROW: return -ARROW_PIXELS;
    case SCROLL_PART_SECOND_ARROW: return ARROW_PIXELS;
    case SCROLL_PART_TRACK_BEFORE: return -TRACK_PIXELS;
    case SCROLL_PART_TRACK_AFTER: return TRACK_PIXELS;
    default: return 0;
    }
}

int32_t horizontalPartUnderPointer(const HScrollBar& bar) {
    return partUnderPointer(bar.leftButton, bar.rightButton, bar.trackBefore, bar.trackAfter);
}

// What sets the two bars apart when they handle the mouse: the pointer
// coordinate they follow, their position and its steps, and how they move.
template <typename Bar> struct ScrollAxis {
    int32_t MouseState::*pointer;
    int32_t MouseState::*press;
    int32_t (*position)(const Bar&);
    int32_t (*partUnder)(const Bar&);
    int32_t (*step)(const Bar&, int32_t part);
    void (*scrollTo)(Bar&, int32_t);
    void (*dragTo)(Bar&, int32_t);
    int32_t wheel;
};

template <typename Bar> int scrollUpdate(Bar& bar, const ScrollAxis<Bar>& axis) {
    if (!bar.active || bar.disabled) {
        return 0;
    }
    MouseState& mouse = inputState.mouse;
    const uint32_t now = inputState.now;
    if (bar.dragging) {
        if (mouse.leftReleased) {
            bar.dragging = 0;
            return 1;
        }
        // Far from the bar the thumb waits for the pointer to come back.
        if (currentMouseInside(bar.dragBand)) {
            axis.dragTo(bar, mouse.*axis.pointer - mouse.*axis.press);
        }
        return 1;
    }
    if (bar.repeating) {
        if (mouse.leftReleased) {
            bar.repeating = 0;
            requestCurrentRedraw();
            return 1;
        }
        if (now < bar.nextRepeat) {
            wakeAt(bar.nextRepeat);
            return 1;
        }
        bar.hoveredPart = axis.partUnder(bar);
        // Off the held part the repeat pauses; back on it, it resumes.
        if (bar.hoveredPart == SCROLL_PART_NONE || bar.hoveredPart != bar.pressedPart) {
            return 1;
        }
        bar.nextRepeat = now + uint32_t(bar.repeatInterval);
        wakeAt(bar.nextRepeat);
        axis.scrollTo(bar, axis.position(bar) + axis.step(bar, bar.pressedPart));
        return 1;
    }
    if (!mouse.leftPressed) {
        if (mouse.wheelForward) {
            axis.scrollTo(bar, axis.position(bar) - axis.wheel);
            return 1;
        }
        if (mouse.wheelBackward) {
            axis.scrollTo(bar, axis.position(bar) + axis.wheel);
            return 1;
        }
        return 0;
    }
    // A press released within the same pass (a quick click while the
    // program was busy) is a click: it steps once and leaves nothing held,
    // or the bar would go on repeating or dragging with the button up.
    const bool held = !mouse.leftReleased;
    if (currentMouseInside(bar.thumb)) {
        if (held) {
            // The grab point is kept in the shared press position, so that
            // the thumb's place is simply the pointer less it.
            mouse.*axis.press -= bar.thumbPos;
            bar.dragging = 1;
        }
        return 1;
    }
    const int32_t part = axis.partUnder(bar);
    if (part == SCROLL_PART_NONE) {
        return 0;
    }
    axis.scrollTo(bar, axis.position(bar) + axis.step(bar, part));
    if (!held) {
        return 1;
    }
    bar.pressedPart = bar.hoveredPart = part;
    bar.repeatInterval = part == SCROLL_PART_FIRST_ARROW || part == SCROLL_PART_SECOND_ARROW
                             ? ARROW_REPEAT_MS
                             : TRACK_REPEAT_MS;
    bar.repeating = 1;
    bar.nextRepeat = now + FIRST_REPEAT_MS;
    wakeAt(bar.nextRepeat);
    return 1;
}

} // namespace

void vscrollClear(VScrollBar& bar) {
    bar = VScrollBar{};
}

void vscrollCreate(VScrollBar& bar, int32_t x, int32_t y, int32_t height, int32_t visible,
                   int32_t top, int32_t count, int32_t entrySize) {
    bar = VScrollBar{};
    bar.entrySize = entrySize;
    setRect(bar.upButton, x, y, SCROLLBAR_SIZE, SCROLLBAR_SIZE);
    setRect(bar.downButton, x, y + height - SCROLLBAR_SIZE, SCROLLBAR_SIZE, SCROLLBAR_SIZE);
    setRect(bar.thumb, x, y + SCROLLBAR_SIZE, SCROLLBAR_SIZE, 0);
    setRect(bar.dragBand, x - DRAG_REACH, y, SCROLLBAR_SIZE + 2 * DRAG_REACH, height);
    bar.pressedPart = bar.hoveredPart = SCROLL_PART_NONE;
    bar.active = 1;
    vscrollSetContent(bar, top, visible, count);
}

void vscrollSetContent(VScrollBar& bar, int32_t top, int32_t visible, int32_t count) {
    if (!bar.active) {
        return;
    }
    bar.visible = visible;
    bar.count = count;
    bar.total = bar.entrySize * count;
    if (visible >= bar.total) {
        bar.total = visible;
        top = 0;
        bar.top = 0;
        bar.offset = 0;
        bar.thumbPos = 0;
        bar.disabled = 1;
    } else {
        bar.disabled = 0;
    }
    const int32_t trackLength = barHeight(bar) - ARROWS;
    int32_t thumbHeight =
        bar.total > 0 ? int32_t(int64_t{visible} * trackLength / bar.total) : trackLength;
    raiseTo(thumbHeight, MIN_THUMB);
    bar.thumb.height = thumbHeight;
    bar.travel = trackLength - thumbHeight;
    bar.maxScroll = bar.total - visible;
    if (bar.disabled) {
        layOut(bar);
    } else {
        vscrollTo(bar, top);
    }
    requestCurrentRedraw();
}

void vscrollTo(VScrollBar& bar, int32_t entry) {
    if (!bar.active || bar.disabled) {
        return;
    }
    lowerTo(entry, bar.count);
    raiseTo(entry, 0);
    // The first position at which the last entry is shown whole; its offset
    // may pass maxScroll, which the thumb's clamp absorbs.
    const int32_t lastTop = (bar.maxScroll + bar.entrySize - 1) / bar.entrySize;
    lowerTo(entry, lastTop);
    bar.offset = bar.entrySize * entry;
    if (entry != bar.top) {
        bar.top = entry;
        requestCurrentRedraw();
    }
    // A track too short for its thumb has nowhere to put it.
    if (bar.travel <= 0) {
        return;
    }
    if (bar.offset >= LARGE_OFFSET) {
        const int32_t scaledMax = bar.maxScroll / OFFSET_SCALE;
        bar.thumbPos =
            scaledMax > 0 ? (bar.offset / OFFSET_SCALE) * bar.travel / scaledMax : bar.travel;
    } else {
        bar.thumbPos = int32_t(int64_t{bar.travel} * bar.offset / bar.maxScroll);
    }
    layOut(bar);
}

void vscrollDragTo(VScrollBar& bar, int32_t thumbPos) {
    if (!bar.active || bar.disabled || bar.travel <= 0) {
        return;
    }
    bar.thumbPos = thumbPos;
    layOut(bar);
    // The product is formed in 64 bits: for every size this toolkit meets it
    // equals the reduced-precision product a 32-bit form would need.
    int32_t offset = int32_t(int64_t{bar.maxScroll} * bar.thumbPos / bar.travel);
    lowerTo(offset, bar.maxScroll);
    raiseTo(offset, 0);
    // The next whole entry upwards, so that the first shown line is never cut.
    const int32_t top = (offset + bar.entrySize - 1) / bar.entrySize;
    if (top == bar.top && offset == bar.offset) {
        return;
    }
    bar.top = top;
    bar.offset = offset;
    requestCurrentRedraw();
}

int32_t vscrollPageEntries(const VScrollBar& bar) {
    if (!bar.active || bar.disabled || bar.entrySize <= 0) {
        return 0;
    }
    return bar.visible / bar.entrySize;
}

int vscrollUpdate(VScrollBar& bar) {
    static const ScrollAxis<VScrollBar> vertical = {
        &MouseState::y,
        &MouseState::pressY,
        [](const VScrollBar& b) { return b.top; },
        verticalPartUnderPointer,
        verticalStep,
        vscrollTo,
        vscrollDragTo,
        WHEEL_ENTRIES,
    };
    return scrollUpdate(bar, vertical);
}

void vscrollDraw(const VScrollBar& bar) {
    if (!bar.active || desktop.current == nullptr) {
        return;
    }
    const bool held = bar.repeating && bar.pressedPart == bar.hoveredPart;
    drawParts(bar.upButton, ICON_UP_ARROW, bar.thumb, bar.downButton, ICON_DOWN_ARROW,
              bar.trackBefore, bar.trackAfter, held && bar.pressedPart == SCROLL_PART_FIRST_ARROW,
              held && bar.pressedPart == SCROLL_PART_SECOND_ARROW);
}

void hscrollClear(HScrollBar& bar) {
    bar = HScrollBar{};
}

void hscrollCreate(HScrollBar& bar, int32_t x, int32_t y, int32_t width, int32_t total,
                   int32_t pos) {
    bar = HScrollBar{};
    setRect(bar.leftButton, x, y, SCROLLBAR_SIZE, SCROLLBAR_SIZE);
    setRect(bar.rightButton, x + width - SCROLLBAR_SIZE, y, SCROLLBAR_SIZE, SCROLLBAR_SIZE);
    setRect(bar.thumb, x + SCROLLBAR_SIZE, y, 0, SCROLLBAR_SIZE);
    setRect(bar.dragBand, x, y - DRAG_REACH, width, SCROLLBAR_SIZE + 2 * DRAG_REACH);
    bar.visible = width;
    bar.pressedPart = bar.hoveredPart = SCROLL_PART_NONE;
    bar.active = 1;
    hscrollSetContent(bar, total, pos);
}

void hscrollSetContent(HScrollBar& bar, int32_t total, int32_t pos) {
    if (!bar.active) {
        return;
    }
    const int32_t w = bar.visible;
    bar.total = total;
    if (w >= total) {
        bar.total = w;
        pos = 0;
        bar.pos = 0;
        bar.thumbPos = 0;
        bar.disabled = 1;
    } else {
        bar.disabled = 0;
    }
    int32_t thumbWidth =
        bar.total > 0 ? int32_t(int64_t{w} * (w - ARROWS) / bar.total) : w - ARROWS;
    raiseTo(thumbWidth, MIN_THUMB);
    bar.thumb.width = thumbWidth;
    bar.travel = (w - ARROWS) - thumbWidth;
    bar.maxScroll = bar.total - w;
    if (bar.disabled) {
        layOut(bar);
    } else {
        // No position can equal this one, so the thumb is always placed anew.
        bar.pos = -1;
        hscrollTo(bar, pos);
    }
    requestCurrentRedraw();
}

void hscrollTo(HScrollBar& bar, int32_t pos) {
    if (!bar.active || bar.disabled) {
        return;
    }
    lowerTo(pos, bar.maxScroll);
    raiseTo(pos, 0);
    if (pos == bar.pos) {
        return;
    }
    bar.pos = pos;
    requestCurrentRedraw();
    if (bar.travel > 0) {
        bar.thumbPos = int32_t(int64_t{bar.travel} * pos / bar.maxScroll);
    }
    layOut(bar);
}

void hscrollDragTo(HScrollBar& bar, int32_t thumbPos) {
    if (!bar.active || bar.disabled || bar.travel <= 0) {
        return;
    }
    if (thumbPos != bar.thumbPos) {
        bar.thumbPos = thumbPos;
        requestCurrentRedraw();
    }
    layOut(bar);
    int32_t pos = int32_t((int64_t{bar.maxScroll} * bar.thumbPos + 1) / bar.travel);
    lowerTo(pos, bar.maxScroll);
    raiseTo(pos, 0);
    if (pos != bar.pos) {
        bar.pos = pos;
        requestCurrentRedraw();
    }
}

int hscrollUpdate(HScrollBar& bar) {
    static const ScrollAxis<HScrollBar> horizontal = {
        &MouseState::x,
        &MouseState::pressX,
        [](const HScrollBar& b) { return b.pos; },
        horizontalPartUnderPointer,
        [](const HScrollBar&, int32_t part) { return horizontalStep(part); },
        hscrollTo,
        hscrollDragTo,
        WHEEL_PIXELS,
    };
    return scrollUpdate(bar, horizontal);
}

void hscrollDraw(const HScrollBar& bar) {
    if (!bar.active || desktop.current == nullptr) {
        return;
    }
    const bool held = bar.repeating && bar.pressedPart == bar.hoveredPart;
    drawParts(bar.leftButton, ICON_LEFT_ARROW, bar.thumb, bar.rightButton, ICON_RIGHT_ARROW,
              bar.trackBefore, bar.trackAfter, held && bar.pressedPart == SCROLL_PART_FIRST_ARROW,
              held && bar.pressedPart == SCROLL_PART_SECOND_ARROW);
}
