#pragma once
// The one-line text field. It edits the caller's fixed-size byte buffer in
// place: a zero-terminated string that never grows past the buffer, with a
// caret, a selection made with Shift or by dragging, word-wise movement with
// Ctrl, and cut, copy and paste through the toolkit's own clipboard.
//
// A field draws into the current window's canvas with that canvas's font and
// shares the window's one caret: the field that owns the caret has the
// keyboard focus.
#include <cstdint>

struct LineEditor {
    int32_t x, y, width, height; // client coordinates of the current window
    char* buffer;                // the caller's bytes, not owned
    int32_t size;                // the last byte is always 0
    uint32_t enabled;            // 0 for a record never created: deaf and unfocusable
    int32_t caretX;              // pixels from the field's left edge
    int32_t caret;
    int32_t anchor; // the fixed end of the selection
    int32_t selEnd; // the moving end; anchor == selEnd means no selection
    int32_t selMin, selMax;
    int32_t selMinX, selMaxX;
    uint32_t dragging; // the left button, pressed inside, is held
    int32_t textY;
    int32_t scroll; // first character shown
};

// The toolkit's clipboard, shared by every field: a zero-terminated string of
// at most 255 characters. The system's clipboard is never used.
constexpr int32_t CLIPBOARD_SIZE = 256;
extern char lineEditorClipboard[CLIPBOARD_SIZE];

void lineEditorCreate(LineEditor& editor, int32_t x, int32_t y, int32_t width, int32_t height,
                      char* buffer, int32_t size);
void lineEditorAttach(LineEditor& editor, char* buffer, int32_t size);
void lineEditorFocus(LineEditor& editor);
void lineEditorUnfocus(LineEditor& editor);
int lineEditorHasFocus(const LineEditor& editor);
// 1 when the field used this pass's mouse or key. Keys it does not know are
// left for its owner (a dialog moves its focus with Tab and the arrows).
int lineEditorUpdate(LineEditor& editor);
int lineEditorHandleKey(LineEditor& editor, uint8_t key);
void lineEditorDraw(LineEditor& editor);
void lineEditorDrawFrame(const LineEditor& editor);
