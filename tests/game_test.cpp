// The game on the scripted platform, started as the program starts it in a
// folder holding a copy of GHold.dat: the title pictures, the banner, the
// step timer and the keys, levels completed and remembered, and the end;
// and what it gives a player beyond the rules: a clean picture after every
// step, no moves behind the banner, undo and redo, the level line, pause,
// sound off, the window of keys, the records with the level list, and
// progress never lost in silence.
#include "game/board.h"
#include "game/flow.h"
#include "game/fluid.h"
#include "game/gamedata.h"
#include "game/history.h"
#include "game/playerfiles.h"
#include "game/progress.h"
#include "game/records.h"
#include "game/sound.h"
#include "game/titles.h"
#include "platform/platform_script.h"
#include "shell/mainwnd.h"
#include "tests/support/desktop_env.h"
#include "tests/support/game_session.h"
#include "tests/support/golden.h"
#include "tests/support/ints.h"
#include "tests/support/scenario.h"
#include "toolkit/desktop.h"
#include "tools/leveltext.h"
#include "tools/render.h"
#include "tools/sim.h"
#include "widgets/msgbox.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<uint16_t> pixelsOf(const Surface& s) {
    return std::vector<uint16_t>(s.pixels, s.pixels + size_t(s.width) * size_t(s.height));
}

// One tick of play per move character of the level text's format (R, L,
// U, D or a wait), 100 ms apart.
void play(GameSession& session, const std::string& moves) {
    // The arrow keys in the order of the moves they request.
    const uint8_t arrows[] = {0, KEY_RIGHT, KEY_LEFT, KEY_UP, KEY_DOWN};
    for (char move : moves) {
        if (const int32_t request = moveFromChar(move); request > MOVE_NONE) {
            session.key(arrows[request], STEP_MS);
        } else {
            session.pass(STEP_MS);
        }
    }
}

// Past the title pictures into the highest level reached, and past its
// banner unless told not to; the level's first pass takes its first step.
void startPlaying(GameSession& session, bool pastBanner = true) {
    ASSERT_EQ(session.startFailure, nullptr);
    session.key(KEY_SPACE);
    session.key(KEY_SPACE);
    session.pass(pastBanner ? BANNER_MS : 0);
    ASSERT_EQ(ints(levelFlow.started, desktop.count, levelFlow.boardVisible),
              ints(1, 1, pastBanner));
}

// The cell the player stands in, as its index; -1 when there is none.
int playerCell() {
    for (int i = 0; i < CELL_COUNT; i++) {
        const int8_t code = board.cells[i][LAYER_OBJECT];
        if (code == PLAYER_LEFT || code == PLAYER_RIGHT) {
            return i;
        }
    }
    return -1;
}

std::string fileText(const std::filesystem::path& path) {
    const std::vector<uint8_t> bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

#define HEADING                                                                                    \
    "# Gloomhold records: level, fewest moves, fewest steps, best run (R L U D . per tick)\n"

// Alt+G opens the game menu; the letter chooses an item of it.
void chooseFromGameMenu(GameSession& session, char letter) {
    MainWndProc(MSG_SYS_KEY_DOWN, KEY_ALT, 0);
    MainWndProc(MSG_SYS_KEY_DOWN, 'G', 0);
    session.pass();
    MainWndProc(MSG_SYS_KEY_UP, KEY_ALT, 0);
    const uint8_t vk = uint8_t(letter - 'a' + 'A');
    MainWndProc(MSG_KEY_DOWN, vk, 0);
    MainWndProc(MSG_CHAR, uint8_t(letter), 0);
    session.pass();
    MainWndProc(MSG_KEY_UP, vk, 0);
}

} // namespace

