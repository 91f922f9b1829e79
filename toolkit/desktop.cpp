#include "toolkit/desktop.h"

#include "toolkit/buttons.h"
#include "toolkit/config.h"
#include "toolkit/font.h"
#include "toolkit/frame.h"
#include "toolkit/popup.h"
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// Creation flags beyond the style.
constexpr uint32_t CREATE_EXTRA_FLAGS = CREATE_OUTER_SIZE | CREATE_MAXIMISED;

// Below this many pixels per millisecond the display counts as slow, and
// windows are drawn without shadows.
constexpr uint64_t SLOW_DISPLAY_PIXELS_PER_MS = 16000;
constexpr uint32_t SPEED_TEST_MS = 100;
// The speed test also ends after this many copies. The rate it measures does
// not depend on how many copies it makes, so the bound changes nothing on a
// real clock, but a clock that stands still (the scripted one in tests) would
// otherwise keep the test running for ever.
constexpr uint32_t SPEED_TEST_MAX_COPIES = 32;

constexpr int32_t DOUBLE_CLICK_MIN = 160;
constexpr int32_t DOUBLE_CLICK_MAX = 450;

// Pointer positions this close to the desktop's edges are ignored.
constexpr int32_t EDGE_MARGIN = 4;
// How often the resize outline is redrawn, in ms.
constexpr uint32_t BAND_INTERVAL = 50;

constexpr uint32_t CURSOR_ARROW = 1;

// Every open window is owned here; the desktop's stack holds plain pointers
// into these records, in stack order.
std::vector<std::unique_ptr<Window>> ownedWindows;

void releaseWindow(Window* w) {
    auto held = std::find_if(ownedWindows.begin(), ownedWindows.end(),
                             [w](const std::unique_ptr<Window>& p) { return p.get() == w; });
    if (held != ownedWindows.end()) {
        ownedWindows.erase(held);
    }
}

// Copies between surfaces the desktop keeps at the same size. A surface of
// another size (after a failed allocation) is left alone rather than overrun.
void copySameSize(const Surface& source, Surface& destination) {
    if (source.pixels != nullptr && destination.pixels != nullptr &&
        source.width == destination.width && source.height == destination.height) {
        surfaceCopyWhole(source, destination);
    }
}

void freeSurfacePixels(Surface& s) {
    surfaceClearRecord(s);
}

Window* topWindow(const Desktop& d) {
    return d.count > 0 ? d.windows[d.count - 1] : nullptr;
}

// ---- Popup menu, menu bar and frame buttons ---------------------------------

bool popupMenuOpen(const Desktop& d) {
    return d.popupMenu.owner != nullptr;
}

void closePopupMenu(Desktop& d) {
    popupClose(d.popupMenu);
}

// While a menu is open its owner gets no Tick: the menu's own pass runs in its
// place, with the owner current and its message field saying Tick, so that
// the menu's callbacks run as if from the owner's Tick. Returns true when the
// pass ends here, after only the menu levels were redrawn.
bool popupMenuPointerPhase(Desktop& d) {
    PopupMenu& menu = d.popupMenu;
    Window* owner = menu.owner;
    d.current = owner;
    if (owner->closeRequested) {
        popupClose(menu);
        return false;
    }
    setCursorShape(inputState.mouse, CURSOR_ARROW);
    menuBarHover(owner->menuBar, menu);
    owner->message = Tick;
    popupPass(menu);
    if (menu.owner == nullptr) {
        return false;
    }
    if (menu.owner->closeRequested) {
        popupClose(menu);
        return false;
    }
    if (menu.owner->redrawRequested || !menu.selectionChanged) {
        return false;
    }
    // Only the highlight moved: the levels are drawn again and copied out
    // without composing the windows.
    d.current = menu.owner;
    popupRedraw(menu);
    const Window& w = *menu.owner;
    for (int32_t i = 0; i < menu.count; i++) {
        const MenuLevel& level = menu.levels[i];
        const int32_t width = level.width + (level.scrollBar.active ? SCROLLBAR_SIZE : 0);
        blitRectToScreen(w.canvas.bitmap, w.x + level.x, w.y + level.y, width, level.height,
                         level.x, level.y);
    }
    menu.selectionChanged = 0;
    return true;
}

