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
#include "toolkit/font.h"
#include "widgets/button.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

PopupMenu& menu = desktop.popupMenu;
int chooseCount;
int closeCount;
int subChooseCount;
std::vector<int32_t> chosenItems;
uint32_t tickSawLeftPress;

void DeskProc(Window* w, uint32_t) {
    if (w->message == Draw) {
        canvasClear(w->canvas);
    }
    if (w->message == Tick) {
        tickSawLeftPress = inputState.mouse.leftPressed;
    }
}

void countClose() {
    closeCount++;
}

void subChosen() {
    subChooseCount++;
    chosenItems.push_back(menu.current->selected);
}

// Beta (item 2) opens a submenu beside itself; the others are recorded.
void onChoose() {
    chooseCount++;
    chosenItems.push_back(menu.current->selected);
    if (menu.current->selected == 2) {
        int32_t x = 0, y = 0;
        popupQuery(menu, x, y);
        popupBegin(menu, 0, 0);
        popupAdd(menu, MENU_COMMAND, 0, 0, "One", 1, 1);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Two", 1, 1);
        popupOpen(menu, x, y, subChosen, nullptr, countClose, 0);
    }
}

class PopupTest : public ::testing::Test {
  protected:
    uint32_t now = 1000;

    void SetUp() override {
        ASSERT_EQ(scriptedDesktopStart(640, 480, DeskProc), nullptr);
        chooseCount = closeCount = subChooseCount = 0;
        chosenItems.clear();
        pass(); // the first composition, after which the menu's passes run
    }
    void TearDown() override { scriptedDesktopStop(); }

    // Alpha, a separator, Beta (submenu), Gamma (disabled), Delta; rows of
    // 21, 14, 21, 21 and 21 pixels.
    void openMenu(int32_t x, int32_t y) {
        desktop.current = desktop.desktopWindow;
        popupBegin(menu, 0, 0);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Alpha", 1, 1);
        popupAdd(menu, MENU_SEPARATOR, 0, 0, nullptr, 0, 0);
        popupAdd(menu, MENU_SUBMENU, 0, 0, "Beta", 1, 1);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Gamma", 1, 0);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Delta", 1, 1);
        popupOpen(menu, x, y, onChoose, nullptr, countClose, 0);
        desktop.current = nullptr;
    }

    void pass(uint32_t advance = 0) {
        now += advance;
        scriptSetTime(now);
        updatePass(desktop);
        mouseClearEvents(inputState.mouse);
        keysClearEvents(inputState.keys);
    }
    // The key is held during the pass, as when the loop runs between the
    // key's down and up messages.
    void press(uint8_t vk, uint8_t character = 0) {
        scriptKeyDown(vk);
        if (character != 0) {
            scriptChar(character);
        }
        pass(10);
        scriptKeyUp(vk);
    }
    void click() {
        scriptLeftDown();
        scriptLeftUp();
        pass(10);
    }
};

} // namespace

