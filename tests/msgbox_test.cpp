#include "widgets/msgbox.h"

#include "game/flow.h"
#include "platform/platform_script.h"
#include "tests/support/desktop_env.h"
#include "tests/support/game_session.h"
#include "tests/support/golden.h"
#include "tests/support/ints.h"
#include "toolkit/desktop.h"
#include "toolkit/frame.h"
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

void QuietWindowProc(Window*, uint32_t) {}

int okCalls;
int32_t checked[DIALOG_LINES];
std::vector<int32_t> changedLines;

// A 640 x 480 desktop whose own window does nothing; dialogs open on it as
// they would over the game.
struct DialogDesk {
    DialogDesk() {
        EXPECT_EQ(scriptedDesktopStart(640, 480, QuietWindowProc), nullptr);
        okCalls = 0;
        changedLines.clear();
        std::fill(std::begin(checked), std::end(checked), 0);
    }
    ~DialogDesk() { scriptedDesktopStop(); }
    // One pass of the loop: the clock, the desktop, then the events cleared.
    void pass(uint32_t advance = 10) { play("+" + std::to_string(advance)); }
    void key(uint8_t vk, char typed = 0, uint8_t held = 0) {
        scriptKeyDown(held);
        scriptKeyDown(vk);
        if (typed != 0) {
            scriptChar(uint8_t(typed));
        }
        pass();
        scriptKeyUp(vk);
        scriptKeyUp(held);
    }
    void keys(std::initializer_list<uint8_t> vks) {
        for (uint8_t vk : vks) {
            key(vk);
        }
    }
    // Digits, blanks and lower-case letters, each on its own pass.
    void type(const char* text) {
        for (; *text != 0; text++) {
            key(uint8_t(*text >= 'a' ? *text - 32 : *text), *text);
        }
    }
    // The pointer comes to rest on the middle of an element of the window.
    void hover(const Window& w, const Rect& r) {
        scriptMouseMove(w.x + r.x + r.width / 2, w.y + r.y + r.height / 2);
        pass();
    }
    // Pressed and released on the same pass: a click of a button that acts
    // on release.
    void click(const Window& w, const Rect& r) {
        scriptMouseMove(w.x + r.x + r.width / 2, w.y + r.y + r.height / 2);
        scriptLeftDown();
        scriptLeftUp();
        pass();
    }
};

void count() {
    okCalls++;
}

// A dialog of lines of these kinds: a text line says text, a check box is
// bound to checked[its line], a lone button says "Go"; Ok counts.
Dialog* showLines(std::initializer_list<uint32_t> kinds, const char* text = "Sure?") {
    std::unique_ptr<Dialog> d = dialogCreate();
    for (uint32_t kind : kinds) {
        if (kind == DIALOG_TEXT) {
            dialogAddText(*d, text);
        } else if (kind == DIALOG_CHECK_BOX) {
            dialogAddCheckBox(*d, "Box", &checked[d->lineCount]);
        } else if (kind == DIALOG_BUTTON) {
            dialogAddButton(*d, "Go", 0);
        } else {
            dialogAddButtons(*d, kind);
        }
    }
    return dialogShow(std::move(d), "Note", count, nullptr);
}

// Every element that has the keyboard focus, as line and element: a hot
// button or check box, or a field owning the caret. One at a time.
std::vector<int64_t> focus(const Dialog& d) {
    std::vector<int64_t> found;
    for (int32_t i = 0; i < d.lineCount; i++) {
        const DialogLine& line = d.lines[i];
        for (int32_t k = 0; k < 3; k++) {
            if (line.buttons[k].click.hot || (k == 0 && line.checkBox.click.hot) ||
                (line.editors[k].enabled && caretOwnedBy(d.window->caret, &line.editors[k]) &&
                 d.window->caret.on)) {
                found.insert(found.end(), {i, k});
            }
        }
    }
    return found;
}

