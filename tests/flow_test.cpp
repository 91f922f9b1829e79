// The level flow on the scripted platform: the step timer, the keys, level
// completion with the progress file, the banner and the " Continue " window.
#include "game/flow.h"

#include "game/board.h"
#include "game/fluid.h"
#include "game/progress.h"
#include "platform/platform_script.h"
#include "shell/mainwnd.h"
#include "tests/support/game_session.h"
#include "toolkit/buttons.h"
#include "toolkit/desktop.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// A session already past the two title pictures, playing highestLevel.
struct Playing {
    GameSession session;
    explicit Playing(int32_t progress) : session(GHOLD_DATA_FILE, progress) {
        EXPECT_EQ(session.startFailure, nullptr);
        session.key(KEY_SPACE);
        session.key(KEY_SPACE);
        EXPECT_EQ(levelFlow.started, 1u);
        EXPECT_EQ(desktop.count, 1);
        // The first pass of the level takes its first step.
        session.pass();
    }
    int32_t steps() const { return fineGrid.stepCounter; }
};

// The " Continue " button as the toolkit draws it when the pointer is not on
// it, on a canvas of the given size; its rectangle in `rect`.
std::vector<uint16_t> drawnContinueButton(int32_t width, int32_t height, Rect& rect) {
    auto window = std::make_unique<Window>();
    canvasInit(window->canvas);
    if (!canvasCreate(window->canvas, width, height)) {
        return {};
    }
    Window* before = desktop.current;
    desktop.current = window.get();
    Button button{};
    buttonCreate(button, 90, 262, 0, " Continue ", 0, CLICK_ON_RELEASE);
    buttonDraw(button);
    desktop.current = before;
    rect = button.rect;
    const Surface& s = window->canvas.surface;
    std::vector<uint16_t> pixels(s.pixels, s.pixels + size_t(s.width) * s.height);
    canvasFree(window->canvas);
    return pixels;
}

} // namespace

TEST(LevelFlow, ContinueWindowPicturesShowItsButtonWhereItSits) {
    GameSession session(GHOLD_DATA_FILE, 3);
    session.pass();
    ASSERT_EQ(desktop.count, 2);
    for (int32_t picture = 0; picture < 2; ++picture) {
        ASSERT_EQ(continuePicture, picture);
        const Window* w = desktop.windows[1];
        const Surface& shown = w->canvas.surface;
        Rect r{};
        const std::vector<uint16_t> button = drawnContinueButton(shown.width, shown.height, r);
        ASSERT_FALSE(button.empty());
        ASSERT_LE(r.x + r.width, shown.width);
        ASSERT_LE(r.y + r.height, shown.height);
        int32_t different = 0;
        for (int32_t y = r.y; y < r.y + r.height; ++y) {
            for (int32_t x = r.x; x < r.x + r.width; ++x) {
                const size_t i = size_t(y) * shown.width + x;
                different += shown.pixels[i] != button[i];
            }
        }
        EXPECT_EQ(different, 0) << "picture " << picture;
        session.key(KEY_SPACE);
    }
}

TEST(LevelFlow, StoredProgressDecidesWherePlayResumes) {
    EXPECT_EQ(resumeLevelFrom(0), 0);
    EXPECT_EQ(resumeLevelFrom(50), 50);
    EXPECT_EQ(resumeLevelFrom(51), 50);
    EXPECT_EQ(resumeLevelFrom(52), 0);
    EXPECT_EQ(resumeLevelFrom(65535), 0);
    for (int32_t stored : {51, 52}) {
        GameSession session(GHOLD_DATA_FILE, stored);
        EXPECT_EQ(levelFlow.highestLevel, stored == 51 ? 50 : 0);
        EXPECT_EQ(levelFlow.level, levelFlow.highestLevel);
    }
}

