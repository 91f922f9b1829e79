// How the system window shows the desktop: the pointer brought into the
// desktop's pixels (dragging past the window's edges included), the picture
// after any resize, the zoom and the window sizes it asks for, and the
// settings a maximised or full-screen window leaves.
#include "shell/view.h"

#include "platform/platform_script.h"
#include "shell/mainwnd.h"
#include "tests/support/desktop_env.h"
#include "tests/support/ints.h"
#include "toolkit/config.h"
#include "toolkit/desktop.h"
#include "toolkit/frame.h"

#include <gtest/gtest.h>

namespace {

// Windows that show their background.
void plainProc(Window* window, uint32_t) {
    if (window->message == Draw) {
        canvasClear(window->canvas);
    }
}

// A desktop of 640 x 480 in a window of that size at the zoom, with a
// movable window in the middle when asked for.
Window* startDesktop(int32_t zoom, bool withWindow = false) {
    EXPECT_EQ(scriptedDesktopStart(640, 480, plainProc), nullptr);
    Window* w = withWindow ? createWindow(desktop, -1, -1, 256, 288, "Dragged",
                                          STYLE_MOVABLE | STYLE_BORDER | STYLE_3D | STYLE_TITLE,
                                          plainProc, 0)
                           : nullptr;
    view = WindowView{zoom, 2, 0, 0};
    shellWindowSized(SIZE_RESTORED, 640 * zoom, 480 * zoom);
    EXPECT_TRUE(shellPass());
    return w;
}

void stopDesktop() {
    scriptedDesktopStop();
    view = WindowView{1, 1, 0, 0};
}

} // namespace

TEST(WindowView, ADragPastAnyEdgeOfTheWindowKeepsTheGrabbedPointOnTheDesktop) {
    struct Case {
        int32_t zoom;
        int32_t toX, toY; // where the pointer leaves to, in the window's pixels
        int32_t frameX, frameY;
    };
    // The title bar is grabbed at (300, 95) of the desktop, 110 right of the
    // frame's left edge and 11 below its top; the pointer stops at the
    // desktop's last pixel each way, and a drag ends on an even x.
    for (const Case& c : {Case{1, -10, 95, -110, 84}, Case{1, 300, -10, 190, -11},
                          Case{1, 650, 95, 528, 84}, Case{1, 300, 490, 190, 468},
                          Case{2, -3000, 190, -110, 84}, Case{2, 1400, 2000, 528, 468}}) {
        Window* w = startDesktop(c.zoom, true);
        ASSERT_NE(w, nullptr);
        ASSERT_EQ(ints(w->frameX, w->frameY), ints(190, 84));
        shellPointerMoved(300 * c.zoom, 95 * c.zoom);
        MainWndProc(MSG_LEFT_DOWN, 0, 0);
        shellPass();
        shellPointerMoved(c.toX, c.toY);
        shellPass();
        MainWndProc(MSG_LEFT_UP, 0, 0);
        shellPass();
        EXPECT_EQ(ints(w->frameX, w->frameY), ints(c.frameX, c.frameY))
            << c.toX << "," << c.toY << " at zoom " << c.zoom;
        stopDesktop();
    }
}

TEST(WindowView, EveryResizeEndsWithTheWholePicture) {
    startDesktop(1);
    shellWindowSized(SIZE_RESTORED, 802, 480);
    shellPass();
    // 801 is made 802 again: the desktop keeps its size, but the screen was
    // replaced by a black one all the same.
    shellWindowSized(SIZE_RESTORED, 801, 480);
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.width, 802);
    EXPECT_EQ(screenAt(400, 300), 0);
    shellPass();
    EXPECT_EQ(screenAt(400, 300), styleColour(COLOUR_DESKTOP_BACKGROUND));
    EXPECT_EQ(screenAt(800, 479), styleColour(COLOUR_DESKTOP_BACKGROUND));

    // A new zoom in the same window: half the desktop each way.
    view.zoom = 2;
    shellWindowSized(SIZE_RESTORED, 801, 480);
    shellPass();
    EXPECT_EQ(ints(desktop.desktopWindow->canvas.surface.width,
                   desktop.desktopWindow->canvas.surface.height, scriptScreen().width),
              ints(400, 240, 400));
    EXPECT_EQ(screenAt(399, 239), styleColour(COLOUR_DESKTOP_BACKGROUND));
    stopDesktop();
}

