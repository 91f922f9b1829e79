// The window manager on the scripted platform: creating and closing windows,
// the update pass that ticks, draws and composes them, desktop resizes; and
// window frames: placement, maximise and restore, moving, dragging and
// resizing, the frame's picture and the caret.
#include "toolkit/desktop.h"

#include "platform/platform_script.h"
#include "tests/support/datafile.h"
#include "tests/support/desktop_env.h"
#include "tests/support/golden.h"
#include "tests/support/ints.h"
#include "toolkit/config.h"
#include "toolkit/frame.h"
#include "toolkit/places.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// What a test window does on each message; windows are told apart by their
// param (0 is the desktop window, 'A' in the event log).
constexpr uint32_t NEVER = 99; // no message
struct Behaviour {
    uint32_t closeOn = NEVER; // sets closeRequested on this message
    uint32_t openOn = NEVER;  // opens a child window (param 7) on this message, once
    bool refuseClose, redrawOnTick, closeItselfOnTick;
    uint16_t colour; // fills its canvas with it on Draw
};

Behaviour behaviours[8];
std::vector<std::string> events;
std::vector<Window*> nestedResults;

void RecordingWindowProc(Window* w, uint32_t param) {
    static const char* names[] = {"Create", "Tick", "Draw", "Size", "Close"};
    events.push_back(std::string(1, char('A' + param)) + " " + names[w->message]);
    Behaviour& b = behaviours[param];
    if (w->message == b.closeOn) {
        w->closeRequested = 1;
    }
    if (w->message == Tick) {
        w->redrawRequested |= b.redrawOnTick;
        if (b.closeItselfOnTick) {
            closeTopWindow(desktop);
            return;
        }
    }
    if (w->message == Draw) {
        surfaceFill(w->canvas.surface, b.colour);
        if (param == 0) {
            // Something besides a flat colour, so that a picture that was
            // only partly restored shows.
            surfaceFillRect(w->canvas.surface, 10, 10, 29, 19, 0x1234);
        }
    }
    if (w->message == Close && b.refuseClose) {
        w->closeRequested = 0;
    }
    if (w->message == b.openOn) {
        b.openOn = NEVER;
        nestedResults.push_back(
            createWindow(desktop, -1, -1, 100, 60, "x", 31, RecordingWindowProc, 7));
    }
}

using Events = std::vector<std::string>;

Events takeEvents() {
    return std::exchange(events, {});
}

class DesktopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::fill(std::begin(behaviours), std::end(behaviours), Behaviour{});
        behaviours[0].colour = 0x0A0A;
        behaviours[1].colour = 0x0B0B;
        events.clear();
        nestedResults.clear();
    }
    void TearDown() override {
        scriptedDesktopStop();
        filePlaces = FilePlaces{};
    }

    void start(int32_t width = 640, int32_t height = 480) {
        ASSERT_EQ(scriptedDesktopStart(width, height, RecordingWindowProc), nullptr);
    }
    Window* openAt(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags,
                   uint32_t param = 1) {
        desktop.current = nullptr; // opened from outside any procedure
        return createWindow(desktop, x, y, width, height, "Frame", flags, RecordingWindowProc,
                            param);
    }
    Window* open(uint32_t param, uint32_t flags = 31, int32_t width = 200, int32_t height = 100) {
        return openAt(-1, -1, width, height, flags, param);
    }
    Events pass() {
        updatePass(desktop);
        mouseClearEvents(inputState.mouse);
        return takeEvents();
    }
};

std::vector<int64_t> frameOf(const Window& w) {
    return ints(w.frameX, w.frameY, w.x, w.y, w.canvas.surface.width, w.canvas.surface.height,
                w.frameWidth, w.frameHeight);
}

std::vector<uint16_t> pixelsOf(const Surface& s) {
    return std::vector<uint16_t>(s.pixels, s.pixels + size_t(s.width) * size_t(s.height));
}

