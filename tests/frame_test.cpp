// Window frames on the scripted desktop: placement, maximise and restore,
// moving, dragging and resizing, the frame's picture and the caret.
#include "toolkit/frame.h"

#include "platform/platform_script.h"
#include "tests/support/desktop_env.h"
#include "tests/support/golden.h"
#include "tests/support/ints.h"
#include "toolkit/desktop.h"
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

int sizeMessages;

// Fills its canvas with a colour chosen by its param.
void PlainWindowProc(Window* w, uint32_t param) {
    sizeMessages += w->message == Size;
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
        desktop.current = nullptr;
        return createWindow(desktop, x, y, width, height, "Frame", flags, PlainWindowProc, 1);
    }
    void pass() {
        updatePass(desktop);
        mouseClearEvents(inputState.mouse);
    }
};

std::vector<int64_t> frameOf(const Window& w) {
    return ints(w.frameX, w.frameY, w.x, w.y, w.canvas.surface.width, w.canvas.surface.height,
                w.frameWidth, w.frameHeight);
}

TEST_F(FrameTest, StyleFlagsDecideTheTitleBarTheInsetsAndThePlacement) {
    EXPECT_EQ(ints(titleFontHeight(), styleWithTitle(1), styleWithTitle(8), styleWithTitle(32),
                   styleWithTitle(6), styleWithTitle(31)),
              ints(13, 17, 24, 48, 6, 31));
    const FrameInsets game = frameInsets(31), titleOnly = frameInsets(16);
    EXPECT_EQ(ints(game.left, game.top, game.right, game.bottom, titleOnly.left, titleOnly.top),
              ints(2, 21, 2, 2, 0, 19));

    // Centred; the title bar leaves room for the close button.
    Window* w = open(-1, -1, 256, 288, 31);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(frameOf(*w), ints(190, 84, 192, 105, 256, 288, 260, 311));
    EXPECT_EQ(ints(w->titleX, w->titleY, w->titleWidth, w->titleHeight, w->buttonAreaX,
                   w->buttonAreaY, w->buttonAreaWidth, w->minWidth, w->minHeight, w->sized),
              ints(192, 86, 237, 19, 410, 86, 38, 68, 55, 1));
    EXPECT_EQ(ints(w->closeButton.rect.x, w->closeButton.rect.y, w->closeButton.rect.width),
              ints(429, 87, 16));
    // The frame's size given: the client gets what the frame leaves.
    EXPECT_EQ(frameOf(*open(101, 50, 300, 200, 31 | CREATE_OUTER_SIZE)),
              ints(100, 50, 102, 71, 296, 177, 300, 200));
    // Wider than the desktop: the halving rounds toward minus infinity, then
    // the frame goes to the even column at or left of it.
    EXPECT_EQ(frameOf(*open(-1, -1, 701, 100, 31)), ints(-34, 178, -32, 199, 700, 100, 704, 123));
    EXPECT_EQ(open(-1, -1, 701, 100, 0)->frameX, -32);
    // Maximised at creation the frame keeps only its title bar and buttons.
    Window* full = open(7, 9, 100, 100, 63 | CREATE_MAXIMISED);
    EXPECT_EQ(ints(full->maximised, full->flags, full->baseFlags), ints(1, 56, 63));
    EXPECT_EQ(frameOf(*full), ints(0, 0, 0, 19, 640, 461, 640, 480));
    // No style flags, no frame at all; a title-only window.
    EXPECT_EQ(frameOf(*open(11, 20, 101, 80, 0)), ints(10, 20, 10, 20, 100, 80, 100, 80));
    Window* movable = open(100, 100, 100, 50, 1);
    EXPECT_EQ(ints(movable->flags, movable->y - movable->frameY), ints(17, 19));
}

