// Buttons, check boxes, menu bars and the frame's close and maximise buttons
// on the scripted platform: hover, press and release, hot keys, tooltips,
// eaten events, and how they look.
#include "widgets/button.h"

#include "platform/platform_script.h"
#include "tests/support/desktop_env.h"
#include "tests/support/golden.h"
#include "toolkit/desktop.h"
#include "toolkit/font.h"
#include "toolkit/frame.h"
#include <gtest/gtest.h>

namespace {

// The test window's client area lies at (100, 100) of the desktop.
constexpr int32_t WX = 100;
constexpr int32_t WY = 100;

Button button;
CheckBox box;
int fired;
int toggled;
int ticks;
int callbacks;
int barIndex;
uint32_t pressLeftAfterButton;
uint32_t releaseLeftAfterButton;
bool withMenuBar;

void countCallback() {
    callbacks++;
}

void barCallback(int32_t index) {
    barIndex = index;
}

void DeskProc(Window*, uint32_t) {}

void WidgetWindowProc(Window* w, uint32_t) {
    switch (w->message) {
    case Create:
        if (withMenuBar) {
            menuBarInit(w->menuBar, 2, barCallback);
            buttonCreate(w->menuBar.buttons[0], 0, 0, 0, "One", 1, CLICK_ON_PRESS);
            buttonCreate(w->menuBar.buttons[1], 60, 0, 0, "Two", 1, CLICK_ON_PRESS);
        }
        break;
    case Tick:
        ticks++;
        fired += buttonUpdate(button);
        pressLeftAfterButton = inputState.mouse.leftPressed;
        releaseLeftAfterButton = inputState.mouse.leftReleased;
        toggled += checkBoxUpdate(box);
        break;
    case Draw:
        canvasClear(w->canvas);
        buttonDraw(button);
        checkBoxDraw(box);
        menuBarDraw(w->menuBar);
        break;
    default: break;
    }
}

class ButtonTest : public ::testing::Test {
  protected:
    uint32_t now = 1000;
    Window* window = nullptr;

    void SetUp() override {
        ASSERT_EQ(scriptedDesktopStart(640, 480, DeskProc), nullptr);
        fired = toggled = ticks = callbacks = 0;
        barIndex = -1;
        button = Button{};
        box = CheckBox{};
    }
    void TearDown() override {
        withMenuBar = false;
        scriptedDesktopStop();
    }

    // A frameless window at (100, 100), with the widgets created as its own.
    void open(uint32_t mode, const char* tooltip = nullptr, uint32_t style = 0) {
        window = createWindow(desktop, WX, WY, 200, 120, "w", style, WidgetWindowProc, 0);
        ASSERT_NE(window, nullptr);
        desktop.current = window;
        buttonCreate(button, 10, 10, 0, " Game ", 2, mode,
                     {.tooltip = tooltip, .callback = countCallback});
        checkBoxCreate(box, 10, 60, nullptr);
        desktop.current = nullptr;
    }

    // One pass of the main loop at now + advance; the one-pass events end
    // with it.
    void pass(uint32_t advance = 0) {
        now += advance;
        scriptSetTime(now);
        updatePass(desktop);
        mouseClearEvents(inputState.mouse);
        keysClearEvents(inputState.keys);
    }

    void moveTo(int32_t x, int32_t y) { scriptMouseMove(WX + x, WY + y); }
};

uint16_t pixel(const Surface& s, int32_t x, int32_t y) {
    return s.pixels[size_t(y) * size_t(s.width) + size_t(x)];
}

int countColour(const Surface& s, const Rect& r, uint16_t colour) {
    int n = 0;
    for (int32_t y = r.y; y < r.y + r.height; y++) {
        for (int32_t x = r.x; x < r.x + r.width; x++) {
            n += pixel(s, x, y) == colour;
        }
    }
    return n;
}

} // namespace

