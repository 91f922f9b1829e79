#include "editor/commands.h"

#include "editor/document.h"
#include "editor/editor.h"
#include "editor/playtest.h"
#include "game/flow.h"
#include "game/gamedata.h"
#include "tools/assets.h"
#include "tools/pack.h"
#include "tools/verify.h"
#include "widgets/msgbox.h"
#include "widgets/popup.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

enum : int32_t {
    MENU_FILE = 0,
    MENU_EDIT = 1,
    MENU_TEST = 2,
};

// The items of each menu, by their place in it (separators count).
enum : int32_t {
    FILE_NEW = 0,
    FILE_OPEN = 1,
    FILE_LEVELS = 2,
    FILE_SAVE = 4,
    FILE_SAVE_AS = 5,
    FILE_PACK = 7,
    FILE_EXIT = 9,
};
enum : int32_t {
    EDIT_UNDO = 0,
    EDIT_REDO = 1,
    EDIT_SIZE = 3,
    EDIT_TITLE = 4,
};
enum : int32_t {
    TEST_PLAY = 0,
    TEST_VERIFY = 1,
};

// A file name typed into a dialog; the dialogs edit copies until confirmed.
constexpr int32_t NAME_SIZE = 256;
char nameBuffer[NAME_SIZE];
char nameWork[NAME_SIZE];
// The title field; the level format keeps a title to one line.
constexpr int32_t TITLE_SIZE = 64;
char titleBuffer[TITLE_SIZE];
char titleWork[TITLE_SIZE];
int32_t sizeWidth, sizeHeight;

// The texts of the dialog on screen: a dialog keeps pointers, not copies.
std::string messageTitle, messageFirst, messageSecond;
char levelTexts[LEVEL_COUNT][16];

void (*pendingAction)();
std::string pendingPath;

void runPending() {
    if (pendingAction != nullptr) {
        void (*action)() = pendingAction;
        pendingAction = nullptr;
        action();
    }
}

// A dialog's confirmation runs during the dialog's own Tick, while its
// window is still on the stack: a window opened then would lie above it and
// be the one the desktop closes. So what a confirmation asks for waits for
// the editor window's next Tick, when the dialog has gone.
void (*onConfirm)();
void (*deferred)();

void confirmed() {
    deferred = onConfirm;
}

void show(std::unique_ptr<Dialog> d, const char* title, void (*action)()) {
    onConfirm = action;
    dialogShow(std::move(d), title, action != nullptr ? confirmed : nullptr, nullptr);
}

