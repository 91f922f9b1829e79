// The game on the scripted platform, started as the program starts it in a
// folder holding a copy of GHold.dat: the title pictures, the banner, the
// step timer and the keys, levels completed and remembered, and the end.
#include "game/flow.h"

#include "game/board.h"
#include "game/fluid.h"
#include "game/gamedata.h"
#include "game/progress.h"
#include "platform/platform_script.h"
#include "shell/mainwnd.h"
#include "tests/support/desktop_env.h"
#include "tests/support/game_session.h"
#include "tests/support/golden.h"
#include "tests/support/ints.h"
#include "toolkit/buttons.h"
#include "toolkit/desktop.h"
#include "tools/leveltext.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// A session already past the two title pictures, playing highestLevel.
struct Playing {
    GameSession session;
    explicit Playing(int32_t progress) : session(GHOLD_DATA_FILE, progress) {
        EXPECT_EQ(session.startFailure, nullptr);
        session.key(KEY_SPACE);
        session.key(KEY_SPACE);
        EXPECT_EQ(ints(levelFlow.started, desktop.count), ints(1, 1));
        session.pass(); // the first pass of the level takes its first step
    }
    int32_t steps() const { return fineGrid.stepCounter; }
};

LevelText readLevel(const std::string& path) {
    LevelText level{};
    std::string error;
    EXPECT_TRUE(readLevelTextFile(path, level, error)) << error;
    return level;
}

std::vector<uint16_t> pixelsOf(const Surface& s) {
    return std::vector<uint16_t>(s.pixels, s.pixels + size_t(s.width) * size_t(s.height));
}

} // namespace

TEST(Game, TitlePicturesThenTheLevelBannerForExactlyOnePointTwoSeconds) {
    GameSession session(GHOLD_DATA_FILE, 0);
    ASSERT_EQ(session.startFailure, nullptr);
    // Our own level in place of level 0, so that the pictures do not follow
    // the shipped levels' redesigns.
    levelRecords[0] = readLevel(GHOLD_SOURCE_DIR "/tests/data/flow_hall.txt").record;
    // The title pictures in the " Continue " window, exactly as the data
    // file holds them; nothing of the board is drawn yet.
    session.pass();
    ASSERT_EQ(desktop.count, 2);
    const Window* title = desktop.windows[1];
    EXPECT_EQ(ints(title->canvas.surface.width, title->canvas.surface.height, title->frameX,
                   title->frameY),
              ints(256, 288, 190, 84));
    EXPECT_STREQ(title->title, "Gloomhold");
    for (int picture = 0; picture < 2; picture++) {
        const Surface& shown = titlePictures[picture];
        EXPECT_EQ(screenCrop(title->x, title->y, shown.width, shown.height), pixelsOf(shown));
        session.key(KEY_SPACE, 700);
    }
    ASSERT_EQ(desktop.count, 1);
    EXPECT_EQ(ints(levelFlow.started, gameWindow->active), ints(1, 1));
    const uint32_t start = session.now;
    session.pass();
    EXPECT_EQ(ints(levelFlow.bannerVisible, levelFlow.boardVisible), ints(1, 0));
    EXPECT_TRUE(matchesGolden("game-banner", 640, 480, scriptScreen().pixels.data()));
    const std::vector<uint16_t> bannerScreen = scriptScreen().pixels;
    // The board keeps stepping underneath, unseen, until the banner's time
    // is up; its own copies to the screen are only of the board.
    const int32_t steps = fineGrid.stepCounter;
    for (int i = 0; i < 23; i++) {
        session.pass(50);
    }
    session.pass(49);
    EXPECT_EQ(ints(levelFlow.bannerVisible, fineGrid.stepCounter - steps), ints(1, 11));
    EXPECT_EQ(scriptScreen().pixels, bannerScreen);
    session.pass(1);
    EXPECT_EQ(ints(session.now - start, levelFlow.bannerVisible, levelFlow.boardVisible),
              ints(1200, 0, 1));
    EXPECT_TRUE(matchesGolden("game-board", 640, 480, scriptScreen().pixels.data()));
    // A step copies the board's rectangle to the screen, with the 8 pixels
    // above it that the torch's light reaches.
    scriptScreenResetCounters();
    session.pass(100);
    EXPECT_EQ(lastScreenCopy(), ints(1, boardView.originX, boardView.originY - 8, 330, 165 + 8));
}

