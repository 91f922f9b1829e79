#include "editor/editor.h"

#include "editor/commands.h"
#include "editor/document.h"
#include "editor/palette.h"
#include "editor/playtest.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/render.h"
#include "toolkit/desktop.h"
#include "toolkit/font.h"
#include "toolkit/places.h"
#include "tools/verify.h"
#include "widgets/button.h"
#include "widgets/msgbox.h"

#include <algorithm>

Editor editor;

namespace {

constexpr int32_t MARGIN = 6;
constexpr int32_t ROW_HEIGHT = 16; // a row of text in font 3, or a check box and its label
constexpr int32_t TEXT_FONT = 3;
// The gap from a check box to its label, and from a label to the next box.
constexpr int32_t LABEL_GAP = 5;
constexpr int32_t BOX_GAP = 16;
constexpr int32_t MENU_X = 16;
constexpr int32_t MENU_HOT_KEY = 2; // the letter after the space: " File "
constexpr uint8_t KEY_S = 'S';
constexpr uint8_t KEY_Y = 'Y';
constexpr uint8_t KEY_Z = 'Z';
constexpr int32_t CURSOR_RING = 2;
const uint16_t GRID_COLOUR = pixelFrom8(160, 160, 160);
const uint16_t CURSOR_COLOUR = pixelFrom8(255, 224, 0);

constexpr const char* MENU_TITLES[] = {" File ", " Edit ", " Test "};
constexpr const char* VIEW_LABELS[VIEW_BOXES] = {"Floor", "Objects", "Top", "Grid"};
constexpr const char* VIEW_TIPS[VIEW_BOXES] = {"Show the floor layer", "Show the object layer",
                                               "Show the top layer", "Show the grid"};
constexpr const char* LAYER_NAMES[3] = {"floor", "object", "top"};

uint16_t textColour() {
    return styleColour(COLOUR_TITLE_TEXT_ACTIVE);
}

const Font& textFont() {
    return builtinFont(TEXT_FONT);
}

int32_t rowY(int32_t row) {
    return editor.boardArea.y + editor.boardArea.height + MARGIN + row * ROW_HEIGHT;
}

void setupMenuBar(Window& window) {
    MenuBar& bar = window.menuBar;
    menuBarInit(bar, int32_t(std::size(MENU_TITLES)), editorMenuOpen);
    int32_t x = MENU_X;
    for (int32_t i = 0; i < bar.count; i++) {
        buttonCreate(bar.buttons[i], x, 0, 0, MENU_TITLES[i], MENU_HOT_KEY, CLICK_ON_PRESS);
        x += bar.buttons[i].rect.width;
    }
}

void layOut(Window& window) {
    const Surface& surface = window.canvas.surface;
    const int32_t top = window.menuBar.buttons[0].rect.height + MARGIN;
    setRect(editor.boardArea, MARGIN, top, BOARD_COLUMNS * TILE_SIZE, BOARD_ROWS * TILE_SIZE);
    const int32_t paneX = editor.boardArea.x + editor.boardArea.width + MARGIN;
    paletteLayout(palette,
                  Rect{paneX, top, surface.width - paneX - MARGIN, surface.height - top - MARGIN});
    int32_t x = editor.boardArea.x;
    for (int32_t i = 0; i < VIEW_BOXES; i++) {
        CheckBox& box = editor.viewBoxes[i];
        const uint32_t checked = box.rect.width == 0 ? 1 : box.checked;
        checkBoxCreate(box, x, rowY(0) + (ROW_HEIGHT - box.rect.height) / 2, VIEW_TIPS[i]);
        box.checked = checked;
        x += box.rect.width + LABEL_GAP + textWidth(textFont(), VIEW_LABELS[i], TEXT_MAX) + BOX_GAP;
    }
    placeBoard();
}

void createEditor(Window& window) {
    editor.window = &window;
    const char* dataFile =
        filePlaces.dataFile.empty() ? GAME_DATA_FILE : filePlaces.dataFile.c_str();
    // The board and the palette are drawn with the game's own pictures.
    if (!loadGameData(dataFile)) {
        dialogAlert("Read error or file not found", "Fail to load game file:", dataFile);
        window.closeRequested = 1;
        editor.closeAgreed = 1;
        return;
    }
    setupMenuBar(window);
    initBoardView(&window);
    for (CheckBox& box : editor.viewBoxes) {
        box = CheckBox{};
    }
    layOut(window);
    openStartDocument();
}

// The board shows the level being edited, or the play-test's own.
void showLevel() {
    if (playTest.running) {
        return;
    }
    bool shown[3];
    for (int32_t layer = 0; layer < 3; layer++) {
        shown[layer] = editor.viewBoxes[layer].checked != 0;
    }
    loadLevel(shownLevel(document.level, shown));
    placeBoard();
}

void drawGrid(WindowCanvas& canvas) {
    const int32_t x0 = boardView.originX, y0 = boardView.originY;
    const int32_t x1 = x0 + boardView.pixelWidth, y1 = y0 + boardView.pixelHeight;
    for (int32_t x = x0; x <= x1; x += TILE_SIZE) {
        drawDottedVLine(canvas, x, y0, y1, GRID_COLOUR);
    }
    for (int32_t y = y0; y <= y1; y += TILE_SIZE) {
        drawDottedHLine(canvas, x0, x1, y, GRID_COLOUR);
    }
}

void drawCursor(WindowCanvas& canvas) {
    const int32_t x = boardView.originX + editor.cursorX * TILE_SIZE;
    const int32_t y = boardView.originY + editor.cursorY * TILE_SIZE;
    for (int32_t ring = 0; ring < CURSOR_RING; ring++) {
        drawRectOutline(canvas, x + ring, y + ring, x + TILE_SIZE - ring, y + TILE_SIZE - ring,
                        CURSOR_COLOUR);
    }
}

void drawBoardArea(WindowCanvas& canvas) {
    const Rect& area = editor.boardArea;
    showLevel();
    // Shadows and a lit torch's glow reach past the board; the area keeps
    // them off the palette.
    surfaceSetClip(canvas.surface, area.x, area.y, area.x + area.width, area.y + area.height);
    drawBoard();
    drawBoardShadows();
    if (editor.viewBoxes[GRID_BOX].checked) {
        drawGrid(canvas);
    }
    if (!playTest.running) {
        drawCursor(canvas);
    }
    surfaceResetClip(canvas.surface);
    drawSunkenBevel(canvas, area.x - 1, area.y - 1, area.x + area.width, area.y + area.height);
}

std::string cellStatus() {
    const LevelRecord& r = document.level.record;
    const int32_t x = editor.cursorX, y = editor.cursorY;
    std::string text = "Cell " + std::to_string(x) + ", " + std::to_string(y) + ":";
    for (int32_t layer = 0; layer < 3; layer++) {
        const int32_t code = r.cells[x][y][layer];
        text += std::string(layer == 0 ? " " : ", ") + LAYER_NAMES[layer] + " " +
                std::to_string(code) + " " + elementLabel(code);
    }
    return text;
}

std::string fileStatus() {
    const LevelRecord& r = document.level.record;
    std::string text = document.path.empty() ? "(new level)" : document.path;
    if (documentChanged(document)) {
        text += " *";
    }
    text += "   " + std::to_string(r.width) + " x " + std::to_string(r.height);
    if (!document.level.title.empty()) {
        text += "   \"" + document.level.title + "\"";
    }
    if (!editor.note.empty()) {
        text += "   " + editor.note;
    }
    return text;
}

void drawRows(WindowCanvas& canvas) {
    const Font& font = textFont();
    const int32_t textY = (ROW_HEIGHT - font.height) / 2;
    const int32_t width = editor.boardArea.width;
    int32_t right = editor.boardArea.x;
    for (int32_t i = 0; i < VIEW_BOXES; i++) {
        const Rect& box = editor.viewBoxes[i].rect;
        right = box.x + box.width + LABEL_GAP;
        right += drawText(canvas, VIEW_LABELS[i], right, rowY(0) + textY, textColour(), 0, &font);
    }
    const std::string brush = "Paints " + elementLabel(paletteCode(palette)) + " into the " +
                              LAYER_NAMES[paletteLayer(palette)] + " layer";
    drawText(canvas, brush.c_str(), right + BOX_GAP, rowY(0) + textY, textColour(),
             editor.boardArea.x + width - right - BOX_GAP, &font);
    const std::string status = playTest.running ? playTestStatus() : cellStatus();
    drawText(canvas, status.c_str(), editor.boardArea.x, rowY(1) + textY, textColour(), width,
             &font);
    drawText(canvas, fileStatus().c_str(), editor.boardArea.x, rowY(2) + textY, textColour(), width,
             &font);
    for (CheckBox& box : editor.viewBoxes) {
        checkBoxDraw(box);
    }
}

void drawEditor(Window& window) {
    // An undone resize may leave the cursor beyond the level.
    const LevelRecord& r = document.level.record;
    editor.cursorX = std::min(editor.cursorX, r.width - 1);
    editor.cursorY = std::min(editor.cursorY, r.height - 1);
    WindowCanvas& canvas = window.canvas;
    canvasClear(canvas);
    drawBoardArea(canvas);
    paletteDraw(palette);
    drawRows(canvas);
    menuBarDraw(window.menuBar);
    // Last, so that a tooltip lies over whatever is next to its element.
    paletteDrawTooltips(palette);
}

// ---- Editing with the mouse and the keys -----------------------------------

void paintAt(int32_t x, int32_t y) {
    if (setCell(document.level, x, y, paletteLayer(palette), paletteCode(palette))) {
        editor.note.clear();
        editorRedraw();
    }
}

// The element under the pointer: the uppermost layer that holds one.
void pickAt(int32_t x, int32_t y) {
    const int8_t* cell = document.level.record.cells[x][y];
    for (int32_t layer = 2; layer >= 0; layer--) {
        if ((cell[layer] != EMPTY || layer == 0) && paletteChoose(palette, layer, cell[layer])) {
            editorRedraw();
            return;
        }
    }
}

void moveCursorTo(int32_t x, int32_t y) {
    const LevelRecord& r = document.level.record;
    x = std::clamp(x, 0, r.width - 1);
    y = std::clamp(y, 0, r.height - 1);
    if (x != editor.cursorX || y != editor.cursorY) {
        editor.cursorX = x;
        editor.cursorY = y;
        editorRedraw();
    }
}

void endStroke() {
    if (editor.painting) {
        editor.painting = 0;
        documentDropMarkIfSame(document);
    }
}

void editWithMouse(Window& window) {
    MouseState& mouse = inputState.mouse;
    int32_t x = 0, y = 0;
    const bool onCell = window.active && cellAt(mouse.x - window.x, mouse.y - window.y, x, y);
    if (onCell && mouse.moved) {
        moveCursorTo(x, y);
    }
    if (onCell && mouse.leftPressed) {
        mouse.leftPressed = 0;
        // A whole stroke of the button is one step of undo.
        documentMark(document);
        editor.painting = 1;
        paintAt(x, y);
    } else if (editor.painting && onCell && mouse.moved) {
        paintAt(x, y);
    }
    if (mouse.leftReleased) {
        endStroke();
    }
    if (onCell && mouse.rightPressed) {
        mouse.rightPressed = 0;
        pickAt(x, y);
    }
}

bool controlHeld() {
    return inputState.keys.down[KEY_CTRL] != 0;
}

// The keys the editor and the play-test share.
bool commandKey(uint8_t key) {
    if (controlHeld() && key == KEY_Z) {
        commandUndo();
    } else if (controlHeld() && key == KEY_Y) {
        commandRedo();
    } else if (key == KEY_F5) {
        playTest.running ? playTestStop() : playTestStart();
    } else {
        return false;
    }
    return true;
}

void editWithKeys() {
    const uint8_t key = inputState.keys.lastKey;
    if (key == 0 || commandKey(key)) {
        return;
    }
    switch (key) {
    case KEY_LEFT: moveCursorTo(editor.cursorX - 1, editor.cursorY); break;
    case KEY_RIGHT: moveCursorTo(editor.cursorX + 1, editor.cursorY); break;
    case KEY_UP: moveCursorTo(editor.cursorX, editor.cursorY - 1); break;
    case KEY_DOWN: moveCursorTo(editor.cursorX, editor.cursorY + 1); break;
    case KEY_SPACE:
        documentMark(document);
        paintAt(editor.cursorX, editor.cursorY);
        documentDropMarkIfSame(document);
        break;
    case KEY_F6: commandVerify(); break;
    case KEY_S:
        if (controlHeld()) {
            commandSave();
        }
        break;
    default: break;
    }
}

bool viewBoxToggled() {
    for (CheckBox& box : editor.viewBoxes) {
        if (checkBoxUpdate(box)) {
            editorRedraw();
            return true;
        }
    }
    return false;
}

void tickEditor(Window& window) {
    if (!window.createDone) {
        return;
    }
    // Closing with changes not saved asks first; the window stays meanwhile.
    if ((window.closeRequested || editor.closeRefused) && !editor.closeAgreed &&
        documentChanged(document)) {
        window.closeRequested = 0;
        editor.closeRefused = 0;
        whenDiscardAgreed([] {
            editor.closeAgreed = 1;
            editor.window->closeRequested = 1;
        });
        return;
    }
    commandsTick();
    if (viewBoxToggled()) {
        return;
    }
    if (playTest.running) {
        const uint8_t key = inputState.keys.lastKey;
        if (key == 0 || !commandKey(key)) {
            playTestTick();
        }
        return;
    }
    editWithMouse(window);
    if (!editor.painting && paletteUpdate(palette)) {
        return;
    }
    editWithKeys();
}

} // namespace

