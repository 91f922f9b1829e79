#include "widgets/msgbox.h"

#include "game/flow.h"
#include "platform/platform_script.h"
#include "tests/support/desktop_env.h"
#include "tests/support/game_session.h"
#include "tests/support/golden.h"
#include "toolkit/desktop.h"
#include "toolkit/frame.h"
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

void QuietWindowProc(Window*, uint32_t) {}

int okCalls;
std::vector<int32_t> changedLines;
void countOk() {
    okCalls++;
}
void recordChange(int32_t line) {
    changedLines.push_back(line);
}

// A 640 x 480 desktop whose own window does nothing; dialogs open on it as
// they would over the game.
struct DialogDesk {
    uint32_t now = 1000;
    DialogDesk() {
        EXPECT_EQ(scriptedDesktopStart(640, 480, QuietWindowProc), nullptr);
        desktop.current = nullptr;
        okCalls = 0;
        changedLines.clear();
    }
    ~DialogDesk() { scriptedDesktopStop(); }
    // One pass of the loop: the clock, the desktop, then the events cleared.
    void pass(uint32_t advance = 10) {
        now += advance;
        scriptSetTime(now);
        updatePass(desktop);
        mouseClearEvents(inputState.mouse);
        keysClearEvents(inputState.keys);
    }
    void key(uint8_t vk, char typed = 0) {
        scriptKeyDown(vk);
        if (typed != 0) {
            scriptChar(uint8_t(typed));
        }
        pass();
        scriptKeyUp(vk);
    }
    // Pressed and released on the same pass: a click of a button that acts
    // on release.
    void click(const Window& w, const Rect& r) {
        scriptMouseMove(w.x + r.x + r.width / 2, w.y + r.y + r.height / 2);
        scriptLeftDown();
        scriptLeftUp();
        pass();
    }
    void hover(const Window& w, const Rect& r) {
        scriptMouseMove(w.x + r.x + r.width / 2, w.y + r.y + r.height / 2);
        pass();
    }
};

Dialog* showOkBox(const char* text, DialogOkCallback onOk = nullptr) {
    std::unique_ptr<Dialog> d = dialogCreate();
    dialogAddText(*d, text);
    dialogAddButtons(*d, DIALOG_OK);
    return dialogShow(std::move(d), "Note", onOk, nullptr);
}

TEST(Dialog, TextAndOkBoxIsSixteenPixelsWiderThanItsTextAndCentred) {
    DialogDesk desk;
    Dialog* d = showOkBox("Fail to load game file:");
    ASSERT_NE(d, nullptr);
    // 23 characters of 7 pixels beat the 50-pixel "  Ok  " button.
    EXPECT_EQ(d->maxWidth, 161);
    EXPECT_EQ(d->width, 177);
    EXPECT_EQ(d->height, 13 + 21 + 2 * 6 + 10);
    Window& w = *d->window;
    EXPECT_EQ(desktop.windows[desktop.count - 1], &w);
    // Placed at ((640 - 177) >> 1, (480 - 56) >> 1); the frame's x is even.
    EXPECT_EQ(w.frameX, 230);
    EXPECT_EQ(w.frameY, 212);
    EXPECT_EQ(w.canvas.surface.width, 176);
    EXPECT_EQ(w.canvas.surface.height, 56);
    // The text is centred, the button centred below it.
    EXPECT_EQ(d->lines[0].labelX, 8);
    EXPECT_EQ(d->lines[0].labelY, 8);
    EXPECT_EQ(d->lines[1].buttons[0].rect.x, (177 - 50) / 2);
    EXPECT_EQ(d->lines[1].buttons[0].rect.y, 8 + 13 + 6);

    // Nothing hovered: Enter goes through the one line that answers it.
    Dialog* second = showOkBox("Second", countOk);
    ASSERT_NE(second, nullptr);
    desk.pass();
    desk.key(KEY_ENTER);
    EXPECT_EQ(okCalls, 1);
    EXPECT_EQ(desktop.count, 2);
    // Escape always cancels.
    desk.key(KEY_ESCAPE);
    EXPECT_EQ(desktop.count, 1);
    EXPECT_EQ(okCalls, 1);
}

