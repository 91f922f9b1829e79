#include "toolkit/desktop.h"

#include "platform/platform_script.h"
#include "tests/support/datafile.h"
#include "tests/support/desktop_env.h"
#include "toolkit/config.h"
#include "toolkit/font.h"
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// What a test window does on each message; windows are told apart by their
// param (0 is the desktop window, 'A' in the event log).
struct Behaviour {
    bool closeInCreate;
    bool refuseClose;
    bool redrawOnTick;
    bool openOnTick; // opens a child window (param 7) on its next Tick
    bool openInDraw; // tries to open a window while being drawn
    bool openInSize; // ... while being sized
    bool closeOnTick;
    bool closeItselfOnTick; // calls closeTopWindow instead of asking
    uint16_t colour;        // fills its canvas with it on Draw
};

Behaviour behaviours[8];
std::vector<std::string> events;
std::vector<Window*> nestedResults;

const char* messageName(uint32_t m) {
    static const char* names[] = {"Create", "Tick", "Draw", "Size", "Close"};
    return m < 5 ? names[m] : "?";
}

void RecordingWindowProc(Window* w, uint32_t param) {
    events.push_back(std::string(1, char('A' + param)) + " " + messageName(w->message));
    Behaviour& b = behaviours[param];
    switch (w->message) {
    case Create:
        if (b.closeInCreate) {
            w->closeRequested = 1;
        }
        break;
    case Tick:
        if (b.redrawOnTick) {
            w->redrawRequested = 1;
        }
        if (b.closeOnTick) {
            w->closeRequested = 1;
        }
        if (b.closeItselfOnTick) {
            closeTopWindow(desktop);
            return;
        }
        if (b.openOnTick) {
            b.openOnTick = false;
            createWindow(desktop, -1, -1, 100, 60, "child", 31, RecordingWindowProc, 7);
        }
        break;
    case Draw:
        surfaceFill(w->canvas.surface, b.colour);
        if (param == 0) {
            // Something besides a flat colour, so that a picture that was
            // only partly restored shows.
            surfaceFillRect(w->canvas.surface, 10, 10, 29, 19, 0x1234);
        }
        if (b.openInDraw) {
            nestedResults.push_back(
                createWindow(desktop, -1, -1, 100, 60, "x", 31, RecordingWindowProc, 7));
        }
        break;
    case Size:
        if (b.openInSize) {
            nestedResults.push_back(
                createWindow(desktop, -1, -1, 100, 60, "x", 31, RecordingWindowProc, 7));
        }
        break;
    case Close:
        if (b.refuseClose) {
            w->closeRequested = 0;
        }
        break;
    }
}

std::vector<std::string> takeEvents() {
    std::vector<std::string> taken;
    taken.swap(events);
    return taken;
}

using Events = std::vector<std::string>;

class DesktopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (Behaviour& b : behaviours) {
            b = Behaviour{};
        }
        behaviours[0].colour = 0x0A0A;
        events.clear();
        nestedResults.clear();
    }
    void TearDown() override { scriptedDesktopStop(); }

    void start(int32_t width = 640, int32_t height = 480) {
        ASSERT_EQ(scriptedDesktopStart(width, height, RecordingWindowProc), nullptr);
    }
    Window* open(uint32_t param, int32_t width = 200, int32_t height = 100) {
        return createWindow(desktop, -1, -1, width, height, "test", 31, RecordingWindowProc, param);
    }
};

std::vector<uint16_t> pixelsOf(const Surface& s) {
    return std::vector<uint16_t>(s.pixels, s.pixels + size_t(s.width) * size_t(s.height));
}

uint16_t screenAt(int32_t x, int32_t y) {
    const ScriptScreen& s = scriptScreen();
    return s.pixels[size_t(y) * size_t(s.width) + size_t(x)];
}

