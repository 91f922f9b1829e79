// Corners of the window manager, the level flow and the main window that the
// unit tests leave out: the pass around a forced redraw, the order in which
// windows close, placement flags on creation, frames on the desktop canvas,
// the board's own copy to the screen, the banner's colours and the key
// bookkeeping of the main window.
#include "game/board.h"
#include "game/flow.h"
#include "game/fluid.h"
#include "game/gamedata.h"
#include "game/progress.h"
#include "platform/platform_script.h"
#include "shell/mainwnd.h"
#include "tests/support/desktop_env.h"
#include "tests/support/game_session.h"
#include "toolkit/config.h"
#include "toolkit/desktop.h"
#include "toolkit/font.h"
#include "toolkit/frame.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> log;
bool refuse[8];
bool closeInCreate[8];
bool closeOnTick[8];

void LoggingWindowProc(Window* w, uint32_t param) {
    static const char* names[] = {"Create", "Tick", "Draw", "Size", "Close"};
    log.push_back(std::string(1, char('A' + param)) + " " + names[w->message]);
    switch (w->message) {
    case Create:
        if (closeInCreate[param]) {
            w->closeRequested = 1;
        }
        break;
    case Tick:
        if (closeOnTick[param]) {
            w->closeRequested = 1;
        }
        break;
    case Draw: surfaceFill(w->canvas.surface, uint16_t(0x0100 * (param + 1))); break;
    case Close:
        if (refuse[param]) {
            w->closeRequested = 0;
        }
        break;
    }
}

std::vector<std::string> takeLog() {
    std::vector<std::string> taken;
    taken.swap(log);
    return taken;
}

using Log = std::vector<std::string>;

struct WindowManager : ::testing::Test {
    void SetUp() override {
        log.clear();
        for (int i = 0; i < 8; i++) {
            refuse[i] = closeInCreate[i] = closeOnTick[i] = false;
        }
        ASSERT_EQ(scriptedDesktopStart(640, 480, LoggingWindowProc), nullptr);
        takeLog();
    }
    void TearDown() override { scriptedDesktopStop(); }
    Window* open(uint32_t param, uint32_t flags = 31, int32_t w = 200, int32_t h = 100) {
        return createWindow(desktop, -1, -1, w, h, "t", flags, LoggingWindowProc, param);
    }
};

uint16_t canvasAt(const Window* w, int32_t x, int32_t y) {
    return w->canvas.surface.pixels[size_t(y) * size_t(w->canvas.surface.width) + size_t(x)];
}

uint16_t screenAt(int32_t x, int32_t y) {
    const ScriptScreen& s = scriptScreen();
    return s.pixels[size_t(y) * size_t(s.width) + size_t(x)];
}

uint16_t darkenThreeQuarters(uint16_t p) {
    const uint16_t h = uint16_t((p >> 1) & 0x7BEF);
    return uint16_t(h + ((h >> 1) & 0x7BEF));
}

uint16_t lighten(uint16_t p) {
    const int r = std::min((p >> 11) + 8, 31);
    const int g = std::min(((p >> 5) & 63) + 16, 63);
    const int b = std::min((p & 31) + 8, 31);
    return uint16_t((r << 11) | (g << 5) | b);
}

} // namespace

TEST_F(WindowManager, ForcedRedrawReleasesTheButtonAndEndsADrag) {
    Window* b = open(1);
    ASSERT_NE(b, nullptr);
    takeLog();
    mouseClearEvents(inputState.mouse);
    ASSERT_EQ(desktop.needsRedraw, 1u);
    desktop.awake = 1;
    updatePass(desktop);
    EXPECT_EQ(inputState.mouse.leftReleased, 1u);
    EXPECT_EQ(takeLog(), (Log{"B Tick", "B Draw"}));
    EXPECT_EQ(desktop.awake, 0u);
    EXPECT_EQ(desktop.needsRedraw, 0u);

    // A drag in progress ends at a forced redraw like at a release.
    mouseClearEvents(inputState.mouse);
    scriptMouseMove(b->titleX + 20, b->titleY + 5);
    scriptLeftDown();
    updatePass(desktop);
    ASSERT_EQ(desktop.dragging, b);
    mouseClearEvents(inputState.mouse);
    scriptMouseMove(b->titleX + 27, b->titleY + 9);
    desktop.needsRedraw = 1;
    takeLog();
    updatePass(desktop);
    EXPECT_EQ(desktop.dragging, nullptr);
    EXPECT_EQ(b->dragActive, 0u);
    // Ended by the release the redraw forces: the odd 7 becomes 6.
    EXPECT_EQ(b->frameX, 218 + 6);
    EXPECT_EQ(b->frameY, 178 + 4);
    EXPECT_EQ(takeLog(), (Log{"B Tick"}));
}