TEST_F(DesktopTest, InitCreatesTheDesktopWindowFromTheSettingsOrReportsWhatFailed) {
    start(641, 480);
    EXPECT_EQ(takeEvents(), (Events{"A Create", "A Size", "A Draw"}));
    ASSERT_EQ(desktop.count, 1);
    Window* dw = desktop.desktopWindow;
    ASSERT_EQ(dw, desktop.windows[0]);
    // Canvases and the desktop's surfaces are even wide; the desktop bitmap
    // holds the desktop window's own drawing. The scripted clock stands
    // still, so the display counts as fast.
    EXPECT_EQ(ints(dw->flags, dw->maximised, dw->createDone, dw->canvas.surface.width,
                   desktop.backup.width, desktop.backup.height, dw->canvas.background,
                   desktop.desktopBitmap.pixels[15 * 640 + 15], dw->redrawRequested,
                   desktop.needsRedraw, platform.slowDisplay, desktop.shadows),
              ints(0, 1, 1, 640, 640, 480, 0x02EF, 0x1234, 1, 1, 0, 1));
    // Other windows have the window colour.
    EXPECT_EQ(open(1)->canvas.background, 0xBDF7);
    scriptedDesktopStop();

    // CLK2DT and WSHADOW: the double-click time, kept within 160 to 450 ms,
    // and the shadows.
    const std::tuple<const char*, const char*, int32_t, uint32_t> cases[] = {
        {"100", "1", 160, 1}, {"1000", "0", 450, 0}, {"fast", "yes", 160, 0}, {"300", "10", 300, 1},
        {"-5", "1", 160, 1},  {"160", "1", 160, 1},  {"450", "1", 450, 1}};
    for (const auto& [clk2dt, wshadow, time, shadows] : cases) {
        scriptedPlatformStart(640, 480);
        configSet("CLK2DT", clk2dt);
        configSet("WSHADOW", wshadow);
        platform.slowDisplay = 1; // measured afresh
        ASSERT_EQ(desktopInit(desktop, 640, 480, RecordingWindowProc), nullptr);
        EXPECT_EQ(ints(desktop.doubleClickTime, desktop.shadows, platform.slowDisplay),
                  ints(time, shadows, 0))
            << clk2dt << " " << wshadow;
        scriptedDesktopStop();
    }

    // A desktop window that cannot be made.
    scriptedPlatformStart(640, 480);
    scriptSetBitmapBudget(0);
    EXPECT_STREQ(desktopInit(desktop, 640, 480, RecordingWindowProc),
                 "Failed to init desktop window");
    EXPECT_EQ(desktop.count, 0);
    scriptSetBitmapBudget(-1);
    EXPECT_STREQ(desktopInit(desktop, 640, 480, nullptr), "Failed to init desktop window");
}

TEST_F(DesktopTest, WindowsAreRefusedWhileDrawnOrSizedAndBeyondEightAndOneOpenedInAClose) {
    start();
    EXPECT_EQ(createWindow(desktop, -1, -1, 100, 60, "x", 31, nullptr, 1), nullptr);
    behaviours[1].openOn = Draw;
    ASSERT_NE(open(1), nullptr);
    behaviours[2].openOn = Size;
    ASSERT_NE(open(2), nullptr);
    EXPECT_EQ(nestedResults, (std::vector<Window*>{nullptr, nullptr}));
    for (uint32_t i = 3; i < 8; i++) {
        ASSERT_NE(open(i), nullptr) << i;
    }
    takeEvents();
    EXPECT_EQ(open(1), nullptr);
    // A window whose canvas cannot be made leaves nothing behind.
    closeTopWindow(desktop);
    scriptSetBitmapBudget(0);
    EXPECT_EQ(open(1), nullptr);
    EXPECT_EQ(desktop.count, 7);
    EXPECT_EQ(takeEvents(), Events{"H Close"});
    // A window opened by one that is closing stays; the stack closes up.
    scriptSetBitmapBudget(-1);
    behaviours[6].openOn = Close;
    ASSERT_EQ(closeTopWindow(desktop), 1);
    ASSERT_EQ(nestedResults.size(), 3u);
    EXPECT_EQ(ints(desktop.count, nestedResults[2] != nullptr,
                   desktop.windows[6] == nestedResults[2], desktop.windows[7] == nullptr),
              ints(7, 1, 1, 1));
}

