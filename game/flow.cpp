// The game's windows: the game window that runs the board in steps of 100 ms,
// reads the keys, shows the level banner and moves from level to level, and
// the " Continue " window that shows the title pictures and the end picture.
#include "game/flow.h"

#include "game/board.h"
#include "game/fluid.h"
#include "game/gamedata.h"
#include "game/history.h"
#include "game/move.h"
#include "game/playerfiles.h"
#include "game/progress.h"
#include "game/records.h"
#include "game/render.h"
#include "game/rules.h"
#include "game/sound.h"
#include "game/titles.h"
#include "toolkit/desktop.h"
#include "toolkit/font.h"
#include "toolkit/frame.h"
#include "toolkit/places.h"
#include "widgets/button.h"
#include "widgets/msgbox.h"
#include "widgets/popup.h"
#include "widgets/textbox.h"

#include <algorithm>
#include <cstdio>
#include <string>

Window* gameWindow;
int32_t continuePicture;
PlayState playState;

namespace {

constexpr int32_t LAST_LEVEL = LEVEL_COUNT - 1; // 50
// The game's windows can be moved and closed, with a shaded border and a
// title bar.
constexpr uint32_t GAME_WINDOW_STYLE =
    STYLE_MOVABLE | STYLE_BORDER | STYLE_3D | STYLE_CLOSE | STYLE_TITLE;
// The banner's text sits this far in from its left and top edges, and as
// far from its right and bottom ones.
constexpr int32_t BANNER_PADDING_X = 8;
constexpr int32_t BANNER_PADDING_Y = 4;

uint32_t dataMissing;

// The pictures of the data file only exist once it has loaded; until then
// (and when it failed) the " Continue " window shows its background alone.
const Surface* pictureFor(int32_t index) {
    if (index < 0 || index >= PICTURE_COUNT || titlePictures[index].pixels == nullptr) {
        return nullptr;
    }
    return &titlePictures[index];
}

void clearPictures() {
    for (Surface& picture : titlePictures) {
        surfaceClearRecord(picture);
    }
}

// ---- The menu bar, the level line and the " Continue " button --------------

// " Game " on the game window's menu bar opens the game menu on press; Alt+G
// presses it too.
constexpr int32_t GAME_BUTTON_X = 16;
constexpr int32_t GAME_BUTTON_HOT_KEY = 2;
// The level list's texts: "Level %d", and for a completed level a star and
// the fewest moves, all within the menu's 15 characters.
constexpr int32_t LEVEL_TEXT_SIZE = BANNER_TEXT_SIZE;
// The level line starts this far right of " Game ", in the window's font.
constexpr int32_t STATUS_GAP = 16;
// White, as the title of the active window, apart from the banner's gold.
constexpr uint16_t STATUS_TEXT = 0xFFFF;
// The line's parts are set apart by this much space.
constexpr const char* STATUS_SEPARATOR = "     ";

// The " Continue " window is open once at a time; its button lives here.
Button continueButton;
// The menu keeps pointers to its texts, so the level list's texts stay here.
char levelTexts[LEVEL_COUNT][LEVEL_TEXT_SIZE];

void levelListText(int32_t level) {
    char* text = levelTexts[level];
    const LevelBest& best = playerRecords.levels[level];
    if (best.completed && std::snprintf(text, LEVEL_TEXT_SIZE, "Level %d * %d", int(level),
                                        int(best.moves)) < LEVEL_TEXT_SIZE) {
        return;
    }
    // A move count too long for the list leaves the star alone.
    std::snprintf(text, LEVEL_TEXT_SIZE, best.completed ? "Level %d *" : "Level %d", int(level));
}

void setupGameMenuBar(Window& window) {
    menuBarInit(window.menuBar, 1, gameMenuOpen);
    buttonCreate(window.menuBar.buttons[0], GAME_BUTTON_X, 0, 0, " Game ", GAME_BUTTON_HOT_KEY,
                 CLICK_ON_PRESS);
}

// Where the level line goes: right of " Game " to the window's right edge,
// as high as the button.
Rect statusRect(const Window& window) {
    const Rect& button = window.menuBar.buttons[0].rect;
    const int32_t x = button.x + button.width + STATUS_GAP;
    return Rect{x, button.y, window.canvas.surface.width - x, button.height};
}

void drawStatus(Window& window) {
    const Rect r = statusRect(window);
    const Font& font = *window.canvas.font;
    playState.status = statusLine();
    drawText(window.canvas, playState.status.c_str(), r.x, r.y + ((r.height - font.height) >> 1),
             STATUS_TEXT, std::max(r.width, 1), &font);
}

// The menu bar and the level line, drawn over what the board left.
void drawGameMenuBar(Window& window) {
    menuBarDraw(window.menuBar);
    drawStatus(window);
}

void drawContinueButton(Window&) {
    buttonDraw(continueButton);
}

bool continueButtonFired(Window&) {
    return buttonUpdate(continueButton) != 0;
}

// A banner of font 4 in gold on dark blue, centred on the board: the level's
// number when it starts, "Paused" while the game stands still.
Rect bannerFor(const char* text) {
    const Font& font = builtinFont(BANNER_FONT);
    const int32_t width = textWidth(font, text, TEXT_MAX) + 2 * BANNER_PADDING_X;
    const int32_t height = font.height + 2 * BANNER_PADDING_Y;
    // Arithmetic shifts: a banner wider than a small board sits half a pixel
    // further left, never rounded towards the board.
    return Rect{boardView.originX + ((boardView.pixelWidth - width) >> 1),
                boardView.originY + ((boardView.pixelHeight - height) >> 1), width, height};
}

void drawBanner(WindowCanvas& canvas, const Rect& r, const char* text) {
    const int32_t x1 = r.x + r.width - 1;
    const int32_t y1 = r.y + r.height - 1;
    drawFilledRect(canvas, r.x, r.y, x1, y1, BANNER_FILL);
    drawRaisedBevel(canvas, r.x, r.y, x1, y1);
    drawText(canvas, text, r.x + BANNER_PADDING_X, r.y + BANNER_PADDING_Y, BANNER_TEXT, 0,
             &builtinFont(BANNER_FONT));
}

constexpr const char* PAUSED_TEXT = "Paused";

// ---------------------------------------------------------------------------

void createGame(Window& window) {
    levelFlow = LevelFlow{};
    playState.paused = 0;
    clearPictures();
    gameWindow = &window;
    dataMissing = 0;
    resetSaveNotices();

    // Without a search made at start-up the file is read from the current
    // folder, by its plain name.
    const char* dataFile =
        filePlaces.dataFile.empty() ? GAME_DATA_FILE : filePlaces.dataFile.c_str();
    if (!loadGameData(dataFile)) {
        dataMissing = 1;
        // The alert frees itself when dismissed; the game window closes
        // behind it, and with it the program.
        dialogAlert("Read error or file not found", "Fail to load game file:", dataFile);
        window.closeRequested = 1;
        return;
    }
    loadLevelTitles(titlesPathFor(dataFile));
    // A game without sound plays on, so the result does not matter.
    soundInit();
    effectsMuted = 0;
    setupGameMenuBar(window);
    if (!initBoardView(&window)) {
        window.closeRequested = 1;
        return;
    }
    openContinueWindow(0);
    // A damaged file is told of above the title picture.
    levelFlow.highestLevel = resumeLevelFrom(loadPlayerFiles());
    levelFlow.level = levelFlow.highestLevel;
}

// A level set up afresh: what was played before is forgotten.
void playLevel(int32_t level) {
    playState.paused = 0;
    startLevel(level);
    historyBegin(playState.history);
}

// R and "Restart Level": the same level afresh, and undo brings back the
// line played before.
void restartLevel() {
    playState.paused = 0;
    startLevel(levelFlow.level);
    historyRestart(playState.history);
}

// The board is hidden behind the banner of a level that has just started:
// the level's own timed steps go on, but an arrow does not move the player
// he cannot see.
bool boardHidden(uint32_t now) {
    return !levelFlow.boardVisible && now < levelFlow.bannerEnd;
}

// The board shows at once, without a banner: after undo or redo (even right
// after R), and behind "Paused".
void revealBoard(Window& window) {
    levelFlow.boardVisible = 1;
    levelFlow.bannerVisible = 0;
    if (inputState.now < levelFlow.bannerEnd) {
        levelFlow.bannerEnd = inputState.now;
    }
    window.redrawRequested = 1;
}

void completeLevel() {
    // The records take in the run before anything else: a level completed
    // with nothing left to play is a record too.
    if (noteCompletedRun(playerRecords, levelFlow.level, historyInputs(playState.history))) {
        saveRecords();
    }
    levelFlow.level++;
    if (levelFlow.level > LAST_LEVEL) {
        // levelComplete stays set: the game window gets no Tick while the
        // end picture is up, and the level that follows it starts afresh
        // when that window closes.
        levelFlow.level = 0;
        openContinueWindow(2);
        return;
    }
    if (levelFlow.level > levelFlow.highestLevel) {
        levelFlow.highestLevel = levelFlow.level;
        saveProgress(levelFlow.level);
    }
    playLevel(levelFlow.level);
}

// The keys that act on the whole game rather than step the board. True when
// the key was one of them: no step then on this pass, as for Page Up.
bool gameKey(Window& window, uint8_t key) {
    History& history = playState.history;
    switch (key) {
    case KEY_ESCAPE: window.closeRequested = 1; return true;
    case KEY_PAGE_UP:
        if (levelFlow.level < levelFlow.highestLevel) {
            playLevel(levelFlow.level + 1);
            levelFlow.boardVisible = 1;
        }
        return true;
    case KEY_PAGE_DOWN:
        if (levelFlow.level > 0) {
            playLevel(levelFlow.level - 1);
            levelFlow.boardVisible = 1;
        }
        return true;
    case KEY_R: restartLevel(); return true;
    case KEY_BACK:
    case KEY_U:
    case KEY_Y: {
        // Shift+U redoes: undo and redo on one key, as in the genre's
        // classics, and Backspace beside it for undo alone. Ctrl+Y redoes
        // too, for the hands of players used to desktop programs; Y alone
        // is no key of the game.
        const uint8_t* down = inputState.keys.down;
        if (key == KEY_Y && !down[KEY_CTRL]) {
            return false;
        }
        const bool redo = key == KEY_Y || (key == KEY_U && down[KEY_SHIFT]);
        if (redo ? historyRedo(history) : historyUndo(history)) {
            revealBoard(window);
        }
        return true;
    }
    case KEY_P:
        playState.paused = 1;
        revealBoard(window);
        return true;
    case KEY_M:
        effectsMuted = effectsMuted ? 0 : 1;
        if (effectsMuted) {
            stopEffects();
        }
        window.redrawRequested = 1;
        return false;
    case KEY_F1: openKeysWindow(); return false;
    default: return false;
    }
}

void tickGame(Window& window) {
    // A game that never got going (no data file, no board view) closes right
    // after this Tick with nothing to run. A quit request is different: the
    // last Tick still runs in full, so that a level completed just before it
    // is saved.
    if (!window.createDone) {
        return;
    }
    const uint32_t now = inputState.now;
    const uint8_t key = inputState.keys.lastKey;

    if (levelFlow.levelComplete) {
        completeLevel();
        return;
    }
    if (playState.paused) {
        // Any key goes on, and does nothing else; the board's next timed
        // step is a whole step away.
        if (key != 0) {
            playState.paused = 0;
            levelFlow.nextStep = now + STEP_MS;
            window.redrawRequested = 1;
        }
        return;
    }
    if (gameKey(window, key)) {
        return;
    }

    int32_t move = moveForKey(key);
    if (boardHidden(now)) {
        move = MOVE_NONE;
    }
    if (move != MOVE_NONE) {
        // Arrows step at once, key repeats included, whatever the time.
        levelFlow.moveRequest = move;
    } else if (now < levelFlow.nextStep) {
        // Unsigned on purpose, like every deadline of the program.
        return;
    }
    levelFlow.nextStep = now + STEP_MS;
    advanceBoard();
    historyRecord(playState.history, move);
    updateBoardView(true);
}

// The loop sleeps between passes: the game needs one at its next step, and
// at the banner's end while the banner is up. Paused, the board waits for a
// key, and a key wakes the loop by itself.
void wakeForGame(const Window& window) {
    if (!window.createDone) {
        return;
    }
    if (!playState.paused) {
        wakeAt(levelFlow.nextStep);
    }
    if (inputState.now < levelFlow.bannerEnd) {
        wakeAt(levelFlow.bannerEnd);
    }
}

void drawGame(Window& window) {
    canvasClear(window.canvas);
    updateBoardView(false);
    drawGameMenuBar(window);
    if (playState.paused && levelFlow.started) {
        drawBanner(window.canvas, bannerFor(PAUSED_TEXT), PAUSED_TEXT);
    }
}

void tickContinue(Window& window) {
    // Alt alone never sets lastKey, so it does not count as a key here.
    if (!continueButtonFired(window) && inputState.keys.lastKey == 0) {
        return;
    }
    window.redrawRequested = 1;
    if (continuePicture < 1) {
        continuePicture++;
    } else {
        window.closeRequested = 1;
    }
}

void drawContinue(Window& window) {
    canvasClear(window.canvas);
    drawContinueButton(window);
    if (const Surface* picture = pictureFor(continuePicture)) {
        surfaceBlit(*picture, window.canvas.surface, 0, 0);
    }
}

} // namespace