TEST_F(FrameTest, PlacementKeepsEvenColumnsAndTheMinimumSizeOrAMovableFrame) {
    Window* w = open(10, 10, 100, 100, 31);
    ASSERT_NE(w, nullptr);
    sizeMessages = 0;
    EXPECT_EQ(placeWindow(*w, 51, 40, 231, 100, false, false), 1);
    EXPECT_EQ(ints(w->frameX, w->x, w->canvas.surface.width, w->frameWidth, sizeMessages,
                   w->redrawRequested),
              ints(50, 52, 230, 234, 1, 1));
    EXPECT_EQ(placeWindow(*w, 0, 0, 10, 10, false, false), 1);
    EXPECT_EQ(ints(w->canvas.surface.width, w->canvas.surface.height), ints(68, 55));
    setMinimumSize(*w, 150, 10);
    EXPECT_EQ(ints(w->minWidth, w->minHeight), ints(154, 55));

    // A canvas that cannot be made leaves a movable, framed window.
    Window* bare = open(10, 10, 100, 100, 0);
    scriptSetBitmapBudget(0);
    EXPECT_EQ(placeWindow(*bare, 20, 20, 300, 300, false, false), 0);
    EXPECT_EQ(ints(bare->flags, bare->sized, bare->canvas.surface.width), ints(19, 0, 100));
    scriptSetBitmapBudget(-1);
    for (int32_t size : {INT32_MIN, -1, 0, 1, INT32_MAX}) {
        for (uint32_t flags : {0u, 31u | CREATE_OUTER_SIZE, 63u | CREATE_MAXIMISED}) {
            Window* hostile = open(-1, -1, size, size, flags);
            if (hostile != nullptr) {
                EXPECT_GE(hostile->canvas.surface.width, 64) << size;
                EXPECT_GE(hostile->canvas.surface.height, 32) << size;
                EXPECT_EQ(hostile->canvas.surface.width % 2, 0) << size;
                closeTopWindow(desktop);
            }
        }
    }
}

TEST_F(FrameTest, MaximiseAndRestoreWithinTheDesktop) {
    Window* w = open(101, 51, 300, 200, 63);
    ASSERT_NE(w, nullptr);
    maximiseWindow(*w);
    EXPECT_EQ(ints(w->maximised, w->flags), ints(1, 56));
    EXPECT_EQ(frameOf(*w), ints(0, 0, 0, 19, 640, 461, 640, 480));
    restoreWindow(*w);
    EXPECT_EQ(ints(w->maximised, w->flags), ints(0, 63));
    EXPECT_EQ(frameOf(*w), ints(100, 51, 102, 72, 300, 200, 304, 223));
    // A minimum wider than the desktop: the maximise is only remembered.
    setMinimumSize(*w, 700, 100);
    maximiseWindow(*w);
    EXPECT_EQ(ints(w->maximised, w->limitedMaximised, w->flags, w->canvas.surface.width,
                   w->canvas.surface.height),
              ints(0, 1, 63, 704, 461));
    restoreWindow(*w);
    EXPECT_EQ(
        ints(w->limitedMaximised, w->frameX, w->canvas.surface.width, w->canvas.surface.height),
        ints(0, 100, 704, 200));
    // A restore rectangle larger than the desktop is brought inside it.
    setMinimumSize(*w, 64, 32);
    maximiseWindow(*w);
    w->snapshot.frameWidth = 900;
    w->snapshot.frameHeight = 900;
    restoreWindow(*w);
    EXPECT_EQ(ints(w->frameX, w->frameY, w->frameWidth, w->frameHeight),
              ints(10, 10, 620, 460)); // Restored where it was, then kept on the desktop.
    moveWindow(*w, 620, 450);
    maximiseWindow(*w);
    restoreWindow(*w);
    EXPECT_EQ(ints(w->x, w->y), ints(600, 440));
}

TEST_F(FrameTest, MovesAreEvenAndKeepPartOfTheWindowOnTheDesktop) {
    Window* w = open(100, 100, 200, 100, 31);
    ASSERT_NE(w, nullptr);
    desktop.needsRedraw = 0;
    moveWindow(*w, 701, 470);
    EXPECT_EQ(frameOf(*w), ints(698, 449, 700, 470, 200, 100, 204, 123));
    EXPECT_EQ(ints(w->previousFrameX, w->titleX, w->titleY, w->buttonAreaX, w->closeButton.rect.x,
                   desktop.needsRedraw),
              ints(100, 700, 451, 862, 881, 1));
    keepOnScreen(*w);
    EXPECT_EQ(ints(w->x, w->y), ints(600, 440));
    moveWindow(*w, -1000, -50);
    keepOnScreen(*w);
    EXPECT_EQ(ints(w->x, w->y), ints(-160, 20));
    desktop.needsRedraw = 0;
    moveWindow(*w, -159, 20); // the same even position
    EXPECT_EQ(desktop.needsRedraw, 0u);
}