TEST_F(WindowManager, CloseInCreateCannotBeRefusedAndQuitClosesOnePerPass) {
    closeInCreate[1] = true;
    refuse[1] = true;
    ASSERT_NE(open(1), nullptr);
    EXPECT_EQ(takeLog(), (Log{"B Create"}));
    updatePass(desktop);
    EXPECT_EQ(takeLog(), (Log{"B Tick", "B Close"}));
    EXPECT_EQ(desktop.count, 1);

    // Quit: top first, each after its own Tick, and a lower window regains
    // the active flag when it is on top again.
    Window* b = open(1);
    Window* c = open(2);
    ASSERT_NE(c, nullptr);
    refuse[1] = false;
    b->active = 0;
    updatePass(desktop);
    takeLog();
    requestQuit(desktop);
    EXPECT_EQ(desktop.desktopWindow->closeRequested, 1u);
    EXPECT_EQ(b->closeRequested, 1u);
    updatePass(desktop);
    EXPECT_EQ(takeLog(), (Log{"C Tick", "C Close"}));
    EXPECT_EQ(b->active, 1u);
    updatePass(desktop);
    EXPECT_EQ(takeLog(), (Log{"B Tick", "B Close"}));
    updatePass(desktop);
    EXPECT_EQ(takeLog(), (Log{"A Tick", "A Close"}));
    EXPECT_EQ(desktop.count, 0);
    updatePass(desktop);
    EXPECT_TRUE(takeLog().empty());
}

TEST_F(WindowManager, CreationFlagsAndFramesOnTheDesktopCanvas) {
    // The outer size: the insets 2, 21, 2, 2 come off the given size.
    Window* b =
        createWindow(desktop, 101, 50, 300, 200, "t", 31 | CREATE_OUTER_SIZE, LoggingWindowProc, 1);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->frameX, 100);
    EXPECT_EQ(b->frameY, 50);
    EXPECT_EQ(b->canvas.surface.width, 296);
    EXPECT_EQ(b->canvas.surface.height, 177);
    EXPECT_EQ(b->x, 102);
    EXPECT_EQ(b->y, 71);
    EXPECT_EQ(b->frameWidth, 300);
    EXPECT_EQ(b->frameHeight, 200);

    // Full composition: the frame lies on the desktop canvas, the window's
    // canvas keeps only its client picture.
    desktop.shadows = 0;
    updatePass(desktop);
    const Window* a = desktop.desktopWindow;
    EXPECT_EQ(canvasAt(b, 0, 0), 0x0200);
    EXPECT_EQ(canvasAt(a, b->x, b->y), 0x0200);
    EXPECT_EQ(canvasAt(a, b->frameX + 1, b->frameY + 100), styleTable.colours[10]);
    EXPECT_EQ(canvasAt(a, b->titleX + 2, b->titleY + 1), styleTable.colours[4]);
    EXPECT_EQ(screenAt(b->titleX + 2, b->titleY + 1), styleTable.colours[4]);

    // Started maximised: the frame keeps only its title bar and buttons.
    // (Opened from outside any procedure: nothing is current.)
    desktop.current = nullptr;
    Window* c =
        createWindow(desktop, 7, 9, 100, 100, "t", 63 | CREATE_MAXIMISED, LoggingWindowProc, 2);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->maximised, 1u);
    EXPECT_EQ(c->flags, 56u);
    EXPECT_EQ(c->baseFlags, 63u);
    EXPECT_EQ(c->frameX, 0);
    EXPECT_EQ(c->frameY, 0);
    EXPECT_EQ(c->x, 0);
    EXPECT_EQ(c->y, 19);
    EXPECT_EQ(c->canvas.surface.width, 640);
    EXPECT_EQ(c->canvas.surface.height, 461);

    // Wider than the desktop: centred by an arithmetic shift, then made even.
    Window* wide = open(4, 31, 701, 100);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->frameX, -34); // (640 - 4 - 701) >> 1 = -33
    EXPECT_EQ(wide->canvas.surface.width, 700);

    // A window with no style flags has no frame at all.
    Window* d = createWindow(desktop, 11, 20, 101, 80, "t", 0, LoggingWindowProc, 3);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->flags, 0u);
    EXPECT_EQ(d->frameX, 10);
    EXPECT_EQ(d->x, 10);
    EXPECT_EQ(d->frameWidth, 100);
    EXPECT_EQ(d->frameHeight, 80);
    EXPECT_EQ(d->minWidth, 64);
    EXPECT_EQ(d->minHeight, 32);
}

