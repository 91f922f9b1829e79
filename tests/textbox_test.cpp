#include "widgets/textbox.h"

#include "game/flow.h"
#include "platform/platform_script.h"
#include "tests/support/datafile.h"
#include "tests/support/desktop_env.h"
#include "tests/support/golden.h"
#include "tests/support/ints.h"
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
    // A key on a pass of its own; the current line and the view's top.
    std::vector<int64_t> key(uint8_t vk) {
        scriptKeyDown(vk);
        const int used = textBoxUpdate(box, nullptr);
        keysClearEvents(inputState.keys);
        scriptKeyUp(vk);
        return ints(used, box.current, box.vbar.top);
    }
};

using Lines = std::vector<std::string>;

TEST(TextBox, TabsAreExpandedLineEndsUnifiedTheRestDroppedAndLongLinesWrappedOrCut) {
    BoxDesk d;
    const std::pair<std::string, Lines> cases[] = {{"a\tb", {"a    b"}},
                                                   {"one\r\ntwo\rthree", {"one", "two", "three"}},
                                                   {"end\n", {"end", ""}},
                                                   {"", {""}},
                                                   {"\r\r\n\n", {"", "", "", ""}},
                                                   {"a\xE9"
                                                    "b\x80\x01"
                                                    "c\x7F\xFF",
                                                    {"abc\x7F"}}};
    for (const auto& [text, lines] : cases) {
        ASSERT_EQ(d.make(text.c_str()), 1);
        EXPECT_EQ(d.lines(), lines) << text;
    }
    // Wrapped before the first character that passes the width.
    const std::string forty = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";
    const std::string eighty = forty + forty;
    ASSERT_EQ(d.make(eighty.c_str()), 1);
    EXPECT_EQ(d.lines(), (Lines{eighty.substr(0, 32), eighty.substr(32, 32), eighty.substr(64)}));
    EXPECT_EQ(ints(d.box.widest, d.box.rowsPerPage), ints(224, 12));
    // A vertical bar takes 18 pixels from the wrap width: 212 / 7 = 30.
    ASSERT_EQ(d.make(forty.c_str(), 230, 180, false, true), 1);
    EXPECT_EQ(d.lines(), (Lines{forty.substr(0, 30), forty.substr(30)}));
    EXPECT_EQ(ints(d.box.area.width, d.box.vbar.disabled), ints(212, 1));
    // Without wrapping a line is only cut after 2047 characters.
    const std::string long3000(3000, 'x');
    ASSERT_EQ(d.make(long3000.c_str(), 230, 180, true, false), 1);
    EXPECT_EQ(ints(d.box.lineCount, d.box.lines[0].length, d.box.lines[1].length, d.box.widest,
                   d.box.area.height, d.box.rowsPerPage, d.box.step, d.box.hbar.total),
              ints(2, 2047, 953, 2047 * 7, 162, 11, 57, 2047 * 7 + 57));
    // Made again without bars, the box keeps none of the old ones.
    ASSERT_EQ(d.make("x", 800, 100, false, false), 1);
    EXPECT_EQ(ints(d.box.step, d.box.vbar.active, d.box.hbar.active), ints(150, 0, 0));
}

TEST(TextBox, PagingKeysMoveTheViewAPageAtMostAndNotAtAllWithoutABar) {
    BoxDesk d;
    std::string text;
    for (int i = 0; i < 30; i++) {
        text += "line " + std::to_string(i) + "\n";
    }
    // Without a bar the line moves a page but the view stays.
    ASSERT_EQ(d.make(text.c_str()), 1);
    EXPECT_EQ(ints(d.box.lineCount, d.box.rowsPerPage), ints(31, 12));
    EXPECT_EQ(d.key(KEY_PAGE_DOWN), ints(1, 12, 0));
    // With the bar: 100 pixels hold 7 rows. End jumps to the last line but
    // the view only one page on; past either end the line stays.
    ASSERT_EQ(d.make(text.c_str(), 230, 100, false, true), 1);
    const std::pair<uint8_t, std::vector<int64_t>> keys[] = {
        {KEY_PAGE_DOWN, ints(1, 7, 7)},   {KEY_END, ints(1, 30, 14)},
        {KEY_PAGE_DOWN, ints(1, 30, 21)}, {KEY_HOME, ints(1, 0, 14)},
        {KEY_PAGE_UP, ints(1, 0, 7)},     {KEY_PAGE_DOWN, ints(1, 7, 7)},
        {KEY_PAGE_DOWN, ints(1, 14, 14)}, {KEY_PAGE_UP, ints(1, 7, 7)},
        {KEY_PAGE_UP, ints(1, 0, 0)},     {'A', ints(0, 0, 0)}};
    for (const auto& [key, after] : keys) {
        EXPECT_EQ(d.key(key), after) << int(key);
    }
    // Among several boxes only the one last clicked takes the keys; the
    // pointer resting on it is not enough.
    TextBox* focus = nullptr;
    scriptKeyDown(KEY_PAGE_DOWN);
    scriptMouseMove(50, 50);
    EXPECT_EQ(textBoxUpdate(d.box, &focus), 0);
    desktop.desktopWindow->caret.on = 1;
    scriptLeftDown();
    EXPECT_EQ(textBoxUpdate(d.box, &focus), 1);
    EXPECT_EQ(ints(focus == &d.box, desktop.desktopWindow->caret.on, d.box.current), ints(1, 0, 7));
}