int32_t moveForKey(uint8_t key) {
    switch (key) {
    case KEY_RIGHT: return MOVE_RIGHT;
    case KEY_LEFT: return MOVE_LEFT;
    case KEY_UP: return MOVE_UP;
    case KEY_DOWN: return MOVE_DOWN;
    default: return MOVE_NONE;
    }
}

void continueButtonCreate(Button& button) {
    buttonCreate(button, CONTINUE_BUTTON_X, CONTINUE_BUTTON_Y, 0, " Continue ", 0,
                 CLICK_ON_RELEASE);
}

int32_t resumeLevelFrom(int32_t stored) {
    if (stored == LEVEL_COUNT) {
        return LAST_LEVEL;
    }
    if (stored > LEVEL_COUNT || stored < 0) {
        // The file stores 16 bits; a negative value is as damaged as a large one.
        return 0;
    }
    return stored;
}

int gameDataMissing() {
    return dataMissing ? 1 : 0;
}

void GameWindowProc(Window* window, uint32_t) {
    switch (window->message) {
    case Create: createGame(*window); break;
    case Tick:
        tickGame(*window);
        wakeForGame(*window);
        break;
    case Draw: drawGame(*window); break;
    case Size: centreBoard(); break;
    case Close:
        soundShutdown();
        // The window is freed right after this message; nothing may reach
        // it through the remembered pointer any more.
        if (gameWindow == window) {
            gameWindow = nullptr;
        }
        break;
    default: break;
    }
}

