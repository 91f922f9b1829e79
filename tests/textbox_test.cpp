#include "widgets/textbox.h"

#include "game/flow.h"
#include "platform/platform_script.h"
#include "tests/support/datafile.h"
#include "tests/support/desktop_env.h"
#include "tests/support/golden.h"
#include "toolkit/desktop.h"
#include "toolkit/font.h"
#include "widgets/msgbox.h"
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

void QuietWindowProc(Window*, uint32_t) {}

// Boxes on the desktop window (font 0: 13 pixels high, 7 wide; rows of 14).
struct BoxDesk {
    TextBox box{};
    BoxDesk() {
        EXPECT_EQ(scriptedDesktopStart(640, 480, QuietWindowProc), nullptr);
        // As if the desktop window's Tick were running: windows may open.
        desktop.current = desktop.desktopWindow;
        desktop.current->message = Tick;
    }
    ~BoxDesk() {
        desktop.current = desktop.desktopWindow;
        textBoxFree(box);
        desktop.current = nullptr;
        scriptedDesktopStop();
    }
    int make(const char* text, int32_t width = 230, int32_t height = 180, bool noWrap = false,
             bool bar = false) {
        return textBoxCreate(box, 10, 20, width, height, text, nullptr, noWrap, bar, nullptr);
    }
    std::vector<std::string> lines() const {
        std::vector<std::string> all;
        for (int32_t i = 0; i < box.lineCount; i++) {
            all.emplace_back(box.lines[size_t(i)].chars.get());
            EXPECT_EQ(box.lines[size_t(i)].length, all.back().size());
        }
        return all;
    }
    int key(uint8_t vk) {
        scriptKeyDown(vk);
        int used = textBoxUpdate(box, nullptr);
        keysClearEvents(inputState.keys);
        scriptKeyUp(vk);
        return used;
    }
};

using Lines = std::vector<std::string>;

TEST(TextBox, CleaningExpandsTabsUnifiesLineEndsAndDropsEverythingElse) {
    BoxDesk d;
    ASSERT_EQ(d.make("a\tb"), 1);
    EXPECT_EQ(d.lines(), Lines{"a    b"});
    ASSERT_EQ(d.make("one\r\ntwo\rthree"), 1);
    EXPECT_EQ(d.lines(), (Lines{"one", "two", "three"}));
    ASSERT_EQ(d.make("end\n"), 1);
    EXPECT_EQ(d.lines(), (Lines{"end", ""}));
    ASSERT_EQ(d.make(""), 1);
    EXPECT_EQ(d.lines(), Lines{""});
    EXPECT_EQ(d.box.lineCount, 1);
    ASSERT_EQ(d.make("\r\r\n\n"), 1);
    EXPECT_EQ(d.lines(), (Lines{"", "", "", ""}));
    // Bytes of 128 and above and control characters vanish; 127 stays.
    ASSERT_EQ(d.make("a\xE9"
                     "b\x80\x01"
                     "c\x7F\xFF"),
              1);
    EXPECT_EQ(d.lines(), Lines{"abc\x7F"});
}

TEST(TextBox, WrapsBeforeTheFirstCharacterThatPassesTheWidth) {
    BoxDesk d;
    const std::string forty = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";
    ASSERT_EQ(d.make(forty.c_str()), 1);
    EXPECT_EQ(d.lines(), (Lines{forty.substr(0, 32), forty.substr(32)}));
    EXPECT_EQ(d.box.widest, 224);
    // A vertical bar takes 18 pixels from the wrap width: 212 / 7 = 30.
    ASSERT_EQ(d.make(forty.c_str(), 230, 180, 0, 1), 1);
    EXPECT_EQ(d.lines(), (Lines{forty.substr(0, 30), forty.substr(30)}));
    EXPECT_EQ(d.box.area.width, 212);
    // Without wrapping a line is only cut after 2047 characters.
    const std::string long3000(3000, 'x');
    ASSERT_EQ(d.make(long3000.c_str(), 230, 180, 1, 0), 1);
    EXPECT_EQ(d.box.lineCount, 2);
    EXPECT_EQ(d.box.lines[0].length, 2047);
    EXPECT_EQ(d.box.lines[1].length, 953);
    EXPECT_EQ(d.box.widest, 2047 * 7);
    EXPECT_EQ(d.box.area.height, 162);
    EXPECT_EQ(d.box.rowsPerPage, 11);
    EXPECT_EQ(d.box.step, 57);
    EXPECT_EQ(d.box.hbar.total, 2047 * 7 + 57);
    EXPECT_EQ(d.box.hbar.leftButton.y, 20 + 180 - 18);
}

