#include "toolkit/frame.h"

#include "toolkit/buttons.h"
#include "toolkit/font.h"
#include "toolkit/style.h"
#include <algorithm>

namespace {

// Client sizes of 2048 pixels and more are handled like any other; only sizes
// beyond this are cut, so that the frame arithmetic below can never overflow.
// The platform refuses canvases far smaller than that anyway.
constexpr int32_t MAX_CLIENT_SIZE = 1 << 15;

// The title bar is the title font's height and 6. Each frame button takes a
// slot as wide at the bar's right end, its square (the font's height and 3)
// one pixel below the bar's top.
constexpr int32_t TITLE_PADDING = 6;
constexpr int32_t FRAME_BUTTON_PADDING = 3;
// The title's text keeps this far from the bar's ends, and from its top.
constexpr int32_t TITLE_TEXT_INSET = 4;
constexpr int32_t BORDER_WIDTH = 2;
// Within this many pixels of the frame's edge the pointer takes hold of it.
constexpr int32_t EDGE_GRIP = 6;
// A restored window too large for the desktop keeps this margin all round.
constexpr int32_t RESTORE_MARGIN = 10;
// At least this much of a window stays on the desktop to the right and
// below, and its client area this far from the top, below its title bar.
constexpr int32_t KEEP_VISIBLE = 40;
constexpr int32_t KEEP_FROM_TOP = 20;

// The frame of a maximised window keeps only its title bar and its buttons.
constexpr uint32_t MAXIMISED_FLAGS = STYLE_CLOSE | STYLE_TITLE | STYLE_MAXIMISE;

// The caret is on for 511 ms of every 1024.
constexpr uint32_t CARET_PERIOD_MASK = 1023;
constexpr uint32_t CARET_ON_TIME = 511;
constexpr int32_t CARET_WIDTH = 2;

// A window is the desktop window also while it is being created as the first
// window, before the desktop has recorded it: it then takes its size as given.
bool isDesktopWindow(const Window& w) {
    return desktop.desktopWindow == nullptr || desktop.desktopWindow == &w;
}

bool insideRect(int32_t px, int32_t py, int32_t x, int32_t y, int32_t width, int32_t height) {
    return px >= x && px < x + width && py >= y && py < y + height;
}

void takeSnapshot(Window& w) {
    WindowSnapshot& s = w.snapshot;
    s.clientX = w.x;
    s.clientY = w.y;
    s.frameX = w.frameX;
    s.frameY = w.frameY;
    s.titleX = w.titleX;
    s.titleY = w.titleY;
    s.closeX = w.closeButton.rect.x;
    s.closeY = w.closeButton.rect.y;
    s.maximiseX = w.maximiseButton.rect.x;
    s.maximiseY = w.maximiseButton.rect.y;
    s.frameWidth = w.frameWidth;
    s.frameHeight = w.frameHeight;
    s.buttonAreaX = w.buttonAreaX;
    s.buttonAreaY = w.buttonAreaY;
}

// Every stored position becomes the snapshot's shifted by (dx, dy); the frame
// position it replaces is remembered for the drag display.
void shiftFromSnapshot(Window& w, int32_t dx, int32_t dy) {
    const WindowSnapshot& s = w.snapshot;
    w.previousFrameX = w.frameX;
    w.previousFrameY = w.frameY;
    w.x = s.clientX + dx;
    w.y = s.clientY + dy;
    w.frameX = s.frameX + dx;
    w.frameY = s.frameY + dy;
    w.titleX = s.titleX + dx;
    w.titleY = s.titleY + dy;
    w.buttonAreaX = s.buttonAreaX + dx;
    w.buttonAreaY = s.buttonAreaY + dy;
    w.closeButton.rect.x = s.closeX + dx;
    w.closeButton.rect.y = s.closeY + dy;
    w.maximiseButton.rect.x = s.maximiseX + dx;
    w.maximiseButton.rect.y = s.maximiseY + dy;
}

// The frame's buttons lie on the desktop window's canvas, in desktop
// coordinates. They act on release inside, so that a press can still be
// taken back by sliding off. Their face is the button face: the title bar's
// colour behind the icons would hide the dark cross on an inactive window.
void initFrameButtons(Window& w) {
    const int32_t side = titleFontHeight() + FRAME_BUTTON_PADDING;
    const uint16_t face = styleColour(COLOUR_BUTTON_FACE);
    if (w.flags & STYLE_CLOSE) {
        iconButtonCreate(w.closeButton, 0, 0, ICON_CLOSE, nullptr, nullptr, CLICK_ON_RELEASE, side,
                         face);
    }
    if (w.flags & STYLE_MAXIMISE) {
        iconButtonCreate(w.maximiseButton, 0, 0, ICON_MAXIMISE, nullptr, nullptr, CLICK_ON_RELEASE,
                         side, face);
    }
}

void placeFrameButtons(Window& w, int32_t closeX, int32_t maximiseX, int32_t buttonY) {
    w.closeButton.rect.x = closeX;
    w.closeButton.rect.y = buttonY;
    w.maximiseButton.rect.x = maximiseX;
    w.maximiseButton.rect.y = buttonY;
}

// Step 9 and 10 of a placement: everything follows from the frame position
// and the client size under the flags in effect.
void computeGeometry(Window& w, int32_t x, int32_t y, int32_t width, int32_t height) {
    const FrameInsets in = frameInsets(w.flags);
    w.frameX = x;
    w.frameY = y;
    w.x = x + in.left;
    w.y = y + in.top;
    w.frameWidth = in.left + in.right + width;
    w.frameHeight = in.top + in.bottom + height;
    if (!(w.flags & STYLE_TITLE)) {
        w.titleX = w.titleY = w.titleWidth = w.titleHeight = 0;
        w.buttonAreaX = w.buttonAreaY = w.buttonAreaWidth = w.buttonAreaHeight = 0;
        return;
    }
    // The bar's height, and the width of a frame button's slot.
    const int32_t bar = titleFontHeight() + TITLE_PADDING;
    w.titleX = w.x;
    w.titleY = w.y - bar;
    w.titleWidth = width;
    w.titleHeight = bar;
    const int32_t closeX = w.x + width - bar;
    const int32_t maximiseX = w.x + width - 2 * bar;
    if (w.flags & STYLE_CLOSE) {
        w.titleWidth = width - bar;
    }
    if (w.flags & STYLE_MAXIMISE) {
        w.titleWidth = width - 2 * bar;
    }
    w.buttonAreaX = maximiseX;
    w.buttonAreaY = w.titleY;
    w.buttonAreaWidth = 2 * bar;
    w.buttonAreaHeight = bar;
    placeFrameButtons(w, closeX, maximiseX, w.titleY + 1);
}

void drawFrameButtons(Window& w) {
    if (w.flags & STYLE_CLOSE) {
        iconButtonDraw(w.closeButton);
    }
    if (w.flags & STYLE_MAXIMISE) {
        iconButtonDraw(w.maximiseButton);
    }
}

// The canvas frames are drawn on: the current window's, which the desktop
// makes its own window before it draws any frame.
WindowCanvas* frameCanvas() {
    Window* target = desktop.current != nullptr ? desktop.current : desktop.desktopWindow;
    return target != nullptr ? &target->canvas : nullptr;
}

void caretErase(Window& w) {
    Caret& c = w.caret;
    // Only the part of the strip inside the canvas can be copied back.
    int32_t x0 = std::max(c.lastX, 0);
    int32_t y0 = std::max(c.lastY, 0);
    int32_t x1 = std::min(c.lastX + CARET_WIDTH, w.canvas.surface.width);
    int32_t y1 = std::min(c.lastY + c.height, w.canvas.surface.height);
    if (w.canvas.surface.pixels != nullptr && x0 < x1 && y0 < y1) {
        blitRectToScreen(w.canvas.bitmap, w.x + x0, w.y + y0, x1 - x0, y1 - y0, x0, y0);
    }
    c.shown = 0;
}

} // namespace