TEST(Game, TheContinueWindowAdvancesOnAnyKeyButAltAloneAndShowsItsButtonOnThePicture) {
    EXPECT_EQ(ints(resumeLevelFrom(0), resumeLevelFrom(50), resumeLevelFrom(51),
                   resumeLevelFrom(52), resumeLevelFrom(65535)),
              ints(0, 50, 50, 0, 0));
    // Stored progress past the last level resumes at it, or beyond at 0.
    for (int32_t stored : {51, 52}) {
        GameSession again(GHOLD_DATA_FILE, stored);
        EXPECT_EQ(ints(levelFlow.highestLevel, levelFlow.level),
                  ints(stored == 51 ? 50 : 0, stored == 51 ? 50 : 0));
    }
    GameSession session(GHOLD_DATA_FILE, 3);
    ASSERT_EQ(ints(desktop.count, continuePicture, levelFlow.started), ints(2, 0, 0));
    // The pictures carry the " Continue " button as the toolkit draws it.
    Window* window = desktop.windows[1];
    Window copy{};
    canvasInit(copy.canvas);
    ASSERT_EQ(canvasCreate(copy.canvas, 256, 288), 1);
    desktop.current = &copy;
    Button button{};
    buttonCreate(button, 90, 262, 0, " Continue ", 0, CLICK_ON_RELEASE);
    buttonDraw(button);
    desktop.current = nullptr;
    for (int32_t y = 262; y < 262 + 21; y++) {
        for (int32_t x = 90; x < 90 + button.rect.width; x++) {
            ASSERT_EQ(window->canvas.surface.pixels[y * 256 + x],
                      copy.canvas.surface.pixels[y * 256 + x]);
        }
    }
    canvasFree(copy.canvas);
    session.pass(500);
    // Alt pressed and let go is no key.
    MainWndProc(MSG_SYS_KEY_DOWN, KEY_ALT, 0);
    MainWndProc(MSG_SYS_KEY_UP, KEY_ALT, 0);
    session.pass();
    EXPECT_EQ(continuePicture, 0);
    session.key('Q');
    EXPECT_EQ(ints(continuePicture, desktop.count), ints(1, 2));
    // The key that closes the window does not reach the game below it.
    session.key(KEY_ESCAPE);
    EXPECT_EQ(ints(desktop.count, levelFlow.started, levelFlow.level, gameWindow->closeRequested),
              ints(1, 1, 3, 0));
}

TEST(Game, TimedStepsArrowsAndRepeatsAndAClockThatWraps) {
    Playing game(0);
    // Past the banner, so that the arrows move the player.
    game.session.pass(1200);
    const int32_t first = game.steps();
    // Timed: nothing before 100 ms, one step at 100 ms.
    game.session.pass(99);
    EXPECT_EQ(game.steps(), first);
    game.session.pass(1);
    EXPECT_EQ(ints(game.steps() - first, levelFlow.nextStep - game.session.now), ints(1, 100));
    // Any other key does not delay the timed step nor take one early.
    game.session.key('Q', 10);
    EXPECT_EQ(game.steps(), first + 1);
    // Arrow repeats 30 ms apart: a step on every one.
    for (uint32_t advance : {10u, 30u, 30u}) {
        MainWndProc(MSG_KEY_DOWN, KEY_RIGHT, 0);
        game.session.pass(advance);
    }
    EXPECT_EQ(ints(game.steps() - first, levelFlow.moveRequest), ints(4, 0));
    MainWndProc(MSG_KEY_UP, KEY_RIGHT, 0);
    // The next timed step counts from the last arrow.
    game.session.pass(99);
    EXPECT_EQ(game.steps(), first + 4);
    game.session.pass(1);
    EXPECT_EQ(game.steps(), first + 5);
    // A clock that wraps keeps stepping: the deadline compare is unsigned.
    game.session.now = 0xFFFFFFF0u;
    game.session.key(KEY_LEFT);
    EXPECT_EQ(ints(levelFlow.nextStep, game.steps() - first), ints(0xFFFFFFF0u + 100u, 6));
    game.session.pass(50);
    EXPECT_EQ(game.steps(), first + 6);
    game.session.pass(50);
    EXPECT_EQ(game.steps(), first + 7);
}