TEST(TextBox, DrawsItsBarsAndTheRowsShownSkippingCharactersScrolledOutWhole) {
    BoxDesk d;
    std::string text = "0123456789abcdefghijklmnopqrstuvwxyz0123456789\n";
    for (int i = 1; i < 12; i++) {
        text += "line " + std::to_string(i) + " of the box\n";
    }
    // Without a vertical bar the wheel reaches the horizontal one.
    ASSERT_EQ(d.make(text.c_str(), 130, 96, true, false), 1);
    scriptWheel(-1);
    EXPECT_EQ(textBoxUpdate(d.box, nullptr), 1);
    EXPECT_EQ(d.box.hbar.pos, 25);
    ASSERT_EQ(d.make(text.c_str(), 130, 96, true, true), 1);
    hscrollTo(d.box.hbar, 10); // one character and three pixels in
    vscrollTo(d.box.vbar, 1);
    canvasClear(desktop.desktopWindow->canvas);
    textBoxDraw(d.box);
    // Onto the screen with the next pass; the desktop's own procedure draws
    // nothing over it.
    desktop.desktopWindow->redrawRequested = 1;
    updatePass(desktop);
    const std::vector<uint16_t> crop = screenCrop(10, 20, 130, 96);
    EXPECT_TRUE(matchesGolden("textbox", 130, 96, crop.data()));
}

TEST(TextBox, FilesThatAreMissingEmptyOrTooLargeAreReportedWithTheirNames) {
    BoxDesk d;
    TempDir folder("textbox");
    // A name in a folder that does not exist is never written.
    auto open = [&](const std::string& name, const std::string& bytes) {
        const std::string path = (folder.path / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        const int made =
            textBoxCreate(d.box, 0, 0, 200, 100, nullptr, path.c_str(), true, true, nullptr);
        return ints(made, d.box.created);
    };
    auto message = [](int index) {
        return std::string(dialogOfWindow(desktop.windows[index])->lines[3].label);
    };
    EXPECT_EQ(open("no/where.txt", ""), ints(0, 0));
    // The alert the load failure's picture shows, without a title.
    ASSERT_EQ(desktop.count, 2);
    EXPECT_EQ(desktop.windows[1]->title, nullptr);
    EXPECT_STREQ(dialogOfWindow(desktop.windows[1])->lines[1].label, " Edit Box Error: ");
    EXPECT_EQ(message(1), "File '" + (folder.path / "no/where.txt").string() + "' not found");
    EXPECT_EQ(open("empty.txt", ""), ints(0, 0));
    EXPECT_EQ(message(2),
              "Error while reading '" + (folder.path / "empty.txt").string() + "' file");
    // A mebibyte is read; a byte more is refused as more than the box holds.
    EXPECT_EQ(open("big.txt", std::string(1 << 20, 'x')), ints(1, 1));
    EXPECT_EQ(open("big.txt", std::string((1 << 20) + 1, 'x')), ints(0, 0));
    EXPECT_EQ(message(3), "Not enough memory to perform operation");
    // A long name is cut to 127 characters in the message.
    const std::string longName(300, 'n');
    textBoxError(d.box, TEXTBOX_READ_ERROR, longName.c_str());
    EXPECT_EQ(message(4), "Error while reading '" + longName.substr(0, 127) + "' file");
    textBoxError(d.box, 9, nullptr);
    EXPECT_EQ(message(5), "Undefined error");
    // A file that reads is cleaned like a string.
    ASSERT_EQ(open("good.txt", "first\r\nsecond\tend"), ints(1, 1));
    EXPECT_EQ(d.lines(), (Lines{"first", "second    end"}));
}

TEST(AboutWindow, ShowsTheAboutTextLineByLineInItsClientArea) {
    BoxDesk d;
    desktop.current = nullptr;
    openAboutWindow();
    ASSERT_EQ(desktop.count, 2);
    const Window& w = *desktop.windows[1];
    // The client's 230 x 180 pixels are the picture's; it may shrink to
    // 204 x 123.
    EXPECT_EQ(ints(w.minWidth, w.minHeight), ints(204, 123));
    play("+100");
    const std::vector<uint16_t> crop = screenCrop(w.frameX, w.frameY, w.frameWidth, w.frameHeight);
    EXPECT_TRUE(matchesGolden("widgets2-about", w.frameWidth, w.frameHeight, crop.data()));
    // Page Down has nowhere to go without a bar, and the window stays.
    play("k34 +10");
    EXPECT_EQ(desktop.count, 2);
}

} // namespace