void ContinueWindowProc(Window* window, uint32_t) {
    switch (window->message) {
    case Create:
        continueButtonCreate(continueButton);
        levelFlow.started = 0;
        break;
    case Tick: tickContinue(*window); break;
    case Draw: drawContinue(*window); break;
    case Close:
        // Closing by the close box starts the level just the same.
        levelFlow.started = 1;
        playLevel(levelFlow.level);
        break;
    default: break;
    }
}

void startLevel(int32_t level) {
    // Every caller stays within 0 to 50; a level outside would read past the
    // level table, so it is taken as the first.
    if (level < 0 || level > LAST_LEVEL) {
        level = 0;
    }
    levelFlow.level = level;
    levelFlow.levelComplete = 0;
    levelFlow.boardVisible = 0;
    levelFlow.nextStep = inputState.now;
    loadLevel(levelRecords[level]);
    layoutBanner();
    if (gameWindow != nullptr) {
        gameWindow->redrawRequested = 1;
    }
}

void layoutBanner() {
    std::snprintf(levelFlow.bannerText, sizeof levelFlow.bannerText, "Level %d",
                  int(levelFlow.level));
    levelFlow.bannerRect = bannerFor(levelFlow.bannerText);
    levelFlow.bannerEnd = inputState.now + BANNER_MS;
}

