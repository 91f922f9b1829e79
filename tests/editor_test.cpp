// The level editor on the scripted platform, driven as a user drives it: the
// palette, the board, the menus, the dialogs and the keys, then the files it
// writes read back.
#include "editor/commands.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/palette.h"
#include "editor/playtest.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/rules.h"
#include "platform/platform_script.h"
#include "shell/mainwnd.h"
#include "tests/support/datafile.h"
#include "tests/support/desktop_env.h"
#include "tests/support/golden.h"
#include "tests/support/ints.h"
#include "toolkit/config.h"
#include "toolkit/desktop.h"
#include "tools/verify.h"
#include "widgets/msgbox.h"
#include "widgets/popup.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The editor started as its main starts it, in a fresh folder holding a copy
// of GHold.dat, on an 800 x 520 desktop. A level text given is written to the
// file the editor starts with; a start of "assets" is a copy of the game's
// asset folder, with the text as its first level.
struct EditorSession {
    TempDir folder{"editor"};
    fs::path previousFolder = fs::current_path();
    uint32_t now = 1000;

    explicit EditorSession(const std::string& start = {}, const std::string& levelText = {}) {
        fs::copy_file(GHOLD_DATA_FILE, folder.path / "GHold.dat");
        if (start == "assets") {
            fs::copy(GHOLD_SOURCE_DIR "/assets", folder.path / "assets",
                     fs::copy_options::recursive);
        }
        if (!levelText.empty()) {
            const fs::path file = start == "assets" ? "assets/levels/level00.txt" : start;
            writeBytes(folder.path / file, {levelText.begin(), levelText.end()});
        }
        resetRuleRecords();
        fs::current_path(folder.path);
        editor = Editor{};
        palette = Palette{};
        editor.startPath = start;
        scriptedPlatformStart(EDITOR_DESKTOP_WIDTH, EDITOR_DESKTOP_HEIGHT, now);
        shellBegin();
        EXPECT_EQ(shellStartDesktop(EDITOR_DESKTOP_WIDTH, EDITOR_DESKTOP_HEIGHT, EditorWindowProc),
                  nullptr);
        pass();
    }
    ~EditorSession() {
        scriptedDesktopStop();
        editor = Editor{};
        fs::current_path(previousFolder);
    }