TEST(WindowView, AMaximisedOrFullScreenWindowKeepsThePlainWindowsSize) {
    startDesktop(1);
    shellWindowSized(SIZE_RESTORED, 700, 500);
    EXPECT_STREQ(configGet("WINDX"), "700");
    shellWindowSized(SIZE_FULL_SCREEN, 1024, 768);
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.width, 1024);
    EXPECT_STREQ(configGet("FULLSCR"), "2");
    EXPECT_STREQ(configGet("WINDX"), "700");
    EXPECT_STREQ(configGet("WINDY"), "500");
    shellWindowSized(SIZE_MAXIMIZED, 1024, 740);
    EXPECT_STREQ(configGet("FULLSCR"), "1");
    EXPECT_STREQ(configGet("WINDY"), "500");
    shellWindowSized(SIZE_RESTORED, 800, 600);
    EXPECT_STREQ(configGet("FULLSCR"), "0");
    EXPECT_STREQ(configGet("WINDX"), "800");
    stopDesktop();
}

TEST(WindowView, TheZoomFollowsTheDisplayAndTheKeys) {
    for (const auto& [width, height, zoom] : {std::array{600, 400, 1},
                                              {1024, 768, 1},
                                              {1280, 960, 2},
                                              {1920, 1040, 2},
                                              {2560, 1400, 2},
                                              {2560, 1440, 3},
                                              {3840, 2120, 4}}) {
        EXPECT_EQ(largestZoom(width, height), zoom) << width << "x" << height;
    }
    EXPECT_EQ(zoomAfterKey({3, 3, 0, 0}, ZoomKey::In), 3);
    EXPECT_EQ(zoomAfterKey({1, 3, 0, 0}, ZoomKey::Out), 1);
    EXPECT_EQ(zoomAfterKey({1, 3, 0, 0}, ZoomKey::Standard), 3);

    // A plain window keeps its desktop, within the display, never below
    // the game's desktop at the new zoom.
    WindowSize size = zoomedWindowSize({1, 2, 800, 600}, 2, 1920, 1040);
    EXPECT_EQ(ints(size.width, size.height), ints(1600, 1040));
    size = zoomedWindowSize({2, 2, 1281, 961}, 1, 1920, 1040);
    EXPECT_EQ(ints(size.width, size.height), ints(640, 480));

    // At start a plain window takes the largest zoom at which it fits.
    StartupWindow w = startupWindow(1920, 1080, "640", "480", "0", 2);
    EXPECT_EQ(ints(w.zoom, w.width, w.x, w.y), ints(2, 1280, 320, 60));
    // A display exactly twice the desktop's size still takes zoom 2.
    w = startupWindow(1280, 960, "640", "480", "0", 2);
    EXPECT_EQ(ints(w.zoom, w.width, w.height), ints(2, 1280, 960));
    w = startupWindow(1920, 1080, "1000", "700", "0", 2);
    EXPECT_EQ(ints(w.zoom, w.width, w.maximised), ints(1, 1000, 0));
    // Too large even at zoom 1: maximised.
    w = startupWindow(1920, 1080, "2000", "700", "0", 2);
    EXPECT_EQ(ints(w.zoom, w.width, w.maximised), ints(1, 1920, 1));
    // Full screen takes the display's zoom and remembers the plain window.
    w = startupWindow(1920, 1080, "640", "480", "2", 2);
    EXPECT_EQ(ints(w.zoom, w.width, w.borderless, w.windowedWidth, w.windowedHeight),
              ints(2, 1920, 1, 1280, 960));
}
