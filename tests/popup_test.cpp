// The popup menu on the scripted platform: placement, keyboard and mouse
// navigation, submenus and their delays, choosing and closing; and the
// game's own menu behind its " Game " button with the list of levels.
#include "widgets/popup.h"

#include "game/flow.h"
#include "game/fluid.h"
#include "platform/platform_script.h"
#include "shell/mainwnd.h"
#include "tests/support/desktop_env.h"
#include "tests/support/game_session.h"
#include "tests/support/golden.h"
#include "tests/support/ints.h"
#include "widgets/button.h"
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace {

PopupMenu& menu = desktop.popupMenu;
int closeCount;
std::vector<int32_t> chosenItems; // by the top level's callback; 100 + item for the submenu
uint32_t tickSawLeftPress;
bool quitOnChoose; // a choice asks every window to close

void DeskProc(Window* w, uint32_t) {
    if (w->message == Draw) {
        canvasClear(w->canvas);
    }
    if (w->message == Tick) {
        tickSawLeftPress = inputState.mouse.leftPressed;
    }
}

// Beta (item 2) opens a submenu beside itself; the others are recorded.
void onChoose() {
    chosenItems.push_back(menu.current->selected);
    if (quitOnChoose) {
        requestQuit(desktop);
    }
    if (menu.current->selected == 2) {
        int32_t x = 0, y = 0;
        popupQuery(menu, x, y);
        popupBegin(menu, 0, 0);
        popupAdd(menu, MENU_COMMAND, 0, 0, "One", 1, true);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Two", 1, true);
        popupOpen(
            menu, x, y, [] { chosenItems.push_back(100 + menu.current->selected); }, nullptr,
            [] { closeCount++; }, 0);
    }
}

class PopupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(scriptedDesktopStart(640, 480, DeskProc), nullptr);
        closeCount = 0;
        chosenItems.clear();
        quitOnChoose = false;
        // The first composition, after which the menu's passes run; every pass
        // leaves the desktop window, which owns the menus, current.
        play("+0");
    }
    void TearDown() override { scriptedDesktopStop(); }

    // Alpha, a separator, Beta (submenu), Gamma (disabled), Delta at (100, y):
    // rows of 21, 14, 21, 21 and 21 pixels, 52 wide.
    void openMenu(int32_t x, int32_t y, int32_t avoid = 0) {
        popupBegin(menu, 0, 0);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Alpha", 1, true);
        popupAdd(menu, MENU_SEPARATOR, 0, 0, nullptr, 0, false);
        popupAdd(menu, MENU_SUBMENU, 0, 0, "Beta", 1, true);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Gamma", 1, false);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Delta", 1, true);
        popupOpen(
            menu, x, y, onChoose, nullptr, [] { closeCount++; }, avoid);
    }
    // A key held during a pass, as when the loop runs between the key's down
    // and up messages, with the character it types.
    void press(uint8_t vk, uint8_t character = 0) {
        scriptChar(character);
        play("k" + std::to_string(vk) + " +10");
    }
};

} // namespace

