// Buttons, check boxes and menu bars on the scripted platform: hover, press
// and release, hot keys, tooltips, eaten events, and how they look. (The
// frame's own buttons are the desktop's tests'.)
#include "widgets/button.h"

#include "platform/platform_script.h"
#include "tests/support/desktop_env.h"
#include "tests/support/golden.h"
#include "tests/support/ints.h"
#include "toolkit/desktop.h"
#include <algorithm>
#include <gtest/gtest.h>

namespace {

Button button; // at (10, 10) of a frameless window at (100, 100), 50 x 21
CheckBox box;  // at (10, 60)
int fired, toggled, ticks, barIndex;
uint32_t pressAfterButton, releaseAfterButton;

void WidgetWindowProc(Window* w, uint32_t) {
    if (w->message == Tick) {
        ticks++;
        fired += buttonUpdate(button);
        pressAfterButton = inputState.mouse.leftPressed;
        releaseAfterButton = inputState.mouse.leftReleased;
        toggled += checkBoxUpdate(box);
    } else if (w->message == Draw) {
        canvasClear(w->canvas);
        buttonDraw(button);
        checkBoxDraw(box);
        menuBarDraw(w->menuBar);
    }
}

class ButtonTest : public ::testing::Test {
  protected:
    Window* window = nullptr;

    void SetUp() override {
        ASSERT_EQ(scriptedDesktopStart(640, 480, [](Window*, uint32_t) {}), nullptr);
        fired = toggled = ticks = 0;
        barIndex = -1;
    }
    void TearDown() override { scriptedDesktopStop(); }
    void open(uint32_t mode, const char* tooltip = nullptr) {
        window = createWindow(desktop, 100, 100, 200, 120, "w", 0, WidgetWindowProc, 0);
        ASSERT_NE(window, nullptr);
        desktop.current = window;
        buttonCreate(button, 10, 10, 0, " Game ", 2, mode, {.tooltip = tooltip});
        checkBoxCreate(box, 10, 60, nullptr);
        desktop.current = nullptr;
    }
    void input(std::string_view script) { play(script, 100, 100); }
    std::vector<int64_t> state() const {
        return ints(fired, button.click.hot, button.click.pressed);
    }
};

// The screen's pixels of that colour inside r, given in the window's
// coordinates.
int64_t countColour(const Rect& r, uint16_t colour) {
    const std::vector<uint16_t> shown = screenCrop(100 + r.x, 100 + r.y, r.width, r.height);
    return std::count(shown.begin(), shown.end(), colour);
}

} // namespace

TEST_F(ButtonTest, TheAltHotKeyOrAReleaseInsideFiresAReleaseModeButtonAndKeysLeaveHoverAlone) {
    open(CLICK_ON_RELEASE);
    // The Alt hot key fires it from anywhere.
    input("150,100 +0 a71 +10");
    EXPECT_EQ(ints(fired, button.click.hot, button.click.pressed, inputState.keys.altLetter),
              ints(1, 1, 1, 0));
    // It shows pressed until the mouse moves; keys do not disturb it.
    input("k81 +10");
    EXPECT_EQ(state(), ints(1, 1, 1));
    input("150,101 +10");
    EXPECT_EQ(state(), ints(1, 0, 0));
    // After a key, even a pointer inside changes nothing until the mouse moves.
    inputState.mouse.x = 120;
    inputState.mouse.y = 115;
    input("k81 +10");
    EXPECT_EQ(button.click.hot, 0u);
    input("21,15 +10");
    EXPECT_EQ(button.click.hot, 1u);
    // The mouse fires it only on a release inside.
    const struct {
        const char* script;
        std::vector<int64_t> after; // fired, hot, pressed
    } steps[] = {{"20,15 +0", ints(1, 1, 0)},
                 {"d +10", ints(1, 1, 1)},
                 {"u +10", ints(2, 1, 0)},
                 // Pressed inside, dragged off, released outside later: no click.
                 {"d +10 150,100 +300 u +10", ints(2, 0, 0)},
                 // A quick click that slips off on the release pass still counts.
                 {"20,15 +10 d +10 150,100 u +199", ints(3, 1, 0)},
                 // One that slips off 200 ms after the press does not.
                 {"20,15 +10 d +10 150,100 u +200", ints(3, 0, 0)},
                 // Nor one released a pass after it slipped off.
                 {"20,15 +10 d +10 150,100 +50 150,101 u +50", ints(3, 0, 0)},
                 // A press and a release on one pass complete a click.
                 {"20,15 d u +10", ints(4, 1, 0)}};
    for (const auto& step : steps) {
        input(step.script);
        EXPECT_EQ(state(), step.after) << step.script;
    }
    // The slipped click makes the pointer read as the press position for
    // the rest of its pass.
    input("d +10 150,100 u +10");
    EXPECT_EQ(ints(fired, inputState.mouse.x), ints(5, 120));
}