    void pass(uint32_t advance = 10) {
        now += advance;
        scriptSetTime(now);
        shellPass();
    }
    void key(uint8_t vk, char typed = 0) {
        MainWndProc(MSG_KEY_DOWN, vk, 0);
        if (typed != 0) {
            MainWndProc(MSG_CHAR, uint8_t(typed), 0);
        }
        pass();
        MainWndProc(MSG_KEY_UP, vk, 0);
    }
    void control(uint8_t letter) {
        MainWndProc(MSG_KEY_DOWN, KEY_CTRL, 0);
        key(letter);
        MainWndProc(MSG_KEY_UP, KEY_CTRL, 0);
    }
    // Everything in the field goes, then the text is typed, each character
    // with a key of no meaning to the editor or its dialogs, as '.' has.
    void replaceField(const std::string& text) {
        key(KEY_END);
        for (int i = 0; i < 40; i++) {
            key(KEY_BACK);
        }
        for (char c : text) {
            key(0xBE, c);
        }
    }
    void moveTo(int32_t x, int32_t y) {
        scriptMouseMove(x, y);
        pass();
    }
    void click(int32_t x, int32_t y, bool right = false) {
        scriptMouseMove(x, y);
        right ? scriptRightDown() : scriptLeftDown();
        pass();
        right ? scriptRightUp() : scriptLeftUp();
        pass(SLIP_TIME);
    }
    void clickRect(const Window& w, const Rect& r) {
        click(w.x + r.x + r.width / 2, w.y + r.y + r.height / 2);
    }
    // The middle of a cell of the board.
    int32_t cellX(int32_t x) const { return boardView.originX + 33 * x + 16; }
    int32_t cellY(int32_t y) const { return boardView.originY + 33 * y + 16; }
    void clickCell(int32_t x, int32_t y, bool right = false) { click(cellX(x), cellY(y), right); }
    // Opens a menu of the bar and chooses its item at that place.
    void choose(int32_t menu, int32_t item) {
        clickRect(*desktop.windows[0], desktop.windows[0]->menuBar.buttons[menu].rect);
        const MenuItem& it = desktop.popupMenu.levels[0].items[item];
        click(it.x + it.width / 2, it.y + it.height / 2);
        pass();
    }
    // A menu of the bar as its items' hot keys, '-' for a separator, each
    // followed by '*' when it is disabled and '>' for any indent or icon.
    std::string menu(int32_t index) {
        clickRect(*desktop.windows[0], desktop.windows[0]->menuBar.buttons[index].rect);
        const MenuLevel& level = desktop.popupMenu.levels[0];
        std::string keys;
        for (int32_t i = 0; i < level.itemCount; i++) {
            const MenuItem& it = level.items[i];
            keys += it.text == nullptr ? '-' : char(it.hotKey);
            keys += std::string(it.enabled ? 0 : 1, '*') + std::string(it.indent + it.icon, '>');
        }
        popupClose(desktop.popupMenu);
        moveTo(0, 0); // where the pointer starts
        return keys;
    }
    void pick(int32_t layer, int32_t code) {
        for (int32_t i = 0; i < palette.itemCount; i++) {
            if (palette.items[i].layer == layer && palette.items[i].code == code) {
                clickRect(*desktop.windows[0], palette.items[i].rect);
                return;
            }
        }
        ADD_FAILURE() << "no palette item for " << code;
    }
    Dialog* dialog() const {
        return desktop.count > 1 ? dialogOfWindow(desktop.windows[desktop.count - 1]) : nullptr;
    }
    // The text of a line of the dialog on top; empty without one.
    std::string said(int32_t line) const {
        const Dialog* d = dialog();
        return d != nullptr && d->lines[line].label != nullptr ? d->lines[line].label : "";
    }
    // Clicks the first button of the dialog's last line: Ok.
    void confirm() {
        Dialog* d = dialog();
        ASSERT_NE(d, nullptr);
        clickRect(*d->window, d->lines[d->lineCount - 1].buttons[0].rect);
        // What it confirmed runs on the editor window's next Tick.
        pass();
    }
};

} // namespace