std::string statusLine() {
    std::string line = "Level " + std::to_string(levelFlow.level);
    if (levelFlow.level >= 0 && levelFlow.level < LEVEL_COUNT &&
        levelTitles.text[levelFlow.level][0] != 0) {
        line += std::string(": ") + levelTitles.text[levelFlow.level];
    }
    line += STATUS_SEPARATOR;
    line += "Moves " + std::to_string(historyMoves(playState.history));
    if (effectsMuted) {
        line += STATUS_SEPARATOR;
        line += "Sound off";
    }
    return line;
}

// A step paints only what it can change: the board, with the reach of its
// lights and its shadows when they changed (drawBoardStep), and the level
// line when the move count moved. What it leaves on the screen is exactly
// the picture a fresh drawing gives, however long the level runs: light added
// on light would otherwise pile up on the holes of the board.
void updateBoardView(bool fromTick) {
    if (!levelFlow.started || gameWindow == nullptr) {
        return;
    }
    if (inputState.now < levelFlow.bannerEnd) {
        levelFlow.bannerVisible = 1;
    } else {
        levelFlow.boardVisible = 1;
        if (levelFlow.bannerVisible) {
            // The next Draw repaints the whole window without the banner.
            levelFlow.bannerVisible = 0;
            gameWindow->redrawRequested = 1;
            return;
        }
    }
    Window& window = *gameWindow;
    WindowCanvas& canvas = window.canvas;
    Rect painted{boardView.originX, boardView.originY, boardView.pixelWidth, boardView.pixelHeight};
    const bool statusMoved = fromTick && statusLine() != playState.status;
    if (statusMoved) {
        currentFillRect(statusRect(window), canvas.background);
    }
    if (levelFlow.boardVisible) {
        if (fromTick) {
            painted = drawBoardStep(canvas.background);
        } else {
            drawBoard();
            drawBoardShadows();
        }
    }
    if (levelFlow.bannerVisible) {
        drawBanner(canvas, levelFlow.bannerRect, levelFlow.bannerText);
    }
    if (fromTick) {
        // Light falls on the menu bar's row too when the board reaches up to
        // it, and the level line may have changed.
        drawGameMenuBar(window);
        // Straight to the screen: a step of the board changes nothing else,
        // and the desktop's composition would copy the whole window.
        blitRectToScreen(canvas.bitmap, window.x + painted.x, window.y + painted.y, painted.width,
                         painted.height, painted.x, painted.y);
        if (statusMoved) {
            const Rect status = statusRect(window);
            blitRectToScreen(canvas.bitmap, window.x + status.x, window.y + status.y, status.width,
                             status.height, status.x, status.y);
        }
    }
}