TEST_F(DesktopTest, ClosingGoesFromTheTopOnePerPassAndOnlyACreatedWindowMayRefuse) {
    start();
    takeEvents();
    // Closed in its Create: one Tick, then Close, which it cannot refuse.
    behaviours[1].closeOn = Create;
    behaviours[1].refuseClose = true;
    Window* w = open(1);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(takeEvents(), (Events{"B Create"}));
    EXPECT_EQ(w->createDone, 0u);
    EXPECT_EQ(pass(), (Events{"B Tick", "B Close"}));
    EXPECT_EQ(ints(desktop.count, desktop.windows[1] == nullptr), ints(1, 1));
    EXPECT_EQ(pass(), (Events{"A Tick", "A Draw"}));

    behaviours[1] = Behaviour{};
    ASSERT_NE(open(1), nullptr);
    Window* refusing = open(2);
    behaviours[2].refuseClose = true;
    takeEvents();
    EXPECT_EQ(closeTopWindow(desktop), 0);
    EXPECT_EQ(takeEvents(), (Events{"C Close"}));
    requestQuit(desktop);
    EXPECT_EQ(pass(), (Events{"C Tick", "C Close", "C Draw"}));
    EXPECT_EQ(pass(), (Events{"C Tick"}));
    EXPECT_EQ(ints(desktop.count, desktop.windows[1]->closeRequested), ints(3, 1));
    EXPECT_EQ(desktop.windows[2], refusing);
    // Once it agrees the windows close from the top, each after its own
    // Tick, and the one below is active again.
    behaviours[2].refuseClose = false;
    desktop.windows[1]->active = 0;
    requestQuit(desktop);
    EXPECT_EQ(pass(), (Events{"C Tick", "C Close"}));
    EXPECT_EQ(desktop.windows[1]->active, 1u);
    EXPECT_EQ(pass(), (Events{"B Tick", "B Close"}));
    EXPECT_EQ(pass(), (Events{"A Tick", "A Close"}));
    EXPECT_EQ(ints(desktop.count, desktop.desktopWindow == nullptr), ints(0, 1));
    EXPECT_EQ(closeTopWindow(desktop), 0);
    EXPECT_EQ(pass(), Events{});
}