TEST(Editor, ALevelPaintedResizedAndTitledSavesAndReadsBackByteForByte) {
    EditorSession session;
    ASSERT_EQ(desktop.count, 1);
    EXPECT_TRUE(matchesGolden("editor-new-level", scriptScreen().width, scriptScreen().height,
                              scriptScreen().pixels.data()));
    // Without an asset folder there are no asset levels and nothing to pack.
    EXPECT_EQ(session.menu(0) + " " + session.menu(1) + " " + session.menu(2),
              "NOA*-*SA-*P*-*X UR-*ST PV");

    // A stroke of boxes along row 3 is one step of undo.
    session.pick(LAYER_OBJECT, BOX);
    session.moveTo(session.cellX(2), session.cellY(3));
    scriptLeftDown();
    for (int32_t x = 2; x <= 5; x++) {
        session.moveTo(session.cellX(x), session.cellY(3));
    }
    scriptLeftUp();
    session.pass();
    // Right click picks the uppermost element: the exit.
    session.clickCell(8, 6, true);
    session.clickCell(4, 2);
    // Arrows move the cursor, drawn at once in yellow; Space paints there.
    session.pick(LAYER_FLOOR, LAVA);
    session.key(KEY_LEFT);
    session.key(KEY_UP);
    EXPECT_EQ(ints(editor.cursorX, editor.cursorY,
                   screenAt(session.cellX(3) - 16, session.cellY(1) - 16)),
              ints(3, 1, pixelFrom8(255, 224, 0)));
    session.key(KEY_SPACE);
    EXPECT_EQ(document.undo.size(), 3u);
    session.control('Z');
    session.control('Z');
    EXPECT_EQ(document.level.record.cells[4][2][LAYER_TOP], EMPTY);
    session.control('Y');
    EXPECT_EQ(document.level.record.cells[4][2][LAYER_TOP], EXIT);

    // Seven by four; a width of 19 is refused by the dialog.
    session.choose(1, 3);
    session.replaceField("19");
    session.key(KEY_TAB);
    session.replaceField("4");
    session.confirm();
    ASSERT_NE(session.dialog(), nullptr);
    session.replaceField("7");
    session.confirm();

    session.choose(1, 4);
    session.replaceField(" Made Here "); // the blanks around it go
    session.confirm();

    session.control('S');
    ASSERT_NE(session.dialog(), nullptr);
    EXPECT_EQ(ints(session.dialog()->lineCount, session.dialog()->height), ints(4, 96));
    session.replaceField("made.txt");
    session.confirm();
    // The new level's room cut to its first seven columns and four rows,
    // with the stroke of boxes and the second exit.
    const std::vector<uint8_t> saved = readBytes(session.folder.path / "made.txt");
    EXPECT_EQ(std::string(saved.begin(), saved.end()), "title: Made Here\n"
                                                       "\n"
                                                       "floor:\n"
                                                       ".......\n"
                                                       ".______\n"
                                                       ".______\n"
                                                       ".______\n"
                                                       "\n"
                                                       "object:\n"
                                                       "#######\n"
                                                       "#>.....\n"
                                                       "#......\n"
                                                       "#.BBBB.\n"
                                                       "\n"
                                                       "top:\n"
                                                       ".......\n"
                                                       ".......\n"
                                                       "....X..\n"
                                                       ".......\n");
    EXPECT_EQ(ints(documentChanged(document), document.path == "made.txt"), ints(0, 1));
    // Saved again under another name, then opened from there: the same text.
    session.choose(0, 5);
    session.replaceField("again.txt");
    session.confirm();
    session.choose(0, 1);
    session.replaceField("made.txt");
    session.confirm();
    EXPECT_EQ(ints(document.path == "made.txt", document.undo.size(), editor.cursorX,
                   editor.note.empty()),
              ints(1, 0, 0, 1));
    EXPECT_EQ(readBytes(session.folder.path / "again.txt"), saved);

    // Hiding the objects empties them from the board shown, not the level.
    session.clickRect(*desktop.windows[0], editor.viewBoxes[LAYER_OBJECT].rect);
    EXPECT_EQ(ints(layerAt(1, 1, LAYER_OBJECT), layerAt(1, 1, LAYER_FLOOR),
                   document.level.record.cells[1][1][LAYER_OBJECT]),
              ints(EMPTY, PLAIN_FLOOR, PLAYER_RIGHT));
    // File, Exit with a change asks first, and once agreed ends the editor.
    session.clickCell(2, 2);
    session.choose(0, 9);
    session.confirm();
    EXPECT_EQ(desktop.count, 0);
}

TEST(Editor, ALevelTextThatDoesNotParseIsReportedWithTheParsersOwnMessage) {
    EditorSession session("bad.txt", "floor:\n__\n\nobject:\n<Q\n\ntop:\n.X\n");
    ASSERT_EQ(desktop.count, 2);
    EXPECT_EQ(session.said(1) + ": " + session.said(3), "bad.txt: line 5: 'Q' is no element");
    // Under the alert, a new level, which cannot be saved over the bad file
    // unasked.
    EXPECT_EQ(ints(session.dialog()->alert, document.path.empty(), document.level.record.width),
              ints(1, 1, 10));
}

TEST(Editor, VerifyTakesASolutionThatReachesTheExitOnTheFirstTick) {
    EditorSession session("one.txt",
                          "title: One\nsolution: R\n\nfloor:\n__\n\nobject:\n>.\n\ntop:\n.X\n");
    session.key(KEY_F6);
    EXPECT_EQ(session.said(1) + " " + session.said(2),
              "The solution completes the level in 1 ticks and 1 moves.");
}