void popupMenuRedraw(Desktop& d) {
    if (d.popupMenu.owner == nullptr) {
        return;
    }
    Window* previous = d.current;
    d.current = d.popupMenu.owner;
    popupRedraw(d.popupMenu);
    d.current = previous;
}

bool menuBarFired(Window& w) {
    return menuBarUpdate(w.menuBar) != 0;
}

// A frame button held pressed while the mouse has left it loses its pressed
// state; the desktop window, whose canvas holds the frame, redraws it.
void releaseFrameButtonsLeft(Desktop& d, Window& w) {
    IconButton* buttons[2] = {(w.flags & STYLE_CLOSE) ? &w.closeButton : nullptr,
                              (w.flags & STYLE_MAXIMISE) ? &w.maximiseButton : nullptr};
    for (IconButton* b : buttons) {
        if (b != nullptr && b->click.pressed && !currentMouseInside(b->rect)) {
            b->click.pressed = 0;
            d.desktopWindow->redrawRequested = 1;
        }
    }
}

// The frame buttons are polled with the desktop window current: their
// rectangles are in its (the desktop's) coordinates.
bool closeButtonClicked(Window& w) {
    return (w.flags & STYLE_CLOSE) && iconButtonUpdate(w.closeButton) != 0;
}

bool maximiseButtonClicked(Window& w) {
    return (w.flags & STYLE_MAXIMISE) && iconButtonUpdate(w.maximiseButton) != 0;
}

// ---------------------------------------------------------------------------

bool insideFrame(const Window& w, int32_t x, int32_t y) {
    return x >= w.frameX && x < w.frameX + w.frameWidth && y >= w.frameY &&
           y < w.frameY + w.frameHeight;
}

// The resize outline exists only on the screen: it is drawn on the desktop
// window's canvas, copied out, and the canvas is put back from the backup.
void drawResizeBand(Desktop& d, Window& w) {
    WindowCanvas& canvas = d.desktopWindow->canvas;
    drawMovingDottedRect(canvas, w.movingX, w.movingY, w.fixedX, w.fixedY,
                         styleColour(COLOUR_RESIZE_OUTLINE));
    blitToScreen(canvas.bitmap, 0, 0);
    copySameSize(d.backup, canvas.surface);
    d.nextBandTime = inputState.now + BAND_INTERVAL;
}

// Keeps the picture without the given windows: compose without copying it
// out, then keep it as the backup of drags and resizes.
void composeIntoBackup(Desktop& d) {
    d.needsRedraw = 1;
    compose(d, true);
    copySameSize(d.desktopWindow->canvas.surface, d.backup);
}

// A press inside the top window's frame: start a resize or a drag. Returns
// true when one started.
bool startFrameGesture(Desktop& d, Window& top) {
    if (!top.maximised && (top.flags & STYLE_MAXIMISE) && top.resizeEdge != 0) {
        resizeStart(top);
        composeIntoBackup(d);
        d.nextBandTime = 0;
        d.resizing = &top;
        return true;
    }
    if ((top.flags & STYLE_MOVABLE) && dragStart(top)) {
        // The backup is the picture without the window; the screen shows it
        // with the window, drawn over the backup.
        top.hidden = 1;
        composeIntoBackup(d);
        top.hidden = 0;
        WindowCanvas& canvas = d.desktopWindow->canvas;
        surfaceBlit(top.canvas.surface, canvas.surface, top.x, top.y);
        drawFrame(top);
        blitToScreen(canvas.bitmap, 0, 0);
        d.dragging = &top;
        return true;
    }
    return false;
}