TEST(Dialog, BoxesAreSizedByTheirWidestLineCentredAndAnsweredByEnterEscapeAndTheirButtons) {
    DialogDesk desk;
    Dialog* d = showLines({DIALOG_TEXT, DIALOG_OK}, "Fail to load game file:");
    ASSERT_NE(d, nullptr);
    // 23 characters of 7 pixels beat the 50-pixel "  Ok  " button; placed at
    // ((640 - 177) >> 1, (480 - 56) >> 1), the frame's x even.
    const Window& w = *d->window;
    EXPECT_EQ(ints(d->maxWidth, d->width, d->height, w.frameX, w.frameY, w.canvas.surface.width,
                   w.canvas.surface.height),
              ints(161, 177, 56, 230, 212, 176, 56));
    // Nothing hovered: Enter goes through the one line that answers it;
    // Escape always cancels.
    ASSERT_NE(showLines({DIALOG_TEXT, DIALOG_OK}), nullptr);
    desk.key(KEY_ENTER);
    EXPECT_EQ(ints(okCalls, desktop.count), ints(1, 2));
    desk.key(KEY_ESCAPE);
    EXPECT_EQ(ints(okCalls, desktop.count), ints(1, 1));
    // Three buttons and the 20 pixels between each two are wider than the
    // text; a No button closes without storing.
    d = showLines({DIALOG_TEXT, DIALOG_YES_NO});
    EXPECT_EQ(ints(d->maxWidth, d->width, d->lines[1].buttons[2].rect.x), ints(197, 213, 135));
    desk.click(*d->window, d->lines[1].buttons[1].rect);
    EXPECT_EQ(ints(okCalls, desktop.count), ints(1, 1));
    // Along the first line the arrows go from button to button, and Enter
    // goes through the focused one.
    d = showLines({DIALOG_OK_CANCEL});
    desk.keys({KEY_TAB, KEY_RIGHT});
    EXPECT_EQ(focus(*d), ints(0, 1));
    desk.keys({KEY_LEFT, KEY_ENTER});
    EXPECT_EQ(ints(okCalls, desktop.count), ints(2, 1));
    // A first Tab starts at the first line; a check box alone answers Enter.
    d = showLines({DIALOG_CHECK_BOX, DIALOG_OK_CANCEL});
    desk.key(KEY_TAB);
    EXPECT_EQ(focus(*d), ints(0, 0));
    desk.key(KEY_TAB);
    EXPECT_EQ(focus(*d), ints(1, 0));
    desk.key(KEY_ESCAPE);
    d = showLines({DIALOG_CHECK_BOX});
    desk.click(*d->window, d->lines[0].checkBox.rect);
    scriptMouseMove(100, 100);
    desk.pass(300);
    desk.key(KEY_ENTER);
    EXPECT_EQ(ints(okCalls, desktop.count, checked[0]), ints(3, 1, 1));
    // Two answering lines leave Enter with nowhere to go; a line after a row
    // of buttons starts below the buttons.
    d = showLines({DIALOG_OK, DIALOG_BUTTON});
    EXPECT_EQ(d->lines[1].buttons[0].rect.y, 8 + 21 + 6);
    desk.key(KEY_ENTER);
    EXPECT_EQ(ints(okCalls, desktop.count), ints(3, 2));
}