TEST(Game, PageKeysStayWithinTheLevelsReachedAndRRestarts) {
    Playing game(2);
    EXPECT_STREQ(levelFlow.bannerText, "Level 2");
    // The banner is centred on the board, the halving of an odd negative
    // difference rounding down.
    EXPECT_EQ(ints(levelFlow.bannerRect.width, levelFlow.bannerRect.height,
                   levelFlow.bannerRect.x - boardView.originX,
                   levelFlow.bannerEnd - game.session.now),
              ints(128, 35, (boardView.pixelWidth - 128) >> 1, 1200));
    boardView.pixelWidth = 33;
    boardView.originX = 100;
    layoutBanner();
    EXPECT_EQ(levelFlow.bannerRect.x, 52);
    int32_t steps = game.steps();
    // At highestLevel Page Up does nothing, not even a step; Page Down starts
    // the level below at once from this pass's time.
    const struct {
        uint8_t vk;
        uint32_t advance;
        int32_t level;
        bool newLevel;
    } keys[] = {{KEY_PAGE_UP, 500, 2, false},
                {KEY_PAGE_DOWN, 500, 1, true},
                {KEY_PAGE_DOWN, 30, 0, true},
                {KEY_PAGE_DOWN, 500, 0, false},
                {KEY_PAGE_UP, 30, 1, true}};
    for (const auto& k : keys) {
        steps = game.steps();
        game.session.key(k.vk, k.advance);
        // A new level's set-up runs the water once; the rules wait for the next pass.
        EXPECT_EQ(ints(levelFlow.level, game.steps() - steps), ints(k.level, k.newLevel))
            << int(k.vk);
        if (k.newLevel) {
            EXPECT_EQ(ints(levelFlow.nextStep, levelFlow.bannerEnd - game.session.now,
                           levelFlow.boardVisible),
                      ints(game.session.now, 1200, 1));
        }
    }
    // R restarts: the banner over a cleared window, the board hidden until it ends.
    game.session.pass(1300);
    EXPECT_EQ(levelFlow.boardVisible, 1u);
    game.session.key(KEY_R, 20);
    EXPECT_EQ(ints(levelFlow.level, levelFlow.boardVisible, levelFlow.bannerVisible,
                   levelFlow.nextStep - game.session.now),
              ints(1, 0, 1, 0));
}

TEST(Game, CompletedLevelsAreRememberedOnlyWhenNewAndTheLastLeadsToTheEndPicture) {
    Playing game(49);
    levelFlow.levelComplete = 1;
    // A completed level is acted on before the keys: the next level is set up
    // (one water step) and takes its first step on the next pass.
    const int32_t steps = game.steps();
    game.session.key(KEY_ESCAPE, 500);
    EXPECT_EQ(ints(levelFlow.level, levelFlow.highestLevel, levelFlow.levelComplete,
                   readLevelProgress(), gameWindow->closeRequested, game.steps() - steps,
                   levelFlow.nextStep - game.session.now),
              ints(50, 50, 0, 50, 0, 1, 0));
    // A replayed level writes nothing.
    game.session.key(KEY_PAGE_DOWN);
    levelFlow.levelComplete = 1;
    std::filesystem::remove(game.session.file("LevelInfo.dat"));
    game.session.pass();
    EXPECT_EQ(levelFlow.level, 50);
    EXPECT_FALSE(std::filesystem::exists(game.session.file("LevelInfo.dat")));
    // After the last level: the end picture over a hidden board, then level 0.
    levelFlow.levelComplete = 1;
    game.session.pass(100);
    EXPECT_EQ(ints(desktop.count, continuePicture, levelFlow.level, levelFlow.highestLevel,
                   levelFlow.started),
              ints(2, 2, 0, 50, 0));
    EXPECT_EQ(pixelsOf(desktop.windows[1]->canvas.surface), pixelsOf(titlePictures[2]));
    game.session.key(KEY_SPACE);
    EXPECT_EQ(ints(desktop.count, levelFlow.level, levelFlow.started), ints(1, 0, 1));
    EXPECT_STREQ(levelFlow.bannerText, "Level 0");
}

TEST(Game, AQuitStillLetsTheLastTickSaveANewLevelOrOpenTheEndPicture) {
    {
        Playing game(4);
        levelFlow.levelComplete = 1;
        MainWndProc(MSG_CLOSE, 0, 0);
        EXPECT_FALSE(game.session.pass());
        EXPECT_EQ(ints(levelFlow.highestLevel, readLevelProgress()), ints(5, 5));
    }
    Playing game(4);
    levelFlow.level = 50;
    levelFlow.levelComplete = 1;
    MainWndProc(MSG_CLOSE, 0, 0);
    // The last Tick opens the end picture, which is the window closed then.
    EXPECT_TRUE(game.session.pass());
    EXPECT_EQ(ints(desktop.count, levelFlow.level, levelFlow.started), ints(1, 0, 1));
    EXPECT_FALSE(game.session.pass());
    EXPECT_EQ(gameWindow, nullptr);
}