TEST_F(FrameTest, DragByTheTitleBarRedrawsTheScreenAndEndsOnAnEvenColumn) {
    Window* w = open(100, 100, 200, 100, 31); // client at (102, 121), title bar from row 102
    ASSERT_NE(w, nullptr);
    pass();
    desktop.awake = 5;
    play("122,171 d +0 u +0"); // the client area is no handle
    EXPECT_EQ(desktop.dragging, nullptr);
    // The bar's top row is; the pass that starts the drag ticks nothing.
    play("122,102 d +0");
    EXPECT_EQ(ints(desktop.dragging == w, desktop.awake, screenAt(102, 121)), ints(1, 3, 0x0B0B));
    play("173,132 +0");
    EXPECT_EQ(ints(w->x, w->y, w->dragActive, screenAt(153, 151), screenAt(112, 131)),
              ints(153, 151, 1, 0x0B0B, 0x0A0A));
    // Moving up, the screen gets back what lay under the old frame's light
    // edge and its three rows and columns of shadow.
    play("173,92 +0");
    EXPECT_EQ(ints(w->y, screenAt(200, 254), screenAt(200, 255), screenAt(150, 240)),
              ints(111, 0x0A0A, 0x0A0A, 0x0A0A));
    play("u +0");
    EXPECT_EQ(ints(w->x, w->frameX, w->dragActive, desktop.awake), ints(152, 150, 0, 3));
    play("+0");
    EXPECT_EQ(ints(desktop.dragging == nullptr, desktop.awake), ints(1, 2));
    // The backup is the picture without the window.
    EXPECT_EQ(desktop.backup.pixels[131 * 640 + 112], 0x0A0A);
}

TEST_F(FrameTest, ResizeByTheEdgesShowsTheOutlineAndKeepsTheMinimum) {
    Window* w = open(100, 100, 300, 200, 63);
    ASSERT_NE(w, nullptr);
    const int32_t fx = w->frameX, fy = w->frameY, fw = w->frameWidth, fh = w->frameHeight;
    struct Case {
        int32_t x, y;
        uint32_t edge, shape;
    };
    const Case cases[] = {{fx + 5, fy + 50, 1, 2},      {fx + 6, fy + 50, 0, 1},
                          {fx + fw - 6, fy + 50, 0, 1}, {fx + fw - 5, fy + 50, 2, 2},
                          {fx + 50, fy + 5, 4, 3},      {fx + 50, fy + 6, 0, 1},
                          {fx + 50, fy + fh - 5, 8, 3}, {fx + 50, fy + fh - 6, 0, 1},
                          {fx + 1, fy + 1, 5, 4},       {fx + fw - 1, fy + fh - 1, 10, 4},
                          {fx + fw - 1, fy + 1, 6, 5},  {fx + 1, fy + fh - 2, 9, 5}};
    for (const Case& c : cases) {
        scriptMouseMove(c.x, c.y);
        resizeHover(*w);
        EXPECT_EQ(ints(w->resizeEdge, inputState.mouse.cursorShape), ints(c.edge, c.shape))
            << c.x << "," << c.y;
    }
    // From the left edge, dragged far to the right: never below minWidth.
    pass();
    scriptMouseMove(fx + 2, fy + 50);
    pass();
    scriptLeftDown();
    pass();
    ASSERT_EQ(desktop.resizing, w);
    EXPECT_EQ(ints(w->fixedX, w->movingX, w->fixedY, w->movingY), ints(fx + fw, fx, fy, fy + fh));
    scriptMouseMove(fx + 500, fy + 50);
    scriptScreenResetCounters();
    scriptSetTime(2000);
    pass();
    EXPECT_EQ(w->movingX, fx + fw - w->minWidth);
    // The outline reached the screen, but not the desktop window's canvas.
    EXPECT_EQ(
        ints(scriptScreen().copyCount, screenAt(w->movingX + 4, fy + 1), desktop.nextBandTime),
        ints(1, 0xFFFF, 2050));
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.pixels[size_t(fy + 1) * 640 + w->movingX + 4],
              desktop.backup.pixels[size_t(fy + 1) * 640 + size_t(w->movingX + 4)]);
    scriptSetTime(2050);
    pass();
    EXPECT_EQ(scriptScreen().copyCount, 1u);
    scriptLeftUp();
    pass();
    EXPECT_EQ(ints(w->resizeActive, w->frameX, w->frameWidth, w->canvas.surface.height),
              ints(0, fx + fw - w->minWidth, w->minWidth + 4, 200));
}