TEST_F(PopupTest, LevelsOpenDownwardFlipUpwardOrScroll) {
    const int32_t textW = textWidth(builtinFonts[0], "Beta", 100) + 8 + 16;
    openMenu(100, 50);
    ASSERT_EQ(menu.owner, desktop.desktopWindow);
    MenuLevel& level = menu.levels[0];
    EXPECT_EQ(level.height, 98);
    EXPECT_GE(level.width, textW);
    EXPECT_EQ(level.y, 50);
    const int32_t ys[5] = {50, 71, 85, 106, 127};
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(level.items[i].y, ys[i]) << i;
    }
    EXPECT_EQ(level.items[3].enabled, 0u);
    EXPECT_EQ(level.items[1].enabled, 0u);
    EXPECT_EQ(level.items[4].hotKey, uint32_t('D'));
    EXPECT_EQ(menu.selectionChanged, 0u);
    popupClose(menu);
    EXPECT_EQ(menu.owner, nullptr);
    EXPECT_EQ(closeCount, 1);

    // Near the bottom it flips: its bottom lines up with the row at y.
    openMenu(100, 440);
    EXPECT_EQ(menu.levels[0].y, 440 - 98 + 21);
    popupClose(menu);

    // Too tall either way: it scrolls below the point, separators as tall as items.
    desktop.current = desktop.desktopWindow;
    popupBegin(menu, 0, 0);
    static const char* texts[30];
    static std::string storage[30];
    for (int i = 0; i < 30; i++) {
        storage[i] = "Item " + std::to_string(i);
        texts[i] = storage[i].c_str();
        popupAdd(menu, i == 1 ? MENU_SEPARATOR : MENU_COMMAND, 0, 0, i == 1 ? nullptr : texts[i], 0,
                 1);
    }
    popupOpen(menu, 630, 200, onChoose, nullptr, nullptr, 0);
    desktop.current = nullptr;
    MenuLevel& tall = menu.levels[0];
    EXPECT_EQ(tall.rows, 12);
    EXPECT_EQ(tall.height, 12 * 21);
    EXPECT_EQ(tall.y, 200);
    EXPECT_EQ(tall.items[1].height, 21);
    // Pushed back inside the canvas with its 18-pixel scroll bar, whose
    // thumb shows 12 rows of 30.
    const VScrollBar& bar = tall.scrollBar;
    EXPECT_EQ(bar.active, 1u);
    EXPECT_EQ(bar.upButton.x, 622);
    EXPECT_EQ(tall.x + tall.width + 18, 640);
    EXPECT_EQ(bar.thumb.height, 86);
    for (int i = 0; i < 12; i++) {
        press(KEY_DOWN);
    }
    EXPECT_EQ(tall.selected, 12);
    EXPECT_EQ(tall.first, 1);
    EXPECT_EQ(bar.top, 1);
    EXPECT_EQ(tall.items[12].y, 200 + 11 * 21);
    // The wheel moves the shown rows by three, the arrows by one, the track
    // by a page, and the thumb drags them; none of it closes the menu.
    scriptWheel(-120);
    pass(10);
    EXPECT_EQ(tall.first, 4);
    scriptMouseMove(bar.upButton.x + 9, bar.upButton.y + 3);
    scriptLeftDown();
    pass(10);
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(tall.first, 3);
    scriptMouseMove(bar.downButton.x + 9, bar.downButton.y - 3);
    scriptLeftDown();
    pass(10);
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(tall.first, 15);
    scriptMouseMove(bar.thumb.x + 9, bar.thumb.y + 2);
    scriptLeftDown();
    pass(10);
    scriptMouseMove(bar.thumb.x + 9, bar.upButton.y + 18 + 2);
    pass(10);
    scriptLeftUp();
    pass(10);
    EXPECT_EQ(tall.first, 0);
    EXPECT_EQ(tall.items[0].y, 200);
    EXPECT_NE(menu.owner, nullptr);
    popupClose(menu);

    // A 17th level is refused; its items go to the 16th.
    desktop.current = desktop.desktopWindow;
    for (int i = 0; i < 17; i++) {
        popupBegin(menu, 0, 0);
    }
    EXPECT_EQ(menu.count, 16);
    popupAdd(menu, MENU_COMMAND, 0, 0, "Last", 0, 1);
    EXPECT_EQ(menu.levels[15].itemCount, 1);
    popupOpen(menu, 10, 10, nullptr, nullptr, nullptr, 0);
    popupClose(menu);
    EXPECT_EQ(menu.count, 0);
    desktop.current = nullptr;
}