TEST(Dialog, EnterGoesThroughTheHoveredButtonAndTabWrapsToTheFirstField) {
    DialogDesk desk;
    char name[16] = "hero";
    char work[16];
    int32_t lives = 3;
    std::unique_ptr<Dialog> box = dialogCreate();
    dialogAddString(*box, "Name", name, sizeof name, work);
    dialogAddInteger(*box, "Lives", &lives);
    dialogAddButtons(*box, DIALOG_OK_CANCEL);
    Dialog* d = dialogShow(std::move(box), "Form", countOk, nullptr);
    ASSERT_NE(d, nullptr);
    Window& w = *d->window;
    // The first field has the caret, at the start of its text.
    EXPECT_TRUE(caretOwnedBy(w.caret, &d->lines[0].editors[0]));
    EXPECT_EQ(d->lines[0].editors[0].caret, 0);

    desk.key(KEY_TAB);
    EXPECT_TRUE(caretOwnedBy(w.caret, &d->lines[1].editors[0]));
    desk.key(KEY_TAB);
    EXPECT_EQ(d->lines[2].buttons[0].click.hot, 1u);
    EXPECT_EQ(d->focusLine, 2);
    EXPECT_EQ(d->focusElement, 0);
    desk.key(KEY_TAB);
    EXPECT_EQ(d->lines[2].buttons[0].click.hot, 0u);
    EXPECT_EQ(d->lines[2].buttons[1].click.hot, 1u);
    desk.key(KEY_TAB);
    EXPECT_TRUE(caretOwnedBy(w.caret, &d->lines[0].editors[0]));
    EXPECT_EQ(d->lines[2].buttons[1].click.hot, 0u);
    // Shift+Tab goes back, wrapping the other way.
    scriptKeyDown(KEY_SHIFT);
    desk.key(KEY_TAB);
    scriptKeyUp(KEY_SHIFT);
    EXPECT_EQ(d->lines[2].buttons[1].click.hot, 1u);
    EXPECT_EQ(d->focusElement, 1);
    // Up and Down scan a line from its first element.
    desk.key(KEY_UP);
    EXPECT_TRUE(caretOwnedBy(w.caret, &d->lines[1].editors[0]));
    desk.key(KEY_DOWN);
    EXPECT_EQ(d->lines[2].buttons[0].click.hot, 1u);

    // The pointer resting on Cancel makes Enter cancel.
    desk.hover(w, d->lines[2].buttons[1].rect);
    desk.key(KEY_ENTER);
    EXPECT_EQ(desktop.count, 1);
    EXPECT_EQ(okCalls, 0);
    EXPECT_STREQ(name, "hero");
    EXPECT_EQ(lives, 3);
}

TEST(Dialog, CheckBoxTogglesAloneAndOnlyConfirmingStoresEveryValue) {
    DialogDesk desk;
    char name[16] = "hero";
    char work[16];
    int32_t lives = 42;
    float speed = 1.5f;
    float position[3] = {1.0f, -2.25f, 0.0f};
    int32_t sound = 1;
    int32_t music = 0;
    auto build = [&]() {
        std::unique_ptr<Dialog> box = dialogCreate();
        dialogAddString(*box, "Name", name, sizeof name, work);
        dialogAddInteger(*box, "Lives", &lives);
        dialogAddFloat(*box, "Speed", &speed);
        dialogAddThreeFloats(*box, "Place", &position);
        dialogAddCheckBox(*box, "Sound", &sound);
        dialogAddCheckBox(*box, "Music", &music);
        dialogAddButtons(*box, DIALOG_OK_CANCEL);
        return dialogShow(std::move(box), "Settings", countOk, recordChange);
    };

    Dialog* d = build();
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->lines[1].textBuffers[0], "42");
    EXPECT_STREQ(d->lines[2].textBuffers[0], "1.500000");
    EXPECT_STREQ(d->lines[3].textBuffers[1], "-2.250000");
    // The right column holds three fields and the 3 pixels after the first.
    EXPECT_EQ(d->maxRight, 303);
    EXPECT_EQ(d->lines[3].editors[1].x, d->lines[3].editors[0].x + 103);
    EXPECT_EQ(d->lines[3].editors[2].x, d->lines[3].editors[0].x + 206);
    Window* w = d->window;
    desk.click(*w, d->lines[5].checkBox.rect);
    EXPECT_EQ(changedLines, std::vector<int32_t>{5});
    EXPECT_EQ(d->lines[5].checkBox.checked, 1u);
    EXPECT_EQ(desktop.count, 2);
    // The toggle took the focus from the name field: typing goes nowhere.
    desk.key(KEY_END);
    desk.key('S', 's');
    EXPECT_STREQ(work, "hero");
    // Cancelled: not one variable changes.
    desk.key(KEY_ESCAPE);
    EXPECT_EQ(desktop.count, 1);
    EXPECT_STREQ(name, "hero");
    EXPECT_EQ(music, 0);

    d = build();
    ASSERT_NE(d, nullptr);
    w = d->window;
    sound = 0; // the value was taken when the line was added
    desk.key(KEY_END);
    desk.key('I', 'i');
    desk.key('C', 'c');
    desk.key(KEY_TAB);
    desk.key('7', '7');
    desk.click(*w, d->lines[6].buttons[0].rect);
    EXPECT_EQ(desktop.count, 1);
    EXPECT_EQ(okCalls, 1);
    EXPECT_STREQ(name, "heroic");
    EXPECT_EQ(lives, 742);
    EXPECT_EQ(speed, 1.5f);
    EXPECT_EQ(position[1], -2.25f);
    EXPECT_EQ(sound, 1);
    EXPECT_EQ(music, 0);
}