TEST(LevelFlow, ContinueWindowAdvancesOnAnyKeyButAltAlone) {
    GameSession session(GHOLD_DATA_FILE, 3);
    ASSERT_EQ(desktop.count, 2);
    EXPECT_EQ(continuePicture, 0);
    EXPECT_EQ(levelFlow.started, 0u);
    session.pass(500);
    EXPECT_EQ(continuePicture, 0);
    // Alt pressed and let go is no key.
    MainWndProc(MSG_SYS_KEY_DOWN, KEY_ALT, 0);
    MainWndProc(MSG_SYS_KEY_UP, KEY_ALT, 0);
    session.pass();
    EXPECT_EQ(continuePicture, 0);
    session.key('Q');
    EXPECT_EQ(continuePicture, 1);
    EXPECT_EQ(desktop.count, 2);
    // The key that closes the window does not reach the game below it.
    session.key(KEY_ESCAPE);
    EXPECT_EQ(desktop.count, 1);
    EXPECT_EQ(levelFlow.started, 1u);
    EXPECT_EQ(levelFlow.level, 3);
    EXPECT_EQ(gameWindow->closeRequested, 0u);
}

TEST(LevelFlow, BannerOfLevelSevenIsCentredOnTheBoard) {
    Playing game(7);
    EXPECT_STREQ(levelFlow.bannerText, "Level 7");
    EXPECT_EQ(levelFlow.bannerRect.width, 128);
    EXPECT_EQ(levelFlow.bannerRect.height, 35);
    EXPECT_EQ(levelFlow.bannerRect.x, boardView.originX + ((boardView.pixelWidth - 128) >> 1));
    EXPECT_EQ(levelFlow.bannerRect.y, boardView.originY + ((boardView.pixelHeight - 35) >> 1));
    EXPECT_EQ(levelFlow.bannerEnd, game.session.now + 1200);

    // A level one tile wide: the banner overhangs, and the halving of an odd
    // negative difference rounds down.
    board.width = 1;
    boardView.pixelWidth = 33;
    boardView.originX = 100;
    layoutBanner();
    EXPECT_EQ(levelFlow.bannerRect.x, 100 + ((33 - 128) >> 1));
    EXPECT_EQ(levelFlow.bannerRect.x, 52);
}

TEST(LevelFlow, TimedStepsArrowsAndRepeats) {
    Playing game(0);
    // Past the banner, so that the arrows move the player.
    game.session.pass(1200);
    const int32_t first = game.steps();
    // Timed: nothing before 100 ms, one step at 100 ms, unsigned deadline.
    game.session.pass(99);
    EXPECT_EQ(game.steps(), first);
    game.session.pass(1);
    EXPECT_EQ(game.steps(), first + 1);
    EXPECT_EQ(levelFlow.nextStep, game.session.now + 100);
    // Any other key does not delay the timed step nor take one early.
    game.session.key('Q', 10);
    EXPECT_EQ(game.steps(), first + 1);
    // Arrow repeats 30 ms apart: a step on every one.
    MainWndProc(MSG_KEY_DOWN, KEY_RIGHT, 0);
    game.session.pass(10);
    MainWndProc(MSG_KEY_DOWN, KEY_RIGHT, 0);
    game.session.pass(30);
    MainWndProc(MSG_KEY_DOWN, KEY_RIGHT, 0);
    game.session.pass(30);
    EXPECT_EQ(game.steps(), first + 4);
    EXPECT_EQ(levelFlow.moveRequest, 0); // taken by the rules
    MainWndProc(MSG_KEY_UP, KEY_RIGHT, 0);
    // The next timed step counts from the last arrow.
    game.session.pass(99);
    EXPECT_EQ(game.steps(), first + 4);
    game.session.pass(1);
    EXPECT_EQ(game.steps(), first + 5);

    // A clock that wraps keeps stepping: the deadline compare is unsigned.
    game.session.now = 0xFFFFFFF0u;
    game.session.key(KEY_LEFT);
    EXPECT_EQ(levelFlow.nextStep, 0xFFFFFFF0u + 100u);
    EXPECT_EQ(game.steps(), first + 6);
    game.session.pass(50);
    EXPECT_EQ(game.steps(), first + 6);
    game.session.pass(50);
    EXPECT_EQ(game.steps(), first + 7);
}