TEST(Game, TitlePicturesThenTheLevelBannerForExactlyOnePointTwoSeconds) {
    GameSession session(GHOLD_DATA_FILE, 0);
    ASSERT_EQ(session.startFailure, nullptr);
    // Our own level in place of level 0, so that the pictures do not follow
    // the shipped levels' redesigns.
    LevelText hall;
    std::string error;
    ASSERT_TRUE(readLevelTextFile(GHOLD_SOURCE_DIR "/tests/data/flow_hall.txt", hall, error));
    levelRecords[0] = hall.record;
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
    ASSERT_EQ(ints(desktop.count, levelFlow.started, gameWindow->active), ints(1, 1, 1));
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
    // Stored progress past the last level resumes at it.
    {
        GameSession past(GHOLD_DATA_FILE, 51);
        EXPECT_EQ(ints(levelFlow.highestLevel, levelFlow.level), ints(50, 50));
    }
    GameSession session(GHOLD_DATA_FILE, 3);
    ASSERT_EQ(ints(desktop.count, continuePicture, levelFlow.started), ints(2, 0, 0));
    // The picture carries the " Continue " button.
    EXPECT_TRUE(matchesGolden("game-continue", desktop.windows[1]->canvas.surface));
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

// The steps every 100 ms are the loop's tests' own.
TEST(Game, ArrowsAndTheirRepeatsStepAtOnceAndAClockThatWrapsKeepsStepping) {
    GameSession session(GHOLD_DATA_FILE, 0);
    startPlaying(session);
    const int32_t first = fineGrid.stepCounter;
    // Any other key does not delay the timed step nor take one early.
    session.key('Q', 90);
    session.pass(10);
    EXPECT_EQ(fineGrid.stepCounter, first + 1);
    // Arrow repeats 30 ms apart: a step on every one.
    for (uint32_t advance : {10u, 30u, 30u}) {
        MainWndProc(MSG_KEY_DOWN, KEY_RIGHT, 0);
        session.pass(advance);
    }
    EXPECT_EQ(ints(fineGrid.stepCounter - first, levelFlow.moveRequest), ints(4, 0));
    MainWndProc(MSG_KEY_UP, KEY_RIGHT, 0);
    // The next timed step counts from the last arrow.
    session.pass(99);
    EXPECT_EQ(fineGrid.stepCounter, first + 4);
    session.pass(1);
    EXPECT_EQ(fineGrid.stepCounter, first + 5);
    // A clock that wraps keeps stepping: the deadline compare is unsigned.
    session.now = 0xFFFFFFF0u;
    session.key(KEY_LEFT);
    EXPECT_EQ(ints(levelFlow.nextStep, fineGrid.stepCounter - first), ints(0xFFFFFFF0u + 100u, 6));
    session.pass(50);
    EXPECT_EQ(fineGrid.stepCounter, first + 6);
    session.pass(50);
    EXPECT_EQ(fineGrid.stepCounter, first + 7);
}

TEST(Game, PageKeysStayWithinTheLevelsReachedAndRRestarts) {
    GameSession session(GHOLD_DATA_FILE, 2);
    startPlaying(session, false);
    EXPECT_STREQ(levelFlow.bannerText, "Level 2");
    // The banner is centred on the board, the halving of an odd negative
    // difference rounding down.
    EXPECT_EQ(ints(levelFlow.bannerRect.width, levelFlow.bannerRect.height,
                   levelFlow.bannerRect.x - boardView.originX, levelFlow.bannerEnd - session.now),
              ints(128, 35, (boardView.pixelWidth - 128) >> 1, 1200));
    boardView.pixelWidth = 33;
    boardView.originX = 100;
    layoutBanner();
    EXPECT_EQ(levelFlow.bannerRect.x, 52);
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
        const int32_t steps = fineGrid.stepCounter;
        session.key(k.vk, k.advance);
        // A new level's set-up runs the water once; the rules wait for the next pass.
        EXPECT_EQ(ints(levelFlow.level, fineGrid.stepCounter - steps), ints(k.level, k.newLevel))
            << int(k.vk);
        if (k.newLevel) {
            EXPECT_EQ(
                ints(levelFlow.nextStep, levelFlow.bannerEnd - session.now, levelFlow.boardVisible),
                ints(session.now, 1200, 1));
        }
    }
    // R restarts: the banner over a cleared window, the board hidden until it ends.
    session.pass(1300);
    EXPECT_EQ(levelFlow.boardVisible, 1u);
    session.key(KEY_R, 20);
    EXPECT_EQ(ints(levelFlow.level, levelFlow.boardVisible, levelFlow.bannerVisible,
                   levelFlow.nextStep - session.now),
              ints(1, 0, 1, 0));
}

