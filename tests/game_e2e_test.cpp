// The whole game on the scripted platform, started as the program starts it
// in a folder holding a copy of GHold.dat: title pictures, the level banner,
// a level played to its exit by its own solution, the keys that choose and
// restart levels, and the end with Cfg.txt written.
#include "game/board.h"
#include "game/flow.h"
#include "game/gamedata.h"
#include "game/progress.h"
#include "platform/platform_script.h"
#include "shell/mainwnd.h"
#include "tests/support/game_session.h"
#include "tests/support/golden.h"
#include "toolkit/config.h"
#include "toolkit/desktop.h"
#include "tools/leveltext.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<uint16_t> screenNow() {
    return scriptScreen().pixels;
}

// The screen's pixels inside a rectangle, row after row.
std::vector<uint16_t> screenPart(int32_t x, int32_t y, int32_t width, int32_t height) {
    const ScriptScreen& screen = scriptScreen();
    std::vector<uint16_t> part;
    for (int32_t row = y; row < y + height; row++) {
        for (int32_t column = x; column < x + width; column++) {
            part.push_back(screen.pixels[size_t(row) * size_t(screen.width) + size_t(column)]);
        }
    }
    return part;
}

std::vector<uint16_t> surfacePixels(const Surface& surface) {
    return std::vector<uint16_t>(surface.pixels,
                                 surface.pixels + size_t(surface.width) * size_t(surface.height));
}

LevelText readLevel(const std::string& path) {
    LevelText level{};
    std::string error;
    EXPECT_TRUE(readLevelTextFile(path, level, error)) << error;
    return level;
}