TEST_F(WindowManager, ResizeReportsBusyUntilItHasEndedAndPressesOutsideGoOn) {
    Window* b = open(1, 63, 300, 200);
    ASSERT_NE(b, nullptr);
    updatePass(desktop);
    takeLog();
    // A press beside the top window: arrow, and the top window is ticked.
    setCursorShape(inputState.mouse, 7);
    scriptMouseMove(20, 20);
    scriptLeftDown();
    updatePass(desktop);
    EXPECT_EQ(inputState.mouse.cursorShape, 1u);
    EXPECT_EQ(takeLog(), (Log{"B Tick"}));
    mouseClearEvents(inputState.mouse);

    const int32_t right = b->frameX + b->frameWidth - 2;
    scriptMouseMove(right, b->frameY + 60);
    updatePass(desktop);
    EXPECT_EQ(inputState.mouse.cursorShape, 2u);
    EXPECT_EQ(takeLog(), (Log{"B Tick"}));
    scriptLeftDown();
    desktop.awake = 1;
    updatePass(desktop);
    ASSERT_EQ(desktop.resizing, b);
    mouseClearEvents(inputState.mouse);
    scriptMouseMove(right + 41, b->frameY + 60);
    updatePass(desktop);
    scriptLeftUp();
    updatePass(desktop);
    EXPECT_EQ(b->resizeActive, 0u);
    EXPECT_EQ(b->canvas.surface.width, 340);
    mouseClearEvents(inputState.mouse);
    // No Tick while resizing, the release included; the placement asks for
    // a full redraw, and that pass finishes the resize step once more.
    EXPECT_EQ(takeLog(), (Log{"B Size"}));
    EXPECT_EQ(desktop.awake, 1u);
    updatePass(desktop);
    EXPECT_EQ(desktop.resizing, nullptr);
    EXPECT_EQ(takeLog(), (Log{"B Size", "B Tick", "B Draw"}));
}

TEST_F(WindowManager, DesktopResizeClearsLimitedMaximiseAndSendsNothingToAPlainWindow) {
    Window* b = open(1, 63, 300, 200);
    ASSERT_NE(b, nullptr);
    b->limitedMaximised = 1;
    b->sized = 1;
    takeLog();
    ASSERT_EQ(desktopResize(desktop, 1025, 700), 1);
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.width, 1024);
    EXPECT_EQ(b->limitedMaximised, 0u);
    EXPECT_EQ(b->sized, 0u);
    EXPECT_EQ(takeLog(), (Log{"A Size", "A Draw"}));
    EXPECT_STREQ(configGet("WINDX"), "1024");
    EXPECT_STREQ(configGet("WINDY"), "700");
}

TEST_F(WindowManager, HiddenTopIsNotDrawnAndAFrameWithoutButtonsCopiesNothing) {
    Window* b = open(1, 3);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->flags, 19u);
    updatePass(desktop);
    takeLog();
    b->hidden = 1;
    b->redrawRequested = 1;
    updatePass(desktop);
    EXPECT_EQ(takeLog(), (Log{"B Tick"}));
    EXPECT_EQ(b->redrawRequested, 1u);
    b->hidden = 0;
    b->redrawRequested = 0;

    // The desktop window asks for a redraw under a top window without frame
    // buttons: nothing to copy, and the request is answered.
    scriptScreenResetCounters();
    desktop.desktopWindow->redrawRequested = 1;
    updatePass(desktop);
    EXPECT_EQ(takeLog(), (Log{"B Tick"}));
    EXPECT_EQ(scriptScreen().copyCount, 0u);
    EXPECT_EQ(desktop.desktopWindow->redrawRequested, 0u);
}