TEST_F(DesktopTest, UpdatePassTicksTheTopDrawsOnRequestCopiesOnlyWhatChangedAndEndsEarly) {
    start();
    takeEvents();
    // A window opened or closed during a pass ends it; only a complete pass
    // lowers the wake count.
    const std::vector<uint16_t> own = pixelsOf(desktop.desktopWindow->canvas.surface);
    desktop.awake = 1;
    behaviours[0].openOn = Tick;
    EXPECT_EQ(pass(), (Events{"A Tick", "H Create", "H Size", "H Draw", "A Draw"}));
    EXPECT_EQ(ints(desktop.count, desktop.needsRedraw, desktop.awake), ints(2, 1, 1));
    pass(); // composes H and its frame onto the desktop canvas
    ASSERT_NE(pixelsOf(desktop.desktopWindow->canvas.surface), own);
    behaviours[7].closeItselfOnTick = true;
    desktop.awake = 1;
    EXPECT_EQ(pass(), (Events{"H Tick", "H Close"}));
    EXPECT_EQ(ints(desktop.count, desktop.current == nullptr, desktop.desktopWindow->active,
                   desktop.awake),
              ints(1, 1, 1, 1));
    // The desktop shows again exactly as it was drawn.
    EXPECT_EQ(pixelsOf(desktop.desktopWindow->canvas.surface), own);
    EXPECT_EQ(pass(), (Events{"A Tick"}));
    EXPECT_EQ(desktop.awake, 0u);

    Window* w = open(1);
    ASSERT_NE(w, nullptr);
    takeEvents();
    scriptScreenResetCounters();
    desktop.awake = 5;
    // After a creation the whole screen is composed once.
    EXPECT_EQ(pass(), (Events{"B Tick", "B Draw"}));
    EXPECT_EQ(lastScreenCopy(), ints(1, 0, 0, 640, 480));
    EXPECT_EQ(ints(screenAt(w->x, w->y), screenAt(w->x + 199, w->y + 99), screenAt(15, 15),
                   screenAt(600, 5), screenAt(w->frameX + 1, w->frameY + 40)),
              ints(0x0B0B, 0x0B0B, 0x1234, 0x0A0A, styleTable.colours[COLOUR_WINDOW_BORDER]));
    EXPECT_EQ(ints(desktop.awake, desktop.needsRedraw), ints(4, 0));
    // Nothing asked to be drawn: no Draw, no copy.
    EXPECT_EQ(pass(), (Events{"B Tick"}));
    EXPECT_EQ(ints(scriptScreen().copyCount, desktop.awake), ints(1, 3));
    // Only the top window drew: only its client rectangle goes out.
    behaviours[1].redrawOnTick = true;
    behaviours[1].colour = 0x0C0C;
    const std::vector<uint16_t> desktopCanvas = pixelsOf(desktop.desktopWindow->canvas.surface);
    EXPECT_EQ(pass(), (Events{"B Tick", "B Draw"}));
    EXPECT_EQ(lastScreenCopy(), ints(2, w->x, w->y, 200, 100));
    EXPECT_EQ(ints(screenAt(w->x + 50, w->y + 50), w->redrawRequested, desktop.awake),
              ints(0x0C0C, 0, 2));
    EXPECT_EQ(pixelsOf(desktop.desktopWindow->canvas.surface), desktopCanvas);
    // A hidden top window is not drawn; its request waits.
    w->hidden = 1;
    EXPECT_EQ(pass(), (Events{"B Tick"}));
    EXPECT_EQ(ints(w->redrawRequested, desktop.awake), ints(1, 1));
    w->hidden = 0;
    behaviours[1].redrawOnTick = false;
    w->redrawRequested = 0;
    pass();
    EXPECT_EQ(pass(), (Events{"B Tick"}));
    EXPECT_EQ(desktop.awake, 0u); // stays at 0

    // A redraw of the desktop window under a framed top window means its
    // frame buttons changed: only the button area goes out.
    desktop.desktopWindow->redrawRequested = 1;
    EXPECT_EQ(pass(), (Events{"B Tick"}));
    EXPECT_EQ(lastScreenCopy(), ints(3, w->buttonAreaX, w->buttonAreaY, 38, 19));
    EXPECT_EQ(desktop.desktopWindow->redrawRequested, 0u);
    // With the top window drawn as well, its client area goes out through
    // the desktop canvas and the buttons wait for the next pass.
    desktop.desktopWindow->redrawRequested = 1;
    behaviours[1].redrawOnTick = true;
    behaviours[1].colour = 0x0D0D;
    pass();
    EXPECT_EQ(lastScreenCopy(), ints(4, w->x, w->y, 200, 100));
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.pixels[size_t(w->y) * 640 + size_t(w->x)],
              0x0D0D);
    EXPECT_EQ(desktop.desktopWindow->redrawRequested, 1u);

    // Under a top window without frame buttons there is nothing to copy,
    // and the request is answered.
    behaviours[1].redrawOnTick = false;
    Window* plain = open(2, 3);
    ASSERT_NE(plain, nullptr);
    pass();
    scriptScreenResetCounters();
    desktop.desktopWindow->redrawRequested = 1;
    EXPECT_EQ(pass(), (Events{"C Tick"}));
    EXPECT_EQ(ints(scriptScreen().copyCount, desktop.desktopWindow->redrawRequested), ints(0, 0));
}