std::string trimmed(const char* text) {
    std::string s = text;
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The asset folder a level text lies in: DIR for DIR/levels/levelNN.txt
// when DIR holds the sprites' index too.
std::string assetFolderOf(const std::string& levelPath) {
    std::error_code error;
    const fs::path levels = fs::absolute(levelPath, error).parent_path();
    if (error || levels.filename() != "levels") {
        return {};
    }
    const fs::path folder = levels.parent_path();
    return fs::is_regular_file(folder / SPRITE_INDEX_PATH, error) ? folder.string() : std::string{};
}

// A level opened or saved in an asset folder makes that folder the one the
// editor lists and packs; a new level, or one elsewhere, keeps the folder
// there was.
void adoptAssetFolder(const std::string& levelPath) {
    if (const std::string folder = assetFolderOf(levelPath); !folder.empty()) {
        editor.assetFolder = folder;
    }
}

void documentOpened() {
    adoptAssetFolder(document.path);
    editor.cursorX = editor.cursorY = 0;
    editor.note.clear();
    editorRedraw();
}

void openPending() {
    std::string reason;
    if (!documentOpen(document, pendingPath, reason)) {
        showFileError("Cannot open the level", pendingPath, reason);
        return;
    }
    documentOpened();
}

void newLevel() {
    documentNew(document);
    documentOpened();
}

void openNamed() {
    pendingPath = trimmed(nameBuffer);
    openPending();
}

void openNamedWhenAgreed() {
    whenDiscardAgreed(openNamed);
}

void saveNamed() {
    const std::string path = trimmed(nameBuffer);
    if (path.empty()) {
        return;
    }
    const std::string reason = documentSave(document, path);
    if (!reason.empty()) {
        showFileError("Cannot save the level", path, reason);
        return;
    }
    adoptAssetFolder(path);
    editor.note = "Saved " + path;
    editorRedraw();
}

void askFileName(const char* title, const char* label, void (*onOk)()) {
    std::snprintf(nameBuffer, NAME_SIZE, "%s",
                  document.path.empty() ? "level.txt" : document.path.c_str());
    std::unique_ptr<Dialog> d = dialogCreate();
    if (!d) {
        return;
    }
    dialogAddBlank(*d);
    dialogAddString(*d, label, nameBuffer, NAME_SIZE, nameWork);
    dialogAddBlank(*d);
    dialogAddButtons(*d, DIALOG_OK_CANCEL);
    show(std::move(d), title, onOk);
}

void sizeChosen() {
    if (documentResize(document, sizeWidth, sizeHeight)) {
        editorRedraw();
    }
}

void askSize() {
    sizeWidth = document.level.record.width;
    sizeHeight = document.level.record.height;
    std::unique_ptr<Dialog> d = dialogCreate();
    if (!d) {
        return;
    }
    dialogAddBlank(*d);
    dialogAddRange(*d, "Width (1 to 18)", &sizeWidth, 1, BOARD_COLUMNS);
    dialogAddRange(*d, "Height (1 to 13)", &sizeHeight, 1, BOARD_ROWS);
    dialogAddBlank(*d);
    dialogAddText(*d, "Cells beyond the new size are lost.");
    dialogAddBlank(*d);
    dialogAddButtons(*d, DIALOG_OK_CANCEL);
    show(std::move(d), "Level size", sizeChosen);
}

void titleChosen() {
    if (documentSetTitle(document, trimmed(titleBuffer))) {
        editorRedraw();
    }
}

void askTitle() {
    std::snprintf(titleBuffer, TITLE_SIZE, "%s", document.level.title.c_str());
    std::unique_ptr<Dialog> d = dialogCreate();
    if (!d) {
        return;
    }
    dialogAddBlank(*d);
    dialogAddString(*d, "Title", titleBuffer, TITLE_SIZE, titleWork);
    dialogAddBlank(*d);
    dialogAddButtons(*d, DIALOG_OK_CANCEL);
    show(std::move(d), "Level title", titleChosen);
}

// Pack writes GHold.dat into the current folder: where the game, started
// from the same folder, looks for it first.
void pack() {
    std::error_code error;
    const fs::path out = fs::absolute(GAME_DATA_FILE, error);
    const std::string message = packAssets(editor.assetFolder, out.string());
    if (!message.empty()) {
        showMessage("Pack failed", "GHold.dat was not written:", message);
        return;
    }
    showMessage("Packed", "The asset folder was packed into", out.string());
    editor.note = "Packed " + out.string();
    if (documentChanged(document)) {
        editor.note += " (without the unsaved changes)";
    }
}

void levelChosen() {
    PopupMenu& menu = desktop.popupMenu;
    const int32_t level = menu.current != nullptr ? menu.current->selected : -1;
    popupClose(menu);
    if (level >= 0 && level < LEVEL_COUNT) {
        pendingPath = (fs::path(editor.assetFolder) / levelPath(level)).string();
        whenDiscardAgreed(openPending);
    }
}

void openLevelList() {
    PopupMenu& menu = desktop.popupMenu;
    int32_t x = 0, y = 0;
    popupQuery(menu, x, y);
    popupBegin(menu, 0, 0);
    for (int32_t level = 0; level < LEVEL_COUNT; level++) {
        std::snprintf(levelTexts[level], sizeof levelTexts[level], "Level %d", int(level));
        popupAdd(menu, MENU_COMMAND, 0, 0, levelTexts[level], 0, true);
    }
    popupOpen(menu, x, y, levelChosen, nullptr, nullptr, 0);
}

void exitEditor() {
    editor.closeAgreed = 1;
    if (editor.window != nullptr) {
        editor.window->closeRequested = 1;
    }
}

void fileChosen(int32_t item) {
    switch (item) {
    case FILE_NEW: whenDiscardAgreed(newLevel); break;
    case FILE_OPEN: askFileName("Open level", "File", openNamedWhenAgreed); break;
    case FILE_SAVE: commandSave(); break;
    case FILE_SAVE_AS: askFileName("Save level as", "File", saveNamed); break;
    case FILE_PACK: pack(); break;
    case FILE_EXIT: whenDiscardAgreed(exitEditor); break;
    default: break;
    }
}

void editChosen(int32_t item) {
    switch (item) {
    case EDIT_UNDO: commandUndo(); break;
    case EDIT_REDO: commandRedo(); break;
    case EDIT_SIZE: askSize(); break;
    case EDIT_TITLE: askTitle(); break;
    default: break;
    }
}

} // namespace