TEST_F(WindowManager, ShadowedFrameMatchesItsRecipePixelForPixel) {
    desktop.shadows = 1;
    Window* b = createWindow(desktop, 100, 60, 120, 50, "t", 31, LoggingWindowProc, 1);
    ASSERT_NE(b, nullptr);
    updatePass(desktop);
    const int32_t fx = b->frameX, fy = b->frameY;
    const int32_t x1 = fx + b->frameWidth - 1, y1 = fy + b->frameHeight - 1;
    // The expected picture around the frame, built from the recipe.
    const int32_t ox = fx - 1, oy = fy - 1, w = b->frameWidth + 4, h = b->frameHeight + 4;
    std::vector<uint16_t> expected(size_t(w * h), 0x0100);
    auto at = [&](int32_t x, int32_t y) -> uint16_t& {
        return expected[size_t((y - oy) * w + x - ox)];
    };
    for (int32_t inset = 0; inset < 2; inset++) {
        for (int32_t x = fx + inset; x <= x1 - inset; x++) {
            at(x, fy + inset) = at(x, y1 - inset) = styleTable.colours[10];
        }
        for (int32_t y = fy + inset; y <= y1 - inset; y++) {
            at(fx + inset, y) = at(x1 - inset, y) = styleTable.colours[10];
        }
    }
    for (int32_t x = fx - 1; x <= x1; x++) {
        at(x, fy - 1) = darkenThreeQuarters(at(x, fy - 1));
    }
    for (int32_t y = fy; y <= y1; y++) {
        at(fx - 1, y) = darkenThreeQuarters(at(fx - 1, y));
    }
    for (int32_t x = fx; x <= x1; x++) {
        at(x, fy) = lighten(at(x, fy));
    }
    for (int32_t y = fy + 1; y <= y1; y++) {
        at(fx, y) = lighten(at(fx, y));
    }
    for (int32_t i = 0; i <= 3; i++) {
        for (int32_t x = fx + i; x <= x1 + i - 1; x++) {
            at(x, y1 + i) = darkenThreeQuarters(at(x, y1 + i));
        }
        for (int32_t y = fy + i; y <= y1 + i; y++) {
            at(x1 + i, y) = darkenThreeQuarters(at(x1 + i, y));
        }
    }
    int differing = 0;
    for (int32_t y = oy; y < oy + h; y++) {
        for (int32_t x = ox; x < ox + w; x++) {
            const bool inTitle =
                x >= b->titleX && x < b->x + b->canvas.surface.width && y >= b->titleY && y < b->y;
            const bool inClient = x >= b->x && x < b->x + b->canvas.surface.width && y >= b->y &&
                                  y < b->y + b->canvas.surface.height;
            if (!inTitle && !inClient && screenAt(x, y) != at(x, y)) {
                differing++;
            }
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(screenAt(b->titleX + 1, b->titleY), styleTable.colours[4]);
}

TEST(MainWindowMessages, WheelSignAndTheWidestClient) {
    ASSERT_EQ(scriptedDesktopStart(640, 480, LoggingWindowProc), nullptr);
    // Only a turn above 0, taken as signed, is forward.
    for (uint32_t turn : {0u, 0x80000000u, 0xFFFFFFFFu}) {
        mouseClearEvents(inputState.mouse);
        MainWndProc(MSG_WHEEL, turn, 0);
        EXPECT_EQ(inputState.mouse.wheelBackward, 1u) << turn;
        EXPECT_EQ(inputState.mouse.wheelForward, 0u) << turn;
    }
    // A client 65535 wide becomes 65536 & 0xFFFE = 0, raised to the minimum.
    MainWndProc(MSG_SIZE, SIZE_RESTORED, 0xFFFFu | (300u << 16));
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.width, 64);
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.height, 300);
    scriptedDesktopStop();
}