TEST(Game, CompletedLevelsAreRememberedOnlyWhenNewAndTheLastLeadsToTheEndPicture) {
    GameSession session(GHOLD_DATA_FILE, 49);
    startPlaying(session, false);
    levelFlow.levelComplete = 1;
    // A completed level is acted on before the keys: the next level is set up
    // (one water step) and takes its first step on the next pass.
    const int32_t steps = fineGrid.stepCounter;
    session.key(KEY_ESCAPE, 500);
    EXPECT_EQ(ints(levelFlow.level, levelFlow.highestLevel, levelFlow.levelComplete,
                   readLevelProgress(), gameWindow->closeRequested, fineGrid.stepCounter - steps,
                   levelFlow.nextStep - session.now),
              ints(50, 50, 0, 50, 0, 1, 0));
    // A replayed level writes nothing.
    session.key(KEY_PAGE_DOWN);
    levelFlow.levelComplete = 1;
    std::filesystem::remove(session.file("LevelInfo.dat"));
    session.pass();
    EXPECT_EQ(ints(levelFlow.level, std::filesystem::exists(session.file("LevelInfo.dat"))),
              ints(50, 0));
    // After the last level: the end picture over a hidden board, then level 0.
    levelFlow.levelComplete = 1;
    session.pass(100);
    EXPECT_EQ(ints(desktop.count, continuePicture, levelFlow.level, levelFlow.highestLevel,
                   levelFlow.started),
              ints(2, 2, 0, 50, 0));
    EXPECT_EQ(pixelsOf(desktop.windows[1]->canvas.surface), pixelsOf(titlePictures[2]));
    session.key(KEY_SPACE);
    EXPECT_EQ(ints(desktop.count, levelFlow.level, levelFlow.started), ints(1, 0, 1));
    EXPECT_STREQ(levelFlow.bannerText, "Level 0");
}

TEST(Game, AQuitStillLetsTheLastTickSaveANewLevelOrOpenTheEndPicture) {
    for (const int32_t level : {4, 50}) {
        GameSession session(GHOLD_DATA_FILE, 4);
        startPlaying(session, false);
        levelFlow.level = level;
        levelFlow.levelComplete = 1;
        MainWndProc(MSG_CLOSE, 0, 0);
        if (level == 4) {
            EXPECT_FALSE(session.pass());
            EXPECT_EQ(ints(levelFlow.highestLevel, readLevelProgress()), ints(5, 5));
        } else {
            // The last Tick opens the end picture, which is the window closed then.
            EXPECT_TRUE(session.pass());
            EXPECT_EQ(ints(desktop.count, levelFlow.level, levelFlow.started), ints(1, 0, 1));
            EXPECT_FALSE(session.pass());
            EXPECT_EQ(gameWindow, nullptr);
        }
    }
}