TEST_F(DesktopTest, FrameEdgesResizeWithAnOutlineAndTheTitleBarDragsTheWindow) {
    start();
    Window* w = openAt(100, 100, 300, 200, 63);
    ASSERT_NE(w, nullptr);
    pass();
    // The frame covers (100, 100) to (403, 322); its edges grip five pixels
    // deep. Points by the desktop's own edges change no cursor shape.
    struct Case {
        const char* at;
        uint32_t edge, shape;
    };
    const Case cases[] = {{"3,100", 0, 7},   {"637,100", 0, 7}, {"300,3", 0, 7},
                          {"300,477", 0, 7}, {"4,4", 0, 1},     {"105,150", 1, 2},
                          {"106,150", 0, 1}, {"398,150", 0, 1}, {"399,150", 2, 2},
                          {"150,105", 4, 3}, {"150,106", 0, 1}, {"150,318", 8, 3},
                          {"150,317", 0, 1}, {"101,101", 5, 4}, {"403,322", 10, 4},
                          {"403,101", 6, 5}, {"101,321", 9, 5}};
    for (const Case& c : cases) {
        setCursorShape(inputState.mouse, 7);
        play(c.at);
        EXPECT_EQ(pass(), Events{"B Tick"});
        EXPECT_EQ(ints(w->resizeEdge, inputState.mouse.cursorShape), ints(c.edge, c.shape)) << c.at;
    }
    // The title bar still drags a resizable window.
    play("200,110 +0 d +0");
    EXPECT_EQ(ints(desktop.dragging == w, desktop.resizing == nullptr), ints(1, 1));
    play("u +0 +0");

    // From the bottom left corner, dragged far to the right and down: the
    // width stops at the minimum. The outline reaches the screen but not the
    // desktop window's canvas, and is redrawn at most every 50 ms.
    play("101,321 +0");
    desktop.awake = 1;
    takeEvents();
    play("d +0");
    ASSERT_EQ(desktop.resizing, w);
    EXPECT_EQ(ints(w->fixedX, w->movingX, w->fixedY, w->movingY), ints(404, 100, 100, 323));
    scriptScreenResetCounters();
    play("600,341 +1000");
    EXPECT_EQ(ints(w->minWidth, w->movingX, w->movingY), ints(68, 336, 343));
    EXPECT_EQ(ints(scriptScreen().copyCount, screenAt(w->movingX + 4, 101), desktop.nextBandTime),
              ints(1, 0xFFFF, playClock() + 50));
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.pixels[101 * 640 + w->movingX + 4],
              desktop.backup.pixels[101 * 640 + w->movingX + 4]);
    play("+50");
    EXPECT_EQ(scriptScreen().copyCount, 1u);
    // Every pass until the resize has ended takes no Tick, the release
    // included; the placement asks for a full redraw, whose pass finishes
    // the resize step once more.
    scriptLeftUp();
    EXPECT_EQ(pass(), Events{"B Size"});
    EXPECT_EQ(
        ints(w->resizeActive, w->frameX, w->frameWidth, w->canvas.surface.height, desktop.awake),
        ints(0, 336, 72, 220, 1));
    EXPECT_EQ(pass(), (Events{"B Size", "B Tick", "B Draw"}));
    EXPECT_EQ(desktop.resizing, nullptr);

    // Dragged by the title bar, a window redraws the screen and ends on an
    // even column or at a forced redraw. The resized window closes first.
    w->closeRequested = 1;
    pass();
    // Client at (302, 121), title bar from row 102; further right than down,
    // so that no strip of the area to refresh is taken for empty.
    w = openAt(300, 100, 200, 100, 31);
    ASSERT_NE(w, nullptr);
    pass();
    desktop.awake = 5;
    play("322,171 d +0 u +0"); // the client area is no handle
    EXPECT_EQ(desktop.dragging, nullptr);
    // The bar's top row is; the pass that starts the drag ticks nothing.
    play("322,102 d +0");
    EXPECT_EQ(ints(desktop.dragging == w, desktop.awake, screenAt(302, 121)), ints(1, 3, 0x0B0B));
    play("373,132 +0");
    EXPECT_EQ(
        ints(w->x, w->y, w->dragActive, screenAt(353, 151), screenAt(312, 131), screenAt(400, 110)),
        ints(353, 151, 1, 0x0B0B, 0x0A0A, 0x0A0A));
    // Moving up, the screen gets back what lay under the old frame's light
    // edge and its three rows and columns of shadow.
    play("373,92 +0");
    EXPECT_EQ(ints(w->y, screenAt(400, 254), screenAt(400, 255), screenAt(350, 240)),
              ints(111, 0x0A0A, 0x0A0A, 0x0A0A));
    play("u +0");
    EXPECT_EQ(ints(w->x, w->frameX, w->dragActive, desktop.awake), ints(352, 350, 0, 3));
    play("+0");
    EXPECT_EQ(ints(desktop.dragging == nullptr, desktop.awake), ints(1, 2));
    // The backup is the picture without the window.
    EXPECT_EQ(desktop.backup.pixels[131 * 640 + 312], 0x0A0A);
    // A redraw forced during a drag releases the button, which ends the
    // drag where it is: the odd 7 becomes 6.
    play("20,5 d +0 27,9", w->titleX, w->titleY);
    ASSERT_EQ(desktop.dragging, w);
    desktop.needsRedraw = 1;
    takeEvents();
    EXPECT_EQ(pass(), (Events{"B Tick"}));
    EXPECT_EQ(ints(desktop.dragging == nullptr, w->dragActive, w->frameX, w->frameY),
              ints(1, 0, 356, 94));
}

