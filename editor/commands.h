#pragma once
// What the editor's menus and keys do: the files (new, open, save, the asset
// folder's levels, pack), the edits kept for undo, the dialogs that ask for
// a size, a title or a file name, and the messages that report back.
#include <cstdint>
#include <string>

// The menu bar's callback, and the menus' choice callback.
void editorMenuOpen(int32_t index);
void editorMenuChosen();

// Opens what the command line named, or a new level. A level text that
// cannot be read is reported and a new level is opened instead.
void openStartDocument();

// Runs what a dialog's confirmation asked for; on every Tick of the editor
// window.
void commandsTick();

void commandUndo();
void commandRedo();
void commandSave();
void commandVerify();

// Runs the action at once when the level has no unsaved changes, else asks
// first and runs it only when the user agrees to lose them.
void whenDiscardAgreed(void (*action)());
// A dialog naming the file on one line and what went wrong on the next.
void showFileError(const char* title, const std::string& file, const std::string& reason);
// A dialog of one or two lines of text and an Ok button.
void showMessage(const char* title, const std::string& first, const std::string& second);