// A small hall whose lights reach past its edges: a lit torch, a fire on a
// keg that goes up after a few steps, water running from a source, over the
// holes of the walls, for 300 steps while the player walks. Each step's
// picture on the screen is what ghtool render draws afresh for the board as
// it stands, the fire's flicker included.
TEST(PlayerGame, EveryStepShowsExactlyWhatAFreshDrawingShows) {
    GameSession session(GHOLD_DATA_FILE, 0);
    LevelText hall;
    ASSERT_EQ(parseLevelText(levelText("#########|#T..g..S#|#>......#|#.......#|#########",
                                       ".........|._______.|._______.|._______.|.........",
                                       ".........|....F....|.........|.........|........."),
                             hall),
              "");
    levelRecords[0] = hall.record;
    startPlaying(session);
    const std::string moves = "RRRD.LLU" + std::string(292, '.');
    for (size_t step = 0; step < moves.size(); step++) {
        const uint32_t seed = levelFlow.flickerSeed;
        play(session, moves.substr(step, 1));
        WindowCanvas fresh{};
        ASSERT_EQ(renderBoardCanvas(fresh, seed), "");
        const Surface& want = fresh.surface;
        // The fresh canvas is the board with a tile's margin all round.
        const std::vector<uint16_t> shown = screenCrop(
            boardView.originX - TILE_SIZE, boardView.originY - TILE_SIZE, want.width, want.height);
        const size_t differ =
            size_t(std::mismatch(shown.begin(), shown.end(), want.pixels).first - shown.begin());
        const int32_t width = want.width;
        canvasFree(fresh);
        ASSERT_EQ(differ, shown.size())
            << "step " << step + 1 << ": first at (" << differ % size_t(width) << ", "
            << differ / size_t(width) << ")";
    }
}

// Behind the banner of a level just started the board's own steps go on, but
// arrows move nobody; once the board shows they do, and the level line says
// so, with the level's title from the titles file beside the data file and
// the sound switched off.
TEST(PlayerGame, ArrowsWaitForTheBoardAndTheLevelLineCountsTheMoves) {
    GameSession session(GHOLD_DATA_FILE, 3);
    // A title as long as a title can be, which the line cuts at the window's
    // edge.
    const std::string title(LEVEL_TITLE_SIZE - 1, 'W');
    std::ofstream(session.file("GHold.titles")) << "0\n1\n2\n" << title << "\n";
    session.restart();
    session.key(KEY_SPACE);
    session.key(KEY_SPACE);
    const int startCell = playerCell();
    ASSERT_GE(startCell, 0);
    const int32_t steps = fineGrid.stepCounter;
    for (int i = 0; i < 5; i++) {
        session.key(KEY_RIGHT, STEP_MS);
    }
    EXPECT_EQ(ints(levelFlow.boardVisible, fineGrid.stepCounter - steps, playerCell()),
              ints(0, 5, startCell));
    EXPECT_EQ(historyInputs(playState.history), ".....");

    session.pass(BANNER_MS);
    session.key(KEY_RIGHT, STEP_MS);
    session.key(KEY_M);
    EXPECT_EQ(historyMoves(playState.history), 1);
    EXPECT_NE(playerCell(), startCell);
    EXPECT_EQ(statusLine(), "Level 3: " + title + "     Moves 1     Sound off");
    EXPECT_TRUE(matchesGolden("game-level-line", 640, 24, screenCrop(0, 0, 640, 24).data()));
}

// Backspace and U take back a move with the waits before it, Shift+U and
// Ctrl+Y give it back, and undo right after R brings back the position R left, with the
// board shown at once; none of it counts as a step of the board.
TEST(PlayerGame, UndoRedoAndRestartComeBackToThePositionsPlayed) {
    GameSession session(GHOLD_DATA_FILE, 1);
    startPlaying(session);
    std::vector<std::string> positions;
    for (char move : std::string("R..RD")) {
        play(session, std::string(1, move));
        positions.push_back(simStateJson(SimRun{}));
    }
    const std::string played = historyInputs(playState.history);
    // The key, held with Shift or Ctrl or not, then the position and moves.
    const int keys[][4] = {{0, KEY_BACK, 3, 2},
                           {0, KEY_U, 0, 1},
                           {KEY_SHIFT, KEY_U, 3, 2},
                           {0, KEY_BACK, 0, 1},
                           {KEY_CTRL, KEY_Y, 3, 2}};
    for (const auto& [held, vk, position, moves] : keys) {
        if (held != 0) {
            MainWndProc(MSG_KEY_DOWN, uint8_t(held), 0);
        }
        session.key(uint8_t(vk));
        if (held != 0) {
            MainWndProc(MSG_KEY_UP, uint8_t(held), 0);
        }
        EXPECT_EQ(simStateJson(SimRun{}), positions[size_t(position)]) << vk;
        EXPECT_EQ(historyMoves(playState.history), moves) << vk;
    }
    session.key(KEY_R);
    EXPECT_EQ(ints(levelFlow.boardVisible, historyMoves(playState.history)), ints(0, 0));
    session.key(KEY_BACK);
    EXPECT_EQ(simStateJson(SimRun{}), positions[3]);
    EXPECT_EQ(historyInputs(playState.history), played.substr(0, played.size() - 1));
    // The banner of the restart gives way to the position brought back.
    session.pass();
    EXPECT_EQ(ints(levelFlow.boardVisible, levelFlow.bannerVisible), ints(1, 0));
}

