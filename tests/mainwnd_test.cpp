// The main window's side of the program, on the scripted platform: the
// start-up placement, the message table and the pass that clears one-pass
// events; how the window shows the desktop: the pointer brought into the
// desktop's pixels (dragging past the window's edges included), the picture
// after any resize, the zoom and the window sizes it asks for, and the
// settings a maximised or full-screen window leaves.
#include "shell/mainwnd.h"

#include "platform/platform_script.h"
#include "shell/view.h"
#include "tests/support/datafile.h"
#include "tests/support/desktop_env.h"
#include "tests/support/ints.h"
#include "toolkit/config.h"
#include "toolkit/desktop.h"
#include "toolkit/frame.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace {

uint32_t words(int32_t low, int32_t high) {
    return (uint32_t(low) & 0xFFFF) | (uint32_t(high) << 16);
}

// Windows that show their background, so that the messages meet a real
// desktop without the game's data file.
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

// The loop's messages: the window minimised at once, restored at the fifth
// wake-up and closed at the eighth; every wait ends 55 ms later with the
// wake-up. ticksAt: the desktop's passes (Ticks) so far at each wake-up.
struct LoopScript {
    bool minimised = false;
    bool waitFailed = false;
    uint32_t now = 1000;
    int ticks = 0;
    std::vector<int64_t> ticksAt;
};
LoopScript loop;

bool scriptedMessages(bool wait) {
    if (!std::exchange(loop.minimised, true)) {
        MainWndProc(MSG_SIZE, SIZE_MINIMIZED, 0);
        return true;
    }
    // The first wait fails, as a wait may: the loop has to wait again.
    if (!wait || !std::exchange(loop.waitFailed, true)) {
        return false;
    }
    loop.now += WAKE_UP_MS;
    scriptSetTime(loop.now);
    loop.ticksAt.push_back(loop.ticks);
    MainWndProc(MSG_TIMER, 0, 0);
    if (loop.ticksAt.size() == 5) {
        MainWndProc(MSG_SIZE, SIZE_RESTORED, words(640, 480));
    }
    if (loop.ticksAt.size() == 8) {
        MainWndProc(MSG_CLOSE, 0, 0);
    }
    return true;
}

void tickCountingProc(Window* window, uint32_t) {
    if (window->message == Tick) {
        loop.ticks++;
    }
}

} // namespace

TEST(StartupWindow, SizeZoomModeAndPlacementFromTheSettingsAndTheDisplay) {
    struct Case {
        int32_t screenWidth, screenHeight;
        const char *windx, *windy, *fullscr;
        int32_t largest;
        // zoom, x, y, width, height, mode, maximised, borderless, and the
        // plain window's width and height
        std::vector<int64_t> window;
    };
    const Case cases[] = {
        // Small sizes, or no number at all, are raised to the game's and centred.
        {1024, 768, "300", "200", "0", 1, ints(1, 192, 144, 640, 480, 0, 0, 0, 640, 480)},
        {1024, 768, "wide", "-5", "0", 1, ints(1, 192, 144, 640, 480, 0, 0, 0, 640, 480)},
        {1024, 768, "800", "600", "0", 1, ints(1, 112, 84, 800, 600, 0, 0, 0, 800, 600)},
        // Too wide for the screen: screen-sized and maximised.
        {1024, 768, "1100", "480", "0", 1, ints(1, 0, 0, 1024, 768, 1, 1, 0, 1024, 480)},
        {1024, 768, "640", "480", "2", 1, ints(1, 0, 0, 1024, 768, 2, 1, 1, 640, 480)},
        // Unknown modes: a screen-sized window shown normally.
        {1024, 768, "640", "480", "", 1, ints(1, 0, 0, 1024, 768, -48, 0, 0, 640, 480)},
        {1024, 768, "640", "480", "5", 1, ints(1, 0, 0, 1024, 768, 5, 0, 0, 640, 480)},
        // A plain window takes the largest zoom at which it fits, a display
        // exactly twice the desktop's size included.
        {1920, 1080, "640", "480", "0", 2, ints(2, 320, 60, 1280, 960, 0, 0, 0, 1280, 960)},
        {1280, 960, "640", "480", "0", 2, ints(2, 0, 0, 1280, 960, 0, 0, 0, 1280, 960)},
        {1920, 1080, "1000", "700", "0", 2, ints(1, 460, 190, 1000, 700, 0, 0, 0, 1000, 700)},
        // Too large even at zoom 1: maximised.
        {1920, 1080, "2000", "700", "0", 2, ints(1, 0, 0, 1920, 1080, 1, 1, 0, 1920, 700)},
        // Full screen takes the display's zoom and remembers the plain window.
        {1920, 1080, "640", "480", "2", 2, ints(2, 0, 0, 1920, 1080, 2, 1, 1, 1280, 960)},
    };
    for (const Case& c : cases) {
        const StartupWindow w =
            startupWindow(c.screenWidth, c.screenHeight, c.windx, c.windy, c.fullscr, c.largest);
        EXPECT_EQ(ints(w.zoom, w.x, w.y, w.width, w.height, w.mode, w.maximised, w.borderless,
                       w.windowedWidth, w.windowedHeight),
                  c.window)
            << c.windx << " x " << c.windy << " mode " << c.fullscr << " on " << c.screenWidth;
    }
}

