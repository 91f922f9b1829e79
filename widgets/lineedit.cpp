// The line editor: measuring and scrolling, the caret, the selection, the
// keys, the clipboard and drawing.
#include "widgets/lineedit.h"

#include "toolkit/desktop.h"
#include "toolkit/font.h"
#include "toolkit/frame.h"

#include <cstring>

char lineEditorClipboard[CLIPBOARD_SIZE];

namespace {

// The caret is kept this far inside the right edge; text is cut there too.
constexpr int32_t RIGHT_MARGIN = 8;
// How far the view jumps back when the caret leaves it on the left.
constexpr int32_t SCROLL_BACK = 8;

constexpr uint8_t KEY_DECIMAL = 110; // the keypad's decimal key deletes too
constexpr uint8_t KEY_C = 67;
constexpr uint8_t KEY_V = 86;
constexpr uint8_t KEY_X = 88;

Caret* currentCaret() {
    return desktop.current != nullptr ? &desktop.current->caret : nullptr;
}

bool isWordChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

int32_t textLength(const LineEditor& e) {
    return int32_t(strnlen(e.buffer, size_t(e.size)));
}

bool hasSelection(const LineEditor& e) {
    return e.anchor != e.selEnd;
}

// Width of the characters from the first shown one up to `index`.
int32_t widthFromScroll(const LineEditor& e, int32_t index) {
    const int32_t count = index - e.scroll;
    return count > 0 ? textWidth(currentFont(), e.buffer + e.scroll, count) : 0;
}

void measure(LineEditor& e) {
    e.caretX = widthFromScroll(e, e.caret);
    if (e.caretX >= e.width - RIGHT_MARGIN) {
        // Scroll so that the caret ends about 16 pixels inside the right edge.
        int32_t d = e.caretX - e.width + 2 * RIGHT_MARGIN;
        int32_t index = 0;
        hitTest(currentFont(), e.buffer + e.scroll, e.caret - e.scroll, d, index);
        e.scroll += index;
        e.caretX = widthFromScroll(e, e.caret);
    }
    e.selMin = e.anchor < e.selEnd ? e.anchor : e.selEnd;
    e.selMax = e.anchor < e.selEnd ? e.selEnd : e.anchor;
    if (hasSelection(e)) {
        e.selMinX = widthFromScroll(e, e.selMin);
        e.selMaxX = widthFromScroll(e, e.selMax);
        lowerTo(e.selMaxX, e.width - RIGHT_MARGIN);
    } else {
        e.selMinX = e.selMaxX = 0;
    }
}

void placeCaret(const LineEditor& e) {
    if (Caret* caret = currentCaret()) {
        caretSetPosition(*caret, e.x + e.caretX, e.y);
    }
}

void collapse(LineEditor& e) {
    e.anchor = e.selEnd = e.caret;
}

void removeByte(LineEditor& e, int32_t p) {
    for (int32_t i = p; i < e.size - 1; i++) {
        e.buffer[i] = e.buffer[i + 1];
    }
    e.buffer[e.size - 1] = 0;
}

void deleteSelection(LineEditor& e) {
    if (!hasSelection(e)) {
        return;
    }
    const int32_t low = e.anchor < e.selEnd ? e.anchor : e.selEnd;
    const int32_t high = e.anchor < e.selEnd ? e.selEnd : e.anchor;
    for (int32_t n = low; n < high; n++) {
        removeByte(e, low);
    }
    e.caret = low;
    collapse(e);
}

// A full buffer loses its last character to make room; at the very last
// position nothing fits.
void insertChar(LineEditor& e, char c) {
    if (e.caret >= e.size - 1) {
        return;
    }
    for (int32_t i = e.size - 3; i >= e.caret; i--) {
        e.buffer[i + 1] = e.buffer[i];
    }
    e.buffer[e.caret] = c;
    e.buffer[e.size - 1] = 0;
    e.caret++;
}

void copySelection(const LineEditor& e) {
    const int32_t low = e.anchor < e.selEnd ? e.anchor : e.selEnd;
    const int32_t high = e.anchor < e.selEnd ? e.selEnd : e.anchor;
    int32_t n = 0;
    for (int32_t i = low; i < high && n < CLIPBOARD_SIZE - 1 && e.buffer[i] != 0; i++) {
        lineEditorClipboard[n++] = e.buffer[i];
    }
    lineEditorClipboard[n] = 0;
}

void paste(LineEditor& e) {
    deleteSelection(e);
    for (const char* p = lineEditorClipboard; *p != 0; p++) {
        insertChar(e, *p);
    }
    collapse(e);
}

int32_t wordLeft(const LineEditor& e) {
    int32_t i = e.caret;
    if (i > 0 && isWordChar(e.buffer[i - 1])) {
        while (i > 0 && isWordChar(e.buffer[i - 1])) {
            i--;
        }
    } else {
        while (i > 0 && !isWordChar(e.buffer[i - 1])) {
            i--;
        }
    }
    return i;
}

int32_t wordRight(const LineEditor& e) {
    int32_t i = e.caret;
    if (isWordChar(e.buffer[i])) {
        while (isWordChar(e.buffer[i])) {
            i++;
        }
    } else {
        while (e.buffer[i] != 0 && !isWordChar(e.buffer[i])) {
            i++;
        }
    }
    return i;
}

// Movement keys drag the selection's moving end along with Shift and
// collapse it without.
void moveCaret(LineEditor& e, int32_t to, bool shift) {
    e.caret = to;
    if (shift) {
        e.selEnd = e.caret;
    } else {
        collapse(e);
    }
}

// The typed character, or "not handled" when nothing printable was typed.
bool typeCharacter(LineEditor& e) {
    const uint8_t c = inputState.keys.lastChar;
    if (c < ' ') {
        return false;
    }
    deleteSelection(e);
    insertChar(e, char(c));
    collapse(e);
    return true;
}

// The keys themselves; false leaves the key to the field's owner.
bool applyKey(LineEditor& e, uint8_t key) {
    const bool shift = inputState.keys.down[KEY_SHIFT] != 0;
    const bool ctrl = inputState.keys.down[KEY_CTRL] != 0;
    switch (key) {
    case KEY_BACK:
        if (hasSelection(e)) {
            deleteSelection(e);
        } else if (e.caret > 0) {
            e.caret--;
            removeByte(e, e.caret);
        }
        collapse(e);
        return true;
    case KEY_END: moveCaret(e, textLength(e), shift); return true;
    case KEY_HOME: moveCaret(e, 0, shift); return true;
    case KEY_LEFT:
        moveCaret(e, ctrl ? wordLeft(e) : (e.caret > 0 ? e.caret - 1 : 0), shift);
        return true;
    case KEY_RIGHT:
        moveCaret(e, ctrl ? wordRight(e) : (e.buffer[e.caret] != 0 ? e.caret + 1 : e.caret), shift);
        return true;
    case KEY_DELETE:
    case KEY_DECIMAL:
        if (hasSelection(e)) {
            deleteSelection(e);
        } else if (e.buffer[e.caret] != 0) {
            removeByte(e, e.caret);
        }
        collapse(e);
        return true;
    case KEY_INSERT:
        if (ctrl) {
            // A copy leaves the key to the owner as well.
            copySelection(e);
            return false;
        }
        if (shift) {
            paste(e);
            return true;
        }
        return typeCharacter(e);
    case KEY_C:
        if (ctrl) {
            copySelection(e);
            return false;
        }
        return typeCharacter(e);
    case KEY_X:
        if (ctrl) {
            copySelection(e);
            deleteSelection(e);
            collapse(e);
            return true;
        }
        return typeCharacter(e);
    case KEY_V:
        if (ctrl) {
            paste(e);
            return true;
        }
        return typeCharacter(e);
    default: return typeCharacter(e);
    }
}

// The character boundary nearest to px pixels right of the first shown one.
int32_t boundaryAt(const LineEditor& e, int32_t& px) {
    int32_t index = 0;
    hitTest(currentFont(), e.buffer + e.scroll, e.size - e.scroll, px, index);
    return e.scroll + index;
}

} // namespace