TEST(Dialog, FormLaysOutTwoColumnsAndTabAndTheArrowsMoveTheFocusInOrder) {
    DialogDesk desk;
    char name[16] = "Gloomhold";
    char work[16];
    int32_t level = 12;
    int32_t sound = 1;
    std::unique_ptr<Dialog> box = dialogCreate();
    dialogAddBlank(*box);
    dialogAddText(*box, "Version", "1.0");
    dialogAddString(*box, "Name", name, sizeof name, work);
    dialogAddInteger(*box, "Level", &level, false);
    dialogAddCheckBox(*box, "Sound", &sound);
    dialogAddButtons(*box, DIALOG_YES_NO);
    Dialog* d = dialogShow(std::move(box), "Settings", count, nullptr);
    ASSERT_NE(d, nullptr);
    desk.pass();
    const Window& w = *d->window;
    const std::vector<uint16_t> crop = screenCrop(w.frameX, w.frameY, w.frameWidth, w.frameHeight);
    EXPECT_TRUE(matchesGolden("widgets2-dialog-form", w.frameWidth, w.frameHeight, crop.data()));
    // The first field has the caret, at the start of its text.
    EXPECT_EQ(focus(*d), ints(2, 0));
    EXPECT_EQ(d->lines[2].editors[0].caret, 0);
    const struct {
        uint8_t vk, held;
        int32_t line, element;
    } moves[] = {
        {KEY_TAB, 0, 3, 0},         {KEY_TAB, 0, 4, 0},
        {KEY_TAB, 0, 5, 0},         {KEY_RIGHT, 0, 5, 1},
        {KEY_RIGHT, 0, 5, 2},       {KEY_RIGHT, 0, 2, 0},
        {KEY_TAB, KEY_SHIFT, 5, 2}, {KEY_TAB, KEY_SHIFT, 5, 1},
        {KEY_TAB, KEY_SHIFT, 5, 0}, {KEY_UP, 0, 4, 0},
        {KEY_UP, 0, 3, 0},          {KEY_UP, 0, 2, 0},
        {KEY_UP, 0, 5, 0},          {KEY_DOWN, 0, 2, 0},
        {KEY_LEFT, 0, 2, 0}, // the field's own key
    };
    for (const auto& m : moves) {
        desk.key(m.vk, 0, m.held);
        EXPECT_EQ(focus(*d), ints(m.line, m.element)) << int(m.vk) << " to " << m.line;
    }
    // Enter in a field goes nowhere.
    desk.key(KEY_ENTER);
    ASSERT_EQ(desktop.count, 2);
    // Hovering counts as focus: from the check box under the pointer, Down
    // goes to the buttons.
    desk.key(KEY_UP);
    desk.hover(w, d->lines[4].checkBox.rect);
    EXPECT_EQ(focus(*d), ints(4, 0));
    desk.key(KEY_DOWN);
    EXPECT_EQ(focus(*d), ints(5, 0));
    // With the focus on Yes, the pointer resting on Cancel makes Enter
    // cancel, storing nothing.
    desk.hover(w, d->lines[5].buttons[2].rect);
    desk.key(KEY_ENTER);
    EXPECT_EQ(ints(desktop.count, okCalls, level), ints(1, 0, 12));
    EXPECT_STREQ(name, "Gloomhold");
}

TEST(Dialog, OnlyConfirmingStoresEveryValueAndACheckBoxClickTakesTheFocus) {
    DialogDesk desk;
    char name[16] = "hero";
    char work[16];
    int32_t lives = 42;
    float speed = 1.5f;
    float position[3] = {1.0f, -2.25f, 0.0f};
    int32_t sound = 1;
    int32_t music = 0;
    std::unique_ptr<Dialog> box = dialogCreate();
    dialogAddString(*box, "Name", name, sizeof name, work);
    dialogAddInteger(*box, "Lives", &lives);
    dialogAddFloat(*box, "Speed", &speed);
    dialogAddThreeFloats(*box, "Position", &position);
    dialogAddCheckBox(*box, "Sound", &sound);
    dialogAddCheckBox(*box, "Music", &music);
    dialogAddButtons(*box, DIALOG_OK_CANCEL);
    Dialog* d = dialogShow(std::move(box), "Settings", count,
                           [](int32_t line) { changedLines.push_back(line); });
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(std::string(d->lines[1].textBuffers[0]) + " " + d->lines[2].textBuffers[0] + " " +
                  d->lines[3].textBuffers[1],
              "42 1.500000 -2.250000");
    // The left column is as wide as "Position", the right one holds three
    // fields and the 3 pixels after the first.
    const int32_t x0 = d->lines[3].editors[0].x;
    EXPECT_EQ(
        ints(d->maxLeft, d->maxRight, d->lines[3].editors[1].x - x0, d->lines[3].editors[2].x - x0),
        ints(8 * 7, 303, 103, 206));
    sound = 0; // the value was taken when the line was added
    desk.key(KEY_END);
    desk.type("ic");
    desk.key(KEY_TAB);
    desk.type("7");
    desk.keys({KEY_TAB, KEY_HOME, KEY_DELETE});
    // The toggle takes the focus from the speed field: the 9 goes nowhere.
    desk.click(*d->window, d->lines[5].checkBox.rect);
    desk.type("9");
    EXPECT_EQ(ints(changedLines.size(), changedLines[0], desktop.count), ints(1, 5, 2));
    desk.click(*d->window, d->lines[6].buttons[0].rect);
    EXPECT_EQ(ints(desktop.count, okCalls, lives, sound, music), ints(1, 1, 742, 1, 1));
    EXPECT_STREQ(name, "heroic");
    EXPECT_EQ(speed, 0.5f);
    EXPECT_EQ(position[1], -2.25f);
}