TEST(TextBox, PagingKeysMoveTheViewAPageAtMostAndNotAtAllWithoutABar) {
    BoxDesk d;
    std::string text;
    for (int i = 0; i < 30; i++) {
        text += "line " + std::to_string(i) + "\n";
    }
    ASSERT_EQ(d.make(text.c_str()), 1);
    EXPECT_EQ(d.box.lineCount, 31);
    EXPECT_EQ(d.box.rowsPerPage, 12);
    EXPECT_EQ(d.key(KEY_PAGE_DOWN), 1);
    EXPECT_EQ(d.box.current, 12);
    EXPECT_EQ(d.key(KEY_END), 1);
    EXPECT_EQ(d.box.current, 30);
    EXPECT_EQ(d.box.vbar.top, 0);
    EXPECT_EQ(d.key(KEY_HOME), 1);
    EXPECT_EQ(d.box.current, 0);
    EXPECT_EQ(d.key(KEY_PAGE_UP), 1);
    EXPECT_EQ(d.key('A'), 0);

    // With the bar: 100 pixels hold 7 rows.
    ASSERT_EQ(d.make(text.c_str(), 230, 100, 0, 1), 1);
    EXPECT_EQ(d.box.rowsPerPage, 7);
    d.key(KEY_PAGE_DOWN);
    EXPECT_EQ(d.box.current, 7);
    EXPECT_EQ(d.box.vbar.top, 7);
    // End jumps to the last line but the view only one page on.
    d.key(KEY_END);
    EXPECT_EQ(d.box.current, 30);
    EXPECT_EQ(d.box.vbar.top, 14);
    d.key(KEY_HOME);
    EXPECT_EQ(d.box.current, 0);
    EXPECT_EQ(d.box.vbar.top, 7);
    d.key(KEY_PAGE_DOWN);
    d.key(KEY_PAGE_DOWN);
    EXPECT_EQ(d.box.current, 14);
    EXPECT_EQ(d.box.vbar.top, 14);
    d.key(KEY_PAGE_UP);
    EXPECT_EQ(d.box.current, 7);
    EXPECT_EQ(d.box.vbar.top, 7);

    // Among several boxes only the one last clicked takes the keys.
    TextBox* focus = nullptr;
    scriptKeyDown(KEY_PAGE_DOWN);
    EXPECT_EQ(textBoxUpdate(d.box, &focus), 0);
    keysClearEvents(inputState.keys);
    desktop.desktopWindow->caret.on = 1;
    scriptMouseMove(50, 50);
    scriptLeftDown();
    EXPECT_EQ(textBoxUpdate(d.box, &focus), 0);
    EXPECT_EQ(focus, &d.box);
    EXPECT_EQ(desktop.desktopWindow->caret.on, 0u);
    mouseClearEvents(inputState.mouse);
}

TEST(TextBox, DrawsTheShownRowsAndSkipsCharactersScrolledOutWhole) {
    BoxDesk d;
    ASSERT_EQ(d.make("0123456789abcdefghijklmnopqrstuvwxyz0123456789\nsecond", 100, 60, 1, 0), 1);
    WindowCanvas& canvas = desktop.desktopWindow->canvas;
    const Surface& s = canvas.surface;
    auto rowHasInk = [&](int32_t x0, int32_t x1, int32_t y) {
        for (int32_t yy = y; yy < y + 13; yy++) {
            for (int32_t x = x0; x <= x1; x++) {
                if (s.pixels[yy * s.width + x] == styleTable.colours[21]) {
                    return true;
                }
            }
        }
        return false;
    };
    hscrollTo(d.box.hbar, 10); // one character and three pixels in
    surfaceFill(canvas.surface, 0xFFFF);
    textBoxDraw(d.box);
    // The area starts at x 10 and the text at 10 - 10 = 0: the first two
    // characters lie partly left of the area and are skipped whole, the
    // third ('2') is drawn at 14.
    EXPECT_FALSE(rowHasInk(10, 13, 20));
    EXPECT_TRUE(rowHasInk(14, 20, 20));
    // The last character that fits whole is at 98 and ends at 105; the
    // area's right edge is 110.
    EXPECT_TRUE(rowHasInk(98, 104, 20));
    EXPECT_FALSE(rowHasInk(105, 109, 20));
    // Rows of 14: the second line below the first.
    EXPECT_TRUE(rowHasInk(14, 60, 34));
    // The horizontal bar under the 42-pixel area: the track right of the thumb.
    EXPECT_EQ(s.pixels[70 * s.width + 60], styleTable.colours[11]);
}

