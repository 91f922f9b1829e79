#pragma once
// The level editor's own window, the bottom window of its desktop: the menu
// bar, the board drawn as the game draws it, the palette, the layer check
// boxes and the status line, and the keys and the mouse that edit the level.
#include "toolkit/controls.h"
#include "toolkit/window.h"
#include <cstdint>
#include <string>

// The editor's least desktop: the largest board, the palette beside it and
// two rows below.
constexpr int32_t EDITOR_DESKTOP_WIDTH = 800;
constexpr int32_t EDITOR_DESKTOP_HEIGHT = 520;
// Its settings file beside the game's, so that neither takes the other's
// window size.
constexpr const char* EDITOR_CONFIG_FILE = "EditCfg.txt";

enum : int32_t {
    LAYER_BOX_FLOOR = 0,
    LAYER_BOX_OBJECT = 1,
    LAYER_BOX_TOP = 2,
    GRID_BOX = 3,
    VIEW_BOXES = 4,
};

struct Editor {
    Window* window; // null before Create and after Close
    Rect boardArea; // the room of the largest board, client coordinates
    CheckBox viewBoxes[VIEW_BOXES];
    int32_t cursorX, cursorY;
    uint32_t painting; // a stroke of the left button is under way
    int32_t menu;      // the menu bar's title whose menu is open
    // What the command line named: a level text, an asset folder, or
    // nothing for a new level.
    std::string startPath;
    // The asset folder the level belongs to, when known: its levels are
    // listed in the File menu and Pack builds a data file from it.
    std::string assetFolder;
    std::string note;      // the status line's last word on a command
    uint32_t closeAgreed;  // the user agreed to lose the changes on closing
    uint32_t closeRefused; // a close was refused for the changes; the next Tick asks
};

extern Editor editor;

void EditorWindowProc(Window* window, uint32_t param);

// The cell of the board under a client position; false off the level.
bool cellAt(int32_t clientX, int32_t clientY, int32_t& x, int32_t& y);
// Places the board in its area, centred as the game centres it.
void placeBoard();
// The whole window is drawn again on the next pass.
void editorRedraw();
// Replays a solution on the level as verify does. The replay sets the rules'
// records up afresh, the board's view among them: the board is given back
// to the editor's window afterwards.
struct ReplayResult;
ReplayResult editorReplay(const std::string& solution);