// Returns true when the pass is busy with the pointer (a drag or resize runs).
bool pointerBusy(Desktop& d) {
    MouseState& m = inputState.mouse;
    if (d.resizing != nullptr) {
        Window& w = *d.resizing;
        if (!w.resizeActive) {
            d.resizing = nullptr;
            return true;
        }
        resizeStep(w);
        // "Later than": the first outline is drawn at once (nextBandTime 0)
        // unless the clock itself reads 0.
        if (inputState.now > d.nextBandTime) {
            drawResizeBand(d, w);
        }
        return true;
    }
    if (d.dragging != nullptr) {
        Window& w = *d.dragging;
        if (!w.dragActive) {
            d.dragging = nullptr;
            return false;
        }
        dragStep(w);
        dragDisplay(d, w);
        return true;
    }
    const int32_t width = desktopWidth();
    const int32_t height = desktopHeight();
    if (platform.ready && (m.x < EDGE_MARGIN || m.x > width - EDGE_MARGIN || m.y < EDGE_MARGIN ||
                           m.y > height - EDGE_MARGIN)) {
        return false;
    }
    Window* dw = d.desktopWindow;
    d.current = dw;
    // The frame buttons lie on the desktop window's canvas and take the mouse
    // through it, so it must be active while the mouse is outside the top
    // window.
    const uint32_t wasActive = dw->active;
    dw->active = 1;
    Window* top = topWindow(d);
    if (top->hidden) {
        return false;
    }
    releaseFrameButtonsLeft(d, *top);
    if (!insideFrame(*top, m.x, m.y)) {
        setCursorShape(m, CURSOR_ARROW);
        return false;
    }
    dw->active = wasActive;
    if (m.leftPressed && startFrameGesture(d, *top)) {
        return true;
    }
    if (!m.leftPressed && !m.leftReleased) {
        if ((top->flags & STYLE_MAXIMISE) && !top->maximised) {
            resizeHover(*top);
        } else {
            setCursorShape(m, CURSOR_ARROW);
        }
        return false;
    }
    if (closeButtonClicked(*top)) {
        top->closeRequested = 1;
    } else if (maximiseButtonClicked(*top)) {
        if (!top->maximised && !top->limitedMaximised) {
            maximiseWindow(*top);
        } else {
            restoreWindow(*top);
        }
    }
    return false;
}

// A full composition is due: whatever drag or resize was running ends here.
void endPointerGestures(Desktop& d) {
    inputState.mouse.leftReleased = 1;
    if (d.resizing != nullptr) {
        resizeStep(*d.resizing);
    }
    if (d.dragging != nullptr) {
        dragStep(*d.dragging);
    }
    d.resizing = nullptr;
    d.dragging = nullptr;
}

void removeFromStack(Desktop& d, Window* w) {
    int index = d.count - 1;
    while (index >= 0 && d.windows[index] != w) {
        index--;
    }
    if (index < 0) {
        return;
    }
    // Normally the top slot. A procedure that opened a window from within its
    // Close leaves the closing window below the new one, and the stack closes
    // up over it.
    for (int i = index; i + 1 < d.count; i++) {
        d.windows[i] = d.windows[i + 1];
    }
    d.count--;
    d.windows[d.count] = nullptr;
}

} // namespace