// P stops the board under a "Paused" banner until any key, which does
// nothing else; M silences the effects; F1 lists the keys in a window that
// Escape closes, as Enter closes About.
TEST(PlayerGame, PauseSoundOffAndTheWindowsOfText) {
    GameSession session(GHOLD_DATA_FILE, 0);
    startPlaying(session);
    play(session, "R");
    const std::vector<uint16_t> levelLine = screenCrop(0, 0, 640, 24);

    session.key(KEY_P);
    const int32_t steps = fineGrid.stepCounter;
    session.pass(1000);
    EXPECT_EQ(fineGrid.stepCounter, steps);
    const std::vector<uint16_t>& paused = scriptScreen().pixels;
    EXPECT_NE(std::find(paused.begin(), paused.end(), BANNER_TEXT), paused.end());
    session.key(KEY_ESCAPE);
    EXPECT_EQ(ints(gameWindow->closeRequested, playState.paused), ints(0, 0));
    session.pass(STEP_MS);
    EXPECT_EQ(fineGrid.stepCounter, steps + 1);

    session.key(KEY_F1);
    ASSERT_EQ(desktop.count, 2);
    EXPECT_STREQ(desktop.windows[1]->title, "Keys");
    // Behind it the game stays as it was, its level line with the move.
    session.pass();
    EXPECT_EQ(screenCrop(0, 0, 640, 24), levelLine);
    session.key(KEY_ESCAPE);
    EXPECT_EQ(desktop.count, 1);
    chooseFromGameMenu(session, 'b');
    ASSERT_EQ(desktop.count, 2);
    EXPECT_STREQ(desktop.windows[1]->title, "About");
    session.key(KEY_ENTER);
    EXPECT_EQ(desktop.count, 1);

    // Sound off silences what plays and what comes; sound on lets it be heard.
    stopEffects();
    playEffect(EFFECT_EXPLOSE);
    session.key(KEY_M);
    playEffect(EFFECT_EXPLOSE);
    EXPECT_EQ(channels[0].effect, 0);
    session.key(KEY_M);
    playEffect(EFFECT_EXPLOSE);
    EXPECT_EQ(channels[0].effect, EFFECT_EXPLOSE);

    // A game started anew is not paused, whatever the last one was.
    session.key(KEY_P);
    session.restart();
    EXPECT_EQ(playState.paused, 0u);
}

