#include "widgets/lineedit.h"

#include "platform/platform_script.h"
#include "tests/support/desktop_env.h"
#include "tests/support/golden.h"
#include "toolkit/desktop.h"
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

void QuietWindowProc(Window*, uint32_t) {}

constexpr int32_t WX = 40, WY = 30; // the test window's client position

// A frameless window on the scripted desktop, made current as if its
// procedure were running, with a field at (10, 20) of 100 x 17 pixels in
// font 0 (7 pixels a character).
struct FieldDesk {
    Window* window = nullptr;
    LineEditor field{};
    char text[40] = {};

    explicit FieldDesk(const char* initial = "", int32_t size = 16) {
        EXPECT_EQ(scriptedDesktopStart(320, 240, QuietWindowProc), nullptr);
        window = createWindow(desktop, WX, WY, 160, 48, "field", 0, QuietWindowProc, 1);
        EXPECT_NE(window, nullptr);
        desktop.current = window;
        std::strncpy(text, initial, sizeof text - 1);
        lineEditorCreate(field, 10, 20, 100, 17, text, size);
        lineEditorFocus(field);
    }
    ~FieldDesk() {
        desktop.current = nullptr;
        scriptedDesktopStop();
    }
    // One key press on its own pass, with Shift or Ctrl held when asked.
    int key(uint8_t vk, uint8_t held = 0, char typed = 0) {
        if (held != 0) {
            scriptKeyDown(held);
        }
        scriptKeyDown(vk);
        if (typed != 0) {
            scriptChar(uint8_t(typed));
        }
        int used = lineEditorUpdate(field);
        lastKeyAfter = inputState.keys.lastKey;
        keysClearEvents(inputState.keys);
        scriptKeyUp(vk);
        if (held != 0) {
            scriptKeyUp(held);
        }
        return used;
    }
    void type(const char* s) {
        for (; *s != 0; s++) {
            key(uint8_t(*s >= 'a' && *s <= 'z' ? *s - 32 : *s), 0, *s);
        }
    }
    int mousePass() {
        int used = lineEditorUpdate(field);
        mouseClearEvents(inputState.mouse);
        return used;
    }
    uint8_t lastKeyAfter = 0;
};

TEST(LineEditor, FullFieldDropsItsLastCharacterAndTakesNothingAtTheEnd) {
    FieldDesk f("abcde", 6);
    f.key(KEY_HOME);
    f.key(KEY_RIGHT);
    f.key(KEY_RIGHT);
    EXPECT_EQ(f.key('X', 0, 'X'), 1);
    EXPECT_STREQ(f.text, "abXcd");
    EXPECT_EQ(f.field.caret, 3);
    f.key(KEY_END);
    EXPECT_EQ(f.field.caret, 5);
    EXPECT_EQ(f.key('Y', 0, 'Y'), 1);
    EXPECT_STREQ(f.text, "abXcd");
    // A key that typed nothing is not the field's.
    EXPECT_EQ(f.key(KEY_TAB), 0);
    EXPECT_EQ(f.lastKeyAfter, KEY_TAB);
}

TEST(LineEditor, BackspaceAtTheStartAndDeleteAtTheEndChangeNothingButAreConsumed) {
    FieldDesk f("abc");
    f.key(KEY_HOME);
    EXPECT_EQ(f.key(KEY_BACK), 1);
    EXPECT_EQ(f.lastKeyAfter, 0);
    EXPECT_STREQ(f.text, "abc");
    f.key(KEY_END);
    EXPECT_EQ(f.key(KEY_DELETE), 1);
    EXPECT_EQ(f.lastKeyAfter, 0);
    EXPECT_STREQ(f.text, "abc");
    EXPECT_EQ(inputState.keys.down[KEY_DELETE], 0);
    // In the middle both remove one byte, on either side of the caret.
    f.key(KEY_LEFT);
    f.key(KEY_BACK);
    EXPECT_STREQ(f.text, "ac");
    f.key(KEY_HOME);
    f.key(110); // the keypad's decimal key
    EXPECT_STREQ(f.text, "c");
}