TEST(MainWindowMessages, SizeKeysMouseAndCloseReachTheDesktopAndTheInputState) {
    ASSERT_EQ(scriptedDesktopStart(640, 480, plainProc), nullptr);
    MainWndProc(MSG_SIZE, SIZE_RESTORED, words(801, 600));
    EXPECT_EQ(ints(desktop.desktopWindow->canvas.surface.width,
                   desktop.desktopWindow->canvas.surface.height),
              ints(802, 600));
    // Wider than 11 bits still arrives whole, and minimising keeps the size.
    MainWndProc(MSG_SIZE, SIZE_MAXIMIZED, words(2560, 1400));
    MainWndProc(MSG_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(ints(desktop.minimized, desktop.desktopWindow->canvas.surface.width), ints(1u, 2560));
    MainWndProc(MSG_SIZE, SIZE_RESTORED, words(2560, 1400));
    EXPECT_EQ(desktop.minimized, 0u);

    KeyboardState& keys = inputState.keys;
    desktop.awake = 0;
    EXPECT_EQ(MainWndProc(MSG_KEY_DOWN, KEY_RIGHT, 0), 0);
    EXPECT_EQ(ints(desktop.awake, keys.lastKey, keys.down[KEY_RIGHT]), ints(1u, KEY_RIGHT, 1));
    MainWndProc(MSG_KEY_UP, KEY_RIGHT, 0);
    // The last key is cleared only after the pass.
    EXPECT_EQ(ints(keys.down[KEY_RIGHT], keys.lastKey), ints(0, KEY_RIGHT));
    // A control character is a key, not text.
    MainWndProc(MSG_KEY_DOWN, 0x141, 0);
    MainWndProc(MSG_CHAR, 'a', 0);
    MainWndProc(MSG_CHAR, 13, 0);
    EXPECT_EQ(ints(keys.lastKey, keys.lastChar), ints(0x41, 'a'));

    ASSERT_TRUE(shellPass());
    EXPECT_EQ(ints(keys.lastKey, keys.lastChar, keys.down[0x41]), ints(0, 0, 1));

    // Alt alone: altPressed for one pass, no letter.
    MainWndProc(MSG_SYS_KEY_DOWN, KEY_ALT, 0);
    MainWndProc(MSG_SYS_KEY_UP, KEY_ALT, 0);
    EXPECT_EQ(ints(keys.altPressed, keys.altHeld, keys.altLetter, keys.lastKey), ints(1u, 0, 0, 0));
    ASSERT_TRUE(shellPass());
    EXPECT_EQ(keys.altPressed, 0u);

    // Alt+space is no letter, and system characters are none; Alt with a
    // letter is the SDL input's tests' own.
    MainWndProc(MSG_SYS_KEY_DOWN, KEY_ALT, 0);
    EXPECT_EQ(MainWndProc(MSG_SYS_KEY_DOWN, KEY_SPACE, 0), 0);
    EXPECT_EQ(MainWndProc(MSG_SYS_CHAR, 'a', 0), 0);
    EXPECT_EQ(ints(keys.altLetter, keys.lastChar), ints(0, 0));

    MouseState& mouse = inputState.mouse;
    EXPECT_EQ(MainWndProc(MSG_MOUSE_MOVE, 0, words(120, 45)), 1);
    EXPECT_EQ(ints(mouse.moved, mouse.x, mouse.y), ints(1u, 120, 45));
    // The press reports the last move position.
    MainWndProc(MSG_LEFT_DOWN, 0, words(300, 300));
    EXPECT_EQ(ints(mouse.pressX, mouse.pressY), ints(120, 45));
    ASSERT_TRUE(shellPass());
    EXPECT_EQ(ints(mouse.moved, mouse.x), ints(0u, 120));
    // Each button and wheel message is an event for one pass, and the
    // system's own handling sees it too.
    struct Case {
        uint32_t message, wParam;
        uint32_t MouseState::*event;
    };
    for (const Case& c : {Case{MSG_LEFT_DOWN, 0, &MouseState::leftPressed},
                          {MSG_LEFT_UP, 0, &MouseState::leftReleased},
                          {MSG_RIGHT_DOWN, 0, &MouseState::rightPressed},
                          {MSG_RIGHT_UP, 0, &MouseState::rightReleased},
                          {MSG_MIDDLE_DOWN, 0, &MouseState::middlePressed},
                          {MSG_MIDDLE_UP, 0, &MouseState::middleReleased},
                          {MSG_WHEEL, 120, &MouseState::wheelForward},
                          {MSG_WHEEL, uint32_t(-120), &MouseState::wheelBackward}}) {
        EXPECT_EQ(MainWndProc(c.message, c.wParam, 0), 1) << c.message;
        EXPECT_EQ(mouse.*c.event, 1u) << c.message;
        ASSERT_TRUE(shellPass());
        EXPECT_EQ(mouse.*c.event, 0u) << c.message;
    }
    EXPECT_EQ(MainWndProc(0x7FFF, 0, 0), 1);

    // A negative position from a captured pointer arrives as 16 unsigned bits.
    MainWndProc(MSG_MOUSE_MOVE, 0, words(-1, 3));
    EXPECT_EQ(mouse.x, 65535);

    desktop.needsRedraw = 0;
    MainWndProc(MSG_KILL_FOCUS, 0, 0);
    MainWndProc(MSG_PAINT, 0, 0);
    EXPECT_EQ(ints(mouse.leftReleased, desktop.needsRedraw), ints(1u, 1u));

    // Close wakes a suspended program and asks every window to close.
    Window* second = createWindow(desktop, -1, -1, 200, 100, "Second", 31, plainProc, 0);
    ASSERT_NE(second, nullptr);
    suspended = 1;
    EXPECT_EQ(MainWndProc(MSG_CLOSE, 0, 0), 0);
    EXPECT_EQ(ints(suspended, second->closeRequested, desktop.desktopWindow->closeRequested),
              ints(0u, 1u, 1u));
    scriptedDesktopStop();
}

TEST(MessageLoop, WaitsWhenIdleStandsStillWhenSuspendedAndEndsWithTheDesktop) {
    // Suspended, no pass at all until the window was restored, then one a
    // wake-up; minimised without suspension, a pass after every wake-up.
    for (const auto& [suspend, ticksAt] : {std::pair{"1", ints(0, 0, 0, 0, 0, 1, 2, 3)},
                                           std::pair{"0", ints(1, 2, 3, 4, 5, 6, 7, 8)}}) {
        ASSERT_EQ(scriptedDesktopStart(640, 480, tickCountingProc), nullptr);
        configSet("SUSPEND", suspend);
        loop = LoopScript{};
        runMessageLoop(scriptedMessages);
        EXPECT_EQ(loop.ticksAt, ticksAt) << suspend;
        scriptedDesktopStop();
    }
}

TEST(ShellStart, PlatformAndDesktopFailuresAreReportedAndASuccessIsAwake) {
    // A failed desktop still writes Cfg.txt, so this runs in a folder of its own.
    TempDir folder("mainwnd");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path);
    scriptedPlatformStart(640, 480);
    shellBegin();
    scriptFailPlatformInit(3);
    EXPECT_STREQ(shellStartDesktop(640, 480), "Failed to init timer");
    scriptFailPlatformInit(0);
    // The desktop bitmap is the first thing the desktop asks for.
    scriptSetBitmapBudget(0);
    EXPECT_STREQ(shellStartDesktop(640, 480), "Failed to init desktop window");
    scriptSetBitmapBudget(-1);
    EXPECT_EQ(platform.clientWidth, 640);
    EXPECT_TRUE(std::filesystem::exists(folder.path / "Cfg.txt"));
    // A start that succeeds leaves nothing suspended and knows its window.
    suspended = 1;
    view.width = 0;
    EXPECT_EQ(shellStartDesktop(640, 480), nullptr);
    EXPECT_EQ(ints(suspended, view.width, view.height), ints(0u, 640, 480));
    scriptedDesktopStop();
    std::filesystem::current_path(previous);
}

