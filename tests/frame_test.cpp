#include "toolkit/frame.h"

#include "platform/platform_script.h"
#include "tests/support/desktop_env.h"
#include "toolkit/desktop.h"
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

int sizeMessages;

// Fills its canvas with a colour chosen by its param.
void PlainWindowProc(Window* w, uint32_t param) {
    if (w->message == Size) {
        sizeMessages++;
    }
    if (w->message == Draw) {
        surfaceFill(w->canvas.surface, param == 0 ? 0x0A0A : uint16_t(0x0B0B * param));
    }
}

class FrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(scriptedDesktopStart(640, 480, PlainWindowProc), nullptr);
        sizeMessages = 0;
    }
    void TearDown() override { scriptedDesktopStop(); }

    Window* open(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags) {
        return createWindow(desktop, x, y, width, height, "t", flags, PlainWindowProc, 1);
    }
};

uint16_t screenAt(int32_t x, int32_t y) {
    const ScriptScreen& s = scriptScreen();
    return s.pixels[size_t(y) * size_t(s.width) + size_t(x)];
}

// What the drop shadow makes of a pixel: three quarters of it.
uint16_t threeQuarters(uint16_t p) {
    const uint16_t h = (p >> 1) & 0x7BEF;
    return uint16_t(h + ((h >> 1) & 0x7BEF));
}

uint16_t canvasAt(const Window& w, int32_t x, int32_t y) {
    return w.canvas.surface.pixels[size_t(y) * size_t(w.canvas.surface.width) + size_t(x)];
}

TEST_F(FrameTest, StyleFlagsDecideTitleBarAndInsets) {
    EXPECT_EQ(titleFontHeight(), 13);
    EXPECT_EQ(styleWithTitle(1), 17u);
    EXPECT_EQ(styleWithTitle(8), 24u);
    EXPECT_EQ(styleWithTitle(32), 48u);
    EXPECT_EQ(styleWithTitle(6), 6u);
    EXPECT_EQ(styleWithTitle(31), 31u);
    const FrameInsets game = frameInsets(31);
    EXPECT_EQ(game.left, 2);
    EXPECT_EQ(game.top, 21);
    EXPECT_EQ(game.right, 2);
    EXPECT_EQ(game.bottom, 2);
    const FrameInsets titleOnly = frameInsets(16);
    EXPECT_EQ(titleOnly.left, 0);
    EXPECT_EQ(titleOnly.top, 19);

    Window* movable = open(100, 100, 100, 50, 1);
    ASSERT_NE(movable, nullptr);
    EXPECT_EQ(movable->flags, 17u);
    EXPECT_EQ(movable->y - movable->frameY, 19);

    Window* bare = open(100, 100, 100, 50, 0);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->frameX, bare->x);
    EXPECT_EQ(bare->frameY, bare->y);
    EXPECT_EQ(bare->frameWidth, 100);
    EXPECT_EQ(bare->frameHeight, 50);
}

TEST_F(FrameTest, CentredPlacementAndOuterSizes) {
    Window* w = open(-1, -1, 256, 288, 31);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->frameX, 190);
    EXPECT_EQ(w->frameY, 84);
    EXPECT_EQ(w->x, 192);
    EXPECT_EQ(w->y, 105);
    EXPECT_EQ(w->frameWidth, 260);
    EXPECT_EQ(w->frameHeight, 311);
    EXPECT_EQ(w->titleX, 192);
    EXPECT_EQ(w->titleY, 86);
    EXPECT_EQ(w->titleWidth, 256 - 19); // room for the close button
    EXPECT_EQ(w->titleHeight, 19);
    EXPECT_EQ(w->buttonAreaX, 192 + 256 - 38);
    EXPECT_EQ(w->buttonAreaY, 86);
    EXPECT_EQ(w->buttonAreaWidth, 38);
    EXPECT_EQ(w->minWidth, 68);
    EXPECT_EQ(w->minHeight, 55);
    EXPECT_EQ(w->sized, 1u);

    // Frame size given: the client gets what the frame leaves.
    Window* outer = open(-1, -1, 300, 200, 31 | CREATE_OUTER_SIZE);
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(outer->frameX, 170);
    EXPECT_EQ(outer->frameY, 140);
    EXPECT_EQ(outer->canvas.surface.width, 296);
    EXPECT_EQ(outer->canvas.surface.height, 177);

    // Wider than the desktop: the halving rounds toward minus infinity, then
    // the frame goes to the even column at or left of it.
    Window* wide = open(-1, -1, 701, 100, 0);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->frameX, -32); // (640 - 701) >> 1 = -31
    EXPECT_EQ(wide->canvas.surface.width, 700);

    // Maximised at creation.
    Window* full = open(-1, -1, 100, 100, 63 | CREATE_MAXIMISED);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->maximised, 1u);
    EXPECT_EQ(full->flags, 56u);
    EXPECT_EQ(full->frameX, 0);
    EXPECT_EQ(full->y, 19);
    EXPECT_EQ(full->canvas.surface.width, 640);
    EXPECT_EQ(full->canvas.surface.height, 461);
}