const char* desktopInit(Desktop& d, int32_t width, int32_t height, WindowProc proc) {
    d = Desktop{};
    setupBuiltinFonts();
    fillStyleTable(styleTable);
    // The desktop bitmap and the backup have the size the desktop window's
    // canvas will get: even wide, and never below the smallest canvas.
    const int32_t surfaceWidth = std::max(width & ~1, MIN_CANVAS_WIDTH);
    const int32_t surfaceHeight = std::max(height, MIN_CANVAS_HEIGHT);
    if (!surfaceInit(d.desktopBitmap, surfaceWidth, surfaceHeight, nullptr)) {
        return "Failed to init desktop bitmap";
    }
    if (!surfaceInit(d.backup, surfaceWidth, surfaceHeight, nullptr)) {
        return "Failed to create backup bitmap";
    }
    Window* dw = createWindow(d, 0, 0, width, height, "DeskTop", CREATE_MAXIMISED, proc, 0);
    if (dw == nullptr) {
        return "Failed to init desktop window";
    }

    // How fast the screen takes whole-screen copies decides whether windows
    // get shadows: the drag display redraws them on every step. The test
    // ends early once its copies reach what the whole test time must see of
    // a fast display: no copy after that could make it slow, and the title
    // picture, shown after the test, comes sooner.
    const uint64_t pixelsPerCopy = uint64_t(uint32_t(surfaceWidth)) * uint32_t(surfaceHeight);
    const uint32_t start = clockSample(inputState);
    uint32_t copies = 0;
    uint32_t elapsed = 0;
    do {
        surfaceBlit(d.desktopBitmap, dw->canvas.surface, 0, 0);
        blitToScreen(dw->canvas.bitmap, 0, 0);
        copies++;
        elapsed = clockSample(inputState) - start;
    } while (elapsed < SPEED_TEST_MS && copies < SPEED_TEST_MAX_COPIES &&
             pixelsPerCopy * copies < SLOW_DISPLAY_PIXELS_PER_MS * SPEED_TEST_MS);
    // No time measured at all means the copies were too fast to see.
    const uint64_t pixels = pixelsPerCopy * copies;
    const bool slow = elapsed != 0 && pixels / elapsed < SLOW_DISPLAY_PIXELS_PER_MS;
    platform.slowDisplay = slow ? 1 : 0;
    d.shadows = (!slow && configGet("WSHADOW")[0] == '1') ? 1 : 0;

    d.doubleClickTime =
        std::clamp(leadingInteger(configGet("CLK2DT")), DOUBLE_CLICK_MIN, DOUBLE_CLICK_MAX);

    dw->redrawRequested = 1;
    d.needsRedraw = 1;
    return nullptr;
}

void desktopShutdown(Desktop& d) {
    freeSurfacePixels(d.desktopBitmap);
    freeSurfacePixels(d.backup);
    configSave();
}

int desktopResize(Desktop& d, int32_t width, int32_t height) {
    Window* dw = d.desktopWindow;
    if (dw == nullptr) {
        return 1;
    }
    // The desktop window's canvas is always even wide; an odd width would
    // never match it and re-place the desktop on every call.
    width = std::max(width & ~1, MIN_CANVAS_WIDTH);
    height = std::max(height, MIN_CANVAS_HEIGHT);
    if (width == dw->canvas.surface.width && height == dw->canvas.surface.height) {
        return 1;
    }
    const int32_t oldWidth = d.desktopBitmap.width;
    const int32_t oldHeight = d.desktopBitmap.height;
    // Growing: the surfaces get their memory first, so that a failure can
    // still go back. Shrinking cannot fail, and waits until the placement
    // has succeeded.
    const bool grows = int64_t{width} * height * 2 > int64_t{oldWidth} * oldHeight * 2;
    if (grows) {
        if (!surfaceCreate(d.desktopBitmap, width, height, nullptr)) {
            return 0;
        }
        if (!surfaceCreate(d.backup, width, height, nullptr)) {
            surfaceCreate(d.desktopBitmap, oldWidth, oldHeight, nullptr);
            return 0;
        }
    }
    if (!placeWindow(*dw, 0, 0, width, height, false, true)) {
        surfaceCreate(d.desktopBitmap, oldWidth, oldHeight, nullptr);
        surfaceCreate(d.backup, oldWidth, oldHeight, nullptr);
        return 0;
    }
    if (!grows) {
        surfaceCreate(d.desktopBitmap, width, height, nullptr);
        surfaceCreate(d.backup, width, height, nullptr);
    }
    char text[CONFIG_VALUE_SIZE];
    std::snprintf(text, sizeof text, "%d", int(dw->canvas.surface.width));
    configSet("WINDX", text);
    std::snprintf(text, sizeof text, "%d", int(dw->canvas.surface.height));
    configSet("WINDY", text);

    for (int i = 0; i < d.count; i++) {
        Window* w = d.windows[i];
        d.current = w;
        w->limitedMaximised = 0;
        if (w != dw && w->maximised) {
            // sized tells afterwards whether this placement took place.
            w->sized = 0;
            followDesktopSize(*w);
            if (w->sized) {
                sendMessage(w, Draw);
            }
        }
        if (w == dw) {
            sendMessage(w, Draw);
            copySameSize(w->canvas.surface, d.desktopBitmap);
        }
        if (!w->maximised) {
            keepOnScreen(*w);
        }
        w->sized = 0;
    }
    d.needsRedraw = 1;
    return 1;
}