TEST_F(ButtonTest, LayoutGivesNaturalWidthTextOffsetAndHotKey) {
    EXPECT_EQ(buttonNaturalWidth(40, 3, 4), 88);
    EXPECT_EQ(buttonNaturalWidth(40, 0, 0), 48);
    const Font& f = builtinFonts[0];
    const int32_t tw = textWidth(f, "OK", 100);
    Button b{};
    buttonCreate(b, 5, 6, 0, "OK", 1, CLICK_ON_RELEASE, {.leftIcon = 3, .rightIcon = 4});
    EXPECT_EQ(b.rect.width, tw + 48);
    EXPECT_EQ(b.rect.height, f.height + 8);
    EXPECT_EQ(b.textOffset, 24); // centred would be 24 too; never less with a left icon
    EXPECT_EQ(b.textClipWidth, tw + 48 - 4 - 20 - 24);
    EXPECT_EQ(b.click.hotKey, uint32_t('O'));
    buttonCreate(b, 0, 0, 100, "OK", 0, CLICK_ON_RELEASE,
                 {.alignment = ALIGN_RIGHT, .rightIcon = 4});
    EXPECT_EQ(b.textOffset, 100 - tw - 4 - 20);
    buttonCreate(b, 0, 0, 100, "OK", 0, CLICK_ON_RELEASE, {.alignment = ALIGN_LEFT});
    EXPECT_EQ(b.textOffset, 4);

    int32_t index = 1;
    EXPECT_EQ(hotKeyFromText("exit", index), uint32_t('E'));
    EXPECT_EQ(index, 1);
    index = 2;
    EXPECT_EQ(hotKeyFromText("a1", index), uint32_t('1'));
    for (int32_t bad : {0, 1, 7}) {
        index = bad; // 0, a space, one past the end
        EXPECT_EQ(hotKeyFromText(" Game ", index), 0u);
        EXPECT_EQ(index, 0);
    }
    index = 1;
    EXPECT_EQ(hotKeyFromText(nullptr, index), 0u);
    EXPECT_EQ(index, 0);
    buttonCreate(b, 0, 0, 0, " Game ", 7, CLICK_ON_RELEASE, {.alignment = ALIGN_LEFT});
    EXPECT_EQ(b.hotKeyIndex, 0);
    EXPECT_EQ(b.click.hotKey, 0u);
}

TEST_F(ButtonTest, ReleaseModeFiresOnlyOnAReleaseInside) {
    open(CLICK_ON_RELEASE);
    moveTo(20, 15);
    pass();
    EXPECT_EQ(button.click.hot, 1u);
    scriptLeftDown();
    pass(10);
    EXPECT_EQ(button.click.pressed, 1u);
    EXPECT_EQ(fired, 0);
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(callbacks, 1);
    EXPECT_EQ(button.click.pressed, 0u);

    // Pressed inside, dragged off, released outside later: no click.
    scriptLeftDown();
    pass(10);
    moveTo(150, 100);
    pass(300);
    EXPECT_EQ(button.click.pressed, 0u);
    EXPECT_EQ(button.click.hot, 0u);
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(fired, 1);

    // A quick click that slips off on the release pass still counts, and the
    // pointer reads as the press position for the rest of that pass.
    moveTo(20, 15);
    pass(10);
    scriptLeftDown();
    pass(10);
    moveTo(150, 100);
    scriptLeftUp();
    pass(100);
    EXPECT_EQ(fired, 2);
    EXPECT_EQ(inputState.mouse.x, WX + 20);

    // Slipping off without the release, which comes a pass later: no click.
    moveTo(20, 15);
    pass(10);
    scriptLeftDown();
    pass(10);
    moveTo(150, 100);
    pass(50);
    moveTo(150, 101);
    scriptLeftUp();
    pass(50);
    EXPECT_EQ(fired, 2);

    // A press and a release on one pass complete a click.
    moveTo(20, 15);
    scriptLeftDown();
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(fired, 3);
}

TEST_F(ButtonTest, PressModeFiresOnPressAndWidgetsEatTheirEvents) {
    open(CLICK_ON_PRESS);
    moveTo(20, 15);
    scriptLeftDown();
    pass();
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(pressLeftAfterButton, 0u); // nobody after the button sees the press
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(releaseLeftAfterButton, 0u);
    // Outside it the events pass on.
    moveTo(150, 100);
    scriptLeftDown();
    pass(10);
    EXPECT_EQ(pressLeftAfterButton, 1u);
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(releaseLeftAfterButton, 1u);
    EXPECT_EQ(fired, 1);
}