TEST_F(DesktopTest, ResizeKeepsTheMinimumFollowsEveryWindowAndIsSavedAtShutdown) {
    TempDir dir("desktop-resize"); // where Cfg.txt is kept
    filePlaces.userFolder = dir.path.string();
    start();
    Window* w = open(1, 63, 300, 200);
    Window* big = openAt(0, 0, 100, 100, 63 | CREATE_MAXIMISED, 2);
    ASSERT_NE(big, nullptr);
    w->limitedMaximised = 1;
    takeEvents();
    desktop.needsRedraw = 0;
    EXPECT_EQ(desktopResize(desktop, 641, 480), 1); // the same even size does nothing
    EXPECT_EQ(ints(takeEvents().size(), desktop.needsRedraw), ints(0, 0));

    ASSERT_EQ(desktopResize(desktop, 800, 600), 1);
    EXPECT_EQ(takeEvents(), (Events{"A Size", "A Draw", "C Size", "C Draw"}));
    EXPECT_EQ(ints(desktop.desktopWindow->canvas.surface.width, desktop.desktopWindow->maximised,
                   desktop.desktopBitmap.width, desktop.backup.height, big->frameWidth,
                   big->frameHeight, big->sized, w->limitedMaximised, desktop.needsRedraw),
              ints(800, 1, 800, 600, 800, 600, 0, 0, 1));
    EXPECT_EQ(pixelsOf(desktop.desktopBitmap), pixelsOf(desktop.desktopWindow->canvas.surface));
    EXPECT_EQ(std::string(configGet("WINDX")) + " " + configGet("WINDY"), "800 600");

    // Too small for any canvas: the smallest desktop, and windows pulled back.
    ASSERT_EQ(desktopResize(desktop, 50, 20), 1);
    EXPECT_EQ(ints(desktop.desktopWindow->canvas.surface.width,
                   desktop.desktopWindow->canvas.surface.height, desktop.desktopBitmap.width,
                   desktop.backup.height, w->x, w->y),
              ints(64, 32, 64, 32, 24, 20));
    // A failed resize keeps the previous size everywhere.
    takeEvents();
    EXPECT_EQ(desktopResize(desktop, INT32_MAX, INT32_MAX), 0);
    scriptSetBitmapBudget(0);
    EXPECT_EQ(desktopResize(desktop, 1024, 768), 0);
    EXPECT_EQ(ints(desktop.desktopWindow->canvas.surface.width, desktop.desktopBitmap.width,
                   desktop.desktopBitmap.height, desktop.backup.width),
              ints(64, 64, 32, 64));
    EXPECT_STREQ(configGet("WINDX"), "64");
    EXPECT_TRUE(takeEvents().empty());
    scriptSetBitmapBudget(-1);
    ASSERT_EQ(desktopResize(desktop, 700, 500), 1);
    desktopShutdown(desktop);
    EXPECT_EQ(ints(desktop.desktopBitmap.pixels == nullptr, desktop.backup.pixels == nullptr),
              ints(1, 1));
    configReset();
    configLoad();
    EXPECT_EQ(std::string(configGet("WINDX")) + " " + configGet("WINDY"), "700 500");
}

TEST(WakeAt, TheEarliestDeadlineWinsAcrossTheClocksWrap) {
    const uint32_t now = 0xFFFFFF00;
    inputState.now = now;
    desktop.wakeSet = 0;
    for (uint32_t in : {300, 50, 200}) {
        wakeAt(now + in);
    }
    EXPECT_EQ(ints(desktop.wakeSet, desktop.wakeTime - now), ints(1, 50));
    wakeAt(now - 10); // already past: at once
    EXPECT_EQ(desktop.wakeTime, now);
}

// ---- Window frames ---------------------------------------------------------

