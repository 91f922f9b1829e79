// Buttons, check boxes, menu bars and the frame's close and maximise buttons
// on the scripted platform: hover, press and release, hot keys, tooltips,
// eaten events, and how they look.
#include "widgets/button.h"

#include "platform/platform_script.h"
#include "tests/support/desktop_env.h"
#include "tests/support/golden.h"
#include "tests/support/ints.h"
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
int fired, toggled, ticks, callbacks, barIndex;
uint32_t pressLeftAfterButton, releaseLeftAfterButton;
bool withMenuBar;

void DeskProc(Window*, uint32_t) {}

void WidgetWindowProc(Window* w, uint32_t) {
    switch (w->message) {
    case Create:
        if (withMenuBar) {
            menuBarInit(w->menuBar, 2, [](int32_t index) { barIndex = index; });
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
                     {.tooltip = tooltip, .callback = [] { callbacks++; }});
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
    std::vector<int64_t> state() const {
        return ints(fired, button.click.hot, button.click.pressed);
    }
};

int countColour(const Surface& s, const Rect& r, uint16_t colour) {
    int n = 0;
    for (int32_t y = r.y; y < r.y + r.height; y++) {
        for (int32_t x = r.x; x < r.x + r.width; x++) {
            n += s.pixels[size_t(y) * size_t(s.width) + size_t(x)] == colour;
        }
    }
    return n;
}

} // namespace

TEST_F(ButtonTest, LayoutGivesNaturalWidthTextOffsetAndHotKey) {
    EXPECT_EQ(ints(buttonNaturalWidth(40, 3, 4), buttonNaturalWidth(40, 0, 4),
                   buttonNaturalWidth(40, 0, 0)),
              ints(88, 68, 48));
    struct Case {
        int32_t width, alignment, leftIcon, rightIcon;
        int32_t rectWidth, offset, clip;
    };
    // "OK" is 14 pixels wide in the button font.
    const Case cases[] = {
        {0, ALIGN_CENTRE, 3, 4, 62, 24, 14},    {0, ALIGN_CENTRE, 0, 0, 22, 4, 14},
        {100, ALIGN_CENTRE, 0, 0, 100, 43, 53}, {100, ALIGN_RIGHT, 0, 4, 100, 62, 14},
        {100, ALIGN_RIGHT, 0, 0, 100, 82, 14},  {100, ALIGN_LEFT, 0, 0, 100, 4, 92},
        {100, ALIGN_LEFT, 3, 0, 100, 24, 72},   {10, ALIGN_RIGHT, 0, 0, 10, 4, 2},
    };
    for (const Case& c : cases) {
        Button b{};
        buttonCreate(b, 5, 6, c.width, "OK", 1, CLICK_ON_RELEASE,
                     {.alignment = c.alignment, .leftIcon = c.leftIcon, .rightIcon = c.rightIcon});
        EXPECT_EQ(ints(b.rect.width, b.rect.height, b.textOffset, b.textClipWidth, b.click.hotKey),
                  ints(c.rectWidth, 21, c.offset, c.clip, 'O'))
            << c.width << " " << c.alignment;
    }
    const std::pair<int32_t, uint32_t> indices[] = {{1, ' '}, {2, 'G'}, {3, 'A'}, {0, 0},
                                                    {6, ' '}, {7, 0},   {-1, 0}};
    for (const auto& [index, key] : indices) {
        int32_t i = index;
        EXPECT_EQ(hotKeyFromText(" Game ", i), key == ' ' ? 0 : key) << index;
        EXPECT_EQ(i, key == ' ' || key == 0 ? 0 : index);
    }
    int32_t index = 2;
    EXPECT_EQ(hotKeyFromText("a1", index), uint32_t('1'));
    index = 1;
    EXPECT_EQ(hotKeyFromText(nullptr, index), 0u);
    EXPECT_EQ(index, 0);
}