TEST_F(ButtonTest, PressModeButtonCheckBoxAndMenuBarFireOnPressAndEatWhatTheyUse) {
    open(CLICK_ON_PRESS);
    input("20,15 d +0");
    EXPECT_EQ(ints(fired, pressAfterButton), ints(1, 0));
    input("u +10");
    EXPECT_EQ(ints(fired, releaseAfterButton), ints(1, 0));
    input("150,100 d +10");
    EXPECT_EQ(pressAfterButton, 1u);
    input("u +10");
    EXPECT_EQ(ints(fired, releaseAfterButton), ints(1, 1));
    // Disabled: it never fires, and its hover states are reset on every poll.
    button.enabled = 0;
    input("20,15 d +10");
    EXPECT_EQ(ints(fired, button.click.hot, pressAfterButton), ints(1, 0, 1));
    button.click.hot = 1;
    input("+10");
    EXPECT_EQ(button.click.hot, 0u);

    // The check box toggles on a click or on Space while hot, and is redrawn.
    input("15,65 +0 d +10");
    EXPECT_EQ(ints(box.click.hot, toggled), ints(1, 0));
    input("u +10");
    EXPECT_EQ(ints(toggled, box.checked), ints(1, 1));
    EXPECT_GT(countColour(box.rect, 0x0000), 0);
    // Space asks for the redraw itself: nothing else on its pass does.
    window->redrawRequested = 0;
    input("k32 +10");
    EXPECT_EQ(ints(toggled, box.checked), ints(2, 0));
    EXPECT_EQ(countColour(box.rect, 0x0000), 0);
    // A box that does not take the mouse still takes Space while hot; an
    // invisible one takes nothing.
    box.click.enabled = 0;
    input("d u +10");
    EXPECT_EQ(ints(toggled, box.checked), ints(2, 0));
    input("k32 +10");
    EXPECT_EQ(ints(toggled, box.checked), ints(3, 1));
    box.visible = 0;
    box.click.enabled = 1;
    input("k32 d u +10");
    EXPECT_EQ(ints(toggled, box.checked), ints(3, 1));
    // Made again, it starts unchecked.
    checkBoxCreate(box, 10, 60, nullptr);
    EXPECT_EQ(ints(box.checked, box.visible), ints(0, 1));

    // A fired menu bar button costs the window its tick.
    MenuBar& bar = window->menuBar;
    menuBarInit(bar, 2, [](int32_t index) { barIndex = index; });
    desktop.current = window;
    buttonCreate(bar.buttons[0], 0, 0, 0, "One", 1, CLICK_ON_PRESS);
    buttonCreate(bar.buttons[1], 60, 0, 0, "Two", 1, CLICK_ON_PRESS);
    input("+0");
    const int before = ticks;
    input("70,5 d +10");
    EXPECT_EQ(ints(barIndex, ticks - before), ints(1, 0));
    input("u +10");
    EXPECT_EQ(ticks - before, 1);
    input("a79 +10"); // Alt and the first letter press the first button
    EXPECT_EQ(ints(barIndex, ticks - before), ints(0, 1));
}

