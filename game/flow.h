#pragma once
// The level flow: which level is played, the step timer and the banner (the
// LevelFlow record, which the rules share, is in game/state.h). The game window is the
// desktop's own window; the " Continue " window shows the title pictures
// above it.
#include "game/history.h"
#include "game/state.h"
#include <cstdint>
#include <string>

struct Window;

// The game window, remembered when it is created; null before that and after
// it has closed.
extern Window* gameWindow;
// Which title picture the " Continue " window shows: 0 and 1 at the start,
// 2 after the last level.
extern int32_t continuePicture;

// What the game window keeps beside the level flow for the player: the
// inputs of the level in play (for undo, redo, the move count and the
// records), whether the game is paused, and the line shown beside " Game ".
struct PlayState {
    History history;
    uint32_t paused;
    std::string status; // as last drawn
};

extern PlayState playState;

// The name of the file the game window loads its content from; where it is
// looked for is the start-up's search (toolkit/places.h).
constexpr const char* GAME_DATA_FILE = "GHold.dat";
// Milliseconds between timed steps of the board, and how long the level
// banner stays up.
constexpr uint32_t STEP_MS = 100;
constexpr uint32_t BANNER_MS = 1200;
constexpr int32_t BANNER_FONT = 4;
constexpr uint16_t BANNER_FILL = 0x1893;
constexpr uint16_t BANNER_TEXT = 0xD5E0;
constexpr int32_t CONTINUE_WIDTH = 256;
constexpr int32_t CONTINUE_HEIGHT = 288;
// Where the " Continue " window's button stands, in its client area.
constexpr int32_t CONTINUE_BUTTON_X = 90;
constexpr int32_t CONTINUE_BUTTON_Y = 262;

// Keys of the game beyond the arrows, Page Up, Page Down, R and Escape.
// Letters arrive as their upper-case codes.
enum : uint8_t {
    KEY_M = 0x4D,  // sound effects off and on
    KEY_P = 0x50,  // pause; any key goes on
    KEY_U = 0x55,  // undo; with Shift, redo (Backspace undoes too)
    KEY_Y = 0x59,  // with Ctrl, redo
    KEY_F1 = 0x70, // the window that lists the keys
};

void GameWindowProc(Window* window, uint32_t param);
void ContinueWindowProc(Window* window, uint32_t param);
// The About window and the window of keys (F1): a text box over the whole
// client area; Escape and Enter close them.
void AboutWindowProc(Window* window, uint32_t param);
void KeysWindowProc(Window* window, uint32_t param);
void openAboutWindow();
void openKeysWindow();

// The move an arrow key asks for, MOVE_NONE for any other key: the game
// window and the level editor's play-test read the keys alike.
int32_t moveForKey(uint8_t key);

void startLevel(int32_t level);
void layoutBanner();
// The level line beside " Game ": the level, its title when the titles file
// gave one, the moves made, and whether the sound effects are off.
std::string statusLine();
// fromTick is true on a Tick (the board's rectangle then goes straight to the
// screen), false on a Draw.
void updateBoardView(bool fromTick);
void openContinueWindow(int32_t picture);
// The " Continue " button as its window creates it. The title-picture
// generator draws the very same button into every picture, since the window
// shows the picture over its whole client area, button included.
struct Button;
void continueButtonCreate(Button& button);

// The game menu: the callback of the game window's menu bar, and the
// selection callbacks of the menu and of its level list.
void gameMenuOpen(int32_t buttonIndex);
void gameMenuChosen();
void levelChosen();

// What the progress file's stored level means for where play resumes: above
// 51 it is taken for damage (0), exactly 51 is one past the last level (50).
int32_t resumeLevelFrom(int32_t stored);

// 1 when the game window could not load GHold.dat in this run. The player
// is told in a dialog; the program still ends with a failure status, so that
// whatever started it can tell a game that never ran from one that was quit.
int gameDataMissing();