TEST_F(FrameTest, PlacementKeepsEvenColumnsAndTheMinimumSize) {
    Window* w = open(10, 10, 100, 100, 31);
    ASSERT_NE(w, nullptr);
    sizeMessages = 0;
    EXPECT_EQ(placeWindow(*w, 51, 40, 231, 100, 0, 0), 1);
    EXPECT_EQ(w->frameX, 50);
    EXPECT_EQ(w->x, 52);
    EXPECT_EQ(w->canvas.surface.width, 230);
    EXPECT_EQ(w->frameWidth, 234);
    EXPECT_EQ(sizeMessages, 1);
    EXPECT_EQ(w->redrawRequested, 1u);

    EXPECT_EQ(placeWindow(*w, 0, 0, 10, 10, 0, 0), 1);
    EXPECT_EQ(w->canvas.surface.width, 68);
    EXPECT_EQ(w->canvas.surface.height, 55);
    setMinimumSize(*w, 150, 10);
    EXPECT_EQ(w->minWidth, 154);
    EXPECT_EQ(w->minHeight, 55);

    // A canvas that cannot be made leaves a movable, framed window.
    Window* bare = open(10, 10, 100, 100, 0);
    ASSERT_NE(bare, nullptr);
    scriptSetBitmapBudget(0);
    EXPECT_EQ(placeWindow(*bare, 20, 20, 300, 300, 0, 0), 0);
    EXPECT_EQ(bare->flags, 19u);
    EXPECT_EQ(bare->sized, 0u);
    EXPECT_EQ(bare->canvas.surface.width, 100);
}

TEST_F(FrameTest, MaximiseAndRestore) {
    Window* w = open(101, 51, 300, 200, 63);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->frameX, 100);
    maximiseWindow(*w);
    EXPECT_EQ(w->maximised, 1u);
    EXPECT_EQ(w->flags, 56u);
    EXPECT_EQ(w->frameX, 0);
    EXPECT_EQ(w->frameY, 0);
    EXPECT_EQ(w->frameWidth, 640);
    EXPECT_EQ(w->frameHeight, 480);
    EXPECT_EQ(w->canvas.surface.height, 461);
    restoreWindow(*w);
    EXPECT_EQ(w->maximised, 0u);
    EXPECT_EQ(w->flags, 63u);
    EXPECT_EQ(w->frameX, 100);
    EXPECT_EQ(w->frameY, 51);
    EXPECT_EQ(w->canvas.surface.width, 300);
    EXPECT_EQ(w->canvas.surface.height, 200);

    // A minimum wider than the desktop: the maximise is only remembered.
    setMinimumSize(*w, 700, 100);
    maximiseWindow(*w);
    EXPECT_EQ(w->maximised, 0u);
    EXPECT_EQ(w->limitedMaximised, 1u);
    EXPECT_EQ(w->flags, 63u);
    EXPECT_EQ(w->canvas.surface.width, 704);
    EXPECT_EQ(w->canvas.surface.height, 461);
    restoreWindow(*w);
    EXPECT_EQ(w->limitedMaximised, 0u);
    EXPECT_EQ(w->frameX, 100);
    EXPECT_EQ(w->canvas.surface.width, 704);
    EXPECT_EQ(w->canvas.surface.height, 200);

    // A restore rectangle larger than the desktop is brought inside it.
    setMinimumSize(*w, 64, 32);
    maximiseWindow(*w);
    w->snapshot.frameWidth = 900;
    w->snapshot.frameHeight = 900;
    restoreWindow(*w);
    EXPECT_EQ(w->frameX, 10);
    EXPECT_EQ(w->frameY, 10);
    EXPECT_EQ(w->frameWidth, 620);
    EXPECT_EQ(w->frameHeight, 460);
}