// A completed level goes into Records.txt with its fewest moves and steps and
// a run that replays it; a run as short in moves and shorter in time takes
// its place; the level list marks the level with a star and the moves, and
// at 51 levels it scrolls with a full scroll bar.
TEST(PlayerGame, RecordsKeepTheBestRunAndTheLevelListShowsThem) {
    GameSession session(GHOLD_DATA_FILE, 0);
    startPlaying(session);
    // "First Steps" by its solution, after one timed step behind the banner.
    play(session, "RRRRDD.");
    session.pass();
    ASSERT_EQ(levelFlow.level, 1);
    EXPECT_EQ(fileText(session.file("Records.txt")), HEADING "0 6 8 .RRRRDD.\n");

    session.key(KEY_PAGE_DOWN);
    play(session, "RRRRDD.");
    session.pass();
    EXPECT_EQ(fileText(session.file("Records.txt")), HEADING "0 6 7 RRRRDD.\n");
    chooseFromGameMenu(session, 'a');
    ASSERT_EQ(desktop.popupMenu.count, 2);
    EXPECT_STREQ(desktop.popupMenu.levels[1].items[0].text, "Level 0 * 6");
    EXPECT_STREQ(desktop.popupMenu.levels[1].items[1].text, "Level 1");
    session.key(KEY_ESCAPE);

    std::ofstream(session.file("Records.txt"))
        << "12 40 410 " << std::string(40, 'R') << std::string(370, '.') << "\n"
        << "47 9999 9999 " << std::string(9999, 'U') << "\n"
        << "50 10000 10000 " << std::string(10000, 'D') << "\n";
    writeLevelProgressFile(session.file("LevelInfo.dat").string().c_str(), 50);
    session.restart();
    startPlaying(session);
    chooseFromGameMenu(session, 'a');
    // Up from nothing selected wraps to the last level, and the rows follow.
    MainWndProc(MSG_KEY_DOWN, KEY_UP, 0);
    session.pass();
    MainWndProc(MSG_KEY_UP, KEY_UP, 0);
    EXPECT_TRUE(matchesGolden("game-level-list", 640, 480, scriptScreen().pixels.data()));
}

// A damaged progress or records file is kept aside as NAME.bad and the
// player told; a file that cannot be written is named with the system's
// reason, once, and play goes on.
TEST(PlayerGame, ProgressIsNeverLostInSilence) {
    GameSession session(GHOLD_DATA_FILE, -1);
    const std::string damaged(100, 'x');
    std::ofstream(session.file("LevelInfo.dat")) << damaged;
    std::ofstream(session.file("Records.txt")) << "0 7 9 RRRRDDU..\nno record\n";
    session.restart();
    EXPECT_EQ(fileText(session.file("LevelInfo.dat.bad")), damaged);
    EXPECT_EQ(fileText(session.file("Records.txt.bad")), "0 7 9 RRRRDDU..\nno record\n");
    EXPECT_FALSE(std::filesystem::exists(session.file("LevelInfo.dat")));
    EXPECT_EQ(playerRecords.levels[0].steps, 9);
    ASSERT_EQ(desktop.count, 4);
    EXPECT_STREQ(desktop.windows[2]->title, "Progress file damaged");
    EXPECT_STREQ(desktop.windows[3]->title, "Records file damaged");
    session.key(KEY_ENTER);
    session.key(KEY_ENTER);
    ASSERT_EQ(desktop.count, 2);

    std::filesystem::create_directory(session.file("LevelInfo.dat"));
    std::filesystem::create_directory(session.file("Records.txt"));
    startPlaying(session);
    play(session, "RRRRDD.");
    session.pass();
    ASSERT_EQ(levelFlow.level, 1);
    // The better run could not be kept either.
    ASSERT_EQ(desktop.count, 3);
    EXPECT_STREQ(desktop.windows[1]->title, "Records not saved");
    EXPECT_STREQ(desktop.windows[2]->title, "Progress not saved");
    const Dialog* told = dialogOfWindow(desktop.windows[2]);
    ASSERT_NE(told, nullptr);
    EXPECT_STREQ(told->lines[2].label, "LevelInfo.dat");
    EXPECT_STREQ(told->lines[4].label, "Is a directory");
    session.pass(40);
    session.key(KEY_ENTER);
    // The box beneath, opened in the same pass, shows its face once on top,
    // not a blank canvas inside its pulsing frame.
    session.pass(40);
    ASSERT_EQ(desktop.count, 2);
    const Window& records = *desktop.windows[1];
    const std::vector<uint16_t> face = screenCrop(
        records.x, records.y, records.canvas.surface.width, records.canvas.surface.height);
    EXPECT_GT(std::count(face.begin(), face.end(), styleColour(COLOUR_DIALOG_BACKGROUND)),
              std::ptrdiff_t(face.size() / 2));
    session.key(KEY_ENTER);
    EXPECT_EQ(desktop.count, 1);
    saveProgress(2);
    saveRecords();
    EXPECT_EQ(desktop.count, 1);
}