uint32_t styleWithTitle(uint32_t style) {
    if (style & (STYLE_MOVABLE | STYLE_CLOSE | STYLE_MAXIMISE)) {
        style |= STYLE_TITLE;
    }
    return style;
}

FrameInsets frameInsets(uint32_t flags) {
    const int32_t border = (flags & STYLE_BORDER) ? BORDER_WIDTH : 0;
    FrameInsets in{border, border, border, border};
    if (flags & STYLE_TITLE) {
        in.top += titleFontHeight() + TITLE_PADDING;
    }
    return in;
}

int32_t widthForTitle(const char* title, uint32_t style) {
    if (title == nullptr || !(styleWithTitle(style) & STYLE_TITLE)) {
        return 0;
    }
    // The bar loses a button's slot for the close button and another for
    // the maximise button, which brings the close button with it.
    const int32_t slots = (style & STYLE_MAXIMISE) ? 2 : (style & STYLE_CLOSE) ? 1 : 0;
    return textWidth(builtinFont(styleTable.titleFont), title, TEXT_MAX) + 2 * TITLE_TEXT_INSET +
           slots * (titleFontHeight() + TITLE_PADDING);
}

int32_t titleFontHeight() {
    return builtinFont(styleTable.titleFont).height;
}

int32_t desktopWidth() {
    return desktop.desktopWindow != nullptr ? desktop.desktopWindow->canvas.surface.width : 0;
}