TEST_F(ButtonTest, AltHotKeyFiresAnywhereAndKeysLeaveHoverAlone) {
    open(CLICK_ON_RELEASE);
    moveTo(150, 100);
    pass();
    scriptSysKeyDown(KEY_ALT);
    scriptSysKeyDown('G');
    pass(10);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(button.click.pressed, 1u);
    EXPECT_EQ(button.click.hot, 1u);
    // It shows pressed until the mouse moves; keys do not disturb it.
    scriptSysKeyUp('G');
    scriptSysKeyUp(KEY_ALT);
    scriptKeyDown('Q');
    pass(10);
    EXPECT_EQ(button.click.pressed, 1u);
    EXPECT_EQ(fired, 1);
    moveTo(150, 101);
    pass(10);
    EXPECT_EQ(button.click.pressed, 0u);
    EXPECT_EQ(button.click.hot, 0u);

    // After a key, even a pointer inside changes nothing until the mouse moves.
    inputState.mouse.x = WX + 20;
    inputState.mouse.y = WY + 15;
    scriptKeyDown('Q');
    pass(10);
    EXPECT_EQ(button.click.hot, 0u);
    moveTo(21, 15);
    pass(10);
    EXPECT_EQ(button.click.hot, 1u);
}

TEST_F(ButtonTest, TooltipUnrollsAfterSevenHundredMillisecondsOfRest) {
    open(CLICK_ON_RELEASE, "Opens the menu");
    const int32_t full = builtinFonts[1].height + 3;
    moveTo(20, 15);
    pass();
    pass(700);
    EXPECT_EQ(button.click.tooltipHeight, 0);
    pass(4);
    EXPECT_EQ(button.click.tooltipHeight, 2);
    pass(2 * full);
    EXPECT_EQ(button.click.tooltipHeight, full);
    pass(1000);
    EXPECT_EQ(button.click.tooltipHeight, full);

    // Fully open, the box and its text are drawn under the button.
    const Surface& s = window->canvas.surface;
    const Rect tip{button.rect.x + 8, button.rect.y + button.rect.height + 8,
                   button.click.tooltipRect.width + 1, full + 1};
    EXPECT_EQ(pixel(s, tip.x, tip.y), styleTable.colours[13]);
    EXPECT_GT(countColour(s, tip, styleTable.colours[31]), 10);

    // A press takes it away and disarms it until the pointer comes back.
    scriptLeftDown();
    pass(10);
    EXPECT_EQ(button.click.tooltipHeight, 0);
    scriptLeftUp();
    pass(2000);
    EXPECT_EQ(button.click.tooltipHeight, 0);
    moveTo(150, 100);
    pass(10);
    moveTo(20, 15);
    pass(10);
    pass(710);
    EXPECT_GT(button.click.tooltipHeight, 0);
}

TEST_F(ButtonTest, DisabledButtonNeverFiresAndShowsDisabledText) {
    open(CLICK_ON_PRESS);
    button.enabled = 0;
    moveTo(20, 15);
    scriptLeftDown();
    pass();
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(button.click.hot, 0u);
    EXPECT_EQ(pressLeftAfterButton, 1u);
    window->redrawRequested = 1;
    pass(10);
    EXPECT_GT(countColour(window->canvas.surface, button.rect, styleTable.colours[26]), 10);
    EXPECT_EQ(countColour(window->canvas.surface, button.rect, styleTable.colours[25]), 0);
}

TEST_F(ButtonTest, CheckBoxTogglesOnClickAndSpaceWhileHot) {
    open(CLICK_ON_PRESS);
    moveTo(15, 65);
    pass();
    EXPECT_EQ(box.click.hot, 1u);
    scriptLeftDown();
    pass(10);
    EXPECT_EQ(toggled, 0);
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(toggled, 1);
    EXPECT_EQ(box.checked, 1u);
    scriptKeyDown(KEY_SPACE);
    pass(10);
    EXPECT_EQ(box.checked, 0u);
    box.visible = 0;
    scriptLeftDown();
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(toggled, 2);
}