TEST_F(PopupTest, KeysMoveOverEnabledItemsWrapAndChooseByLetter) {
    openMenu(100, 50);
    pass();
    MenuLevel& level = menu.levels[0];
    const int32_t order[] = {0, 2, 4, 0};
    for (int32_t expected : order) {
        press(KEY_DOWN);
        EXPECT_EQ(level.selected, expected);
    }
    press(KEY_UP);
    EXPECT_EQ(level.selected, 4);
    press(KEY_UP);
    EXPECT_EQ(level.selected, 2);

    press('Q', 'q');
    EXPECT_EQ(chooseCount, 0);
    EXPECT_EQ(level.selected, 2);
    press('D', 'd');
    EXPECT_EQ(chooseCount, 1);
    EXPECT_EQ(chosenItems.back(), 4);
    EXPECT_NE(menu.owner, nullptr);

    // Right opens the submenu item's level; Left goes back and drops it.
    press(KEY_UP);
    press(KEY_RIGHT);
    EXPECT_EQ(menu.count, 2);
    EXPECT_EQ(menu.current, &menu.levels[1]);
    press(KEY_DOWN);
    EXPECT_EQ(menu.levels[1].selected, 0);
    press(KEY_LEFT);
    EXPECT_EQ(menu.count, 1);
    press(KEY_RIGHT);
    press(KEY_DOWN);
    press(KEY_ENTER);
    EXPECT_EQ(subChooseCount, 1);

    scriptKeyDown(KEY_ESCAPE);
    pass(10);
    scriptKeyUp(KEY_ESCAPE);
    EXPECT_EQ(menu.owner, nullptr);
    EXPECT_EQ(closeCount, 2); // one for each level
}

TEST_F(PopupTest, MouseHoverDelaysOpenSubmenusAndClicksChoose) {
    openMenu(100, 50);
    scriptMouseMove(110, 55);
    pass();
    MenuLevel& level = menu.levels[0];
    EXPECT_EQ(level.selected, 0);
    // The release of the click that opened the menu is ignored.
    click();
    EXPECT_EQ(chooseCount, 0);
    EXPECT_NE(menu.owner, nullptr);

    // Resting 300 ms on the submenu item opens its submenu beside it.
    scriptMouseMove(110, 90);
    pass(300);
    EXPECT_EQ(level.selected, 2);
    pass(200);
    EXPECT_EQ(menu.count, 1);
    pass(150);
    ASSERT_EQ(menu.count, 2);
    EXPECT_EQ(menu.levels[1].x, 100 + level.width);
    EXPECT_EQ(menu.levels[1].y, 85);

    // Into the submenu and back onto its parent item: the path stays lit.
    scriptMouseMove(100 + level.width + 5, 85 + 21 + 5);
    pass(10);
    EXPECT_EQ(menu.levels[1].selected, 1);
    EXPECT_EQ(level.selected, 2);
    scriptMouseMove(112, 90);
    pass(400);
    EXPECT_EQ(menu.count, 2);
    EXPECT_EQ(menu.levels[1].selected, -1);
    // Resting on another item closes the submenu.
    scriptMouseMove(112, 130);
    pass(10);
    pass(310);
    EXPECT_EQ(menu.count, 1);

    // A disabled item ignores the click; an enabled one is chosen.
    scriptMouseMove(112, 110);
    pass(10);
    click();
    EXPECT_EQ(chooseCount, 1);
    EXPECT_NE(menu.owner, nullptr);
    scriptMouseMove(112, 130);
    pass(10);
    click();
    EXPECT_EQ(chooseCount, 2);
    EXPECT_EQ(chosenItems.back(), 4);

    // A press outside every level closes the menu, and nothing else sees it.
    scriptMouseMove(400, 300);
    scriptLeftDown();
    pass(10);
    EXPECT_EQ(menu.owner, nullptr);
    EXPECT_EQ(tickSawLeftPress, 0u);
    scriptLeftUp();
    pass(10);
}

// ---- The game's menu ----------------------------------------------------------

namespace {

struct GameMenuSession {
    GameSession session;
    explicit GameMenuSession(int32_t progress) : session(GHOLD_DATA_FILE, progress) {
        EXPECT_EQ(session.startFailure, nullptr);
        session.key(KEY_SPACE);
        session.key(KEY_SPACE);
        EXPECT_EQ(desktop.count, 1);
        session.pass();
    }
    void hold(uint8_t vk, uint8_t character = 0) {
        MainWndProc(MSG_KEY_DOWN, vk, 0);
        if (character != 0) {
            MainWndProc(MSG_CHAR, character, 0);
        }
        session.pass(10);
        MainWndProc(MSG_KEY_UP, vk, 0);
    }
    void altG() {
        MainWndProc(MSG_SYS_KEY_DOWN, KEY_ALT, 0);
        session.pass(10);
        MainWndProc(MSG_SYS_KEY_DOWN, 'G', 0);
        session.pass(10);
        MainWndProc(MSG_SYS_KEY_UP, 'G', 0);
        MainWndProc(MSG_SYS_KEY_UP, KEY_ALT, 0);
    }
};

} // namespace