int32_t desktopHeight() {
    return desktop.desktopWindow != nullptr ? desktop.desktopWindow->canvas.surface.height : 0;
}

int windowInit(Window& w, int32_t x, int32_t y, int32_t width, int32_t height, const char* title,
               uint32_t style, bool outer, bool maximised) {
    w = Window{};
    w.title = title;
    w.flags = styleWithTitle(style);
    w.baseFlags = w.flags;
    initFrameButtons(w);
    width = std::clamp(width, -MAX_CLIENT_SIZE, MAX_CLIENT_SIZE);
    height = std::clamp(height, -MAX_CLIENT_SIZE, MAX_CLIENT_SIZE);
    const FrameInsets in = frameInsets(w.flags);
    // Halving by an arithmetic shift: a window larger than the desktop is
    // centred one pixel further left rather than right.
    if (x == -1) {
        x = (desktopWidth() - (outer ? 0 : in.left + in.right) - width) >> 1;
    }
    if (y == -1) {
        y = (desktopHeight() - (outer ? 0 : in.top + in.bottom) - height) >> 1;
    }
    setMinimumSize(w, MIN_CANVAS_WIDTH, MIN_CANVAS_HEIGHT);
    return placeWindow(w, x, y, width, height, outer, maximised);
}

void setMinimumSize(Window& w, int32_t width, int32_t height) {
    const FrameInsets in = frameInsets(w.flags);
    w.minWidth = in.left + in.right + std::clamp(width, MIN_CANVAS_WIDTH, MAX_CLIENT_SIZE);
    w.minHeight = in.top + in.bottom + std::clamp(height, MIN_CANVAS_HEIGHT, MAX_CLIENT_SIZE);
}

int placeWindow(Window& w, int32_t x, int32_t y, int32_t width, int32_t height, bool outer,
                bool maximise) {
    w.resizeEdge = 0;
    w.flags = w.baseFlags;
    w.limitedMaximised = 0;
    w.maximised = maximise;
    const bool isDesktop = isDesktopWindow(w);
    if (maximise) {
        takeSnapshot(w);
        w.flags &= MAXIMISED_FLAGS;
        x = 0;
        y = 0;
        if (!isDesktop) {
            width = desktopWidth();
            height = desktopHeight();
            outer = true;
        }
    }
    width = std::clamp(width, -MAX_CLIENT_SIZE, MAX_CLIENT_SIZE);
    height = std::clamp(height, -MAX_CLIENT_SIZE, MAX_CLIENT_SIZE);
    if (outer) {
        const FrameInsets in = frameInsets(w.flags);
        width -= in.left + in.right;
        height -= in.top + in.bottom;
    }
    if (width < w.minWidth || height < w.minHeight) {
        w.maximised = 0;
        w.limitedMaximised = maximise;
        raiseTo(width, w.minWidth);
        raiseTo(height, w.minHeight);
    }
    if (!w.maximised) {
        w.flags = w.baseFlags;
    }
    // The platform copies rows of canvases as they are laid out in memory,
    // which only agrees with the system's row padding for even widths.
    x &= ~1;
    width &= ~1;
    if (!w.hidden) {
        desktop.needsRedraw = 1;
    }
    if (!canvasResize(w.canvas, width, height)) {
        if (isDesktop) {
            // The desktop window keeps covering the screen at its old size.
            w.limitedMaximised = 0;
            w.flags = w.baseFlags;
            w.maximised = 1;
            return 0;
        }
        // A window left at a size its canvas does not have must at least stay
        // movable and framed, so that the user can get hold of it.
        w.baseFlags |= STYLE_MOVABLE | STYLE_BORDER | STYLE_TITLE;
        w.flags = w.baseFlags;
        computeGeometry(w, x, y, width, height);
        w.sized = 0;
        return 0;
    }
    computeGeometry(w, x, y, width, height);
    sendMessage(&w, Size);
    w.sized = 1;
    w.redrawRequested = 1;
    return 1;
}