namespace {

struct Game {
    GameSession session{GHOLD_DATA_FILE, 4};
    Game() {
        EXPECT_EQ(session.startFailure, nullptr);
        session.key(KEY_SPACE);
        session.key(KEY_SPACE);
        session.pass();
    }
};

} // namespace

TEST(GameFlow, BannerBoardAndTheBoardsOwnCopyToTheScreen) {
    Game game;
    ASSERT_EQ(desktop.count, 1);
    ASSERT_EQ(levelFlow.level, 4);
    Window* w = gameWindow;
    // The pass that closed the pictures drew the banner over a cleared window.
    const Rect& r = levelFlow.bannerRect;
    EXPECT_EQ(levelFlow.bannerVisible, 1u);
    EXPECT_EQ(levelFlow.boardVisible, 0u);
    EXPECT_EQ(canvasAt(w, r.x + 4, r.y + r.height - 4), BANNER_FILL);
    EXPECT_EQ(screenAt(w->x + r.x + 4, w->y + r.y + r.height - 4), BANNER_FILL);
    EXPECT_EQ(canvasAt(w, boardView.originX + 1, boardView.originY + 1), styleTable.colours[0]);
    // The raised bevel around the fill, and nothing but gold text inside.
    const int32_t bx1 = r.x + r.width - 1, by1 = r.y + r.height - 1;
    const uint16_t light = lighten(BANNER_FILL);
    const uint16_t dark = uint16_t((BANNER_FILL >> 1) & 0x7BEF);
    int wrong = 0;
    for (int32_t y = r.y; y <= by1; y++) {
        for (int32_t x = r.x; x <= bx1; x++) {
            uint16_t want = BANNER_FILL;
            if (y == r.y || x == r.x) {
                want = light;
            } else if (x == bx1 || (y == by1 && x < bx1)) {
                want = dark;
            }
            const uint16_t got = canvasAt(w, x, y);
            const bool text = x >= r.x + 8 && y >= r.y + 4 && y < r.y + 31 && got == BANNER_TEXT;
            if (got != want && !text) {
                wrong++;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
    // The text itself: the same words drawn at (8, 4) of a banner of its own.
    WindowCanvas own{};
    canvasInit(own);
    ASSERT_EQ(canvasCreate(own, r.width < 64 ? 64 : r.width, r.height < 32 ? 32 : r.height), 1);
    surfaceFill(own.surface, BANNER_FILL);
    drawText(own, levelFlow.bannerText, 8, 4, BANNER_TEXT, 0, &builtinFonts[BANNER_FONT]);
    int textWrong = 0;
    for (int32_t y = 1; y < r.height - 1; y++) {
        for (int32_t x = 1; x < r.width - 1; x++) {
            const uint16_t want = own.surface.pixels[size_t(y * own.surface.width + x)];
            textWrong += canvasAt(w, r.x + x, r.y + y) != want;
        }
    }
    canvasFree(own);
    EXPECT_EQ(textWrong, 0);

    // A timed step copies the board's rectangle straight to the screen.
    scriptScreenResetCounters();
    const int32_t steps = fineGrid.stepCounter;
    game.session.pass(100);
    EXPECT_EQ(fineGrid.stepCounter, steps + 1);
    EXPECT_EQ(scriptScreen().copyCount, 1u);
    EXPECT_EQ(scriptScreen().lastX, w->x + boardView.originX);
    EXPECT_EQ(scriptScreen().lastY, w->y + boardView.originY);
    EXPECT_EQ(scriptScreen().lastWidth, boardView.pixelWidth);
    EXPECT_EQ(scriptScreen().lastHeight, boardView.pixelHeight);

    // The banner's end: the Tick only asks for a redraw (no board, no copy of
    // its own), the Draw of the same pass shows the board.
    game.session.now = levelFlow.bannerEnd - 100;
    game.session.pass(0);
    EXPECT_EQ(levelFlow.bannerVisible, 1u);
    scriptScreenResetCounters();
    game.session.pass(100);
    EXPECT_EQ(levelFlow.bannerVisible, 0u);
    EXPECT_EQ(levelFlow.boardVisible, 1u);
    EXPECT_EQ(scriptScreen().copyCount, 1u);
    EXPECT_EQ(scriptScreen().lastWidth, 640);
    EXPECT_NE(canvasAt(w, r.x + 4, r.y + r.height - 4), BANNER_FILL);

    // A completed level is acted on before the keys: no step on that pass.
    levelFlow.levelComplete = 1;
    game.session.key(KEY_ESCAPE, 500);
    EXPECT_EQ(levelFlow.level, 5);
    EXPECT_EQ(levelFlow.highestLevel, 5);
    EXPECT_EQ(gameWindow->closeRequested, 0u);
    EXPECT_EQ(levelFlow.nextStep, game.session.now);

    // A page key starts the level again from this pass's time.
    game.session.pass(100);
    game.session.key(KEY_PAGE_DOWN, 30);
    EXPECT_EQ(levelFlow.level, 4);
    EXPECT_EQ(levelFlow.nextStep, game.session.now);
}

TEST(GameFlow, ContinueWindowClosedByItsCloseBoxStartsTheLevel) {
    GameSession session(GHOLD_DATA_FILE, 2);
    ASSERT_EQ(desktop.count, 2);
    Window* c = desktop.windows[1];
    EXPECT_EQ(c->canvas.surface.width, 256);
    EXPECT_EQ(c->canvas.surface.height, 288);
    EXPECT_EQ(c->frameX, 190);
    EXPECT_EQ(c->frameY, 84);
    EXPECT_STREQ(c->title, "Gloomhold");
    // Nothing of the board is drawn before the game has started.
    EXPECT_EQ(canvasAt(gameWindow, boardView.originX + 5, boardView.originY + 5),
              styleTable.colours[0]);
    c->closeRequested = 1;
    session.pass();
    EXPECT_EQ(desktop.count, 1);
    EXPECT_EQ(levelFlow.started, 1u);
    EXPECT_EQ(levelFlow.level, 2);
    EXPECT_STREQ(levelFlow.bannerText, "Level 2");
    EXPECT_EQ(gameWindow->active, 1u);
}

TEST(GameFlow, AQuitRequestStillLetsTheLastTickSaveANewLevel) {
    Game game;
    ASSERT_EQ(levelFlow.level, 4);
    levelFlow.levelComplete = 1;
    MainWndProc(MSG_CLOSE, 0, 0);
    EXPECT_FALSE(game.session.pass());
    EXPECT_EQ(levelFlow.highestLevel, 5);
    EXPECT_EQ(readLevelProgress(), 5);
}

TEST(GameFlow, AQuitAsTheLastLevelEndsClosesTheEndPictureAndThenTheGame) {
    Game game;
    levelFlow.level = 50;
    levelFlow.levelComplete = 1;
    MainWndProc(MSG_CLOSE, 0, 0);
    // The last Tick opens the end picture, which is the window closed then.
    EXPECT_TRUE(game.session.pass());
    EXPECT_EQ(desktop.count, 1);
    EXPECT_EQ(levelFlow.level, 0);
    EXPECT_EQ(levelFlow.started, 1u);
    EXPECT_FALSE(game.session.pass());
    EXPECT_EQ(gameWindow, nullptr);
}

TEST(GameFlow, ContinueWindowShowsThePictureAndTheEndPictureHidesTheBoard) {
    Game game;
    ASSERT_NE(titlePictures[2].pixels, nullptr);
    levelFlow.level = 50;
    levelFlow.levelComplete = 1;
    game.session.pass(100);
    ASSERT_EQ(desktop.count, 2);
    EXPECT_EQ(levelFlow.started, 0u);
    Window* c = desktop.windows[1];
    EXPECT_EQ(continuePicture, 2);
    EXPECT_EQ(c->canvas.surface.pixels[0], titlePictures[2].pixels[0]);
    EXPECT_EQ(c->canvas.surface.pixels[size_t(titlePictures[2].width) * 3 + 5],
              titlePictures[2].pixels[size_t(titlePictures[2].width) * 3 + 5]);
    game.session.pass(1000);
    EXPECT_EQ(desktop.count, 2);
    game.session.key('X');
    EXPECT_EQ(desktop.count, 1);
    EXPECT_EQ(levelFlow.level, 0);
    EXPECT_EQ(levelFlow.started, 1u);
    EXPECT_EQ(levelFlow.highestLevel, 4);
}