TEST(LineEditor, CtrlArrowsMoveOverWordsAndTheBlanksBetweenThem) {
    FieldDesk f("abc def");
    f.key(KEY_END);
    f.key(KEY_LEFT);
    ASSERT_EQ(f.field.caret, 6);
    f.key(KEY_LEFT, KEY_CTRL);
    EXPECT_EQ(f.field.caret, 4);
    f.key(KEY_LEFT, KEY_CTRL);
    EXPECT_EQ(f.field.caret, 3);
    f.key(KEY_LEFT, KEY_CTRL);
    EXPECT_EQ(f.field.caret, 0);
    f.key(KEY_RIGHT, KEY_CTRL);
    EXPECT_EQ(f.field.caret, 3);
    f.key(KEY_RIGHT, KEY_CTRL);
    EXPECT_EQ(f.field.caret, 4);
    f.key(KEY_RIGHT, KEY_CTRL);
    EXPECT_EQ(f.field.caret, 7);
    f.key(KEY_RIGHT, KEY_CTRL);
    EXPECT_EQ(f.field.caret, 7);
}

TEST(LineEditor, ClipboardCopiesCutsAndPastesTheSelection) {
    FieldDesk f("hello world");
    // Copy without a selection empties the clipboard; pasting adds nothing.
    std::strcpy(lineEditorClipboard, "stale");
    EXPECT_EQ(f.key('C', KEY_CTRL), 0);
    EXPECT_EQ(f.lastKeyAfter, 'C');
    EXPECT_STREQ(lineEditorClipboard, "");
    f.key('V', KEY_CTRL);
    EXPECT_STREQ(f.text, "hello world");

    // Shift+Home from the end selects all; Ctrl+Insert copies and is left
    // to the owner too.
    f.key(KEY_END);
    f.key(KEY_LEFT, KEY_SHIFT);
    f.key(KEY_LEFT, KEY_SHIFT);
    EXPECT_EQ(f.field.anchor, 11);
    EXPECT_EQ(f.field.selEnd, 9);
    EXPECT_EQ(f.key(KEY_INSERT, KEY_CTRL), 0);
    EXPECT_STREQ(lineEditorClipboard, "ld");
    EXPECT_EQ(f.field.selMin, 9);
    EXPECT_EQ(f.field.selMax, 11);
    f.key(KEY_HOME, KEY_SHIFT);
    EXPECT_EQ(f.field.selEnd, 0);
    EXPECT_EQ(f.field.anchor, 11);

    // Cut removes the selection; Shift+Insert pastes it back twice.
    EXPECT_EQ(f.key('X', KEY_CTRL), 1);
    EXPECT_STREQ(lineEditorClipboard, "hello world");
    EXPECT_STREQ(f.text, "");
    f.key(KEY_INSERT, KEY_SHIFT);
    f.key(KEY_INSERT, KEY_SHIFT);
    // Sixteen bytes hold fifteen characters; the rest falls off.
    EXPECT_STREQ(f.text, "hello worldhell");
    EXPECT_EQ(f.field.anchor, f.field.selEnd);

    // Typing over a selection replaces it.
    f.key(KEY_HOME);
    f.key(KEY_RIGHT, KEY_SHIFT);
    f.key(KEY_RIGHT, KEY_SHIFT);
    f.key('J', 0, 'J');
    EXPECT_STREQ(f.text, "Jllo worldhell");
    EXPECT_EQ(f.field.caret, 1);
    EXPECT_EQ(f.field.anchor, 1);
    EXPECT_EQ(f.field.selEnd, 1);
}

TEST(LineEditor, ViewScrollsRightNearTheEdgeAndJumpsBackEightCharacters) {
    FieldDesk f("");
    f.type("abcdefghijklm");
    // 13 characters: the caret is 91 pixels in, still inside.
    EXPECT_EQ(f.field.scroll, 0);
    EXPECT_EQ(f.field.caretX, 91);
    f.type("n");
    // 98 >= 92: the view moves by the boundary nearest 98 - 100 + 16 = 14.
    EXPECT_EQ(f.field.scroll, 2);
    EXPECT_EQ(f.field.caretX, 84);
    EXPECT_EQ(desktop.current->caret.x, 10 + 84);
    EXPECT_EQ(desktop.current->caret.y, 20);
    f.key(KEY_HOME);
    f.key(KEY_RIGHT);
    f.key(KEY_RIGHT);
    f.key(KEY_RIGHT);
    f.key(KEY_END);
    f.key(KEY_LEFT);
    f.key(KEY_LEFT);
    // The caret at 12 is shown, the view stays at 2.
    EXPECT_EQ(f.field.scroll, 2);
    f.key(KEY_HOME);
    EXPECT_EQ(f.field.scroll, 0);

    // Scrolled further, a caret left of the view brings it back 8 at a time.
    f.field.scroll = 11;
    f.field.caret = 11;
    f.key(KEY_LEFT);
    EXPECT_EQ(f.field.caret, 10);
    EXPECT_EQ(f.field.scroll, 3);
}