TEST_F(ButtonTest, TooltipUnrollsAfterSevenHundredMillisecondsOfRest) {
    open(CLICK_ON_RELEASE, "Opens the menu");
    input("20,15 +0");
    // The loop is asked to come back when the first row is due.
    EXPECT_EQ(desktop.wakeTime, playClock() + 702);
    const std::pair<const char*, int32_t> rest[] = {{"+700", 0}, {"+1", 0},   {"+1", 1},
                                                    {"+2", 2},   {"+28", 16}, {"+1000", 16}};
    for (const auto& [script, height] : rest) {
        input(script);
        EXPECT_EQ(button.click.tooltipHeight, height) << playClock();
    }
    // Fully open, the box and its text are drawn under the button.
    const Rect tip{18, 39, button.click.tooltipRect.width + 1, 17};
    EXPECT_EQ(ints(tip.width, screenAt(100 + tip.x, 100 + tip.y)),
              ints(107, styleTable.colours[COLOUR_TOOLTIP_BACKGROUND]));
    EXPECT_GT(countColour(tip, styleTable.colours[COLOUR_TOOLTIP_TEXT]), 10);
    // A press takes it away and disarms it until the pointer comes back.
    input("d +10");
    EXPECT_EQ(ints(button.click.tooltipHeight, screenAt(100 + tip.x, 100 + tip.y)),
              ints(0, window->canvas.background));
    input("u +2000");
    EXPECT_EQ(button.click.tooltipHeight, 0);
    input("150,100 +10 20,15 +10 +710");
    EXPECT_EQ(button.click.tooltipHeight, 5);
    // So does the release of a press that began elsewhere.
    input("u +0");
    EXPECT_EQ(button.click.tooltipHeight, 0);
}

TEST_F(ButtonTest, ButtonsAndCheckBoxesLookAsTheyShould) {
    // Placed so that a pressed button in its top row sinks up and one in its
    // second row down (the line is at one eighth of the desktop's height).
    window = createWindow(desktop, 0, 40, 240, 90, "w", 0, WidgetWindowProc, 0);
    ASSERT_NE(window, nullptr);
    desktop.current = window;
    canvasClear(window->canvas);
    Button b[10]{};
    buttonCreate(b[0], 4, 4, 0, " Game ", 2, CLICK_ON_PRESS);
    buttonCreate(b[1], 70, 4, 0, "Hot", 1, CLICK_ON_PRESS);
    b[1].click.hot = 1;
    buttonCreate(b[2], 120, 4, 0, "Off", 0, CLICK_ON_PRESS);
    b[2].enabled = 0;
    buttonCreate(b[3], 4, 34, 0, "Icons", 1, CLICK_ON_PRESS,
                 {.alignment = ALIGN_LEFT, .leftIcon = 13, .rightIcon = 14});
    buttonCreate(b[4], 100, 34, 0, "In", 0, CLICK_ON_PRESS, {.sunken = true});
    buttonCreate(b[5], 160, 4, 0, "Up", 2, CLICK_ON_PRESS); // the hot key its last letter
    b[5].click.pressed = 1;
    // Text in a width of its own: before a right icon, after a left one,
    // centred, and cut where the button is too narrow for it.
    buttonCreate(b[6], 4, 64, 70, "OK", 1, CLICK_ON_PRESS,
                 {.alignment = ALIGN_RIGHT, .rightIcon = 4});
    buttonCreate(b[7], 78, 64, 70, "OK", 1, CLICK_ON_PRESS,
                 {.alignment = ALIGN_LEFT, .leftIcon = 3});
    buttonCreate(b[8], 152, 64, 60, "OK", 1, CLICK_ON_PRESS);
    buttonCreate(b[9], 216, 64, 20, "OK", 1, CLICK_ON_PRESS, {.alignment = ALIGN_RIGHT});
    for (Button& each : b) {
        buttonDraw(each);
    }
    // Check boxes: empty, checked, and checked under the pointer.
    CheckBox c[3]{};
    for (int i = 0; i < 3; i++) {
        checkBoxCreate(c[i], 160 + 20 * i, 38, nullptr);
        c[i].checked = i > 0;
        c[i].click.hot = i == 2;
        checkBoxDraw(c[i]);
    }
    // An icon button big enough has its icon centred.
    IconButton big{};
    iconButtonCreate(big, 212, 4, ICON_CLOSE, nullptr, nullptr, CLICK_ON_RELEASE, 19, 0);
    iconButtonDraw(big);
    EXPECT_TRUE(matchesGolden("widgets-buttons-and-boxes", window->canvas.surface));
    desktop.current = nullptr;
}