void openContinueWindow(int32_t picture) {
    continuePicture = picture;
    createWindow(desktop, -1, -1, CONTINUE_WIDTH, CONTINUE_HEIGHT, "Gloomhold", GAME_WINDOW_STYLE,
                 ContinueWindowProc, 0);
}

// ---- The About window and the window of keys ------------------------------

namespace {

constexpr int32_t ABOUT_WIDTH = 230;
constexpr int32_t ABOUT_HEIGHT = 180;
constexpr int32_t ABOUT_MIN_WIDTH = 200;
constexpr int32_t ABOUT_MIN_HEIGHT = 100;

// Every line fits the window's 230 pixels in font 0 (32 characters), so
// nothing wraps. The site, the author and the address are the project's
// own; the .example domain is reserved, so they can never lead a player to
// somebody else's door.
constexpr const char* ABOUT_TEXT = "\n"
                                   "       Gloomhold for PC.\n"
                                   "\n"
                                   "\n"
                                   " Visit www.gloomhold.example for\n"
                                   "   new levels and game editor.\n"
                                   "\n"
                                   " Made with Oxel user interface.\n"
                                   "\n"
                                   "     Author The Gloomhold Team.\n"
                                   "       team@gloomhold.example\n";

// Wide enough for 40 characters of font 0 beside the scroll bar, and high
// enough for every line.
constexpr int32_t KEYS_WIDTH = 300;
constexpr int32_t KEYS_HEIGHT = 330;

constexpr const char* KEYS_TEXT = "\n"
                                  " Arrows        walk; walk into a thing\n"
                                  "               to push it\n"
                                  " Backspace, U  undo a move, or R\n"
                                  " Shift+U       redo\n"
                                  " Ctrl+Y        redo\n"
                                  " R             restart the level\n"
                                  " Page Up       the next level reached\n"
                                  " Page Down     the level before\n"
                                  " P             pause; any key goes on\n"
                                  " M             sound effects off, on\n"
                                  " Alt+G         the Game menu\n"
                                  " F1            these keys\n"
                                  " Escape        quit; in a window,\n"
                                  "               close it (Enter too)\n"
                                  " Ctrl+Plus     a larger zoom\n"
                                  " Ctrl+Minus    a smaller zoom\n"
                                  " Ctrl+0        the display's own zoom\n"
                                  " Alt+Enter     full screen, and back\n"
                                  "\n"
                                  " While the level's number shows, the\n"
                                  " arrows wait: the board is hidden.\n";

// One text window is open at a time: each is modal over the game.
TextBox textWindowBox;

// The About window and the window of keys differ only by their text and
// bar: a text box over the whole client area, and Escape or Enter closes.
void textWindowMessage(Window& window, const char* text, bool verticalBar) {
    switch (window.message) {
    case Create:
        setMinimumSize(window, ABOUT_MIN_WIDTH, ABOUT_MIN_HEIGHT);
        textBoxCreate(textWindowBox, 0, 0, window.canvas.surface.width,
                      window.canvas.surface.height, text, nullptr, false, verticalBar, nullptr);
        break;
    case Tick:
        if (inputState.keys.lastKey == KEY_ESCAPE || inputState.keys.lastKey == KEY_ENTER) {
            window.closeRequested = 1;
            break;
        }
        textBoxUpdate(textWindowBox, nullptr);
        break;
    case Draw:
        canvasClear(window.canvas);
        textBoxDraw(textWindowBox);
        break;
    case Close: textBoxFree(textWindowBox); break;
    default: break; // Size: the box keeps the size it was made with
    }
}

} // namespace