TEST_F(DesktopTest, InitCreatesTheDesktopWindowAndFillsTheStyleTable) {
    start(641, 480);
    EXPECT_EQ(takeEvents(), (Events{"A Create", "A Size", "A Draw"}));
    ASSERT_EQ(desktop.count, 1);
    Window* dw = desktop.desktopWindow;
    ASSERT_EQ(dw, desktop.windows[0]);
    EXPECT_STREQ(dw->title, "DeskTop");
    EXPECT_EQ(dw->flags, 0u);
    EXPECT_EQ(dw->maximised, 1u);
    EXPECT_EQ(dw->param, 0u);
    EXPECT_EQ(dw->createDone, 1u);
    EXPECT_EQ(dw->x, 0);
    EXPECT_EQ(dw->y, 0);
    // Canvases and the desktop's surfaces are even wide.
    EXPECT_EQ(dw->canvas.surface.width, 640);
    EXPECT_EQ(dw->canvas.surface.height, 480);
    EXPECT_EQ(desktop.desktopBitmap.width, 640);
    EXPECT_EQ(desktop.desktopBitmap.height, 480);
    EXPECT_EQ(desktop.backup.width, 640);
    EXPECT_EQ(desktop.backup.height, 480);
    EXPECT_EQ(dw->canvas.background, 0x02EF);
    EXPECT_EQ(dw->canvas.font, &builtinFonts[0]);
    // The desktop bitmap holds the desktop window's own drawing.
    EXPECT_EQ(pixelsOf(desktop.desktopBitmap), pixelsOf(dw->canvas.surface));
    EXPECT_EQ(desktop.desktopBitmap.pixels[15 * 640 + 15], 0x1234);
    EXPECT_EQ(dw->redrawRequested, 1u);
    EXPECT_EQ(desktop.needsRedraw, 1u);
    // The scripted clock stands still, so the display counts as fast.
    EXPECT_EQ(platform.slowDisplay, 0u);
    EXPECT_EQ(desktop.shadows, 1u);
    EXPECT_EQ(desktop.doubleClickTime, 320);

    EXPECT_EQ(styleTable.titleFont, 0);
    EXPECT_EQ(styleTable.tooltipFont, 1);
    EXPECT_EQ(styleTable.colours[39], 0xFFFF); // the last colour in use

    // Another window: its own background colour, messages in order.
    Window* w = open(1);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(takeEvents(), (Events{"B Create", "B Size", "B Draw"}));
    EXPECT_EQ(w->canvas.background, 0xBDF7);
    EXPECT_EQ(w->flags, 31u);
    EXPECT_EQ(w->active, 1u);
    EXPECT_EQ(desktop.count, 2);
}

TEST_F(DesktopTest, ShadowsFollowWSHADOWAndDoubleClickTimeIsClamped) {
    struct Case {
        const char* clk2dt;
        const char* wshadow;
        int32_t time;
        uint32_t shadows;
    };
    const Case cases[] = {
        {"100", "1", 160, 1},  {"1000", "0", 450, 0}, {"fast", "yes", 160, 0},
        {"300", "10", 300, 1}, {"-5", "1", 160, 1},
    };
    for (const Case& c : cases) {
        scriptedPlatformStart(640, 480);
        configSet("CLK2DT", c.clk2dt);
        configSet("WSHADOW", c.wshadow);
        ASSERT_EQ(desktopInit(desktop, 640, 480, RecordingWindowProc), nullptr);
        EXPECT_EQ(desktop.doubleClickTime, c.time) << c.clk2dt;
        EXPECT_EQ(desktop.shadows, c.shadows) << c.wshadow;
        scriptedDesktopStop();
    }
    // A file without the key gives its default.
    TempDir dir("desktop-cfg");
    const auto path = dir.path / "Cfg.txt";
    ASSERT_TRUE(writeBytes(path, {'W', 'I', 'N', 'D', 'X', ' ', '8', '0', '0'}));
    scriptedPlatformStart(640, 480);
    configLoadFile(path.string().c_str());
    ASSERT_EQ(desktopInit(desktop, 640, 480, RecordingWindowProc), nullptr);
    EXPECT_EQ(desktop.doubleClickTime, 320);
}