TEST(Editor, APlayTestToTheExitIsKeptAsTheSolutionThatVerifyAndPackAccept) {
    // The door of a level without balls opens on the first tick and is an
    // exit from the sixteenth: one step, fifteen waits, the step in.
    EditorSession session("assets", "title: Door\n\nfloor:\n___\n\nobject:\n>.D\n\ntop:\n...\n");
    // While it runs, only packing, undo, redo and its end are offered. F5
    // ends it and starts it again from the level's start.
    session.key(KEY_F5);
    ASSERT_TRUE(playTest.running);
    EXPECT_EQ(session.menu(0) + " " + session.menu(1) + " " + session.menu(2),
              "N*O*A*-*S*A*-*P-*X UR-*S*T* EV*");
    session.key(KEY_F5);
    EXPECT_FALSE(playTest.running);
    session.key(KEY_F5);
    // A step taken back and given again, as the game's history does it.
    session.key(KEY_RIGHT);
    session.control('Z');
    EXPECT_EQ(playTestStatus().substr(0, 28), "Play-test: tick 0, 0 moves. ");
    session.control('Y');
    EXPECT_EQ(playTestStatus().substr(0, 28), "Play-test: tick 1, 1 moves. ");
    for (int tick = 2; tick <= 16; tick++) {
        session.pass(STEP_MS);
    }
    session.pass(); // less than a step later: no tick
    EXPECT_EQ(session.dialog(), nullptr);
    session.key(KEY_RIGHT);
    EXPECT_EQ(session.said(1), "The exit was reached on tick 17, after 2 moves.");
    session.pass();
    EXPECT_TRUE(matchesGolden("editor-play-test-complete", scriptScreen().width,
                              scriptScreen().height, scriptScreen().pixels.data()));
    session.confirm();
    EXPECT_FALSE(playTest.running);
    EXPECT_EQ(document.level.solution, "R...............R");

    session.key(KEY_F6);
    EXPECT_EQ(session.said(2), "17 ticks and 2 moves.");
    session.confirm();
    // The replay set the rules' records up afresh; the board is the
    // window's again.
    EXPECT_EQ(boardView.window, desktop.windows[0]);
    session.control('S');
    std::ostringstream out, err;
    EXPECT_EQ(verifyCommand({"assets"}, out, err), 0) << err.str();

    // Packed from a folder that holds no assets: nothing is written.
    const std::string assets = std::exchange(editor.assetFolder, "nowhere");
    session.choose(0, 7);
    EXPECT_EQ(session.said(1), "GHold.dat was not written:");
    session.confirm();
    editor.assetFolder = assets;
    session.choose(0, 7);
    EXPECT_EQ(session.said(2), fs::absolute("GHold.dat").string());
    ASSERT_EQ(loadGameData("GHold.dat"), 1);
    EXPECT_EQ(ints(levelRecords[0].width, levelRecords[0].cells[2][0][LAYER_OBJECT]),
              ints(3, DOOR));
    session.confirm();
    // A new level is made for the same folder.
    session.choose(0, 0);
    EXPECT_EQ(document.level.record.width, 10);
    EXPECT_EQ(editor.assetFolder, fs::absolute("assets").string());
}

TEST(Editor, ClosingWithChangesAsksAndAFailedSaveSaysWhyAndKeepsThem) {
    EditorSession session;
    // Nothing to verify yet.
    session.choose(2, 1);
    EXPECT_EQ(session.said(1), "The level has no solution yet.");
    session.confirm();
    // A turn of the wheel over the palette scrolls it three steps: the first
    // row (at 48, the second at 84, as the new level's picture shows) goes
    // out of sight and the second comes up to the pane's very top.
    scriptMouseMove(palette.pane.x + 40, palette.pane.y + 40);
    scriptWheel(-1);
    session.pass();
    EXPECT_EQ(ints(palette.bar.top, palette.items[0].rect.width, palette.items[4].rect.y),
              ints(3, 0, 30));
    session.pick(LAYER_OBJECT, BALL);
    session.clickCell(3, 3);

    // The window's close button: the editor stays, asking.
    MainWndProc(MSG_CLOSE, 0, 0);
    session.pass();
    EXPECT_EQ(session.said(1), "The level has changes that are not saved.");
    session.key(KEY_ESCAPE);
    EXPECT_EQ(desktop.count, 1);

    session.control('S');
    session.replaceField("no/such/folder.txt");
    session.confirm();
    EXPECT_EQ(session.said(1) + ": " + session.said(3),
              "no/such/folder.txt: No such file or directory");
    session.confirm();
    EXPECT_EQ(ints(documentChanged(document), document.level.record.cells[3][3][LAYER_OBJECT]),
              ints(1, BALL));

    MainWndProc(MSG_CLOSE, 0, 0);
    session.pass();
    session.confirm();
    EXPECT_EQ(desktop.count, 0);
}