TEST_F(FrameTest, ActiveFrameWithShadowAndInactiveTitle) {
    desktop.shadows = 1;
    Window* w = open(40, 30, 120, 50, 63);
    ASSERT_NE(w, nullptr);
    pass();
    // The frame, its light edge and its drop shadow, straight from the screen.
    const std::vector<uint16_t> crop =
        screenCrop(w->frameX - 2, w->frameY - 2, w->frameWidth + 7, w->frameHeight + 7);
    EXPECT_TRUE(matchesGolden("frame", w->frameWidth + 7, w->frameHeight + 7, crop.data()));
    // Three quarters of the desktop colour beside and below the frame.
    EXPECT_EQ(ints(screenAt(w->frameX + w->frameWidth + 1, w->frameY + 20),
                   screenAt(w->frameX + 10, w->frameY + w->frameHeight + 2),
                   screenAt(w->frameX + 10, w->frameY + w->frameHeight + 3)),
              ints(0x0187, 0x0187, 0x0A0A));
    w->active = 0;
    desktop.needsRedraw = 1;
    pass();
    EXPECT_EQ(screenAt(w->titleX + 60, w->titleY + 1), 0x94B2);
}

TEST_F(FrameTest, CaretBlinksIsErasedWhereItWasWhenMovedAndOnlyItsOwnerSwitchesItOff) {
    Window* w = open(100, 100, 200, 100, 31);
    ASSERT_NE(w, nullptr);
    const int owner = 0, other = 0;
    caretShow(w->caret, &owner);
    caretSetPosition(w->caret, 10, 5);
    w->caret.height = 13;
    EXPECT_EQ(ints(caretOwnedBy(w->caret, &owner), caretOwnedBy(w->caret, &other)), ints(1, 0));
    scriptScreenResetCounters();
    auto lastCopy = [] {
        const std::vector<int64_t> copy = lastScreenCopy();
        return std::vector<int64_t>(copy.begin() + 1, copy.end());
    };
    auto at = [w](uint32_t now) {
        inputState.now = now;
        caretUpdate(*w);
        const ScriptScreen& s = scriptScreen();
        return ints(w->caret.shown, s.caretCount, s.copyCount);
    };
    EXPECT_EQ(at(5000), ints(1, 1, 0));
    EXPECT_EQ(at(5510), ints(1, 1, 0));
    EXPECT_EQ(at(5511), ints(0, 1, 1));
    EXPECT_EQ(lastCopy(), ints(w->x + 10, w->y + 5, 2, 13));
    EXPECT_EQ(at(6024), ints(1, 2, 1));
    // Moved while shown: the old strip goes and the new one shows at once.
    caretSetPosition(w->caret, 40, 7);
    EXPECT_EQ(at(6030), ints(1, 3, 2));
    EXPECT_EQ(lastCopy(), ints(w->x + 10, w->y + 5, 2, 13));
    // Only its owner switches it off; it is then erased at the next update.
    caretHide(w->caret, &other);
    EXPECT_EQ(w->caret.on, 1u);
    caretHide(w->caret, &owner);
    EXPECT_EQ(at(6040), ints(0, 3, 3));
    EXPECT_EQ(lastCopy(), ints(w->x + 40, w->y + 7, 2, 13));
    // A strip at the canvas's edge is erased only where it lies inside.
    caretShow(w->caret, &owner);
    caretSetPosition(w->caret, 199, -4);
    at(7000);
    caretHide(w->caret, &owner);
    at(7010);
    EXPECT_EQ(lastCopy(), ints(w->x + 199, w->y, 1, 9));
}

} // namespace