Window* createWindow(Desktop& d, int32_t x, int32_t y, int32_t width, int32_t height,
                     const char* title, uint32_t flags, WindowProc proc, uint32_t param) {
    if (d.current != nullptr) {
        // The picture of a window being drawn or sized must not change under it.
        if (d.current->message == Draw || d.current->message == Size) {
            return nullptr;
        }
        closePopupMenu(d);
        d.current->caret.on = 0;
    }
    if (proc == nullptr || d.count >= MAX_WINDOWS) {
        return nullptr;
    }
    if (d.count == 1 && !popupMenuOpen(d)) {
        // The desktop window's picture as it is now lies under the windows
        // above it, rather than the one it had when it was created: a game
        // drawn since stays in view behind them. An open menu is drawn over
        // that picture; its owner's last full drawing is kept then.
        copySameSize(d.desktopWindow->canvas.surface, d.desktopBitmap);
    }
    auto owned = std::make_unique<Window>();
    Window* w = owned.get();
    const uint32_t style = flags & ~CREATE_EXTRA_FLAGS;
    const bool outer = (flags & CREATE_OUTER_SIZE) != 0;
    const bool maximised = (flags & CREATE_MAXIMISED) != 0;
    if (!windowInit(*w, x, y, width, height, title, style, outer, maximised)) {
        canvasFree(w->canvas);
        return nullptr;
    }
    if (d.count == 0) {
        d.desktopWindow = w;
        w->maximised = 1;
    }
    canvasSelectFont(w->canvas, styleTable.windowTextFont);
    w->canvas.background =
        styleColour(w == d.desktopWindow ? COLOUR_DESKTOP_BACKGROUND : COLOUR_WINDOW_BACKGROUND);
    w->proc = proc;
    w->param = param;
    w->createDone = 0;
    w->redrawRequested = 1;
    w->active = 1;
    ownedWindows.push_back(std::move(owned));
    d.windows[d.count++] = w;

    sendMessage(w, Create);
    if (!w->closeRequested) {
        w->createDone = 1;
        sendMessage(w, Size);
        if (!w->closeRequested) {
            sendMessage(w, Draw);
            if (w == d.desktopWindow) {
                copySameSize(w->canvas.surface, d.desktopBitmap);
            }
        }
    }
    d.needsRedraw = 1;
    return w;
}

int closeTopWindow(Desktop& d) {
    if (d.count == 0) {
        return 0;
    }
    closePopupMenu(d);
    Window* w = topWindow(d);
    d.current = w;
    w->closeRequested = 1;
    sendMessage(w, Close);
    if (!w->closeRequested && w->createDone) {
        return 0;
    }
    w->createDone = 0;
    w->proc = nullptr;
    canvasFree(w->canvas);
    removeFromStack(d, w);
    // Nothing may keep pointing at the freed record; the bottom window's
    // closing leaves no desktop window until the next init.
    if (d.current == w) {
        d.current = nullptr;
    }
    if (d.desktopWindow == w) {
        d.desktopWindow = nullptr;
    }
    if (d.resizing == w) {
        d.resizing = nullptr;
    }
    if (d.dragging == w) {
        d.dragging = nullptr;
    }
    releaseWindow(w);
    d.needsRedraw = 1;
    return 1;
}

void requestQuit(Desktop& d) {
    for (int i = 0; i < d.count; i++) {
        d.windows[i]->closeRequested = 1;
    }
}