void openAboutWindow() {
    createWindow(desktop, -1, -1, ABOUT_WIDTH, ABOUT_HEIGHT, "About", GAME_WINDOW_STYLE,
                 AboutWindowProc, 0);
}

void openKeysWindow() {
    createWindow(desktop, -1, -1, KEYS_WIDTH, KEYS_HEIGHT, "Keys", GAME_WINDOW_STYLE,
                 KeysWindowProc, 0);
}

void AboutWindowProc(Window* window, uint32_t) {
    textWindowMessage(*window, ABOUT_TEXT, false);
}

void KeysWindowProc(Window* window, uint32_t) {
    textWindowMessage(*window, KEYS_TEXT, true);
}

// ---- The game menu -----------------------------------------------------------

namespace {

enum : int32_t {
    MENU_RESTART = 0,
    MENU_ACCESS_LEVEL = 2,
    MENU_ABOUT = 4,
    MENU_EXIT = 5,
};

} // namespace

void gameMenuOpen(int32_t buttonIndex) {
    if (gameWindow == nullptr || buttonIndex != 0) {
        return;
    }
    PopupMenu& menu = desktop.popupMenu;
    popupBegin(menu, 0, 0);
    popupAdd(menu, MENU_COMMAND, 0, 0, "Restart Level", 1, true);
    popupAdd(menu, MENU_SEPARATOR, 0, 0, nullptr, 0, false);
    popupAdd(menu, MENU_SUBMENU, 0, 0, "Access Level", 1, true);
    popupAdd(menu, MENU_SEPARATOR, 0, 0, nullptr, 0, false);
    popupAdd(menu, MENU_COMMAND, 0, 0, "About", 2, true);
    popupAdd(menu, MENU_COMMAND, 0, 0, "Exit", 2, true);
    const Rect& button = gameWindow->menuBar.buttons[0].rect;
    popupOpen(menu, button.x, button.y + button.height, gameMenuChosen, nullptr, nullptr, 0);
}

void gameMenuChosen() {
    PopupMenu& menu = desktop.popupMenu;
    if (menu.current == nullptr) {
        return;
    }
    const int32_t chosen = menu.current->selected;
    int32_t x = 0;
    int32_t y = 0;
    popupQuery(menu, x, y);
    switch (chosen) {
    case MENU_RESTART:
        restartLevel();
        popupClose(menu);
        break;
    case MENU_ACCESS_LEVEL:
        // The first level stays open beneath the list.
        popupBegin(menu, 0, 0);
        for (int32_t level = 0; level <= levelFlow.highestLevel && level < LEVEL_COUNT; level++) {
            levelListText(level);
            popupAdd(menu, MENU_COMMAND, 0, 0, levelTexts[level], 0, true);
        }
        popupOpen(menu, x, y, levelChosen, nullptr, nullptr, 0);
        break;
    case MENU_ABOUT:
        // Creating the window closes the menu already; closing it again
        // does nothing.
        openAboutWindow();
        popupClose(menu);
        break;
    case MENU_EXIT:
        if (gameWindow != nullptr) {
            gameWindow->closeRequested = 1;
        }
        popupClose(menu);
        break;
    default: popupClose(menu); break;
    }
}

void levelChosen() {
    PopupMenu& menu = desktop.popupMenu;
    if (menu.current != nullptr) {
        // The list holds one item per level, level 0 first.
        playLevel(menu.current->selected);
    }
    popupClose(menu);
}