TEST_F(ButtonTest, FiredMenuBarButtonCostsTheWindowItsTick) {
    withMenuBar = true;
    open(CLICK_ON_PRESS);
    pass();
    const int before = ticks;
    moveTo(70, 5);
    scriptLeftDown();
    pass(10);
    EXPECT_EQ(barIndex, 1);
    EXPECT_EQ(ticks, before);
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(ticks, before + 1);
    // Alt and the first letter press the first button.
    scriptSysKeyDown(KEY_ALT);
    scriptSysKeyDown('O');
    pass(10);
    EXPECT_EQ(barIndex, 0);
    EXPECT_EQ(ticks, before + 1);
}

TEST_F(ButtonTest, FrameCloseBoxClosesAndMaximiseBoxMaximises) {
    window = createWindow(desktop, -1, -1, 200, 120, "w", 31 | STYLE_MAXIMISE, WidgetWindowProc, 0);
    ASSERT_NE(window, nullptr);
    pass();
    const Rect close = window->closeButton.rect;
    EXPECT_EQ(close.width, titleFontHeight() + 3);
    EXPECT_EQ(close.x, window->x + 200 - titleFontHeight() - 6);
    EXPECT_EQ(close.y, window->y - titleFontHeight() - 5);
    EXPECT_EQ(window->maximiseButton.rect.x, window->x + 200 - 2 * titleFontHeight() - 12);
    // The cross is on the screen in the title bar.
    EXPECT_GT(countColour(desktop.desktopWindow->canvas.surface, close, 0x0000), 5);

    // Pressed, then slid off: the press is taken back.
    scriptMouseMove(close.x + 8, close.y + 8);
    scriptLeftDown();
    pass(10);
    EXPECT_EQ(window->closeButton.click.pressed, 1u);
    scriptMouseMove(close.x - 40, close.y + 8);
    pass(300);
    EXPECT_EQ(window->closeButton.click.pressed, 0u);
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(desktop.count, 2);

    const Rect max = window->maximiseButton.rect;
    scriptMouseMove(max.x + 8, max.y + 8);
    scriptLeftDown();
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(window->maximised, 1u);
    // The buttons moved with the frame.
    const Rect moved = window->closeButton.rect;
    EXPECT_EQ(moved.x, window->x + window->canvas.surface.width - titleFontHeight() - 6);

    scriptMouseMove(moved.x + 8, moved.y + 8);
    pass(10);
    scriptLeftDown();
    pass(10);
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(desktop.count, 1);
}

TEST_F(ButtonTest, ButtonsAndCheckBoxesLookAsTheyShould) {
    window = createWindow(desktop, 0, 0, 240, 64, "w", 0, WidgetWindowProc, 0);
    ASSERT_NE(window, nullptr);
    desktop.current = window;
    canvasClear(window->canvas);
    Button b[5]{};
    buttonCreate(b[0], 4, 4, 0, " Game ", 2, CLICK_ON_PRESS);
    buttonCreate(b[1], 70, 4, 0, "Hot", 1, CLICK_ON_PRESS);
    b[1].click.hot = 1;
    buttonCreate(b[2], 120, 4, 0, "Off", 0, CLICK_ON_PRESS);
    b[2].enabled = 0;
    buttonCreate(b[3], 4, 34, 0, "Icons", 1, CLICK_ON_PRESS,
                 {.alignment = ALIGN_LEFT, .leftIcon = 13, .rightIcon = 14});
    buttonCreate(b[4], 100, 34, 0, "In", 0, CLICK_ON_PRESS, {.sunken = true});
    for (Button& each : b) {
        buttonDraw(each);
    }
    EXPECT_TRUE(matchesGolden("widgets-button", window->canvas.surface));

    canvasClear(window->canvas);
    CheckBox c[3]{};
    for (int i = 0; i < 3; i++) {
        checkBoxCreate(c[i], 4 + 20 * i, 4, nullptr);
    }
    c[1].checked = 1;
    c[2].checked = 1;
    c[2].click.hot = 1;
    for (CheckBox& each : c) {
        checkBoxDraw(each);
    }
    // Unchecked: face colour inside the bevel; checked: the cross.
    EXPECT_EQ(pixel(window->canvas.surface, 9, 9), styleTable.colours[20]);
    EXPECT_TRUE(matchesGolden("widgets-checkbox", window->canvas.surface));
    desktop.current = nullptr;
}