void updatePass(Desktop& d) {
    if (d.count == 0) {
        return;
    }
    clockSample(inputState);
    d.countAtStart = d.count;
    d.wakeSet = 0;

    if (d.needsRedraw) {
        endPointerGestures(d);
    } else {
        if (pointerBusy(d)) {
            return;
        }
        if (popupMenuOpen(d) && popupMenuPointerPhase(d)) {
            return;
        }
    }

    // Only the top window is ticked: every window above the desktop window is
    // modal.
    if (!popupMenuOpen(d)) {
        Window* top = topWindow(d);
        d.current = top;
        if (!menuBarFired(*top)) {
            sendMessage(top, Tick);
            // Procedures close their window by setting closeRequested; one
            // that closed it outright during its Tick ends the pass the same way.
            const bool closed = !windowOnStack(top) || (top->closeRequested && closeTopWindow(d));
            if (closed) {
                if (d.count == 0) {
                    return;
                }
                if (d.count == 1) {
                    // Nothing lies over the desktop window any more: its canvas
                    // shows its own drawing again.
                    copySameSize(d.desktopBitmap, d.desktopWindow->canvas.surface);
                }
                topWindow(d)->active = 1;
                return;
            }
        }
    }

    // A window cannot have closed since the pass began (a close ends the pass
    // above), so the window that was on top then is still in its slot.
    Window* w = d.windows[std::min(d.countAtStart, d.count) - 1];
    d.current = w;
    d.drawCount = (d.desktopWindow->redrawRequested && w != d.desktopWindow) ? 1 : 0;
    if (w->redrawRequested && !w->hidden && w->proc != nullptr) {
        d.drawCount++;
        sendMessage(w, Draw);
        if (w == d.desktopWindow) {
            copySameSize(w->canvas.surface, d.desktopBitmap);
        }
    }
    if (d.count != d.countAtStart) {
        // A window was created during the pass: the next pass composes all.
        d.needsRedraw = 1;
        return;
    }
    if (d.drawCount != 0 || d.needsRedraw) {
        popupMenuRedraw(d);
        compose(d, false);
    }
    // awake counts down to 0, where the main loop starts waiting; it never
    // wraps round to keep a program awake that has nothing to do.
    if (d.awake != 0) {
        d.awake--;
    }
}

void compose(Desktop& d, bool composeOnly) {
    if (d.count == 0 || d.desktopWindow == nullptr) {
        return;
    }
    Window* dw = d.desktopWindow;
    d.current = dw;
    Window* top = topWindow(d);
    if (!d.needsRedraw) {
        if (d.drawCount == 1 && dw->redrawRequested) {
            if (top == dw) {
                blitToScreen(dw->canvas.bitmap, 0, 0);
            } else if (top->flags & (STYLE_CLOSE | STYLE_MAXIMISE)) {
                // Only a frame button of the top window changed.
                drawButtonArea(*top);
                blitRectToScreen(dw->canvas.bitmap, top->buttonAreaX, top->buttonAreaY,
                                 top->buttonAreaWidth, top->buttonAreaHeight, top->buttonAreaX,
                                 top->buttonAreaY);
            }
            dw->redrawRequested = 0;
            dw->caret.shown = 0;
            return;
        }
        if (d.drawCount == 1 && top->redrawRequested) {
            blitToScreen(top->canvas.bitmap, top->x, top->y);
            top->redrawRequested = 0;
            top->caret.shown = 0;
            return;
        }
        if (d.drawCount == 2 && top->redrawRequested && !top->hidden) {
            surfaceBlit(top->canvas.surface, dw->canvas.surface, top->x, top->y);
            blitRectToScreen(dw->canvas.bitmap, top->x, top->y, top->canvas.surface.width,
                             top->canvas.surface.height, top->x, top->y);
            top->redrawRequested = 0;
            top->caret.shown = 0;
            return;
        }
    }
    if (d.count > 1) {
        copySameSize(d.desktopBitmap, dw->canvas.surface);
        for (int i = 1; i < d.count; i++) {
            Window* w = d.windows[i];
            if (w->hidden) {
                continue;
            }
            surfaceBlit(w->canvas.surface, dw->canvas.surface, w->x, w->y);
            if (w->flags != 0) {
                drawFrame(*w);
            }
            w->redrawRequested = 0;
            w->caret.shown = 0;
        }
    }
    if (!composeOnly) {
        blitToScreen(dw->canvas.bitmap, 0, 0);
    }
    dw->redrawRequested = 0;
    dw->caret.shown = 0;
    d.needsRedraw = 0;
}