TEST_F(DesktopTest, StyleFlagsDecideTheFramePlacementIsEvenAndKeepsTheMinimum) {
    start();
    // Centred; the title bar leaves room for the close button.
    Window* w = openAt(-1, -1, 256, 288, 31);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(frameOf(*w), ints(190, 84, 192, 105, 256, 288, 260, 311));
    EXPECT_EQ(ints(w->titleX, w->titleY, w->titleWidth, w->titleHeight, w->buttonAreaX,
                   w->buttonAreaY, w->buttonAreaWidth, w->minWidth, w->minHeight, w->sized,
                   w->closeButton.rect.x, w->closeButton.rect.y, w->closeButton.rect.width),
              ints(192, 86, 237, 19, 410, 86, 38, 68, 55, 1, 429, 87, 16));
    // The frame's size given: the client gets what the frame leaves.
    EXPECT_EQ(frameOf(*openAt(101, 50, 300, 200, 31 | CREATE_OUTER_SIZE)),
              ints(100, 50, 102, 71, 296, 177, 300, 200));
    // Wider than the desktop: the halving rounds toward minus infinity, then
    // the frame goes to the even column at or left of it.
    EXPECT_EQ(frameOf(*openAt(-1, -1, 701, 100, 31)), ints(-34, 178, -32, 199, 700, 100, 704, 123));
    EXPECT_EQ(openAt(-1, -1, 701, 100, 0)->frameX, -32);
    // Maximised at creation the frame keeps only its title bar and buttons.
    Window* full = openAt(7, 9, 100, 100, 63 | CREATE_MAXIMISED);
    EXPECT_EQ(ints(full->maximised, full->flags, full->baseFlags), ints(1, 56, 63));
    EXPECT_EQ(frameOf(*full), ints(0, 0, 0, 19, 640, 461, 640, 480));
    // No style flags, no frame at all; a title-only window.
    EXPECT_EQ(frameOf(*openAt(11, 20, 101, 80, 0)), ints(10, 20, 10, 20, 100, 80, 100, 80));
    Window* movable = openAt(100, 100, 100, 50, 1);
    EXPECT_EQ(ints(movable->flags, movable->y - movable->frameY), ints(17, 19));

    // Placed again: even columns, and never below the minimum size.
    while (desktop.count > 2) {
        closeTopWindow(desktop);
    }
    takeEvents();
    EXPECT_EQ(placeWindow(*w, 51, 40, 231, 100, false, false), 1);
    EXPECT_EQ(takeEvents(), Events{"B Size"});
    EXPECT_EQ(ints(w->frameX, w->x, w->canvas.surface.width, w->frameWidth, w->redrawRequested),
              ints(50, 52, 230, 234, 1));
    EXPECT_EQ(placeWindow(*w, 0, 0, 10, 10, false, false), 1);
    EXPECT_EQ(ints(w->canvas.surface.width, w->canvas.surface.height), ints(68, 55));
    setMinimumSize(*w, 150, 10);
    EXPECT_EQ(ints(w->minWidth, w->minHeight), ints(154, 55));

    // A canvas that cannot be made leaves a movable, framed window.
    Window* bare = openAt(10, 10, 100, 100, 0);
    scriptSetBitmapBudget(0);
    EXPECT_EQ(placeWindow(*bare, 20, 20, 300, 300, false, false), 0);
    EXPECT_EQ(ints(bare->flags, bare->sized, bare->canvas.surface.width), ints(19, 0, 100));
    scriptSetBitmapBudget(-1);
    for (int32_t size : {INT32_MIN, -1, 0, 1, INT32_MAX}) {
        for (uint32_t flags : {0u, 31u | CREATE_OUTER_SIZE, 63u | CREATE_MAXIMISED}) {
            Window* hostile = openAt(-1, -1, size, size, flags);
            if (hostile != nullptr) {
                const Surface& canvas = hostile->canvas.surface;
                EXPECT_EQ(ints(canvas.width >= 64, canvas.height >= 32, canvas.width % 2),
                          ints(1, 1, 0))
                    << size;
                closeTopWindow(desktop);
            }
        }
    }
}

TEST_F(DesktopTest, MaximiseRestoreMoveAndCloseKeepTheWindowOnTheDesktop) {
    start();
    Window* w = openAt(101, 51, 300, 200, 63);
    ASSERT_NE(w, nullptr);
    // Its frame's button maximises it and, clicked again, restores it; the
    // close button goes along.
    const auto click = [](const IconButton& button) {
        play("+0 0,0 d +0 u +0", button.rect.x + 4, button.rect.y + 4);
    };
    click(w->maximiseButton);
    EXPECT_EQ(ints(w->maximised, w->flags, w->closeButton.rect.x), ints(1, 56, 621));
    EXPECT_EQ(frameOf(*w), ints(0, 0, 0, 19, 640, 461, 640, 480));
    click(w->maximiseButton);
    EXPECT_EQ(ints(w->maximised, w->flags, w->closeButton.rect.x), ints(0, 63, 383));
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

    // Moves are even and keep part of the window on the desktop.
    w = openAt(100, 100, 200, 100, 31);
    ASSERT_NE(w, nullptr);
    desktop.needsRedraw = 0;
    moveWindow(*w, 701, 470);
    EXPECT_EQ(frameOf(*w), ints(698, 449, 700, 470, 200, 100, 204, 123));
    EXPECT_EQ(ints(w->previousFrameX, w->titleX, w->titleY, w->buttonAreaX, w->closeButton.rect.x,
                   w->closeButton.rect.y, desktop.needsRedraw),
              ints(100, 700, 451, 862, 881, 452, 1));
    keepOnScreen(*w);
    EXPECT_EQ(ints(w->x, w->y), ints(600, 440));
    moveWindow(*w, -1000, -50);
    keepOnScreen(*w);
    EXPECT_EQ(ints(w->x, w->y), ints(-160, 20));
    desktop.needsRedraw = 0;
    moveWindow(*w, -159, 20); // the same even position
    EXPECT_EQ(desktop.needsRedraw, 0u);
    click(w->closeButton);
    EXPECT_EQ(desktop.count, 2);
}