void maximiseWindow(Window& w) {
    // Any size will do: a maximised window takes the desktop's.
    constexpr int32_t ANY_SIZE = 100;
    placeWindow(w, 0, 0, ANY_SIZE, ANY_SIZE, false, true);
}

void restoreWindow(Window& w) {
    if (!w.maximised && !w.limitedMaximised) {
        w.maximised = 0;
        w.limitedMaximised = 0;
        return;
    }
    const WindowSnapshot& s = w.snapshot;
    int32_t x = std::max(s.frameX, 0);
    int32_t y = std::max(s.frameY, 0);
    int32_t width = s.frameWidth;
    int32_t height = s.frameHeight;
    if (width > desktopWidth() - 2 * RESTORE_MARGIN) {
        x = RESTORE_MARGIN;
        width = desktopWidth() - 2 * RESTORE_MARGIN;
    }
    if (height > desktopHeight() - 2 * RESTORE_MARGIN) {
        y = RESTORE_MARGIN;
        height = desktopHeight() - 2 * RESTORE_MARGIN;
    }
    placeWindow(w, x, y, width, height, true, false);
    keepOnScreen(w);
    w.maximised = 0;
    w.limitedMaximised = 0;
}

void followDesktopSize(Window& w) {
    if ((w.baseFlags & STYLE_MAXIMISE) && w.maximised) {
        if (!placeWindow(w, 0, 0, desktopWidth(), desktopHeight(), true, true)) {
            keepOnScreen(w);
        }
    }
}

void keepOnScreen(Window& w) {
    int32_t x = std::min(w.x, desktopWidth() - KEEP_VISIBLE);
    int32_t y = std::min(w.y, desktopHeight() - KEEP_VISIBLE);
    if (w.canvas.surface.width + x < KEEP_VISIBLE) {
        x = KEEP_VISIBLE - w.canvas.surface.width;
    }
    raiseTo(y, KEEP_FROM_TOP);
    moveWindow(w, x, y);
}

void moveWindow(Window& w, int32_t clientX, int32_t clientY) {
    w.dragActive = 0;
    clientX &= ~1;
    if (clientX == w.x && clientY == w.y) {
        return;
    }
    takeSnapshot(w);
    shiftFromSnapshot(w, clientX - w.snapshot.clientX, clientY - w.snapshot.clientY);
    desktop.needsRedraw = 1;
}

int dragStart(Window& w) {
    const MouseState& m = inputState.mouse;
    if (!insideRect(m.x, m.y, w.titleX, w.titleY, w.titleWidth, w.titleHeight)) {
        return 0;
    }
    w.pressX = m.pressX;
    w.pressY = m.pressY;
    takeSnapshot(w);
    w.dragActive = 1;
    return 1;
}

void dragStep(Window& w) {
    const MouseState& m = inputState.mouse;
    int32_t dx = m.x - w.pressX;
    const int32_t dy = m.y - w.pressY;
    if (m.leftReleased) {
        // Positions may be odd while the drag runs; where the window comes to
        // rest its canvas must lie at an even column.
        w.dragActive = 0;
        dx &= ~1;
    }
    shiftFromSnapshot(w, dx, dy);
}

void dragDisplay(Desktop& d, Window& w) {
    Window* dw = d.desktopWindow;
    if (dw == nullptr) {
        return;
    }
    d.current = dw;
    Surface& screen = dw->canvas.surface;
    surfaceResetClip(screen);
    if (w.frameX == w.previousFrameX && w.frameY == w.previousFrameY) {
        return;
    }
    // The area to refresh, half-open: the old and the new frame together.
    int32_t x0 = std::min(w.previousFrameX, w.frameX);
    int32_t y0 = std::min(w.previousFrameY, w.frameY);
    int32_t x1 = std::max(w.previousFrameX, w.frameX) + w.frameWidth;
    int32_t y1 = std::max(w.previousFrameY, w.frameY) + w.frameHeight;
    if (d.shadows) {
        // The light edge lies one pixel left of and above the frame, the drop
        // shadow three pixels beyond its right and bottom edges.
        x0 -= 1;
        y0 -= 1;
        x1 += 3;
        y1 += 3;
    }
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, screen.width);
    y1 = std::min(y1, screen.height);
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    // Everything in the area except the client rectangle comes back from the
    // picture without the window: the uncovered strips, and the border and
    // shadow bands, which the frame drawing below shades afresh rather than
    // shading twice. The client rectangle is covered by the canvas anyway.
    const int32_t cx0 = std::clamp(w.x, x0, x1);
    const int32_t cy0 = std::clamp(w.y, y0, y1);
    const int32_t cx1 = std::clamp(w.x + w.canvas.surface.width, x0, x1);
    const int32_t cy1 = std::clamp(w.y + w.canvas.surface.height, y0, y1);
    const int32_t strips[4][4] = {
        {x0, y0, x1, cy0},   // above
        {x0, cy1, x1, y1},   // below
        {x0, cy0, cx0, cy1}, // left
        {cx1, cy0, x1, cy1}, // right
    };
    for (const auto& s : strips) {
        if (s[0] < s[2] && s[1] < s[3]) {
            surfaceSetClip(screen, s[0], s[1], s[2], s[3]);
            surfaceBlit(d.backup, screen, 0, 0);
        }
    }
    surfaceResetClip(screen);
    surfaceBlit(w.canvas.surface, screen, w.x, w.y);
    drawFrame(w);
    blitRectToScreen(dw->canvas.bitmap, x0, y0, x1 - x0, y1 - y0, x0, y0);
}

