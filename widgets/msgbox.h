#pragma once
// Message boxes and small forms: a Dialog is built from up to 32 lines
// (blank space, text, a row of buttons, a check box, or edit fields bound to
// the caller's variables) and then shown in a toolkit window of exactly the
// size it needs, centred on the desktop. From then on it runs by itself: it
// moves a keyboard focus with Tab and the arrows, answers Enter and Escape,
// writes the edited values back when the user confirms, calls the caller
// back, and frees itself when its window closes.
#include "toolkit/controls.h"
#include "toolkit/window.h"
#include "widgets/lineedit.h"
#include <cstdint>
#include <memory>

struct Font;

constexpr int32_t DIALOG_LINES = 32;
// Room for the text of a number field; each editor uses 32 of it.
constexpr int32_t DIALOG_FIELD_TEXT = 64;

// Line kinds.
enum : uint32_t {
    DIALOG_BLANK = 0,
    DIALOG_TEXT = 1,
    DIALOG_OK = 2,        // "  Ok  "
    DIALOG_BUTTON = 3,    // a button with the caller's text
    DIALOG_CANCEL = 4,    // " Cancel "
    DIALOG_OK_CANCEL = 5, // "  Ok  " and " Cancel "
    DIALOG_YES_NO = 6,    // " Yes ", "  No  " and " Cancel "
    DIALOG_CHECK_BOX = 7,
    DIALOG_STRING = 8,
    DIALOG_INTEGER = 9,
    DIALOG_FLOAT = 10,
    DIALOG_THREE_FLOATS = 11,
};

// How a dialog ends.
enum : uint32_t {
    DIALOG_RESULT_NONE = 0,
    DIALOG_RESULT_CANCEL = 1,
    DIALOG_RESULT_OK = 2,
    DIALOG_RESULT_NO = 3,
};

using DialogOkCallback = void (*)();
using DialogChangeCallback = void (*)(int32_t line);

// The text of an integer or float field and the copy of the variable it
// started from.
union DialogValue {
    int32_t integer;
    float floats[3];
};

struct DialogLine {
    const char* label; // not copied
    Button buttons[3];
    LineEditor editors[3];
    CheckBox checkBox;
    uint32_t enabled; // 0 draws the label dimmed
    uint32_t kind;
    uint32_t enterResult; // what Enter gives through this line when nothing has the focus
    uint32_t results[3];  // what each button gives
    const Font* font;     // measured with it when added
    void* value;          // the caller's variable
    char* editTarget;     // what the first editor edits
    DialogValue valueCopy;
    char textBuffers[3][DIALOG_FIELD_TEXT]; // the texts of integer and float fields
    int32_t labelX, labelY;                 // where the label is drawn, once laid out
    int32_t labelWidth;                     // measured when the line is added
    const char* secondText;
    int32_t secondX, secondY;
    int32_t secondWidth;
    // An integer field that takes only low to high (both included).
    uint32_t ranged;
    int32_t low, high;
};

struct Dialog {
    int32_t focusLine, focusElement; // -1 while nothing has been focused
    uint32_t alert;                  // set right after showing: a pulsing red frame
    DialogLine lines[DIALOG_LINES];
    Window* window; // null until shown
    int32_t contentX, contentY;
    int32_t width, height; // client size
    int32_t maxWidth, maxLeft, maxRight;
    int32_t lineCount;
    uint32_t frameOnly;   // the next Draw repaints only the alert frame
    uint32_t pulseColour; // a 16-bit pixel
    DialogOkCallback onOk;
    DialogChangeCallback onChange;
};

// Null when there is no memory for it; the caller then goes without a box.
std::unique_ptr<Dialog> dialogCreate();
// The lines, in order. A line added once the dialog is shown, or beyond the
// 32nd, is ignored. A line that is not enabled draws its label dimmed.
void dialogAddBlank(Dialog& dialog);
// A centred text; with second, the text as a label on the left and second
// in the right column.
void dialogAddText(Dialog& dialog, const char* text, const char* second = nullptr,
                   bool enabled = true);
// A row of the fixed buttons: DIALOG_OK, DIALOG_CANCEL, DIALOG_OK_CANCEL or
// DIALOG_YES_NO.
void dialogAddButtons(Dialog& dialog, uint32_t kind);
// One button with the caller's text and left icon (0 for none); it confirms.
void dialogAddButton(Dialog& dialog, const char* text, int32_t leftIcon);
// Fields bound to the caller's variables: they start from the values the
// variables hold now and are written back only when the dialog is confirmed.
void dialogAddCheckBox(Dialog& dialog, const char* label, int32_t* value, bool enabled = true);
// value is the caller's string of size bytes, edited in work, a buffer as long.
void dialogAddString(Dialog& dialog, const char* label, char* value, int32_t size, char* work,
                     bool enabled = true);
void dialogAddInteger(Dialog& dialog, const char* label, int32_t* value, bool enabled = true);
// An integer field that takes only low to high: confirming while it holds
// anything else (no number, or one outside) stores nothing and keeps the
// dialog open, with the field focused and the frame pulsing.
void dialogAddRange(Dialog& dialog, const char* label, int32_t* value, int32_t low, int32_t high);
void dialogAddFloat(Dialog& dialog, const char* label, float* value, bool enabled = true);
void dialogAddThreeFloats(Dialog& dialog, const char* label, float (*values)[3],
                          bool enabled = true);
// Hands the dialog over to its window; it frees itself when the window
// closes. Returns it so that the caller may set alert at once, or null when
// the window could not be opened (the dialog is gone then too). Every bound
// variable, text and buffer must stay valid until the window has closed.
Dialog* dialogShow(std::unique_ptr<Dialog> dialog, const char* title, DialogOkCallback onOk,
                   DialogChangeCallback onChange);

// An alert box: the heading, the message and an Ok button, with the pulsing
// frame; title may be null. Nothing is shown when there is no memory for it.
// It frees itself when dismissed; the texts must stay valid until then.
void dialogAlert(const char* title, const char* heading, const char* message);

// The procedure of every dialog's window; param says which dialog it runs.
void DialogWindowProc(Window* window, uint32_t param);
// The dialog a window shows, or null for a window that is no dialog's.
Dialog* dialogOfWindow(const Window* window);