TEST(Dialog, ThirtyThirdLineIsDroppedAndAShownDialogTakesNoMore) {
    DialogDesk desk;
    std::unique_ptr<Dialog> box = dialogCreate();
    for (int i = 0; i < 33; i++) {
        dialogAddBlank(*box);
    }
    EXPECT_EQ(box->lineCount, 32);
    EXPECT_EQ(box->height, 32 * 12);
    Dialog* d = dialogShow(std::move(box), "Tall", nullptr, nullptr);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->height, 32 * 12 + 32 * 6 + 10);
    EXPECT_EQ(d->width, 48);
    dialogAddButtons(*d, DIALOG_OK);
    EXPECT_EQ(d->lineCount, 32);
    // Enter has no line to go through, so the box stays.
    desk.key(KEY_ENTER);
    EXPECT_EQ(desktop.count, 2);
}

TEST(Dialog, AlertFramePulsesRedWithoutRepaintingTheLines) {
    DialogDesk desk;
    Dialog* d = showOkBox("Alert");
    ASSERT_NE(d, nullptr);
    d->alert = 1;
    EXPECT_EQ(d->pulseColour, 64203u);
    desk.pass();
    // now 1010: (1010 >> 2) & 127 = 124, so red is 16 + (3 >> 3) = 16.
    EXPECT_EQ(d->pulseColour, (16u << 11) | 0x2CB);
    const Surface& s = d->window->canvas.surface;
    EXPECT_EQ(s.pixels[0], (16u << 11) | 0x2CB);
    EXPECT_EQ(s.pixels[2 * s.width + 2], (16u << 11) | 0x2CB);
    EXPECT_EQ(s.pixels[3 * s.width + 3], styleTable.colours[15]);
    // Mark the inside: a frame-only repaint leaves it alone.
    s.pixels[10 * s.width + 10] = 0x1234;
    desk.now = 1024 * 4 - 10;
    desk.pass(); // 4096: step 0, red 31
    EXPECT_EQ(d->pulseColour, 64203u);
    EXPECT_EQ(s.pixels[s.width + 1], 64203);
    EXPECT_EQ(s.pixels[10 * s.width + 10], 0x1234);
    EXPECT_EQ(d->frameOnly, 0u);
}

TEST(Dialog, FormLaysOutLabelsColonsAndControlsInTwoColumns) {
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
    Dialog* d = dialogShow(std::move(box), "Settings", nullptr, nullptr);
    ASSERT_NE(d, nullptr);
    desk.pass();
    const Window& w = *d->window;
    // The frame with its title bar, straight from the screen.
    const ScriptScreen& screen = scriptScreen();
    std::vector<uint16_t> crop;
    for (int32_t y = w.frameY; y < w.frameY + w.frameHeight; y++) {
        for (int32_t x = w.frameX; x < w.frameX + w.frameWidth; x++) {
            crop.push_back(screen.pixels[size_t(y) * size_t(screen.width) + size_t(x)]);
        }
    }
    EXPECT_TRUE(matchesGolden("widgets2-dialog-form", w.frameWidth, w.frameHeight, crop.data()));
}

TEST(Dialog, MissingGameFileIsReportedInAPulsingBoxThatEndsTheGame) {
    GameSession session("", -1);
    ASSERT_EQ(desktop.count, 2);
    Window& w = *desktop.windows[1];
    Dialog* d = dialogOfWindow(&w);
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(w.title, "Read error or file not found");
    EXPECT_EQ(d->alert, 1u);
    ASSERT_EQ(d->lineCount, 6);
    const uint32_t kinds[6] = {DIALOG_BLANK, DIALOG_TEXT,  DIALOG_BLANK,
                               DIALOG_TEXT,  DIALOG_BLANK, DIALOG_OK};
    for (int i = 0; i < 6; i++) {
        EXPECT_EQ(d->lines[i].kind, kinds[i]) << "line " << i;
    }
    EXPECT_STREQ(d->lines[1].label, "Fail to load game file:");
    EXPECT_STREQ(d->lines[3].label, "GHold.dat");
    session.pass(10);
    const ScriptScreen& screen = scriptScreen();
    std::vector<uint16_t> crop;
    for (int32_t y = w.frameY; y < w.frameY + w.frameHeight; y++) {
        for (int32_t x = w.frameX; x < w.frameX + w.frameWidth; x++) {
            crop.push_back(screen.pixels[size_t(y) * size_t(screen.width) + size_t(x)]);
        }
    }
    EXPECT_TRUE(matchesGolden("widgets2-load-failure", w.frameWidth, w.frameHeight, crop.data()));
    // Ok by the mouse: the box goes, then the game window behind it.
    const Rect ok = d->lines[5].buttons[0].rect;
    scriptMouseMove(w.x + ok.x + 10, w.y + ok.y + 10);
    scriptLeftDown();
    scriptLeftUp();
    EXPECT_TRUE(session.pass(10));
    EXPECT_EQ(desktop.count, 1);
    EXPECT_FALSE(session.pass(10));
    EXPECT_EQ(gameDataMissing(), 1);
}

} // namespace