TEST_F(PopupTest, LevelsOpenDownwardFlipUpwardOrScrollAndKeysMoveWrapAndChoose) {
    openMenu(100, 50);
    ASSERT_EQ(menu.owner, desktop.desktopWindow);
    // Its place and its rows are the popup golden picture's.
    MenuLevel& level = menu.levels[0];
    EXPECT_EQ(ints(level.items[1].enabled, level.items[3].enabled, level.items[4].hotKey,
                   menu.selectionChanged),
              ints(0, 0, 'D', 0));
    popupClose(menu);
    EXPECT_EQ(ints(menu.owner == nullptr, closeCount), ints(1, 1));
    // Near the bottom it flips: its bottom lines up with the row at y, or
    // keeps the height to avoid above y; it is then pushed inside the canvas
    // (up, when the row at y reaches past the bottom).
    // Ending exactly at the bottom, it does not.
    const std::tuple<int32_t, int32_t, std::vector<int64_t>> places[] = {{440, 0, ints(588, 363)},
                                                                         {470, 0, ints(588, 382)},
                                                                         {440, 20, ints(588, 322)},
                                                                         {382, 0, ints(588, 382)}};
    for (const auto& [y, avoid, at] : places) {
        openMenu(600, y, avoid);
        EXPECT_EQ(ints(menu.levels[0].x, menu.levels[0].y), at);
        popupClose(menu);
    }
    // Too tall either way: it scrolls below the point and the height to
    // avoid, separators as tall as items, pushed back inside the canvas with
    // its 18-pixel scroll bar, whose thumb shows 12 rows of 30.
    popupBegin(menu, 0, 0);
    for (int i = 0; i < 30; i++) {
        popupAdd(menu, i == 1 ? MENU_SEPARATOR : MENU_COMMAND, 0, 0, i == 1 ? nullptr : "Item", 0,
                 true);
    }
    popupOpen(menu, 630, 200, onChoose, nullptr, nullptr, 10);
    MenuLevel& tall = menu.levels[0];
    const VScrollBar& bar = tall.scrollBar;
    EXPECT_EQ(ints(tall.rows, tall.height, tall.y, tall.items[1].height, bar.active, bar.upButton.x,
                   bar.thumb.height, tall.x + tall.width + 18),
              ints(12, 12 * 21, 210, 21, 1, 622, 86, 640));
    for (int i = 0; i < 12; i++) {
        press(KEY_DOWN);
    }
    EXPECT_EQ(ints(tall.selected, tall.first, bar.top, tall.items[12].y),
              ints(12, 1, 1, 210 + 11 * 21));
    // The wheel moves the shown rows by three and leaves the menu open; the
    // bar's other parts are the scroll bar's own tests'.
    play("w- +10");
    EXPECT_EQ(tall.first, 4);
    play("w+ +10 w+ +10");
    EXPECT_EQ(ints(tall.first, tall.items[0].y, menu.owner != nullptr), ints(0, 210, 1));
    for (int i = 0; i < 11; i++) {
        press(KEY_UP);
    }
    EXPECT_EQ(ints(tall.selected, tall.first), ints(0, 0));
    popupClose(menu);
    // A 17th level is refused; its items go to the 16th.
    for (int i = 0; i < 17; i++) {
        popupBegin(menu, 0, 0);
    }
    popupAdd(menu, MENU_COMMAND, 0, 0, "Last", 0, true);
    EXPECT_EQ(ints(menu.count, menu.levels[15].itemCount), ints(16, 1));
    popupOpen(menu, 10, 10, nullptr, nullptr, nullptr, 0);
    popupClose(menu);
    EXPECT_EQ(menu.count, 0);

    // Keys move over the enabled items, wrap, and choose by letter.
    openMenu(100, 50);
    play("+0");
    const std::pair<uint8_t, int32_t> moves[] = {{KEY_DOWN, 0}, {KEY_DOWN, 2}, {KEY_DOWN, 4},
                                                 {KEY_DOWN, 0}, {KEY_UP, 4},   {KEY_UP, 2},
                                                 {KEY_UP, 0},   {KEY_UP, 4},   {KEY_UP, 2}};
    for (const auto& [vk, selected] : moves) {
        press(vk);
        EXPECT_EQ(level.selected, selected);
    }
    press('Q', 'q');
    EXPECT_EQ(ints(chosenItems.size(), level.selected), ints(0, 2));
    press('D', 'd');
    EXPECT_EQ(ints(chosenItems.size(), menu.owner != nullptr), ints(1, 1));
    // Right opens the submenu item's level; Left goes back and drops it.
    press(KEY_UP);
    press(KEY_RIGHT);
    EXPECT_EQ(ints(menu.count, menu.current == &menu.levels[1]), ints(2, 1));
    press(KEY_DOWN);
    EXPECT_EQ(menu.levels[1].selected, 0);
    press(KEY_LEFT);
    EXPECT_EQ(menu.count, 1);
    for (uint8_t vk : {KEY_RIGHT, KEY_DOWN, KEY_DOWN, KEY_ENTER}) {
        press(vk);
    }
    EXPECT_EQ(chosenItems, (std::vector<int32_t>{4, 2, 2, 101}));
    press(KEY_ESCAPE);
    EXPECT_EQ(ints(menu.owner == nullptr, closeCount), ints(1, 7)); // two more, one for each level
    // A choice that closes the owner closes the menu, then the window, on
    // the same pass.
    openMenu(100, 50);
    quitOnChoose = true;
    press('D', 'd');
    EXPECT_EQ(ints(menu.owner == nullptr, desktop.count), ints(1, 0));
}