TEST_F(DesktopTest, InitReportsEachFailure) {
    scriptedPlatformStart(640, 480);
    scriptSetBitmapBudget(0);
    EXPECT_STREQ(desktopInit(desktop, 640, 480, RecordingWindowProc),
                 "Failed to init desktop window");
    EXPECT_EQ(desktop.count, 0);
    scriptSetBitmapBudget(-1);
    EXPECT_STREQ(desktopInit(desktop, 640, 480, nullptr), "Failed to init desktop window");
}

TEST_F(DesktopTest, CreateWindowRefusals) {
    start();
    EXPECT_EQ(createWindow(desktop, -1, -1, 100, 60, "x", 31, nullptr, 1), nullptr);
    // Opening from Draw or Size is refused; from Create it is allowed.
    behaviours[1].openInDraw = true;
    ASSERT_NE(open(1), nullptr);
    behaviours[2].openInSize = true;
    ASSERT_NE(open(2), nullptr);
    EXPECT_EQ(nestedResults, (std::vector<Window*>{nullptr, nullptr}));
    EXPECT_EQ(desktop.count, 3);
    // Eight windows at most, the desktop window included.
    for (uint32_t i = 3; i < 8; i++) {
        ASSERT_NE(open(i), nullptr) << i;
    }
    EXPECT_EQ(desktop.count, 8);
    takeEvents();
    EXPECT_EQ(open(1), nullptr);
    EXPECT_EQ(desktop.count, 8);
    EXPECT_TRUE(takeEvents().empty());
    // A window whose canvas cannot be made leaves nothing behind.
    closeTopWindow(desktop);
    scriptSetBitmapBudget(0);
    takeEvents();
    EXPECT_EQ(open(1), nullptr);
    EXPECT_EQ(desktop.count, 7);
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(DesktopTest, WindowClosingInCreateGetsOneTickAndThenClose) {
    start();
    takeEvents();
    behaviours[1].closeInCreate = true;
    Window* w = open(1);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(takeEvents(), (Events{"B Create"}));
    EXPECT_EQ(w->createDone, 0u);
    EXPECT_EQ(desktop.count, 2);
    // It cannot refuse: its Create never completed.
    behaviours[1].refuseClose = true;
    updatePass(desktop);
    EXPECT_EQ(takeEvents(), (Events{"B Tick", "B Close"}));
    EXPECT_EQ(desktop.count, 1);
    EXPECT_EQ(desktop.windows[1], nullptr);
    updatePass(desktop);
    EXPECT_EQ(takeEvents(), (Events{"A Tick", "A Draw"}));
}

TEST_F(DesktopTest, RefusedCloseKeepsTheWindowAndThoseBelow) {
    start();
    ASSERT_NE(open(1), nullptr);
    Window* refusing = open(2);
    ASSERT_NE(refusing, nullptr);
    behaviours[2].refuseClose = true;
    takeEvents();
    EXPECT_EQ(closeTopWindow(desktop), 0);
    EXPECT_EQ(takeEvents(), (Events{"C Close"}));
    requestQuit(desktop);
    updatePass(desktop);
    EXPECT_EQ(takeEvents(), (Events{"C Tick", "C Close", "C Draw"}));
    updatePass(desktop);
    EXPECT_EQ(takeEvents(), (Events{"C Tick"}));
    EXPECT_EQ(desktop.count, 3);
    EXPECT_EQ(desktop.windows[1]->closeRequested, 1u);
    EXPECT_EQ(desktop.windows[2], refusing);
    // Once it agrees, the windows close from the top, one per pass.
    behaviours[2].refuseClose = false;
    requestQuit(desktop);
    updatePass(desktop);
    updatePass(desktop);
    EXPECT_EQ(takeEvents(), (Events{"C Tick", "C Close", "B Tick", "B Close"}));
    EXPECT_EQ(desktop.count, 1);
    updatePass(desktop);
    EXPECT_EQ(takeEvents(), (Events{"A Tick", "A Close"}));
    EXPECT_EQ(desktop.count, 0);
    EXPECT_EQ(desktop.desktopWindow, nullptr);
    EXPECT_EQ(closeTopWindow(desktop), 0);
    updatePass(desktop); // nothing left to do
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(DesktopTest, UpdatePassTicksTheTopDrawsOnRequestAndCopiesOnlyWhatChanged) {
    start();
    Window* w = open(1);
    ASSERT_NE(w, nullptr);
    behaviours[1].colour = 0x0B0B;
    takeEvents();
    scriptScreenResetCounters();
    desktop.awake = 5;

    // After a creation the whole screen is composed once.
    updatePass(desktop);
    EXPECT_EQ(takeEvents(), (Events{"B Tick", "B Draw"}));
    EXPECT_EQ(scriptScreen().copyCount, 1u);
    EXPECT_EQ(scriptScreen().lastWidth, 640);
    EXPECT_EQ(scriptScreen().lastHeight, 480);
    EXPECT_EQ(screenAt(w->x, w->y), 0x0B0B);
    EXPECT_EQ(screenAt(w->x + 199, w->y + 99), 0x0B0B);
    EXPECT_EQ(screenAt(15, 15), 0x1234);
    EXPECT_EQ(screenAt(600, 5), 0x0A0A);
    EXPECT_NE(screenAt(w->frameX + 1, w->frameY + 40), 0x0A0A); // the border
    EXPECT_EQ(desktop.awake, 4u);
    EXPECT_EQ(desktop.needsRedraw, 0u);

    // Nothing asked to be drawn: no Draw, no copy.
    updatePass(desktop);
    EXPECT_EQ(takeEvents(), (Events{"B Tick"}));
    EXPECT_EQ(scriptScreen().copyCount, 1u);
    EXPECT_EQ(desktop.awake, 3u);

    // Only the top window drew: only its client rectangle goes to the screen.
    behaviours[1].redrawOnTick = true;
    behaviours[1].colour = 0x0C0C;
    const std::vector<uint16_t> desktopCanvas = pixelsOf(desktop.desktopWindow->canvas.surface);
    updatePass(desktop);
    EXPECT_EQ(takeEvents(), (Events{"B Tick", "B Draw"}));
    EXPECT_EQ(scriptScreen().copyCount, 2u);
    EXPECT_EQ(scriptScreen().lastX, w->x);
    EXPECT_EQ(scriptScreen().lastY, w->y);
    EXPECT_EQ(scriptScreen().lastWidth, 200);
    EXPECT_EQ(scriptScreen().lastHeight, 100);
    EXPECT_EQ(screenAt(w->x + 50, w->y + 50), 0x0C0C);
    EXPECT_EQ(w->redrawRequested, 0u);
    EXPECT_EQ(pixelsOf(desktop.desktopWindow->canvas.surface), desktopCanvas);
    EXPECT_EQ(desktop.awake, 2u);

    // The desktop window below gets neither Tick nor Draw while B is open.
    behaviours[1].redrawOnTick = false;
    desktop.desktopWindow->redrawRequested = 0;
    for (int pass = 0; pass < 3; pass++) {
        updatePass(desktop);
    }
    EXPECT_EQ(takeEvents(), (Events{"B Tick", "B Tick", "B Tick"}));
    EXPECT_EQ(desktop.awake, 0u); // stays at 0

    // A redraw of the desktop window under a framed top window means its
    // frame buttons changed: only the button area goes out.
    desktop.desktopWindow->redrawRequested = 1;
    updatePass(desktop);
    EXPECT_EQ(takeEvents(), (Events{"B Tick"}));
    EXPECT_EQ(scriptScreen().copyCount, 3u);
    EXPECT_EQ(scriptScreen().lastX, w->buttonAreaX);
    EXPECT_EQ(scriptScreen().lastY, w->buttonAreaY);
    EXPECT_EQ(scriptScreen().lastWidth, 38);
    EXPECT_EQ(scriptScreen().lastHeight, 19);
    EXPECT_EQ(desktop.desktopWindow->redrawRequested, 0u);
    // With the top window drawn as well, the top's client area goes out
    // through the desktop canvas and the buttons wait for the next pass.
    desktop.desktopWindow->redrawRequested = 1;
    behaviours[1].redrawOnTick = true;
    behaviours[1].colour = 0x0D0D;
    updatePass(desktop);
    EXPECT_EQ(scriptScreen().copyCount, 4u);
    EXPECT_EQ(scriptScreen().lastX, w->x);
    EXPECT_EQ(scriptScreen().lastWidth, 200);
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.pixels[size_t(w->y) * 640 + size_t(w->x)],
              0x0D0D);
    EXPECT_EQ(desktop.desktopWindow->redrawRequested, 1u);
}

TEST_F(DesktopTest, PointerNearTheEdgesIsIgnored) {
    start();
    Window* w = open(1);
    ASSERT_NE(w, nullptr);
    updatePass(desktop);
    struct Case {
        int32_t x, y;
        uint32_t shape;
    };
    const Case cases[] = {
        {3, 100, 7},   {637, 100, 7},           {300, 3, 7}, {300, 477, 7}, {4, 4, 1},
        {636, 476, 1}, {w->x + 9, w->y + 9, 1},
    };
    for (const Case& c : cases) {
        mouseClearEvents(inputState.mouse);
        setCursorShape(inputState.mouse, 7);
        scriptMouseMove(c.x, c.y);
        updatePass(desktop);
        EXPECT_EQ(inputState.mouse.cursorShape, c.shape) << c.x << "," << c.y;
    }
}

TEST_F(DesktopTest, WindowClosingItselfDuringTickEndsThePass) {
    start();
    ASSERT_NE(open(1), nullptr);
    behaviours[1].closeItselfOnTick = true;
    takeEvents();
    updatePass(desktop);
    EXPECT_EQ(takeEvents(), (Events{"B Tick", "B Close"}));
    EXPECT_EQ(desktop.count, 1);
    EXPECT_EQ(desktop.current, nullptr);
    updatePass(desktop);
    EXPECT_EQ(takeEvents(), (Events{"A Tick", "A Draw"}));
}

TEST_F(DesktopTest, ShutdownFreesTheSurfacesAndSavesTheConfiguration) {
    TempDir dir("desktop-shutdown");
    // Cfg.txt is written into the current folder: the temporary one here.
    struct InFolder {
        std::filesystem::path previous = std::filesystem::current_path();
        explicit InFolder(const std::filesystem::path& p) { std::filesystem::current_path(p); }
        ~InFolder() { std::filesystem::current_path(previous); }
    } inFolder(dir.path);
    start();
    ASSERT_EQ(desktopResize(desktop, 800, 600), 1);
    desktopShutdown(desktop);
    EXPECT_EQ(desktop.desktopBitmap.pixels, nullptr);
    EXPECT_TRUE(desktop.desktopBitmap.ownPixels.empty());
    EXPECT_EQ(desktop.backup.pixels, nullptr);
    configReset();
    configLoad();
    EXPECT_STREQ(configGet("WINDX"), "800");
    EXPECT_STREQ(configGet("WINDY"), "600");
}

TEST_F(DesktopTest, AwakeIsLoweredOnlyByCompletePasses) {
    start();
    takeEvents();
    desktop.awake = 1;
    // A window opened during the pass ends it early.
    behaviours[0].openOnTick = true;
    updatePass(desktop);
    EXPECT_EQ(takeEvents(), (Events{"A Tick", "H Create", "H Size", "H Draw", "A Draw"}));
    EXPECT_EQ(desktop.count, 2);
    EXPECT_EQ(desktop.needsRedraw, 1u);
    EXPECT_EQ(desktop.awake, 1u);
    // So does a close after the Tick.
    behaviours[7].closeOnTick = true;
    updatePass(desktop);
    EXPECT_EQ(takeEvents(), (Events{"H Tick", "H Close"}));
    EXPECT_EQ(desktop.awake, 1u);
    updatePass(desktop);
    EXPECT_EQ(desktop.awake, 0u);
}

TEST_F(DesktopTest, DesktopCanvasShowsItsOwnDrawingAfterTheLastWindowAboveCloses) {
    start();
    const std::vector<uint16_t> own = pixelsOf(desktop.desktopWindow->canvas.surface);
    Window* w = open(1);
    ASSERT_NE(w, nullptr);
    behaviours[1].colour = 0x0B0B;
    updatePass(desktop); // composes B and its frame onto the desktop canvas
    ASSERT_NE(pixelsOf(desktop.desktopWindow->canvas.surface), own);
    behaviours[1].closeOnTick = true;
    updatePass(desktop);
    EXPECT_EQ(desktop.count, 1);
    EXPECT_EQ(desktop.desktopWindow->active, 1u);
    EXPECT_EQ(pixelsOf(desktop.desktopWindow->canvas.surface), own);
}

TEST_F(DesktopTest, ResizeKeepsTheMinimumAndFollowsEveryWindow) {
    start();
    Window* w = open(1);
    ASSERT_NE(w, nullptr);
    Window* big =
        createWindow(desktop, 0, 0, 100, 100, "big", 63 | CREATE_MAXIMISED, RecordingWindowProc, 2);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->maximised, 1u);
    EXPECT_EQ(big->frameWidth, 640);
    takeEvents();

    // The same size does nothing at all.
    desktop.needsRedraw = 0;
    EXPECT_EQ(desktopResize(desktop, 640, 480), 1);
    EXPECT_TRUE(takeEvents().empty());
    EXPECT_EQ(desktop.needsRedraw, 0u);

    ASSERT_EQ(desktopResize(desktop, 800, 600), 1);
    EXPECT_EQ(takeEvents(), (Events{"A Size", "A Draw", "C Size", "C Draw"}));
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.width, 800);
    EXPECT_EQ(desktop.desktopBitmap.width, 800);
    EXPECT_EQ(desktop.backup.height, 600);
    EXPECT_EQ(pixelsOf(desktop.desktopBitmap), pixelsOf(desktop.desktopWindow->canvas.surface));
    EXPECT_EQ(big->frameWidth, 800);
    EXPECT_EQ(big->frameHeight, 600);
    EXPECT_EQ(big->sized, 0u);
    EXPECT_STREQ(configGet("WINDX"), "800");
    EXPECT_STREQ(configGet("WINDY"), "600");
    EXPECT_EQ(desktop.needsRedraw, 1u);

    // Too small for any canvas: the smallest desktop, and windows pulled back.
    ASSERT_EQ(desktopResize(desktop, 50, 20), 1);
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.width, 64);
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.height, 32);
    EXPECT_EQ(desktop.desktopBitmap.width, 64);
    EXPECT_EQ(desktop.backup.height, 32);
    EXPECT_STREQ(configGet("WINDX"), "64");
    EXPECT_STREQ(configGet("WINDY"), "32");
    EXPECT_EQ(w->x, 24); // 64 - 40
    EXPECT_EQ(w->y, 20);

    // A failed resize keeps the previous size everywhere.
    takeEvents();
    scriptSetBitmapBudget(0);
    EXPECT_EQ(desktopResize(desktop, 1024, 768), 0);
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.width, 64);
    EXPECT_EQ(desktop.desktopBitmap.width, 64);
    EXPECT_EQ(desktop.desktopBitmap.height, 32);
    EXPECT_EQ(desktop.backup.width, 64);
    EXPECT_STREQ(configGet("WINDX"), "64");
    EXPECT_TRUE(takeEvents().empty());
}

} // namespace