TEST_F(FrameTest, MoveAndKeepOnScreen) {
    Window* w = open(100, 100, 200, 100, 31);
    ASSERT_NE(w, nullptr);
    desktop.needsRedraw = 0;
    moveWindow(*w, 701, 470);
    EXPECT_EQ(w->x, 700);
    EXPECT_EQ(w->y, 470);
    EXPECT_EQ(w->frameX, 698);
    EXPECT_EQ(w->frameY, 449);
    EXPECT_EQ(w->previousFrameX, 100);
    EXPECT_EQ(w->titleX, 700);
    EXPECT_EQ(w->titleY, 451);
    EXPECT_EQ(w->buttonAreaX, 700 + 200 - 38);
    EXPECT_EQ(desktop.needsRedraw, 1u);
    keepOnScreen(*w);
    EXPECT_EQ(w->x, 600);
    EXPECT_EQ(w->y, 440);
    moveWindow(*w, -1000, -50);
    keepOnScreen(*w);
    EXPECT_EQ(w->x, -160);
    EXPECT_EQ(w->y, 20);
    desktop.needsRedraw = 0;
    moveWindow(*w, -159, 20); // the same even position
    EXPECT_EQ(desktop.needsRedraw, 0u);
}

TEST_F(FrameTest, DragByTheTitleBarEndsOnAnEvenOffset) {
    Window* w = open(100, 100, 200, 100, 31);
    ASSERT_NE(w, nullptr);
    const int32_t x0 = w->x;
    const int32_t y0 = w->y;
    scriptMouseMove(x0 + 20, y0 + 50); // client area, not the title bar
    scriptLeftDown();
    EXPECT_EQ(dragStart(*w), 0);
    mouseClearEvents(inputState.mouse);

    scriptMouseMove(x0 + 20, y0 - 10);
    scriptLeftDown();
    ASSERT_EQ(dragStart(*w), 1);
    mouseClearEvents(inputState.mouse);
    scriptMouseMove(x0 + 25, y0 - 7);
    dragStep(*w);
    EXPECT_EQ(w->x, x0 + 5);
    EXPECT_EQ(w->y, y0 + 3);
    EXPECT_EQ(w->dragActive, 1u);
    mouseClearEvents(inputState.mouse);
    scriptMouseMove(x0 + 27, y0 - 6);
    scriptLeftUp();
    dragStep(*w);
    EXPECT_EQ(w->dragActive, 0u);
    EXPECT_EQ(w->x, x0 + 6);
    EXPECT_EQ(w->y, y0 + 4);
    EXPECT_EQ(w->frameX, x0 + 4);
}

TEST_F(FrameTest, DragThroughTheUpdatePassRedrawsTheScreen) {
    Window* w = open(100, 100, 200, 100, 31);
    ASSERT_NE(w, nullptr);
    updatePass(desktop); // the first composition
    const int32_t x0 = w->x;
    const int32_t y0 = w->y;
    desktop.awake = 5;

    mouseClearEvents(inputState.mouse);
    scriptMouseMove(x0 + 20, y0 - 10);
    scriptLeftDown();
    updatePass(desktop);
    EXPECT_EQ(desktop.dragging, w);
    EXPECT_EQ(desktop.awake, 5u); // busy
    EXPECT_EQ(screenAt(x0, y0), 0x0B0B);

    mouseClearEvents(inputState.mouse);
    scriptMouseMove(x0 + 20 + 51, y0 - 10 + 30);
    updatePass(desktop);
    EXPECT_EQ(w->x, x0 + 51);
    EXPECT_EQ(screenAt(x0 + 51, y0 + 30), 0x0B0B);
    EXPECT_EQ(screenAt(x0 + 10, y0 + 10), 0x0A0A); // uncovered again

    mouseClearEvents(inputState.mouse);
    scriptLeftUp();
    updatePass(desktop);
    EXPECT_EQ(w->x, x0 + 50);
    EXPECT_EQ(w->dragActive, 0u);
    EXPECT_EQ(desktop.awake, 5u);
    mouseClearEvents(inputState.mouse);
    updatePass(desktop);
    EXPECT_EQ(desktop.dragging, nullptr);
    EXPECT_EQ(desktop.awake, 4u);
    // The backup is the picture without the window.
    EXPECT_EQ(desktop.backup.pixels[size_t(y0 + 10) * 640 + size_t(x0 + 10)], 0x0A0A);
}