TEST(GameMenu, AltGOpensTheMenuAndTheGameStandsStill) {
    GameMenuSession game(3);
    ASSERT_NE(gameWindow, nullptr);
    const Button& button = gameWindow->menuBar.buttons[0];
    EXPECT_EQ(button.rect.x, 16);
    EXPECT_EQ(button.rect.y, 0);
    EXPECT_EQ(button.rect.width, textWidth(builtinFonts[0], " Game ", 100) + 8);
    EXPECT_EQ(button.click.hotKey, uint32_t('G'));

    game.altG();
    ASSERT_EQ(menu.owner, gameWindow);
    const MenuLevel& level = menu.levels[0];
    ASSERT_EQ(level.itemCount, 6);
    const char* texts[6] = {"Restart Level", nullptr, "Access Level", nullptr, "About", "Exit"};
    const uint32_t kinds[6] = {2, 1, 3, 1, 2, 2};
    const uint32_t keys[6] = {'R', 0, 'A', 0, 'B', 'X'};
    for (int i = 0; i < 6; i++) {
        EXPECT_EQ(level.items[i].kind, kinds[i]) << i;
        EXPECT_EQ(level.items[i].hotKey, keys[i]) << i;
        if (texts[i] != nullptr) {
            EXPECT_STREQ(level.items[i].text, texts[i]);
        }
    }
    EXPECT_EQ(level.x, 16);
    EXPECT_EQ(level.y, button.rect.height);

    // No steps while the menu is open.
    const uint32_t steps = fineGrid.stepCounter;
    for (int i = 0; i < 5; i++) {
        game.session.pass(150);
    }
    EXPECT_EQ(fineGrid.stepCounter, steps);
    MainWndProc(MSG_KEY_DOWN, KEY_ESCAPE, 0);
    game.session.pass(10);
    MainWndProc(MSG_KEY_UP, KEY_ESCAPE, 0);
    EXPECT_EQ(menu.owner, nullptr);
    // Escape closed the menu only; the game goes on.
    game.session.pass(150);
    EXPECT_GT(fineGrid.stepCounter, steps);
    EXPECT_EQ(desktop.count, 1);
}

TEST(GameMenu, AccessLevelListsTheLevelsReachedAndChoosesOne) {
    GameMenuSession game(3);
    game.altG();
    game.hold('A', 'a');
    ASSERT_EQ(menu.count, 2);
    const MenuLevel& list = menu.levels[1];
    ASSERT_EQ(list.itemCount, 4);
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(std::string(list.items[i].text), "Level " + std::to_string(i));
    }
    EXPECT_EQ(list.x, menu.levels[0].x + menu.levels[0].width);
    EXPECT_EQ(list.y, menu.levels[0].items[2].y);
    game.hold(KEY_DOWN);

    // The picture of the open menu over a plain background.
    desktop.current = gameWindow;
    canvasClear(gameWindow->canvas);
    menuBarDraw(gameWindow->menuBar);
    popupRedraw(menu);
    desktop.current = nullptr;
    std::vector<uint16_t> crop(200 * 180);
    const Surface& s = gameWindow->canvas.surface;
    for (int32_t y = 0; y < 180; y++) {
        for (int32_t x = 0; x < 200; x++) {
            crop[size_t(y * 200 + x)] = s.pixels[size_t(y * s.width + x)];
        }
    }
    EXPECT_TRUE(matchesGolden("widgets-game-menu", 200, 180, crop.data()));

    game.hold(KEY_DOWN);
    game.hold(KEY_DOWN);
    game.hold(KEY_ENTER);
    EXPECT_EQ(menu.owner, nullptr);
    EXPECT_EQ(levelFlow.level, 2);
    EXPECT_EQ(levelFlow.boardVisible, 0u);
}

