#include "widgets/lineedit.h"

#include "platform/platform_script.h"
#include "tests/support/desktop_env.h"
#include "tests/support/golden.h"
#include "tests/support/ints.h"
#include "toolkit/desktop.h"
#include <cstring>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

namespace {

void QuietWindowProc(Window*, uint32_t) {}

constexpr int32_t WX = 40, WY = 30; // the test window's client position

// A frameless window on the scripted desktop, made current as if its
// procedure were running, with a focused field at (10, 20) of 100 x 17
// pixels in font 0 (7 pixels a character). The bytes after the field's
// buffer are marked, so that a write past its end shows.
struct FieldDesk {
    Window* window = nullptr;
    LineEditor field{};
    char text[300] = {};

    explicit FieldDesk(const char* initial = "", int32_t size = 16) {
        EXPECT_EQ(scriptedDesktopStart(320, 240, QuietWindowProc), nullptr);
        window = createWindow(desktop, WX, WY, 160, 48, "field", 0, QuietWindowProc, 1);
        EXPECT_NE(window, nullptr);
        desktop.current = window;
        std::memset(text, '#', sizeof text);
        std::strncpy(text, initial, size_t(size));
        lineEditorCreate(field, 10, 20, 100, 17, text, size);
        lineEditorFocus(field);
    }
    ~FieldDesk() {
        EXPECT_EQ(text[field.size], '#');
        desktop.current = nullptr;
        scriptedDesktopStop();
    }
    // One key press on its own pass, with Shift or Ctrl held when asked;
    // whether the field used it.
    int key(uint8_t vk, uint8_t held = 0, char typed = 0) {
        scriptKeyDown(held); // 0 is no key
        scriptKeyDown(vk);
        if (typed != 0) {
            scriptChar(uint8_t(typed));
        }
        int used = lineEditorUpdate(field);
        lastKeyAfter = inputState.keys.lastKey;
        downAfter = inputState.keys.down[vk];
        keysClearEvents(inputState.keys);
        scriptKeyUp(vk);
        scriptKeyUp(held);
        return used;
    }
    void keys(std::initializer_list<uint8_t> vks, uint8_t held = 0) {
        for (uint8_t vk : vks) {
            key(vk, held);
        }
    }
    int mousePass() {
        int used = lineEditorUpdate(field);
        mouseClearEvents(inputState.mouse);
        return used;
    }
    std::vector<int64_t> selection() const { return ints(field.caret, field.anchor, field.selEnd); }
    uint8_t lastKeyAfter = 0, downAfter = 0; // the key's traces after the field saw it
};

TEST(LineEditor, TypingIntoAFullFieldDropsItsLastCharacterAndNothingFitsAtTheEnd) {
    FieldDesk f("abcde", 6);
    f.keys({KEY_HOME, KEY_RIGHT, KEY_RIGHT});
    EXPECT_EQ(f.key('X', 0, 'X'), 1);
    f.key(KEY_END);
    EXPECT_EQ(f.key('Y', 0, 'Y'), 1);
    EXPECT_STREQ(f.text, "abXcd");
    EXPECT_EQ(f.selection(), ints(5, 5, 5));
    // A key that typed nothing is not the field's.
    EXPECT_EQ(f.key(KEY_TAB), 0);
    EXPECT_EQ(f.lastKeyAfter, KEY_TAB);
    // Backspace at the start and Delete on the terminating zero change
    // nothing but are consumed; elsewhere each removes one byte.
    const struct {
        uint8_t before, vk;
        const char* text;
        int32_t caret;
    } edits[] = {
        {KEY_HOME, KEY_BACK, "abXcd", 0}, {KEY_END, KEY_DELETE, "abXcd", 5},
        {KEY_LEFT, KEY_BACK, "abXd", 3},  {KEY_HOME, 110, "bXd", 0}, // the keypad's decimal key
        {KEY_RIGHT, KEY_DELETE, "bd", 1}, {KEY_END, KEY_BACK, "b", 1},
        {KEY_END, KEY_BACK, "", 0}};
    for (const auto& e : edits) {
        f.key(e.before);
        EXPECT_EQ(f.key(e.vk), 1);
        EXPECT_EQ(ints(f.lastKeyAfter, f.downAfter, f.field.caret), ints(0, 0, e.caret));
        EXPECT_STREQ(f.text, e.text);
    }
}

TEST(LineEditor, CtrlArrowsMoveOverWordsAndTheBlanksBetweenThem) {
    // A word of every edge of the word characters' ranges, then a run of
    // their neighbours.
    FieldDesk f(" a9Z_z0A {@[`:/");
    f.key(KEY_END);
    const std::pair<uint8_t, int32_t> moves[] = {{KEY_LEFT, 8},   {KEY_LEFT, 1},  {KEY_LEFT, 0},
                                                 {KEY_LEFT, 0},   {KEY_RIGHT, 1}, {KEY_RIGHT, 8},
                                                 {KEY_RIGHT, 15}, {KEY_RIGHT, 15}};
    for (const auto& [vk, caret] : moves) {
        f.key(vk, KEY_CTRL);
        EXPECT_EQ(f.field.caret, caret);
    }
    f.key(KEY_RIGHT);
    EXPECT_EQ(f.field.caret, 15);
}

TEST(LineEditor, ClipboardCopiesCutsAndPastesTheSelection) {
    FieldDesk f("hello world");
    // Copy without a selection empties the clipboard.
    std::strcpy(lineEditorClipboard, "stale");
    EXPECT_EQ(f.key('C', KEY_CTRL), 0);
    EXPECT_EQ(f.lastKeyAfter, 'C');
    EXPECT_STREQ(lineEditorClipboard, "");
    // Shift+Left from the end selects; Ctrl+Insert copies and is left to the
    // owner too.
    f.key(KEY_END);
    f.keys({KEY_LEFT, KEY_LEFT}, KEY_SHIFT);
    EXPECT_EQ(f.key(KEY_INSERT, KEY_CTRL), 0);
    EXPECT_STREQ(lineEditorClipboard, "ld");
    f.key(KEY_HOME, KEY_SHIFT);
    // Cut removes the selection; Shift+Insert pastes it back twice, and
    // sixteen bytes hold fifteen characters.
    EXPECT_EQ(f.key('X', KEY_CTRL), 1);
    EXPECT_STREQ(lineEditorClipboard, "hello world");
    EXPECT_STREQ(f.text, "");
    f.keys({KEY_INSERT, KEY_INSERT}, KEY_SHIFT);
    EXPECT_STREQ(f.text, "hello worldhell");
    EXPECT_EQ(f.selection(), ints(15, 15, 15));
    // Typing over a selection replaces it; so does Ctrl+V.
    f.key(KEY_HOME);
    f.keys({KEY_RIGHT, KEY_RIGHT}, KEY_SHIFT);
    f.key('J', 0, 'J');
    EXPECT_EQ(f.selection(), ints(1, 1, 1));
    f.key(KEY_RIGHT, KEY_SHIFT);
    std::strcpy(lineEditorClipboard, "ab");
    f.key('V', KEY_CTRL);
    EXPECT_STREQ(f.text, "Jablo worldhell");
    f.key(KEY_LEFT, KEY_SHIFT);
    f.key(KEY_BACK);
    EXPECT_STREQ(f.text, "Jalo worldhell");
    EXPECT_EQ(f.selection(), ints(2, 2, 2));
}

TEST(LineEditor, TheClipboardTakesTheFirst255CharactersOfALongerSelection) {
    const std::string many(270, 'a');
    FieldDesk f(many.c_str(), 280);
    f.key(KEY_END, KEY_SHIFT);
    f.key('C', KEY_CTRL);
    EXPECT_EQ(std::strlen(lineEditorClipboard), 255u);
}

TEST(LineEditor, TheViewScrollsNearTheRightEdgeAndJumpsBackEightCharacters) {
    FieldDesk f("abcdefghijklm");
    f.key(KEY_END);
    // 13 characters: the caret is 91 pixels in, still inside.
    EXPECT_EQ(ints(f.field.scroll, f.field.caretX, desktop.current->caret.x), ints(0, 91, 101));
    f.key('N', 0, 'n');
    // 98 >= 92: the view moves by the boundary nearest 98 - 100 + 16 = 14,
    // and the caret is drawn where the character now is.
    EXPECT_EQ(
        ints(f.field.scroll, f.field.caretX, desktop.current->caret.x, desktop.current->caret.y),
        ints(2, 84, 10 + 84, 20));
    f.key(KEY_LEFT);
    f.key(KEY_LEFT, KEY_SHIFT);
    EXPECT_EQ(ints(f.field.scroll, f.field.caretX, f.field.selMinX, f.field.selMaxX),
              ints(2, 70, 70, 77));
    f.key(KEY_HOME);
    EXPECT_EQ(ints(f.field.scroll, desktop.current->caret.x), ints(0, 10));
    // Scrolled further, a caret left of the view brings it back 8 at a time.
    f.field.scroll = 11;
    f.field.caret = 11;
    f.key(KEY_LEFT);
    EXPECT_EQ(ints(f.field.caret, f.field.scroll, desktop.current->caret.x), ints(10, 3, 59));
}

TEST(LineEditor, ClickPlacesTheCaretAndDraggingLeftScrollsOneCharacterATick) {
    FieldDesk f("abcdefghijklmnopq", 32);
    lineEditorUnfocus(f.field);
    // A field that is not enabled takes no press.
    f.field.enabled = 0;
    play("20,25 d", WX, WY);
    EXPECT_EQ(f.mousePass(), 0);
    f.field.enabled = 1;
    f.field.scroll = 3;
    // Press 17 pixels in: nearer the boundary at 14 than the one at 21.
    play("27,25 d", WX, WY);
    EXPECT_EQ(f.mousePass(), 1);
    EXPECT_EQ(ints(lineEditorHasFocus(f.field), f.field.dragging, desktop.current->caret.x),
              ints(1, 1, 24));
    EXPECT_EQ(f.selection(), ints(5, 5, 5));
    scriptMouseMove(WX + 5, WY + 25); // left of the field
    const std::pair<int32_t, int32_t> ticks[] = {{2, 2}, {1, 1}, {0, 0}, {0, 0}};
    for (const auto& [scroll, caret] : ticks) {
        EXPECT_EQ(f.mousePass(), 1);
        // The caret stays at the field's left edge, the selection's start.
        EXPECT_EQ(ints(f.field.scroll, f.field.caret, f.field.anchor, f.field.selEnd,
                       f.field.selMin, desktop.current->caret.x),
                  ints(scroll, caret, 5, caret, caret, 10));
    }
    scriptLeftUp();
    EXPECT_EQ(lineEditorUpdate(f.field), 1);
    EXPECT_EQ(ints(inputState.mouse.leftReleased, f.field.dragging), ints(0, 0));
    mouseClearEvents(inputState.mouse);
    // A press outside the field is not its business.
    play("150,5 d", WX, WY);
    EXPECT_EQ(f.mousePass(), 0);
}

TEST(LineEditor, RecreatingAFocusedFieldKeepsItsCaret) {
    FieldDesk f("abcdef");
    f.keys({KEY_END, KEY_LEFT});
    lineEditorCreate(f.field, 30, 24, 100, 15, f.text, 16);
    EXPECT_EQ(ints(f.field.caret, desktop.current->caret.x, desktop.current->caret.y,
                   desktop.current->caret.height),
              ints(5, 30 + 35, 24, 15));
    // Without the caret a field starts at the beginning again.
    LineEditor other{};
    char buffer[8] = "xyz";
    lineEditorCreate(other, 0, 0, 50, 15, buffer, 8);
    EXPECT_EQ(ints(other.caret, other.textY), ints(0, 1));
    LineEditor never{};
    lineEditorFocus(never);
    EXPECT_EQ(lineEditorHasFocus(never), 0);
}

TEST(LineEditor, DrawsTheSelectionBehindTheTextInsideASunkenFrame) {
    FieldDesk f("Gloomhold");
    // Without a selection nothing is filled behind the text.
    f.key(KEY_END);
    lineEditorDraw(f.field);
    EXPECT_NE(f.window->canvas.surface.pixels[21 * 160 + 10],
              styleTable.colours[COLOUR_EDIT_SELECTION]);
    f.key(KEY_HOME);
    f.key(KEY_RIGHT, KEY_CTRL);
    f.keys({KEY_LEFT, KEY_LEFT, KEY_LEFT, KEY_LEFT}, KEY_SHIFT);
    canvasClear(f.window->canvas);
    lineEditorDraw(f.field);
    lineEditorDrawFrame(f.field);
    EXPECT_TRUE(matchesGolden("widgets2-lineedit-selection", f.window->canvas.surface));
}

} // namespace