TEST_F(ButtonTest, ReleaseModeFiresOnlyOnAReleaseInside) {
    open(CLICK_ON_RELEASE);
    moveTo(20, 15);
    pass();
    EXPECT_EQ(state(), ints(0, 1, 0));
    scriptLeftDown();
    pass(10);
    EXPECT_EQ(state(), ints(0, 1, 1));
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(state(), ints(1, 1, 0));
    EXPECT_EQ(callbacks, 1);
    // Pressed inside, dragged off, released outside later: no click.
    scriptLeftDown();
    pass(10);
    moveTo(150, 100);
    pass(300);
    EXPECT_EQ(state(), ints(1, 0, 0));
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
    pass(199);
    EXPECT_EQ(ints(fired, inputState.mouse.x), ints(2, WX + 20));
    // One that slips off 200 ms after the press does not.
    moveTo(20, 15);
    pass(10);
    scriptLeftDown();
    pass(10);
    moveTo(150, 100);
    scriptLeftUp();
    pass(200);
    EXPECT_EQ(fired, 2);
    // Nor one whose release comes a pass after it slipped off.
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
    EXPECT_EQ(ints(fired, pressLeftAfterButton), ints(1, 0));
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(ints(fired, releaseLeftAfterButton), ints(1, 0));
    moveTo(150, 100); // outside it the events pass on
    scriptLeftDown();
    pass(10);
    EXPECT_EQ(pressLeftAfterButton, 1u);
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(ints(fired, releaseLeftAfterButton), ints(1, 1));
    // Disabled: it never fires, and its hover states are reset on every poll.
    button.enabled = 0;
    moveTo(20, 15);
    scriptLeftDown();
    pass(10);
    EXPECT_EQ(ints(fired, button.click.hot, pressLeftAfterButton), ints(1, 0, 1));
    button.click.hot = 1;
    pass(10);
    EXPECT_EQ(button.click.hot, 0u);
}

TEST_F(ButtonTest, AltHotKeyFiresAnywhereAndKeysLeaveHoverAlone) {
    open(CLICK_ON_RELEASE);
    moveTo(150, 100);
    pass();
    scriptSysKeyDown(KEY_ALT);
    scriptSysKeyDown('G');
    pass(10);
    EXPECT_EQ(state(), ints(1, 1, 1));
    EXPECT_EQ(inputState.keys.altLetter, 0u);
    // It shows pressed until the mouse moves; keys do not disturb it.
    scriptSysKeyUp('G');
    scriptSysKeyUp(KEY_ALT);
    scriptKeyDown('Q');
    pass(10);
    EXPECT_EQ(state(), ints(1, 1, 1));
    moveTo(150, 101);
    pass(10);
    EXPECT_EQ(state(), ints(1, 0, 0));
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
    const std::pair<uint32_t, int32_t> rest[] = {{700, 0}, {1, 0},     {1, 1},
                                                 {2, 2},   {28, full}, {1000, full}};
    for (const auto& [advance, height] : rest) {
        pass(advance);
        EXPECT_EQ(button.click.tooltipHeight, height) << now;
    }
    // Fully open, the box and its text are drawn under the button.
    const Surface& s = window->canvas.surface;
    const Rect tip{button.rect.x + 8, button.rect.y + button.rect.height + 8,
                   button.click.tooltipRect.width + 1, full + 1};
    EXPECT_EQ(ints(tip.x, tip.y, tip.width, s.pixels[tip.y * 200 + tip.x]),
              ints(18, 39, 107, styleTable.colours[COLOUR_TOOLTIP_BACKGROUND]));
    EXPECT_GT(countColour(s, tip, styleTable.colours[COLOUR_TOOLTIP_TEXT]), 10);
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
    EXPECT_EQ(button.click.tooltipHeight, 5);
}

TEST_F(ButtonTest, CheckBoxTogglesOnAClickOrSpaceWhileHotAndIsRedrawn) {
    open(CLICK_ON_PRESS);
    moveTo(15, 65);
    pass();
    EXPECT_EQ(box.click.hot, 1u);
    scriptLeftDown();
    pass(10);
    EXPECT_EQ(toggled, 0);
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(ints(toggled, box.checked), ints(1, 1));
    EXPECT_GT(countColour(window->canvas.surface, box.rect, 0x0000), 0);
    // Space asks for the redraw itself: nothing else on its pass does.
    window->redrawRequested = 0;
    scriptKeyDown(KEY_SPACE);
    pass(10);
    EXPECT_EQ(ints(toggled, box.checked), ints(2, 0));
    EXPECT_EQ(countColour(window->canvas.surface, box.rect, 0x0000), 0);
    // A box that does not take the mouse still takes Space while hot; an
    // invisible one takes nothing.
    box.click.enabled = 0;
    scriptLeftDown();
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(ints(toggled, box.checked), ints(2, 0));
    scriptKeyDown(KEY_SPACE);
    pass(10);
    EXPECT_EQ(ints(toggled, box.checked), ints(3, 1));
    box.visible = 0;
    box.click.enabled = 1;
    scriptKeyDown(KEY_SPACE);
    scriptLeftDown();
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(ints(toggled, box.checked), ints(3, 1));
}