void resizeHover(Window& w) {
    const MouseState& m = inputState.mouse;
    uint32_t edge = 0;
    if (m.x < w.frameX + EDGE_GRIP) {
        edge = EDGE_LEFT;
    } else if (m.x > w.frameX + w.frameWidth - EDGE_GRIP) {
        edge = EDGE_RIGHT;
    }
    if (m.y < w.frameY + EDGE_GRIP) {
        edge += EDGE_TOP;
    } else if (m.y > w.frameY + w.frameHeight - EDGE_GRIP) {
        edge += EDGE_BOTTOM;
    }
    w.resizeEdge = edge;
    // Cursor shapes by edge bits: arrow, west-east, north-south and the two
    // diagonals (top left with bottom right, top right with bottom left).
    static constexpr uint32_t shapeByEdge[16] = {1, 2, 2, 0, 3, 4, 5, 0, 3, 5, 4, 0, 0, 0, 0, 0};
    setCursorShape(inputState.mouse, shapeByEdge[edge]);
}

void resizeStart(Window& w) {
    const MouseState& m = inputState.mouse;
    w.pressX = m.pressX;
    w.pressY = m.pressY;
    // The edge taken follows the mouse; the opposite one stays.
    auto grip = [](bool atStart, int32_t from, int32_t size, int32_t& moving, int32_t& fixed) {
        moving = atStart ? from : from + size;
        fixed = atStart ? from + size : from;
    };
    grip((w.resizeEdge & EDGE_LEFT) != 0, w.frameX, w.frameWidth, w.movingX, w.fixedX);
    grip((w.resizeEdge & EDGE_TOP) != 0, w.frameY, w.frameHeight, w.movingY, w.fixedY);
    w.resizeActive = 1;
}

void resizeStep(Window& w) {
    const MouseState& m = inputState.mouse;
    if (m.leftReleased) {
        w.resizeActive = 0;
        const int32_t x0 = std::min(w.movingX, w.fixedX);
        const int32_t x1 = std::max(w.movingX, w.fixedX);
        const int32_t y0 = std::min(w.movingY, w.fixedY);
        const int32_t y1 = std::max(w.movingY, w.fixedY);
        placeWindow(w, x0, y0, x1 - x0, y1 - y0, true, false);
        return;
    }
    // The edge taken follows the mouse, but never comes nearer the fixed one
    // than the minimum size.
    auto follow = [](uint32_t edge, uint32_t startEdge, uint32_t endEdge, int32_t from,
                     int32_t size, int32_t delta, int32_t fixed, int32_t minimum, int32_t& moving) {
        if (edge & startEdge) {
            moving = from + delta;
            lowerTo(moving, fixed - minimum);
        } else if (edge & endEdge) {
            moving = from + size + delta;
            raiseTo(moving, fixed + minimum);
        }
    };
    follow(w.resizeEdge, EDGE_LEFT, EDGE_RIGHT, w.frameX, w.frameWidth, m.x - w.pressX, w.fixedX,
           w.minWidth, w.movingX);
    follow(w.resizeEdge, EDGE_TOP, EDGE_BOTTOM, w.frameY, w.frameHeight, m.y - w.pressY, w.fixedY,
           w.minHeight, w.movingY);
}