bool cellAt(int32_t clientX, int32_t clientY, int32_t& x, int32_t& y) {
    const int32_t dx = clientX - boardView.originX, dy = clientY - boardView.originY;
    if (dx < 0 || dy < 0) {
        return false;
    }
    x = dx / TILE_SIZE;
    y = dy / TILE_SIZE;
    return x < document.level.record.width && y < document.level.record.height;
}

void placeBoard() {
    const Rect& area = editor.boardArea;
    const LevelRecord& r = document.level.record;
    boardView.pixelWidth = r.width * TILE_SIZE;
    boardView.pixelHeight = r.height * TILE_SIZE;
    boardView.originX = area.x + (area.width - boardView.pixelWidth) / 2;
    boardView.originY = area.y + (area.height - boardView.pixelHeight) / 2;
}

ReplayResult editorReplay(const std::string& solution) {
    const ReplayResult result = replaySolution(document.level.record, solution);
    boardView.window = editor.window;
    placeBoard();
    editorRedraw();
    return result;
}

void editorRedraw() {
    if (editor.window != nullptr) {
        editor.window->redrawRequested = 1;
    }
}

void EditorWindowProc(Window* window, uint32_t) {
    switch (window->message) {
    case Create: createEditor(*window); break;
    case Tick: tickEditor(*window); break;
    case Draw: drawEditor(*window); break;
    case Size:
        if (editor.window != nullptr) {
            layOut(*window);
        }
        break;
    case Close:
        // A close that comes without a Tick (the program's end) is refused
        // too while changes would be lost; the next Tick asks.
        if (!editor.closeAgreed && documentChanged(document)) {
            window->closeRequested = 0;
            editor.closeRefused = 1;
            return;
        }
        endStroke();
        if (playTest.running) {
            playTestStop();
        }
        editor.window = nullptr;
        break;
    default: break;
    }
}