TEST(Dialog, ARangedFieldRefusesToConfirmOutsideItsRangeAndKeepsTheDialogOpen) {
    DialogDesk desk;
    int32_t width = 10;
    int32_t height = 8;
    std::unique_ptr<Dialog> box = dialogCreate();
    dialogAddRange(*box, "Width", &width, 1, 18);
    dialogAddRange(*box, "Height", &height, 1, 13);
    dialogAddButtons(*box, DIALOG_OK_CANCEL);
    Dialog* d = dialogShow(std::move(box), "Size", count, nullptr);
    ASSERT_NE(d, nullptr);
    Window* w = d->window;
    const Rect ok = d->lines[2].buttons[0].rect;
    // The height goes to 0 by its own field, the width to 109 by the first.
    desk.keys({KEY_TAB, KEY_END, KEY_BACK});
    desk.type("0");
    desk.keys({KEY_TAB, KEY_TAB, KEY_TAB, KEY_END});
    desk.type("9");
    desk.click(*w, ok);
    // Refused: both values stay, and the first field out of range has the
    // focus and the caret.
    EXPECT_EQ(ints(desktop.count, okCalls, width, height, d->alert), ints(2, 0, 10, 8, 1));
    EXPECT_EQ(focus(*d), ints(0, 0));
    // Each bound is taken, with blanks after the number; past a bound, or a
    // text that is no number, is not.
    desk.keys({KEY_BACK, KEY_BACK});
    desk.type("8");
    for (const char* text : {"x", "14", "1 "}) {
        desk.click(*w, ok);
        EXPECT_EQ(ints(desktop.count, w->caret.owner == &d->lines[1].editors[0]), ints(2, 1));
        desk.keys({KEY_END, KEY_BACK, KEY_BACK});
        desk.type(text);
    }
    desk.click(*w, ok);
    EXPECT_EQ(ints(desktop.count, okCalls, width, height), ints(1, 1, 18, 1));
}

TEST(Dialog, ThirtyThirdLineIsDroppedAndAShownDialogTakesNoMore) {
    DialogDesk desk;
    std::unique_ptr<Dialog> box = dialogCreate();
    for (int i = 0; i < 33; i++) {
        dialogAddBlank(*box);
    }
    Dialog* d = dialogShow(std::move(box), "Tall", nullptr, nullptr);
    ASSERT_NE(d, nullptr);
    dialogAddButtons(*d, DIALOG_OK);
    EXPECT_EQ(ints(d->lineCount, d->height, d->width), ints(32, 32 * 12 + 32 * 6 + 10, 48));
    desk.key(KEY_TAB);   // nothing to focus in all 32 lines
    desk.key(KEY_ENTER); // no line to go through: the box stays
    EXPECT_EQ(desktop.count, 2);
}

TEST(Dialog, MissingGameFileIsReportedInAPulsingBoxThatEndsTheGame) {
    GameSession session("", -1);
    ASSERT_EQ(desktop.count, 2);
    Window& w = *desktop.windows[1];
    Dialog* d = dialogOfWindow(&w);
    ASSERT_NE(d, nullptr);
    session.pass(10);
    const std::vector<uint16_t> crop = screenCrop(w.frameX, w.frameY, w.frameWidth, w.frameHeight);
    EXPECT_TRUE(matchesGolden("widgets2-load-failure", w.frameWidth, w.frameHeight, crop.data()));
    // The frame pulses red on its own: at 4096 (step 0, red 31) only the
    // frame is drawn again, and a mark inside stays.
    const Surface& s = w.canvas.surface;
    s.pixels[10 * s.width + 10] = 0x1234;
    session.pass(4096 - session.now);
    EXPECT_EQ(ints(s.pixels[s.width + 1], s.pixels[10 * s.width + 10], d->frameOnly),
              ints(64203, 0x1234, 0));
    // Ok by the mouse: the box goes, then the game window behind it.
    const Rect ok = d->lines[5].buttons[0].rect;
    play("10,10 d u", w.x + ok.x, w.y + ok.y);
    EXPECT_TRUE(session.pass(10));
    EXPECT_EQ(desktop.count, 1);
    EXPECT_FALSE(session.pass(10));
    EXPECT_EQ(gameDataMissing(), 1);
}

} // namespace