TEST(WindowView, ADragPastAnyEdgeOfTheWindowKeepsTheGrabbedPointOnTheDesktop) {
    // The title bar is grabbed at (300, 95) of the desktop, 110 right of the
    // frame's left edge and 11 below its top; the pointer stops at the
    // desktop's last pixel each way, and a drag ends on an even x. Each case:
    // the zoom, where the pointer leaves to in the window's pixels, and where
    // the frame ends.
    const std::array<int32_t, 5> cases[] = {{1, -10, 95, -110, 84},    {1, 300, -10, 190, -11},
                                            {1, 650, 95, 528, 84},     {1, 300, 490, 190, 468},
                                            {2, -3000, 190, -110, 84}, {2, 1400, 2000, 528, 468}};
    for (const auto& [zoom, toX, toY, frameX, frameY] : cases) {
        Window* w = startDesktop(zoom, true);
        ASSERT_NE(w, nullptr);
        ASSERT_EQ(ints(w->frameX, w->frameY), ints(190, 84));
        shellPointerMoved(300 * zoom, 95 * zoom);
        MainWndProc(MSG_LEFT_DOWN, 0, 0);
        shellPass();
        shellPointerMoved(toX, toY);
        shellPass();
        MainWndProc(MSG_LEFT_UP, 0, 0);
        shellPass();
        EXPECT_EQ(ints(w->frameX, w->frameY), ints(frameX, frameY))
            << toX << "," << toY << " at zoom " << zoom;
        stopDesktop();
    }
}