TEST_F(ButtonTest, FiredMenuBarButtonCostsTheWindowItsTick) {
    withMenuBar = true;
    open(CLICK_ON_PRESS);
    pass();
    const int before = ticks;
    moveTo(70, 5);
    scriptLeftDown();
    pass(10);
    EXPECT_EQ(ints(barIndex, ticks - before), ints(1, 0));
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(ticks - before, 1);
    // Alt and the first letter press the first button.
    scriptSysKeyDown(KEY_ALT);
    scriptSysKeyDown('O');
    pass(10);
    EXPECT_EQ(ints(barIndex, ticks - before), ints(0, 1));
    menuBarInit(window->menuBar, 20, nullptr);
    EXPECT_EQ(ints(window->menuBar.count, window->menuBar.active), ints(16, 1));
    menuBarInit(window->menuBar, 0, nullptr);
    EXPECT_EQ(window->menuBar.active, 0u);
}

TEST_F(ButtonTest, FrameCloseBoxClosesAndMaximiseBoxMaximises) {
    window = createWindow(desktop, -1, -1, 200, 120, "w", 31 | STYLE_MAXIMISE, WidgetWindowProc, 0);
    ASSERT_NE(window, nullptr);
    pass();
    const Rect close = window->closeButton.rect;
    EXPECT_EQ(rectInts(close), ints(window->x + 181, window->y - 18, 16, 16));
    EXPECT_EQ(window->maximiseButton.rect.x, window->x + 162);
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
    // The buttons moved with the frame; the same button restores.
    const Rect moved = window->closeButton.rect;
    EXPECT_EQ(moved.x, 640 - 19);
    scriptMouseMove(window->maximiseButton.rect.x + 8, window->maximiseButton.rect.y + 8);
    pass(10);
    scriptLeftDown();
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(ints(window->maximised, window->closeButton.rect.x), ints(0, close.x));
    scriptMouseMove(close.x + 8, close.y + 8);
    pass(10);
    scriptLeftDown();
    pass(10);
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(desktop.count, 1);
}

TEST_F(ButtonTest, ButtonsAndCheckBoxesLookAsTheyShould) {
    // Placed so that a pressed button in its top row sinks up and one in its
    // second row down (the line is at one eighth of the desktop's height).
    window = createWindow(desktop, 0, 40, 240, 64, "w", 0, WidgetWindowProc, 0);
    ASSERT_NE(window, nullptr);
    desktop.current = window;
    canvasClear(window->canvas);
    Button b[6]{};
    buttonCreate(b[0], 4, 4, 0, " Game ", 2, CLICK_ON_PRESS);
    buttonCreate(b[1], 70, 4, 0, "Hot", 1, CLICK_ON_PRESS);
    b[1].click.hot = 1;
    buttonCreate(b[2], 120, 4, 0, "Off", 0, CLICK_ON_PRESS);
    b[2].enabled = 0;
    buttonCreate(b[3], 4, 34, 0, "Icons", 1, CLICK_ON_PRESS,
                 {.alignment = ALIGN_LEFT, .leftIcon = 13, .rightIcon = 14});
    buttonCreate(b[4], 100, 34, 0, "In", 0, CLICK_ON_PRESS, {.sunken = true});
    buttonCreate(b[5], 160, 4, 0, "Up", 1, CLICK_ON_PRESS);
    b[5].click.pressed = 1;
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
    EXPECT_TRUE(matchesGolden("widgets-checkbox", window->canvas.surface));
    desktop.current = nullptr;
}