void drawFrame(Window& w) {
    WindowCanvas* c = frameCanvas();
    if (c == nullptr) {
        return;
    }
    const int32_t fx = w.frameX;
    const int32_t fy = w.frameY;
    const int32_t x1 = w.frameX + w.frameWidth - 1;
    const int32_t y1 = w.frameY + w.frameHeight - 1;
    if (w.flags & STYLE_BORDER) {
        drawRectOutline(*c, fx, fy, x1, y1, styleColour(COLOUR_WINDOW_BORDER));
        drawRectOutline(*c, fx + 1, fy + 1, x1 - 1, y1 - 1, styleColour(COLOUR_WINDOW_BORDER));
        if (w.flags & STYLE_3D) {
            if (desktop.shadows) {
                darkenThreeQuartersH(*c, fx - 1, x1, fy - 1);
                darkenThreeQuartersV(*c, fx - 1, fy, y1);
                lightenH(*c, fx, x1, fy);
                lightenV(*c, fx, fy + 1, y1);
                for (int32_t i = 0; i <= 3; i++) {
                    darkenThreeQuartersH(*c, fx + i, x1 + i - 1, y1 + i);
                    darkenThreeQuartersV(*c, x1 + i, fy + i, y1 + i);
                }
            } else {
                drawRaisedBevel(*c, fx, fy, x1, y1);
            }
        }
    }
    if (w.flags & STYLE_TITLE) {
        const bool active = w.active != 0;
        drawFilledRect(*c, w.titleX, w.titleY, w.titleX + w.titleWidth - 1,
                       w.titleY + w.titleHeight - 1,
                       styleColour(active ? COLOUR_TITLE_ACTIVE : COLOUR_TITLE_INACTIVE));
        // A width of 0 would mean "no limit" to the text drawing, so a title
        // bar too narrow for any text gets none.
        const int32_t maxWidth = w.titleWidth - 2 * TITLE_TEXT_INSET;
        if (w.title != nullptr && maxWidth > 0) {
            drawText(*c, w.title, w.titleX + TITLE_TEXT_INSET, w.titleY + TITLE_TEXT_INSET,
                     styleColour(active ? COLOUR_TITLE_TEXT_ACTIVE : COLOUR_TITLE_TEXT_INACTIVE),
                     maxWidth, &builtinFont(styleTable.titleFont));
        }
        if (w.flags & (STYLE_CLOSE | STYLE_MAXIMISE)) {
            drawButtonArea(w);
        }
    }
}

void drawButtonArea(Window& w) {
    WindowCanvas* c = frameCanvas();
    if (c == nullptr) {
        return;
    }
    drawFilledRect(*c, w.buttonAreaX, w.buttonAreaY, w.buttonAreaX + w.buttonAreaWidth - 1,
                   w.buttonAreaY + w.buttonAreaHeight - 1,
                   styleColour(w.active ? COLOUR_TITLE_ACTIVE : COLOUR_TITLE_INACTIVE));
    drawFrameButtons(w);
}

void caretShow(Caret& caret, const void* owner) {
    caret.on = 1;
    caret.restartBlink = 1;
    caret.owner = owner;
}

void caretHide(Caret& caret, const void* owner) {
    if (caret.owner == owner) {
        caret.on = 0;
    }
}

int caretOwnedBy(const Caret& caret, const void* owner) {
    return caret.owner == owner ? 1 : 0;
}

void caretSetPosition(Caret& caret, int32_t x, int32_t y) {
    caret.x = x;
    caret.y = y;
    caret.restartBlink = 1;
}

void caretUpdate(Window& w) {
    Caret& c = w.caret;
    const uint32_t now = inputState.now;
    if (!c.on) {
        if (c.shown) {
            caretErase(w);
        }
        return;
    }
    if (c.restartBlink) {
        c.blinkStart = now;
        c.restartBlink = 0;
    }
    const uint32_t phaseOn = ((now - c.blinkStart) & CARET_PERIOD_MASK) < CARET_ON_TIME ? 1 : 0;
    const bool moved = c.x != c.lastX || c.y != c.lastY;
    if (c.shown && (moved || !phaseOn)) {
        caretErase(w);
    }
    if (moved) {
        c.lastX = c.x;
        c.lastY = c.y;
    }
    if (phaseOn != c.shown) {
        c.shown = phaseOn;
        if (c.shown) {
            paintCaretStrip(w.x + c.x, w.y + c.y, c.height);
        }
    }
    const uint32_t phase = (now - c.blinkStart) & CARET_PERIOD_MASK;
    wakeAt(now + (phase < CARET_ON_TIME ? CARET_ON_TIME : CARET_PERIOD_MASK + 1) - phase);
}