TEST(LineEditor, ClickPlacesTheCaretAndDraggingLeftScrollsOneCharacterATick) {
    FieldDesk f("abcdefghijklmnopq", 32);
    lineEditorUnfocus(f.field);
    EXPECT_EQ(lineEditorHasFocus(f.field), 0);
    f.field.scroll = 3;
    // Press at 17 pixels in: nearer the boundary after the third shown
    // character (21) than the one before it (14)? 17 - 14 = 3 < 4: before.
    scriptMouseMove(WX + 10 + 17, WY + 25);
    scriptLeftDown();
    EXPECT_EQ(f.mousePass(), 1);
    EXPECT_EQ(lineEditorHasFocus(f.field), 1);
    EXPECT_EQ(f.field.caret, 3 + 2);
    EXPECT_EQ(f.field.dragging, 1u);
    EXPECT_EQ(f.field.anchor, 5);

    scriptMouseMove(WX + 5, WY + 25); // left of the field
    EXPECT_EQ(f.mousePass(), 1);
    EXPECT_EQ(f.field.scroll, 2);
    EXPECT_EQ(f.field.caret, 2);
    EXPECT_EQ(f.mousePass(), 1);
    EXPECT_EQ(f.field.scroll, 1);
    EXPECT_EQ(f.mousePass(), 1);
    EXPECT_EQ(f.mousePass(), 1);
    EXPECT_EQ(f.field.scroll, 0);
    EXPECT_EQ(f.field.caret, 0);
    EXPECT_EQ(f.field.anchor, 5);
    EXPECT_EQ(f.field.selEnd, 0);
    scriptLeftUp();
    EXPECT_EQ(lineEditorUpdate(f.field), 1);
    EXPECT_EQ(inputState.mouse.leftReleased, 0u);
    EXPECT_EQ(f.field.dragging, 0u);
    mouseClearEvents(inputState.mouse);
    // A press outside the field is not its business.
    scriptMouseMove(WX + 150, WY + 5);
    scriptLeftDown();
    EXPECT_EQ(f.mousePass(), 0);
}

TEST(LineEditor, RecreatingAFocusedFieldKeepsItsCaret) {
    FieldDesk f("abcdef");
    f.key(KEY_END);
    f.key(KEY_LEFT);
    ASSERT_EQ(f.field.caret, 5);
    const int32_t caretX = desktop.current->caret.x;
    lineEditorCreate(f.field, 30, 24, 100, 17, f.text, 16);
    EXPECT_EQ(f.field.caret, 5);
    EXPECT_EQ(desktop.current->caret.x, caretX + 20);
    EXPECT_EQ(desktop.current->caret.y, 24);
    EXPECT_EQ(desktop.current->caret.height, 17);
    // Without the caret the field starts at the beginning again.
    LineEditor other{};
    char buffer[8] = "xyz";
    lineEditorCreate(other, 0, 0, 50, 15, buffer, 8);
    EXPECT_EQ(other.caret, 0);
    EXPECT_EQ(other.textY, 1);
    // A field that was never created takes no focus.
    LineEditor never{};
    lineEditorFocus(never);
    EXPECT_EQ(lineEditorHasFocus(never), 0);
}

TEST(LineEditor, DrawsTheSelectionBehindTheTextInsideASunkenFrame) {
    FieldDesk f("Gloomhold");
    f.key(KEY_HOME);
    f.key(KEY_RIGHT, KEY_CTRL);
    f.key(KEY_LEFT, KEY_SHIFT);
    f.key(KEY_LEFT, KEY_SHIFT);
    f.key(KEY_LEFT, KEY_SHIFT);
    f.key(KEY_LEFT, KEY_SHIFT);
    canvasClear(f.window->canvas);
    lineEditorDraw(f.field);
    lineEditorDrawFrame(f.field);
    const Surface& s = f.window->canvas.surface;
    // The selection "hold" runs from 35 to 63 pixels in, over the full height.
    EXPECT_EQ(s.pixels[20 * s.width + 10 + 35], styleTable.colours[14]);
    EXPECT_EQ(s.pixels[36 * s.width + 10 + 63], styleTable.colours[14]);
    EXPECT_EQ(s.pixels[36 * s.width + 10 + 64], styleTable.colours[1]);
    EXPECT_TRUE(matchesGolden("widgets2-lineedit-selection", s));
}

} // namespace