TEST_F(PopupTest, MouseHoverDelaysOpenSubmenusAndClicksChoose) {
    openMenu(100, 50);
    MenuLevel& level = menu.levels[0];
    // The release of the click that opened the menu is ignored.
    play("110,55 +0 d u +10");
    EXPECT_EQ(ints(level.selected, chosenItems.size(), menu.owner != nullptr), ints(0, 0, 1));
    // Resting 300 ms on the submenu item opens its submenu beside it.
    play("110,90 +300 +200");
    EXPECT_EQ(ints(level.selected, menu.count), ints(2, 1));
    play("+100");
    ASSERT_EQ(menu.count, 2);
    // Into the submenu and back onto its parent item: the path stays lit.
    play("165,111 +10");
    // Both levels as the screen shows them: the lit path, the separator, the
    // disabled item and the underlined hot keys.
    EXPECT_TRUE(matchesGolden("popup", 130, 110, screenCrop(96, 46, 130, 110).data()));
    play("112,90 +400");
    EXPECT_EQ(ints(menu.count, menu.levels[1].selected), ints(2, -1));
    // Resting on another item closes the submenu.
    play("112,130 +10 +299");
    EXPECT_EQ(menu.count, 2);
    play("+1");
    EXPECT_EQ(ints(menu.count, screenAt(170, 100)), ints(1, 0x02EF)); // the desktop shows again
    // A click on the submenu item opens its submenu again, and the delay of
    // the hover before it is forgotten.
    play("112,90 +10 d u +10 +300");
    EXPECT_EQ(ints(menu.count, chosenItems.size()), ints(2, 2));
    // A disabled item ignores the click; an enabled one is chosen, and so is
    // the one a quick click slipped off was pressed on, onto a disabled item
    // or out of the menu.
    play("112,110 +10 d u +10");
    EXPECT_EQ(ints(chosenItems.size(), menu.owner != nullptr), ints(2, 1));
    play("112,130 +10 d u +10 112,60 d +10 112,110 u +100 112,130 d +10 300,60 u +100");
    EXPECT_EQ(chosenItems, (std::vector<int32_t>{2, 2, 4, 0, 4}));
    // A press outside every level closes the menu, and nothing else sees it.
    play("400,300 d +10");
    EXPECT_EQ(ints(menu.owner == nullptr, tickSawLeftPress), ints(1, 0));
    // A close asked of the owner closes its menu first, then the window.
    openMenu(100, 50);
    requestQuit(desktop);
    play("u +10 +10");
    EXPECT_EQ(ints(menu.owner == nullptr, desktop.count), ints(1, 0));
}

// ---- The game's menu ----------------------------------------------------------