void lineEditorCreate(LineEditor& editor, int32_t x, int32_t y, int32_t width, int32_t height,
                      char* buffer, int32_t size) {
    Caret* caret = currentCaret();
    // A field made again while it holds the caret keeps its place in the
    // text, and the caret follows the field to its new position.
    const bool keep =
        editor.buffer != nullptr && caret != nullptr && caretOwnedBy(*caret, &editor) != 0;
    const LineEditor old = editor;
    editor = LineEditor{};
    editor.x = x;
    editor.y = y;
    editor.width = width;
    editor.height = height;
    lineEditorAttach(editor, buffer, size);
    if (keep && buffer != nullptr) {
        const int32_t length = textLength(editor);
        editor.caret = old.caret < length ? old.caret : length;
        editor.scroll = old.scroll < editor.caret ? old.scroll : editor.caret;
        editor.anchor = editor.selEnd = editor.caret;
        editor.caretX = old.caretX;
        caretSetPosition(*caret, caret->x + x - old.x, caret->y + y - old.y);
    }
    editor.textY = (height - currentFont().height) >> 1;
    if (caret != nullptr) {
        caret->height = height;
    }
    editor.enabled = 1;
}

void lineEditorAttach(LineEditor& editor, char* buffer, int32_t size) {
    editor.buffer = buffer;
    editor.size = size;
    if (buffer != nullptr && size > 0) {
        buffer[size - 1] = 0;
    }
    editor.caret = editor.anchor = editor.selEnd = 0;
    editor.dragging = 0;
}