TEST(WindowView, AMaximisedOrFullScreenWindowKeepsThePlainSizeAndEveryResizeRedrawsAll) {
    startDesktop(1);
    const auto settings = [] {
        return std::string(configGet("FULLSCR")) + " " + configGet("WINDX") + " " +
               configGet("WINDY");
    };
    shellWindowSized(SIZE_RESTORED, 700, 500);
    EXPECT_EQ(settings(), "0 700 500");
    shellWindowSized(SIZE_FULL_SCREEN, 1024, 768);
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.width, 1024);
    EXPECT_EQ(settings(), "2 700 500");
    shellWindowSized(SIZE_MAXIMIZED, 1024, 740);
    EXPECT_EQ(settings(), "1 700 500");
    shellWindowSized(SIZE_RESTORED, 802, 480);
    EXPECT_EQ(settings(), "0 802 480");
    shellPass();
    // 801 is made 802 again: the desktop keeps its size, but the screen was
    // replaced by a black one all the same.
    shellWindowSized(SIZE_RESTORED, 801, 480);
    const int32_t background = styleColour(COLOUR_DESKTOP_BACKGROUND);
    EXPECT_EQ(ints(desktop.desktopWindow->canvas.surface.width, screenAt(400, 300)), ints(802, 0));
    shellPass();
    EXPECT_EQ(ints(screenAt(400, 300), screenAt(800, 479)), ints(background, background));

    // A new zoom in the same window: half the desktop each way.
    view.zoom = 2;
    shellWindowSized(SIZE_RESTORED, 801, 480);
    shellPass();
    EXPECT_EQ(ints(desktop.desktopWindow->canvas.surface.width,
                   desktop.desktopWindow->canvas.surface.height, scriptScreen().width),
              ints(400, 240, 400));
    EXPECT_EQ(screenAt(399, 239), background);
    stopDesktop();
}

TEST(WindowView, TheZoomFollowsTheDisplayAndTheKeys) {
    const std::array<int32_t, 3> displays[] = {{600, 400, 1},   {1024, 768, 1},  {1280, 960, 2},
                                               {1920, 1040, 2}, {2560, 1400, 2}, {2560, 1440, 3},
                                               {3840, 2120, 4}};
    for (const auto& [width, height, zoom] : displays) {
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
}