TEST_F(DesktopTest, ActiveFrameWithShadowInactiveTitleAndTheCaret) {
    start();
    desktop.shadows = 1;
    Window* w = openAt(40, 30, 120, 50, 63);
    ASSERT_NE(w, nullptr);
    pass();
    // The frame, its light edge and its drop shadow, straight from the screen.
    const std::vector<uint16_t> crop =
        screenCrop(w->frameX - 2, w->frameY - 2, w->frameWidth + 7, w->frameHeight + 7);
    EXPECT_TRUE(matchesGolden("frame", w->frameWidth + 7, w->frameHeight + 7, crop.data()));
    // The caret blinks, is erased where it was when moved, and only its owner
    // switches it off.
    const int owner = 0, other = 0;
    caretShow(w->caret, &owner);
    caretSetPosition(w->caret, 10, 5);
    w->caret.height = 13;
    EXPECT_EQ(ints(caretOwnedBy(w->caret, &owner), caretOwnedBy(w->caret, &other)), ints(1, 0));
    scriptScreenResetCounters();
    auto at = [w](uint32_t now) {
        inputState.now = now;
        caretUpdate(*w);
        const ScriptScreen& s = scriptScreen();
        return ints(w->caret.shown, s.caretCount, s.copyCount);
    };
    EXPECT_EQ(at(5000), ints(1, 1, 0));
    EXPECT_EQ(at(5510), ints(1, 1, 0));
    EXPECT_EQ(at(5511), ints(0, 1, 1));
    EXPECT_EQ(lastScreenCopy(), ints(1, w->x + 10, w->y + 5, 2, 13));
    // Set again while off, it shows at once and blinks from there.
    caretSetPosition(w->caret, 10, 5);
    EXPECT_EQ(at(5600), ints(1, 2, 1));
    EXPECT_EQ(at(6024), ints(1, 2, 1));
    // Moved while shown: the old strip goes and the new one shows at once.
    caretSetPosition(w->caret, 40, 7);
    EXPECT_EQ(at(6030), ints(1, 3, 2));
    EXPECT_EQ(lastScreenCopy(), ints(2, w->x + 10, w->y + 5, 2, 13));
    // Only its owner switches it off; it is then erased at the next update.
    caretHide(w->caret, &other);
    EXPECT_EQ(w->caret.on, 1u);
    caretHide(w->caret, &owner);
    EXPECT_EQ(at(6040), ints(0, 3, 3));
    EXPECT_EQ(lastScreenCopy(), ints(3, w->x + 40, w->y + 7, 2, 13));
    // Switched on again it shows at once, whatever the old blink's phase.
    caretShow(w->caret, &owner);
    EXPECT_EQ(at(6600), ints(1, 4, 3));
    // A strip at the canvas's edge is erased only where it lies inside.
    caretSetPosition(w->caret, 119, -4);
    at(7000);
    caretHide(w->caret, &owner);
    at(7010);
    EXPECT_EQ(lastScreenCopy(), ints(5, w->x + 119, w->y, 1, 9));

    // Inactive, and on a display too slow for shadows: a raised bevel.
    w->active = 0;
    desktop.shadows = 0;
    desktop.needsRedraw = 1;
    pass();
    EXPECT_EQ(ints(screenAt(w->titleX + 60, w->titleY + 1), screenAt(w->frameX, w->frameY + 30),
                   screenAt(w->frameX + w->frameWidth - 1, w->frameY + 30),
                   screenAt(w->frameX + w->frameWidth, w->frameY + 30)),
              ints(0x94B2, 0xFFFF, 0x5AEB, 0x0A0A));
}

} // namespace