TEST(TextBox, MissingAndEmptyFilesAreReportedWithTheirNames) {
    BoxDesk d;
    TempDir folder("textbox");
    const std::string missing = (folder.path / "nowhere.txt").string();
    EXPECT_EQ(textBoxCreate(d.box, 0, 0, 200, 100, nullptr, missing.c_str(), 0, 1, nullptr), 0);
    EXPECT_EQ(d.box.created, 0u);
    ASSERT_EQ(desktop.count, 2);
    Dialog* error = dialogOfWindow(desktop.windows[1]);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->alert, 1u);
    EXPECT_EQ(desktop.windows[1]->title, nullptr);
    ASSERT_EQ(error->lineCount, 6);
    EXPECT_STREQ(error->lines[1].label, " Edit Box Error: ");
    EXPECT_EQ(std::string(error->lines[3].label), "File '" + missing + "' not found");
    EXPECT_EQ(error->lines[5].kind, DIALOG_OK);

    const std::string empty = (folder.path / "empty.txt").string();
    std::ofstream(empty).close();
    EXPECT_EQ(textBoxCreate(d.box, 0, 0, 200, 100, nullptr, empty.c_str(), 0, 0, nullptr), 0);
    ASSERT_EQ(desktop.count, 3);
    error = dialogOfWindow(desktop.windows[2]);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(std::string(error->lines[3].label), "Error while reading '" + empty + "' file");

    // A long name is cut to 127 characters in the message.
    const std::string longName(300, 'n');
    textBoxError(d.box, 3, longName.c_str());
    error = dialogOfWindow(desktop.windows[3]);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(std::string(error->lines[3].label),
              "Error while reading '" + longName.substr(0, 127) + "' file");
    textBoxError(d.box, 9, nullptr);
    EXPECT_STREQ(dialogOfWindow(desktop.windows[4])->lines[3].label, "Undefined error");

    // A file that reads is cleaned like a string.
    const std::string good = (folder.path / "good.txt").string();
    std::ofstream(good, std::ios::binary) << "first\r\nsecond\tend";
    ASSERT_EQ(textBoxCreate(d.box, 0, 0, 200, 100, nullptr, good.c_str(), 0, 0, nullptr), 1);
    EXPECT_EQ(d.lines(), (Lines{"first", "second    end"}));
}

TEST(AboutWindow, ShowsTheAboutTextLineByLineInItsClientArea) {
    EXPECT_EQ(scriptedDesktopStart(640, 480, QuietWindowProc), nullptr);
    desktop.current = nullptr;
    openAboutWindow();
    ASSERT_EQ(desktop.count, 2);
    Window& w = *desktop.windows[1];
    EXPECT_STREQ(w.title, "About");
    EXPECT_EQ(w.canvas.surface.width, 230);
    EXPECT_EQ(w.canvas.surface.height, 180);
    EXPECT_EQ(w.minWidth, 2 + 2 + 200);
    EXPECT_EQ(w.minHeight, 21 + 2 + 100);
    scriptSetTime(1100);
    updatePass(desktop);
    const ScriptScreen& screen = scriptScreen();
    std::vector<uint16_t> crop;
    for (int32_t y = w.frameY; y < w.frameY + w.frameHeight; y++) {
        for (int32_t x = w.frameX; x < w.frameX + w.frameWidth; x++) {
            crop.push_back(screen.pixels[size_t(y) * size_t(screen.width) + size_t(x)]);
        }
    }
    EXPECT_TRUE(matchesGolden("widgets2-about", w.frameWidth, w.frameHeight, crop.data()));
    // Page Down has nowhere to go without a bar; Escape is not the box's.
    scriptKeyDown(KEY_PAGE_DOWN);
    updatePass(desktop);
    keysClearEvents(inputState.keys);
    EXPECT_EQ(desktop.count, 2);
    closeTopWindow(desktop);
    EXPECT_EQ(desktop.count, 1);
    scriptedDesktopStop();
}

} // namespace