void lineEditorFocus(LineEditor& editor) {
    Caret* caret = currentCaret();
    if (!editor.enabled || caret == nullptr) {
        return;
    }
    caretShow(*caret, &editor);
    caret->height = editor.height;
    editor.dragging = 0;
    collapse(editor);
    if (editor.buffer != nullptr) {
        measure(editor);
    }
    placeCaret(editor);
}

void lineEditorUnfocus(LineEditor& editor) {
    if (Caret* caret = currentCaret()) {
        caretHide(*caret, &editor);
    }
    editor.dragging = 0;
    editor.anchor = editor.selEnd = 0;
}

int lineEditorHasFocus(const LineEditor& editor) {
    const Caret* caret = currentCaret();
    return caret != nullptr && caretOwnedBy(*caret, &editor) && caret->on ? 1 : 0;
}

int lineEditorUpdate(LineEditor& editor) {
    if (editor.buffer == nullptr || !editor.enabled || desktop.current == nullptr) {
        return 0;
    }
    MouseState& mouse = inputState.mouse;
    if (editor.dragging) {
        int32_t px = mouse.x - desktop.current->x - editor.x;
        if (px < 0) {
            // Held left of the field, the view creeps back one character a Tick.
            if (editor.scroll > 0) {
                editor.scroll--;
            }
            px = 0;
        }
        const int32_t caret = boundaryAt(editor, px);
        editor.caret = caret;
        if (editor.selEnd != caret) {
            editor.selEnd = caret;
            requestCurrentRedraw();
        }
        measure(editor);
        placeCaret(editor);
        if (mouse.leftReleased) {
            mouse.leftReleased = 0;
            editor.dragging = 0;
        }
        return 1;
    }
    Rect rect;
    setRect(rect, editor.x, editor.y, editor.width, editor.height);
    if (mouse.leftPressed && currentMouseInside(rect)) {
        int32_t px = mouse.pressX - desktop.current->x - editor.x;
        editor.caret = boundaryAt(editor, px);
        editor.caretX = px;
        lineEditorFocus(editor);
        editor.dragging = 1;
        // Whatever was selected here or in another field is gone.
        requestCurrentRedraw();
        return 1;
    }
    if (inputState.keys.lastKey != 0 && lineEditorHasFocus(editor)) {
        return lineEditorHandleKey(editor, inputState.keys.lastKey);
    }
    return 0;
}

int lineEditorHandleKey(LineEditor& editor, uint8_t key) {
    if (editor.buffer == nullptr || editor.size < 1 || !applyKey(editor, key)) {
        return 0;
    }
    while (editor.scroll > editor.caret) {
        editor.scroll -= SCROLL_BACK;
        raiseTo(editor.scroll, 0);
    }
    measure(editor);
    placeCaret(editor);
    inputState.keys.down[key] = 0;
    inputState.keys.lastKey = 0;
    requestCurrentRedraw();
    return 1;
}

void lineEditorDraw(LineEditor& editor) {
    if (editor.buffer == nullptr || desktop.current == nullptr) {
        return;
    }
    Window& window = *desktop.current;
    if (hasSelection(editor) && editor.selMax > editor.scroll &&
        caretOwnedBy(window.caret, &editor)) {
        drawFilledRect(window.canvas, editor.x + editor.selMinX, editor.y,
                       editor.x + editor.selMaxX, editor.y + editor.height - 1,
                       styleColour(COLOUR_EDIT_SELECTION));
    }
    drawText(window.canvas, editor.buffer + editor.scroll, editor.x, editor.y + editor.textY,
             styleColour(COLOUR_EDIT_TEXT), editor.width - RIGHT_MARGIN, nullptr);
}

void lineEditorDrawFrame(const LineEditor& editor) {
    if (desktop.current != nullptr) {
        drawSunkenBevel(desktop.current->canvas, editor.x - 1, editor.y - 1,
                        editor.x + editor.width, editor.y + editor.height);
    }
}