// The level list's picture and its scrolling are the player's tests' own.
TEST(GameMenu, AltGOpensTheMenuTheGameStandsStillAndItsItemsAct) {
    GameSession session(GHOLD_DATA_FILE, 3);
    session.key(KEY_SPACE);
    session.key(KEY_SPACE);
    ASSERT_EQ(desktop.count, 1);
    session.pass();
    // A key held over a pass, with the character it types; Alt+G.
    const auto hold = [&session](uint8_t vk, uint8_t character = 0) {
        MainWndProc(MSG_KEY_DOWN, vk, 0);
        MainWndProc(MSG_CHAR, character, 0);
        session.pass(10);
        MainWndProc(MSG_KEY_UP, vk, 0);
    };
    const auto altG = [&session] {
        MainWndProc(MSG_SYS_KEY_DOWN, KEY_ALT, 0);
        session.pass(10);
        MainWndProc(MSG_SYS_KEY_DOWN, 'G', 0);
        session.pass(10);
        MainWndProc(MSG_SYS_KEY_UP, 'G', 0);
        MainWndProc(MSG_SYS_KEY_UP, KEY_ALT, 0);
    };
    altG();
    ASSERT_EQ(menu.owner, gameWindow);
    // No steps while the menu is open; Escape closes the menu only, and the
    // game steps again on that very pass.
    const uint32_t steps = fineGrid.stepCounter;
    for (int i = 0; i < 5; i++) {
        session.pass(150);
    }
    EXPECT_EQ(fineGrid.stepCounter, steps);
    hold(KEY_ESCAPE);
    EXPECT_EQ(menu.owner, nullptr);
    session.pass(150);
    EXPECT_EQ(ints(fineGrid.stepCounter, desktop.count), ints(steps + 2, 1));
    // A level from the list, with the banner first.
    altG();
    hold('A', 'a');
    ASSERT_EQ(ints(menu.count, menu.levels[1].itemCount), ints(2, 4));
    for (uint8_t vk : {KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_ENTER}) {
        hold(vk);
    }
    EXPECT_EQ(ints(menu.owner == nullptr, levelFlow.level, levelFlow.boardVisible), ints(1, 2, 0));
    session.pass(2000);
    EXPECT_EQ(levelFlow.boardVisible, 1u);
    // Restarted: the banner shows again.
    altG();
    hold('R', 'r');
    EXPECT_EQ(ints(menu.owner == nullptr, levelFlow.level, levelFlow.boardVisible), ints(1, 2, 0));
    altG();
    hold('X', 'x');
    EXPECT_EQ(ints(menu.owner == nullptr, desktop.count), ints(1, 0));
}

namespace {

int lastBar;

void BarDeskProc(Window* w, uint32_t) {
    if (w->message == Create) {
        menuBarInit(w->menuBar, 2, [](int32_t index) {
            lastBar = index;
            const Rect& r = desktop.current->menuBar.buttons[index].rect;
            popupBegin(menu, 0, 0);
            popupAdd(menu, MENU_COMMAND, 0, 0, "Item", 1, true);
            popupOpen(menu, r.x, r.y + r.height, nullptr, nullptr, nullptr, 0);
        });
        buttonCreate(w->menuBar.buttons[0], 10, 4, 0, "File", 1, CLICK_ON_PRESS);
        buttonCreate(w->menuBar.buttons[1], 80, 4, 0, "Edit", 1, CLICK_ON_PRESS);
    }
    if (w->message == Draw) {
        canvasClear(w->canvas);
        menuBarDraw(w->menuBar);
    }
}

} // namespace

TEST(MenuBarHover, SlidingAlongTheBarClosesOneMenuAndOpensTheNext) {
    ASSERT_EQ(scriptedDesktopStart(640, 480, BarDeskProc), nullptr);
    play("+0");
    lastBar = -1;
    MenuBar& bar = desktop.desktopWindow->menuBar;
    play("15,10 d +10");
    ASSERT_EQ(menu.owner, desktop.desktopWindow);
    EXPECT_EQ(ints(lastBar, menu.levels[0].x), ints(0, 10));
    play("u +10"); // within the guard: the menu stays open, and follows the pointer
    play("85,10 +10");
    ASSERT_NE(menu.owner, nullptr);
    EXPECT_EQ(ints(lastBar, menu.count, menu.levels[0].x, bar.buttons[1].click.hot,
                   bar.buttons[1].click.pressed, bar.buttons[0].click.hot),
              ints(1, 1, 80, 1, 1, 0));
    // A click on the item of a menu without callbacks closes it; so does a
    // right-button press.
    play("90,40 +10 d u +300");
    EXPECT_EQ(ints(menu.owner == nullptr, bar.buttons[1].click.pressed), ints(1, 0));
    play("15,10 d +10");
    ASSERT_NE(menu.owner, nullptr);
    play("r +10");
    EXPECT_EQ(menu.owner, nullptr);
    scriptedDesktopStop();
}