TEST(GameMenu, RestartAndExitCloseTheMenu) {
    GameMenuSession game(2);
    game.session.pass(2000); // past the banner
    EXPECT_EQ(levelFlow.boardVisible, 1u);
    game.altG();
    game.hold('R', 'r');
    EXPECT_EQ(menu.owner, nullptr);
    EXPECT_EQ(levelFlow.level, 2);
    EXPECT_EQ(levelFlow.boardVisible, 0u); // restarted: the banner shows again

    // About opens the About window above the game and closes the menu.
    game.altG();
    game.hold('B', 'b');
    EXPECT_EQ(menu.owner, nullptr);
    ASSERT_EQ(desktop.count, 2);
    EXPECT_STREQ(desktop.windows[1]->title, "About");
    closeTopWindow(desktop);
    game.session.pass(10);

    game.altG();
    game.hold('X', 'x');
    EXPECT_EQ(menu.owner, nullptr);
    EXPECT_EQ(desktop.count, 0);
}

TEST(GameMenu, ContinueWindowClosesByItsCloseBoxAndByItsButton) {
    GameSession session(GHOLD_DATA_FILE, 3);
    ASSERT_EQ(desktop.count, 2);
    session.pass();
    const Rect close = desktop.windows[1]->closeButton.rect;
    scriptMouseMove(close.x + 8, close.y + 8);
    session.pass(10);
    scriptLeftDown();
    session.pass(10);
    EXPECT_EQ(desktop.count, 2);
    scriptLeftUp();
    session.pass(10);
    EXPECT_EQ(desktop.count, 1);
    EXPECT_EQ(levelFlow.started, 1u);

    // The end picture closes on its " Continue " button, released inside.
    openContinueWindow(2);
    session.pass();
    ASSERT_EQ(desktop.count, 2);
    const Window& window = *desktop.windows[1];
    scriptMouseMove(window.x + 128, window.y + 270);
    session.pass(10);
    scriptLeftDown();
    session.pass(10);
    EXPECT_EQ(desktop.count, 2);
    scriptMouseMove(window.x + 129, window.y + 270);
    scriptLeftUp();
    session.pass(10);
    EXPECT_EQ(desktop.count, 1);
}

namespace {

int lastBar;

void barOpen(int32_t index) {
    lastBar = index;
    const Rect& r = desktop.current->menuBar.buttons[index].rect;
    popupBegin(menu, 0, 0);
    popupAdd(menu, MENU_COMMAND, 0, 0, "Item", 1, 1);
    popupOpen(menu, r.x, r.y + r.height, nullptr, nullptr, nullptr, 0);
}

void BarDeskProc(Window* w, uint32_t) {
    if (w->message == Create) {
        menuBarInit(w->menuBar, 2, barOpen);
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
    uint32_t now = 1000;
    auto pass = [&now](uint32_t advance) {
        now += advance;
        scriptSetTime(now);
        updatePass(desktop);
        mouseClearEvents(inputState.mouse);
        keysClearEvents(inputState.keys);
    };
    pass(0);
    lastBar = -1;
    MenuBar& bar = desktop.desktopWindow->menuBar;
    scriptMouseMove(15, 10);
    scriptLeftDown();
    pass(10);
    EXPECT_EQ(lastBar, 0);
    ASSERT_EQ(menu.owner, desktop.desktopWindow);
    EXPECT_EQ(menu.levels[0].x, 10);
    scriptLeftUp();
    pass(10); // within the guard: the menu stays open
    EXPECT_NE(menu.owner, nullptr);

    scriptMouseMove(85, 10);
    pass(10);
    EXPECT_EQ(lastBar, 1);
    ASSERT_NE(menu.owner, nullptr);
    EXPECT_EQ(menu.count, 1);
    EXPECT_EQ(menu.levels[0].x, 80);
    EXPECT_EQ(bar.buttons[1].click.hot, 1u);
    EXPECT_EQ(bar.buttons[1].click.pressed, 1u);
    EXPECT_EQ(bar.buttons[0].click.hot, 0u);

    // A right-button press closes the menu and resets the bar.
    scriptRightDown();
    pass(10);
    EXPECT_EQ(menu.owner, nullptr);
    EXPECT_EQ(bar.buttons[1].click.pressed, 0u);
    scriptedDesktopStop();
}