bool holdsColour(const std::vector<uint16_t>& pixels, uint16_t colour) {
    for (uint16_t p : pixels) {
        if (p == colour) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(Game, TitlePicturesThenTheLevelBannerForExactlyOnePointTwoSeconds) {
    GameSession session(GHOLD_DATA_FILE, 0);
    ASSERT_EQ(session.startFailure, nullptr);
    // Our own level in place of level 0, so that the pictures do not follow
    // the shipped levels' redesigns.
    levelRecords[0] = readLevel(GHOLD_SOURCE_DIR "/tests/data/flow_hall.txt").record;

    // Title picture 0 in the " Continue " window above the empty desktop,
    // exactly as the data file holds it (the picture itself is the art's
    // business, and its own tests look at it).
    session.pass();
    ASSERT_EQ(desktop.count, 2);
    Window* title = desktop.windows[1];
    const Surface& picture0 = titlePictures[0];
    EXPECT_EQ(screenPart(title->x, title->y, picture0.width, picture0.height),
              surfacePixels(picture0));

    session.key(KEY_SPACE, 700);
    ASSERT_EQ(desktop.count, 2);
    const Surface& picture1 = titlePictures[1];
    EXPECT_EQ(screenPart(title->x, title->y, picture1.width, picture1.height),
              surfacePixels(picture1));

    // The next key closes it; the pass after draws the level's banner alone.
    session.key(KEY_ENTER, 700);
    ASSERT_EQ(desktop.count, 1);
    const uint32_t start = session.now;
    session.pass();
    EXPECT_EQ(levelFlow.bannerVisible, 1u);
    EXPECT_EQ(levelFlow.boardVisible, 0u);
    EXPECT_TRUE(matchesGolden("game-banner", 640, 480, scriptScreen().pixels.data()));
    const std::vector<uint16_t> bannerScreen = screenNow();
    EXPECT_TRUE(holdsColour(bannerScreen, BANNER_TEXT));

    // The board keeps stepping underneath, unseen, until the banner's time is up.
    while (session.now + 50 < start + 1200) {
        session.pass(50);
    }
    session.pass(start + 1199 - session.now);
    EXPECT_EQ(levelFlow.bannerVisible, 1u);
    EXPECT_EQ(screenNow(), bannerScreen);
    session.pass(1);
    EXPECT_EQ(session.now, start + 1200);
    EXPECT_EQ(levelFlow.bannerVisible, 0u);
    EXPECT_EQ(levelFlow.boardVisible, 1u);
    EXPECT_FALSE(holdsColour(screenNow(), BANNER_TEXT));
    EXPECT_TRUE(matchesGolden("game-board", 640, 480, scriptScreen().pixels.data()));

    // A step copies the board's rectangle straight to the screen, with the
    // 8 pixels above it that the torch's light reaches.
    scriptScreenResetCounters();
    session.pass(100);
    const ScriptScreen& screen = scriptScreen();
    EXPECT_EQ(screen.copyCount, 1u);
    EXPECT_EQ(screen.lastX, boardView.originX);
    EXPECT_EQ(screen.lastY, boardView.originY - 8);
    EXPECT_EQ(screen.lastWidth, 330);
    EXPECT_EQ(screen.lastHeight, 165 + 8);

    // Page Down is nothing at level 0; Page Up has nowhere to go either.
    session.key(KEY_PAGE_DOWN, 100);
    session.key(KEY_PAGE_UP, 100);
    EXPECT_EQ(levelFlow.level, 0);
}

TEST(Game, PlaysALevelByItsSolutionAndEndsWithTheSettingsSaved) {
    GameSession session(GHOLD_DATA_FILE, -1);
    ASSERT_EQ(session.startFailure, nullptr);
    EXPECT_EQ(levelFlow.highestLevel, 0);
    const LevelText level = readLevel(GHOLD_SOURCE_DIR "/assets/levels/level00.txt");
    ASSERT_FALSE(level.solution.empty());
    // The level as its text stands now, should the packed file lag behind.
    levelRecords[0] = level.record;

    session.key(KEY_SPACE);
    session.key(KEY_SPACE);
    ASSERT_EQ(levelFlow.started, 1u);
    EXPECT_FALSE(std::filesystem::exists(session.file("LevelInfo.dat")));
    // Arrows move the player only once the banner has let the board show.
    session.pass(1200);

    // One character of the solution per tick: an arrow steps at once, a
    // wait is the timed step 100 ms after the previous one.
    for (char move : level.solution) {
        ASSERT_EQ(levelFlow.level, 0) << "the level ended before its solution did";
        if (const uint8_t vk = keyForMove(move)) {
            session.key(vk, 100);
        } else {
            session.pass(100);
        }
    }
    EXPECT_EQ(levelFlow.levelComplete, 1u);
    session.pass();
    EXPECT_EQ(levelFlow.level, 1);
    EXPECT_EQ(levelFlow.highestLevel, 1);
    EXPECT_STREQ(levelFlow.bannerText, "Level 1");
    EXPECT_EQ(levelFlow.bannerVisible, 1u);
    EXPECT_EQ(readLevelProgressFile(session.file("LevelInfo.dat").string().c_str()), 1);

    // Page Up stops at the highest level reached; Page Down and back, R.
    session.key(KEY_PAGE_UP, 100);
    EXPECT_EQ(levelFlow.level, 1);
    session.key(KEY_PAGE_DOWN, 100);
    EXPECT_EQ(levelFlow.level, 0);
    EXPECT_EQ(levelFlow.boardVisible, 1u);
    session.key(KEY_PAGE_UP, 100);
    EXPECT_EQ(levelFlow.level, 1);
    session.key(KEY_R, 100);
    EXPECT_EQ(levelFlow.level, 1);
    EXPECT_EQ(levelFlow.boardVisible, 0u);

    // The window is made larger, then Escape ends the game and the loop.
    MainWndProc(MSG_SIZE, SIZE_RESTORED, 700u | (500u << 16));
    EXPECT_TRUE(session.pass(100));
    EXPECT_FALSE(session.key(KEY_ESCAPE, 100));
    EXPECT_EQ(desktop.count, 0);
    session.end();
    configReset();
    configLoadFile(session.file("Cfg.txt").string().c_str());
    EXPECT_STREQ(configGet("WINDX"), "700");
    EXPECT_STREQ(configGet("WINDY"), "500");
    EXPECT_STREQ(configGet("FULLSCR"), "0");
}