TEST(LevelFlow, PageKeysStayWithinTheLevelsReachedAndTakeNoStep) {
    Playing game(2);
    int32_t steps = game.steps();
    // At highestLevel Page Up does nothing, not even a step.
    game.session.key(KEY_PAGE_UP, 500);
    EXPECT_EQ(levelFlow.level, 2);
    EXPECT_EQ(game.steps(), steps);
    game.session.key(KEY_PAGE_DOWN, 500);
    EXPECT_EQ(levelFlow.level, 1);
    EXPECT_EQ(levelFlow.boardVisible, 1u);
    EXPECT_EQ(levelFlow.bannerEnd, game.session.now + 1200);
    game.session.key(KEY_PAGE_DOWN);
    EXPECT_EQ(levelFlow.level, 0);
    steps = game.steps();
    game.session.key(KEY_PAGE_DOWN, 500);
    EXPECT_EQ(levelFlow.level, 0);
    EXPECT_EQ(game.steps(), steps);
    game.session.key(KEY_PAGE_UP);
    EXPECT_EQ(levelFlow.level, 1);

    // R restarts: banner over a cleared window, board hidden until it ends.
    game.session.pass(1300);
    EXPECT_EQ(levelFlow.boardVisible, 1u);
    game.session.key(KEY_R, 20);
    EXPECT_EQ(levelFlow.level, 1);
    EXPECT_EQ(levelFlow.boardVisible, 0u);
    EXPECT_EQ(levelFlow.nextStep, game.session.now);
    EXPECT_EQ(levelFlow.bannerVisible, 1u); // drawn by the Draw of the same pass
}

TEST(LevelFlow, CompletingLevelsWritesProgressOnlyWhenNew) {
    Playing game(49);
    ASSERT_EQ(levelFlow.level, 49);
    levelFlow.levelComplete = 1;
    game.session.pass();
    EXPECT_EQ(levelFlow.level, 50);
    EXPECT_EQ(levelFlow.highestLevel, 50);
    EXPECT_EQ(levelFlow.levelComplete, 0u);
    EXPECT_EQ(readLevelProgress(), 50);

    // A replayed level writes nothing.
    game.session.key(KEY_PAGE_DOWN);
    levelFlow.levelComplete = 1;
    std::filesystem::remove(game.session.file("LevelInfo.dat"));
    game.session.pass();
    EXPECT_EQ(levelFlow.level, 50);
    EXPECT_FALSE(std::filesystem::exists(game.session.file("LevelInfo.dat")));

    // After the last level: the end picture, then level 0.
    levelFlow.levelComplete = 1;
    game.session.pass();
    EXPECT_EQ(desktop.count, 2);
    EXPECT_EQ(continuePicture, 2);
    EXPECT_EQ(levelFlow.level, 0);
    EXPECT_EQ(levelFlow.highestLevel, 50);
    EXPECT_FALSE(std::filesystem::exists(game.session.file("LevelInfo.dat")));
    game.session.key(KEY_SPACE);
    EXPECT_EQ(desktop.count, 1);
    EXPECT_EQ(levelFlow.level, 0);
    EXPECT_EQ(levelFlow.levelComplete, 0u);
    EXPECT_STREQ(levelFlow.bannerText, "Level 0");
}

TEST(LevelFlow, EscapeClosesTheGameAndAMissingDataFileEndsIt) {
    {
        Playing game(0);
        EXPECT_TRUE(game.session.key(KEY_ESCAPE) == false);
        EXPECT_EQ(desktop.count, 0);
        EXPECT_EQ(gameWindow, nullptr);
        EXPECT_EQ(gameDataMissing(), 0);
    }
    GameSession session("", -1);
    EXPECT_EQ(session.startFailure, nullptr);
    EXPECT_EQ(gameDataMissing(), 1);
    // The failure dialog stands over the game window until it is dismissed;
    // then the game window closes, and with it the program.
    ASSERT_EQ(desktop.count, 2);
    EXPECT_TRUE(session.pass(1000));
    EXPECT_EQ(desktop.count, 2);
    EXPECT_TRUE(session.key(KEY_ENTER));
    EXPECT_EQ(desktop.count, 1);
    EXPECT_FALSE(session.pass());
    EXPECT_EQ(desktop.count, 0);
}