void editorMenuOpen(int32_t index) {
    if (editor.window == nullptr || index < 0 || index >= editor.window->menuBar.count) {
        return;
    }
    editor.menu = index;
    PopupMenu& menu = desktop.popupMenu;
    const bool assets = !editor.assetFolder.empty();
    const bool playing = playTest.running;
    popupBegin(menu, 0, 0);
    switch (index) {
    case MENU_FILE:
        popupAdd(menu, MENU_COMMAND, 0, 0, "New Level", 1, !playing);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Open Level...", 1, !playing);
        popupAdd(menu, MENU_SUBMENU, 0, 0, "Asset Levels", 1, assets && !playing);
        popupAdd(menu, MENU_SEPARATOR, 0, 0, nullptr, 0, false);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Save      Ctrl+S", 1, !playing);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Save As...", 6, !playing);
        popupAdd(menu, MENU_SEPARATOR, 0, 0, nullptr, 0, false);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Pack GHold.dat", 1, assets);
        popupAdd(menu, MENU_SEPARATOR, 0, 0, nullptr, 0, false);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Exit", 2, true);
        break;
    case MENU_EDIT:
        popupAdd(menu, MENU_COMMAND, 0, 0, "Undo      Ctrl+Z", 1, true);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Redo      Ctrl+Y", 1, true);
        popupAdd(menu, MENU_SEPARATOR, 0, 0, nullptr, 0, false);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Level Size...", 7, !playing);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Title...", 1, !playing);
        break;
    default:
        popupAdd(menu, MENU_COMMAND, 0, 0, playing ? "End Play-test  Esc" : "Play-test      F5", 1,
                 true);
        popupAdd(menu, MENU_COMMAND, 0, 0, "Verify Solution  F6", 1, !playing);
        break;
    }
    const Rect& button = editor.window->menuBar.buttons[index].rect;
    popupOpen(menu, button.x, button.y + button.height, editorMenuChosen, nullptr, nullptr, 0);
}

void editorMenuChosen() {
    PopupMenu& menu = desktop.popupMenu;
    if (menu.current == nullptr) {
        return;
    }
    const int32_t item = menu.current->selected;
    if (editor.menu == MENU_FILE && item == FILE_LEVELS) {
        openLevelList();
        return;
    }
    // Dialogs opened below close the menu already; closing it first keeps
    // the choice from reaching a window that opens over it.
    popupClose(menu);
    switch (editor.menu) {
    case MENU_FILE: fileChosen(item); break;
    case MENU_EDIT: editChosen(item); break;
    case MENU_TEST:
        if (item == TEST_PLAY) {
            playTest.running ? playTestStop() : playTestStart();
        } else if (item == TEST_VERIFY) {
            commandVerify();
        }
        break;
    default: break;
    }
}

void openStartDocument() {
    documentNew(document);
    const std::string& path = editor.startPath;
    std::error_code error;
    if (path.empty()) {
        documentOpened();
        return;
    }
    if (fs::is_directory(path, error)) {
        pendingPath = (fs::path(path) / levelPath(0)).string();
    } else {
        pendingPath = path;
    }
    openPending();
    documentOpened();
}

void commandsTick() {
    if (deferred != nullptr) {
        void (*action)() = deferred;
        deferred = nullptr;
        action();
    }
}

void commandUndo() {
    if (playTest.running) {
        playTestUndo();
    } else if (documentUndo(document)) {
        editorRedraw();
    }
}

void commandRedo() {
    if (playTest.running) {
        playTestRedo();
    } else if (documentRedo(document)) {
        editorRedraw();
    }
}

void commandSave() {
    if (document.path.empty()) {
        askFileName("Save level as", "File", saveNamed);
        return;
    }
    std::snprintf(nameBuffer, NAME_SIZE, "%s", document.path.c_str());
    saveNamed();
}

void commandVerify() {
    const LevelText& level = document.level;
    if (level.solution.empty()) {
        showMessage("Verify", "The level has no solution yet.",
                    "Play-test it (F5) to the exit and keep the moves.");
        return;
    }
    const ReplayResult result = editorReplay(level.solution);
    char counts[96];
    std::snprintf(counts, sizeof counts, "%d ticks and %d moves.", int(result.ticks),
                  int(result.moves));
    if (result.completedAt > 0) {
        showMessage("Verify", "The solution completes the level in", counts);
    } else {
        showMessage("Verify", "The solution does not complete the level:",
                    std::string("it stops after ") + counts);
    }
}

void whenDiscardAgreed(void (*action)()) {
    pendingAction = action;
    if (!documentChanged(document)) {
        runPending();
        return;
    }
    std::unique_ptr<Dialog> d = dialogCreate();
    if (!d) {
        return;
    }
    dialogAddBlank(*d);
    dialogAddText(*d, "The level has changes that are not saved.");
    dialogAddText(*d, "Lose them?");
    dialogAddBlank(*d);
    dialogAddButtons(*d, DIALOG_OK_CANCEL);
    show(std::move(d), "Unsaved changes", runPending);
}

void showFileError(const char* title, const std::string& file, const std::string& reason) {
    messageTitle = title;
    messageFirst = file;
    messageSecond = reason;
    dialogAlert(messageTitle.c_str(), messageFirst.c_str(), messageSecond.c_str());
}

void showMessage(const char* title, const std::string& first, const std::string& second) {
    messageTitle = title;
    messageFirst = first;
    messageSecond = second;
    std::unique_ptr<Dialog> d = dialogCreate();
    if (!d) {
        return;
    }
    dialogAddBlank(*d);
    dialogAddText(*d, messageFirst.c_str());
    if (!messageSecond.empty()) {
        dialogAddText(*d, messageSecond.c_str());
    }
    dialogAddBlank(*d);
    dialogAddButtons(*d, DIALOG_OK);
    show(std::move(d), messageTitle.c_str(), nullptr);
}