TEST_F(FrameTest, ResizeByTheEdges) {
    Window* w = open(100, 100, 300, 200, 63);
    ASSERT_NE(w, nullptr);
    const int32_t fx = w->frameX;
    const int32_t fy = w->frameY;
    const int32_t fw = w->frameWidth;
    const int32_t fh = w->frameHeight;
    struct Case {
        int32_t x, y;
        uint32_t edge, shape;
    };
    const Case cases[] = {
        {fx + 2, fy + 50, 1, 2},     {fx + fw - 2, fy + 50, 2, 2},
        {fx + 50, fy + 1, 4, 3},     {fx + 50, fy + fh - 1, 8, 3},
        {fx + 1, fy + 1, 5, 4},      {fx + fw - 1, fy + fh - 1, 10, 4},
        {fx + fw - 1, fy + 1, 6, 5}, {fx + 1, fy + fh - 2, 9, 5},
        {fx + 50, fy + 50, 0, 1},
    };
    for (const Case& c : cases) {
        scriptMouseMove(c.x, c.y);
        resizeHover(*w);
        EXPECT_EQ(w->resizeEdge, c.edge) << c.x << "," << c.y;
        EXPECT_EQ(inputState.mouse.cursorShape, c.shape) << c.x << "," << c.y;
    }

    // From the left edge, dragged far to the right: never below minWidth.
    updatePass(desktop);
    mouseClearEvents(inputState.mouse);
    scriptMouseMove(fx + 2, fy + 50);
    updatePass(desktop); // hover
    EXPECT_EQ(w->resizeEdge, 1u);
    scriptLeftDown();
    updatePass(desktop);
    ASSERT_EQ(desktop.resizing, w);
    EXPECT_EQ(w->fixedX, fx + fw);
    mouseClearEvents(inputState.mouse);
    scriptMouseMove(fx + 500, fy + 50);
    scriptScreenResetCounters();
    scriptSetTime(2000);
    updatePass(desktop);
    EXPECT_EQ(w->movingX, fx + fw - w->minWidth);
    // The outline reached the screen, but not the desktop window's canvas.
    EXPECT_EQ(scriptScreen().copyCount, 1u);
    EXPECT_EQ(screenAt(w->movingX + 4, fy + 1), 0xFFFF);
    EXPECT_EQ(canvasAt(*desktop.desktopWindow, w->movingX + 4, fy + 1),
              desktop.backup.pixels[size_t(fy + 1) * 640 + size_t(w->movingX + 4)]);
    EXPECT_EQ(desktop.nextBandTime, 2050u);
    mouseClearEvents(inputState.mouse);
    scriptLeftUp();
    updatePass(desktop);
    EXPECT_EQ(w->resizeActive, 0u);
    EXPECT_EQ(w->frameX, fx + fw - w->minWidth);
    EXPECT_EQ(w->frameWidth, w->minWidth + 4);
    EXPECT_EQ(w->canvas.surface.height, 200);
}

TEST_F(FrameTest, FrameDrawingShowsActiveTitleAndShadow) {
    Window* w = open(100, 100, 200, 100, 31);
    ASSERT_NE(w, nullptr);
    updatePass(desktop);
    const Window& dw = *desktop.desktopWindow;
    const int32_t y1 = w->frameY + w->frameHeight - 1;
    EXPECT_EQ(canvasAt(dw, w->frameX + 1, w->frameY + 30), 0xBDF7);
    EXPECT_EQ(canvasAt(dw, w->titleX + 150, w->titleY + 1), 0x3BB8);
    EXPECT_EQ(canvasAt(dw, w->buttonAreaX + 5, w->buttonAreaY + 1), 0x3BB8);
    // Three quarters of the desktop colour under the frame, once per pixel.
    EXPECT_EQ(canvasAt(dw, w->frameX + 10, y1 + 2), threeQuarters(0x0A0A));
    EXPECT_EQ(canvasAt(dw, w->frameX + 10, y1 + 4), 0x0A0A);
    w->active = 0;
    desktop.needsRedraw = 1;
    updatePass(desktop);
    EXPECT_EQ(canvasAt(dw, w->titleX + 150, w->titleY + 1), 0x94B2);
    EXPECT_EQ(canvasAt(dw, w->frameX + 10, y1 + 2), threeQuarters(0x0A0A));
}

TEST_F(FrameTest, CaretBlinksOnTheScreenAndIsErasedWhenSwitchedOff) {
    Window* w = open(100, 100, 200, 100, 31);
    ASSERT_NE(w, nullptr);
    const int owner = 0;
    const int other = 0;
    caretShow(w->caret, &owner);
    caretSetPosition(w->caret, 10, 5);
    w->caret.height = 13;
    EXPECT_EQ(caretOwnedBy(w->caret, &owner), 1);
    EXPECT_EQ(caretOwnedBy(w->caret, &other), 0);
    scriptScreenResetCounters();

    inputState.now = 5000;
    caretUpdate(*w);
    EXPECT_EQ(w->caret.shown, 1u);
    EXPECT_EQ(scriptScreen().caretCount, 1u);
    inputState.now = 5510;
    caretUpdate(*w);
    EXPECT_EQ(scriptScreen().caretCount, 1u);
    EXPECT_EQ(scriptScreen().copyCount, 0u);
    inputState.now = 5511;
    caretUpdate(*w);
    EXPECT_EQ(w->caret.shown, 0u);
    EXPECT_EQ(scriptScreen().copyCount, 1u);
    EXPECT_EQ(scriptScreen().lastX, w->x + 10);
    EXPECT_EQ(scriptScreen().lastY, w->y + 5);
    EXPECT_EQ(scriptScreen().lastWidth, 2);
    EXPECT_EQ(scriptScreen().lastHeight, 13);
    inputState.now = 6024;
    caretUpdate(*w);
    EXPECT_EQ(scriptScreen().caretCount, 2u);

    // Only its owner switches it off; then it is erased at the next update.
    caretHide(w->caret, &other);
    EXPECT_EQ(w->caret.on, 1u);
    caretHide(w->caret, &owner);
    caretUpdate(*w);
    EXPECT_EQ(w->caret.shown, 0u);
    EXPECT_EQ(scriptScreen().copyCount, 2u);
    EXPECT_EQ(scriptScreen().caretCount, 2u);
}

TEST_F(FrameTest, HostileSizesAreBoundedOrRefused) {
    for (int32_t size : {INT32_MIN, -1, 0, 1, INT32_MAX}) {
        for (uint32_t flags : {0u, 31u | CREATE_OUTER_SIZE, 63u | CREATE_MAXIMISED}) {
            Window* w = open(-1, -1, size, size, flags);
            if (w != nullptr) {
                EXPECT_GE(w->canvas.surface.width, 64) << size;
                EXPECT_GE(w->canvas.surface.height, 32) << size;
                EXPECT_EQ(w->canvas.surface.width % 2, 0) << size;
                closeTopWindow(desktop);
            }
        }
    }
    EXPECT_EQ(desktopResize(desktop, INT32_MAX, INT32_MAX), 0);
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.width, 640);
    EXPECT_EQ(desktop.desktopBitmap.width, 640);
    EXPECT_EQ(desktopResize(desktop, INT32_MIN, -5), 1);
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.width, 64);
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.height, 32);
}

} // namespace
