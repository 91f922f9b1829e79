// The dialog: measuring its lines, its window and layout, the keyboard focus,
// the alert frame, storing the edited values, and freeing itself.
#include "widgets/msgbox.h"

#include "toolkit/desktop.h"
#include "toolkit/font.h"
#include "toolkit/frame.h"
#include "widgets/button.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {

// Movable, border, 3-D, title bar: a dialog has no close box, it is ended
// by its own buttons and keys.
constexpr uint32_t DIALOG_STYLE = STYLE_MOVABLE | STYLE_BORDER | STYLE_3D | STYLE_TITLE;
constexpr uint32_t FIRST_PULSE = 64203;
// The pulse's red, 5 bits of a count that moves every 4 ms, changes every
// 32 ms: the alert asks for a pass at each change.
constexpr uint32_t PULSE_COLOUR_MS = 32;
constexpr int32_t LINE_GAP = 6;
// Lines start this far in from the left and the top, and a box is this much
// wider than its widest line on either side. Its height is its lines, their
// gaps and 10 more.
constexpr int32_t MARGIN = 8;
constexpr int32_t EXTRA_HEIGHT = 10;
// In two columns the colon stands 8 right of the widest label, and the right
// column starts 4 right of the colon.
constexpr int32_t COLON_GAP = 8;
constexpr int32_t AFTER_COLON = 4;
// A row of buttons is as wide as its buttons and this much between each two.
constexpr int32_t BUTTON_SPACING = 20;
constexpr int32_t BLANK_WIDTH = 32;
// Fields get 4 pixels of room above the text in fonts below this height.
constexpr int32_t ROOMY_FONT = 20;
constexpr int32_t BLANK_HEIGHT = 12;
constexpr int32_t CHECK_SIZE = 12;
constexpr int32_t STRING_FIELD_WIDTH = 250;
constexpr int32_t NUMBER_FIELD_WIDTH = 100;
constexpr int32_t FIELD_SPACING = 3;
constexpr int32_t NUMBER_TEXT_SIZE = 32;
constexpr int32_t TEXT_MEASURE = 80;
constexpr int32_t SECOND_TEXT_MEASURE = 64;

// Dialogs that have been shown, until their window closes. A window's param
// is only 32 bits, so it carries the slot, not the pointer.
std::vector<std::unique_ptr<Dialog>> openDialogs;

// A free slot; the slot of a dialog whose window went away without a Close
// (the desktop taken down around it) is free again too.
uint32_t freeSlot() {
    for (size_t i = 0; i < openDialogs.size(); i++) {
        if (!openDialogs[i] ||
            (openDialogs[i]->window != nullptr && !windowOnStack(openDialogs[i]->window))) {
            openDialogs[i].reset();
            return uint32_t(i);
        }
    }
    openDialogs.emplace_back();
    return uint32_t(openDialogs.size() - 1);
}

// Runs the layout with the dialog's window as the current window, so that
// its fields measure with its font and take its caret.
struct CurrentWindow {
    Window* previous;
    explicit CurrentWindow(Window* w) : previous(desktop.current) { desktop.current = w; }
    ~CurrentWindow() { desktop.current = previous; }
    CurrentWindow(const CurrentWindow&) = delete;
    CurrentWindow& operator=(const CurrentWindow&) = delete;
};

int32_t buttonCount(uint32_t kind) {
    switch (kind) {
    case DIALOG_OK:
    case DIALOG_BUTTON:
    case DIALOG_CANCEL: return 1;
    case DIALOG_OK_CANCEL: return 2;
    case DIALOG_YES_NO: return 3;
    default: return 0;
    }
}

bool hasButton(const DialogLine& line, int32_t k) {
    return k < buttonCount(line.kind);
}

bool hasEditor(const DialogLine& line, int32_t k) {
    return line.editors[k].buffer != nullptr;
}

int32_t fieldHeight(const Font& font) {
    return font.height < ROOMY_FONT ? font.height + 4 : font.height;
}

int32_t fieldWidth(uint32_t kind) {
    return kind == DIALOG_STRING ? STRING_FIELD_WIDTH : NUMBER_FIELD_WIDTH;
}

int32_t fieldCount(uint32_t kind) {
    switch (kind) {
    case DIALOG_STRING:
    case DIALOG_INTEGER:
    case DIALOG_FLOAT: return 1;
    case DIALOG_THREE_FLOATS: return 3;
    default: return 0;
    }
}

void makeButton(Button& b, const char* text, int32_t leftIcon) {
    buttonCreate(b, 0, 0, 0, text, 0, CLICK_ON_RELEASE, {.leftIcon = leftIcon});
}

// The buttons of each row, what each gives, and what Enter gives through the
// row when nothing has the focus. A null text is the caller's.
struct ButtonRow {
    uint32_t kind;
    const char* texts[3];
    uint32_t results[3];
    uint32_t enterResult;
};

constexpr ButtonRow BUTTON_ROWS[] = {
    {DIALOG_OK, {"  Ok  "}, {DIALOG_RESULT_OK}, DIALOG_RESULT_OK},
    {DIALOG_BUTTON, {nullptr}, {DIALOG_RESULT_OK}, DIALOG_RESULT_OK},
    {DIALOG_CANCEL, {" Cancel "}, {DIALOG_RESULT_CANCEL}, DIALOG_RESULT_CANCEL},
    {DIALOG_OK_CANCEL,
     {"  Ok  ", " Cancel "},
     {DIALOG_RESULT_OK, DIALOG_RESULT_CANCEL},
     DIALOG_RESULT_NONE},
    {DIALOG_YES_NO,
     {" Yes ", "  No  ", " Cancel "},
     {DIALOG_RESULT_OK, DIALOG_RESULT_NO, DIALOG_RESULT_CANCEL},
     DIALOG_RESULT_NONE},
};

// Makes a row's buttons; returns the row's full width.
int32_t makeButtons(DialogLine& line, const char* text, int32_t leftIcon) {
    for (const ButtonRow& row : BUTTON_ROWS) {
        if (row.kind != line.kind) {
            continue;
        }
        const int32_t count = buttonCount(line.kind);
        int32_t width = BUTTON_SPACING * (count - 1);
        for (int32_t k = 0; k < count; k++) {
            makeButton(line.buttons[k], row.texts[k] != nullptr ? row.texts[k] : text,
                       row.texts[k] != nullptr ? 0 : leftIcon);
            line.results[k] = row.results[k];
            width += line.buttons[k].rect.width;
        }
        line.enterResult = row.enterResult;
        return width;
    }
    return 0;
}

// The variable's value as the field's starting text, taken now rather than
// when the dialog is shown.
void copyValue(DialogLine& line, char* buffer, int32_t extra) {
    switch (line.kind) {
    case DIALOG_STRING:
        line.editTarget = buffer;
        if (buffer != nullptr && line.value != nullptr && extra > 0) {
            std::memcpy(buffer, line.value, size_t(extra));
        }
        break;
    case DIALOG_INTEGER:
        if (line.value != nullptr) {
            std::memcpy(&line.valueCopy.integer, line.value, sizeof(int32_t));
        }
        std::snprintf(line.textBuffers[0], NUMBER_TEXT_SIZE, "%d", line.valueCopy.integer);
        line.editTarget = line.textBuffers[0];
        break;
    case DIALOG_FLOAT:
    case DIALOG_THREE_FLOATS:
        for (int32_t k = 0; k < fieldCount(line.kind); k++) {
            if (line.value != nullptr) {
                std::memcpy(&line.valueCopy.floats[k], static_cast<float*>(line.value) + k,
                            sizeof(float));
            }
            std::snprintf(line.textBuffers[k], NUMBER_TEXT_SIZE, "%f",
                          double(line.valueCopy.floats[k]));
        }
        line.editTarget = line.textBuffers[0];
        break;
    default: break;
    }
}

// ---- Layout -----------------------------------------------------------------

void layOutLine(Dialog& d, DialogLine& line, int32_t& y, int32_t rightX, int32_t rowFont,
                int32_t extra) {
    const int32_t left = d.contentX + MARGIN;
    int32_t row = rowFont;
    switch (line.kind) {
    case DIALOG_BLANK: row = BLANK_HEIGHT; break;
    case DIALOG_TEXT:
        if (line.secondText != nullptr) {
            line.labelX = left;
            line.secondX = rightX;
            line.secondY = y;
        } else {
            line.labelX = d.contentX + (d.width - line.labelWidth) / 2;
        }
        line.labelY = y;
        break;
    case DIALOG_OK:
    case DIALOG_BUTTON:
    case DIALOG_CANCEL:
        line.buttons[0].rect.x = d.contentX + (d.width - line.buttons[0].rect.width) / 2;
        line.buttons[0].rect.y = y;
        row = line.buttons[0].rect.height;
        break;
    case DIALOG_OK_CANCEL:
    case DIALOG_YES_NO: {
        const int32_t n = buttonCount(line.kind);
        int32_t gap = d.width;
        for (int32_t k = 0; k < n; k++) {
            gap -= line.buttons[k].rect.width;
        }
        gap /= n + 1;
        int32_t x = d.contentX + gap;
        for (int32_t k = 0; k < n; k++) {
            line.buttons[k].rect.x = x;
            line.buttons[k].rect.y = y;
            x += line.buttons[k].rect.width + gap;
        }
        row = line.buttons[0].rect.height;
        break;
    }
    case DIALOG_CHECK_BOX:
        line.labelX = left;
        line.labelY = y;
        row = rowFont > CHECK_SIZE ? rowFont : CHECK_SIZE;
        line.checkBox.rect.x = rightX;
        line.checkBox.rect.y = y + (row - CHECK_SIZE) / 2;
        break;
    default: { // the edit fields
        line.labelX = left;
        line.labelY = y;
        const int32_t height = fieldHeight(*line.font);
        const int32_t width = fieldWidth(line.kind);
        const int32_t fieldY = y - (height - rowFont) / 2;
        int32_t x = rightX;
        for (int32_t k = 0; k < fieldCount(line.kind); k++) {
            if (line.kind == DIALOG_STRING) {
                lineEditorCreate(line.editors[k], x, fieldY, width, height, line.editTarget, extra);
            } else {
                lineEditorCreate(line.editors[k], x, fieldY, width, height, line.textBuffers[k],
                                 NUMBER_TEXT_SIZE);
            }
            x += width + FIELD_SPACING;
        }
        row = rowFont > height ? rowFont : height;
        break;
    }
    }
    y += row + LINE_GAP;
}

// ---- Focus ------------------------------------------------------------------

void dropFocus(DialogLine& line) {
    line.checkBox.click.hot = 0;
    for (int32_t k = 0; k < 3; k++) {
        if (hasButton(line, k)) {
            buttonUnfocus(line.buttons[k]);
        }
        if (hasEditor(line, k)) {
            lineEditorUnfocus(line.editors[k]);
        }
    }
}

// Hovering counts as focus: a button under the pointer is hot. A field
// counts while it holds the caret switched on: a field that lost the focus
// stays the caret's owner until another takes it, and must not pull the
// focus back from the button under the pointer.
void findFocus(Dialog& d) {
    for (int32_t i = 0; i < d.lineCount; i++) {
        DialogLine& line = d.lines[i];
        if (line.kind == DIALOG_CHECK_BOX && line.checkBox.click.hot) {
            d.focusLine = i;
            d.focusElement = 0;
            return;
        }
        for (int32_t k = 0; k < 3; k++) {
            if ((hasButton(line, k) && line.buttons[k].click.hot) ||
                (hasEditor(line, k) && lineEditorHasFocus(line.editors[k]))) {
                d.focusLine = i;
                d.focusElement = k;
                return;
            }
        }
    }
}

bool focusElementOf(DialogLine& line, int32_t k) {
    if (hasButton(line, k) && line.buttons[k].enabled) {
        buttonFocus(line.buttons[k]);
        return true;
    }
    if (hasEditor(line, k)) {
        lineEditorFocus(line.editors[k]);
        return true;
    }
    return false;
}

bool offerFocus(Dialog& d, DialogLine& line, int32_t dx) {
    if (line.kind == DIALOG_CHECK_BOX) {
        line.checkBox.click.hot = 1;
        return true;
    }
    for (int32_t n = 0; n < 3; n++) {
        const int32_t k = dx < 0 ? 2 - n : n;
        if (focusElementOf(line, k)) {
            d.focusElement = k;
            return true;
        }
    }
    return false;
}

void moveFocus(Dialog& d, int32_t dx, int32_t dy) {
    for (int32_t i = 0; i < d.lineCount; i++) {
        dropFocus(d.lines[i]);
    }
    const bool validLine = d.focusLine >= 0 && d.focusLine < d.lineCount;
    if (dx != 0 && validLine) {
        const int32_t k = d.focusElement + dx;
        if (k >= 0 && k <= 2 && focusElementOf(d.lines[d.focusLine], k)) {
            d.focusElement = k;
            return;
        }
    }
    const int32_t step = dx != 0 ? dx : dy;
    if (d.focusLine == -1) {
        d.focusLine = step < 0 ? d.lineCount : -1;
    }
    for (int32_t n = 0; n < d.lineCount; n++) {
        d.focusLine += step;
        if (d.focusLine >= d.lineCount) {
            d.focusLine = 0;
        } else if (d.focusLine < 0) {
            d.focusLine = d.lineCount - 1;
        }
        if (offerFocus(d, d.lines[d.focusLine], dx)) {
            return;
        }
    }
}

// Enter goes through the focused button; with nothing focused, through the
// one line that answers Enter, and nowhere when several would.
uint32_t enterResult(const Dialog& d) {
    if (d.focusLine >= 0 && d.focusLine < d.lineCount && d.focusElement >= 0 &&
        d.focusElement <= 2) {
        const DialogLine& line = d.lines[d.focusLine];
        return hasButton(line, d.focusElement) ? line.results[d.focusElement] : 0;
    }
    uint32_t result = 0;
    int32_t answering = 0;
    for (int32_t i = 0; i < d.lineCount; i++) {
        if (d.lines[i].enterResult != 0) {
            result = d.lines[i].enterResult;
            answering++;
        }
    }
    return answering == 1 ? result : 0;
}

// ---- Ending -----------------------------------------------------------------

float floatFrom(const char* text) {
    return std::strtof(text, nullptr);
}

void storeValues(Dialog& d) {
    for (int32_t i = 0; i < d.lineCount; i++) {
        DialogLine& line = d.lines[i];
        if (line.value == nullptr) {
            continue;
        }
        switch (line.kind) {
        case DIALOG_CHECK_BOX: {
            const int32_t checked = int32_t(line.checkBox.checked);
            std::memcpy(line.value, &checked, sizeof checked);
            break;
        }
        case DIALOG_STRING:
            if (line.editTarget != nullptr) {
                std::memcpy(line.value, line.editTarget, size_t(line.editors[0].size));
            }
            break;
        case DIALOG_INTEGER: {
            // strtol rather than atoi: the same reading, without undefined
            // behaviour for digits beyond the range.
            const int32_t number = int32_t(std::strtol(line.textBuffers[0], nullptr, 10));
            std::memcpy(line.value, &number, sizeof number);
            break;
        }
        case DIALOG_FLOAT:
        case DIALOG_THREE_FLOATS:
            for (int32_t k = 0; k < fieldCount(line.kind); k++) {
                const float number = floatFrom(line.textBuffers[k]);
                std::memcpy(static_cast<float*>(line.value) + k, &number, sizeof number);
            }
            break;
        default: break;
        }
    }
}

// The number a ranged field holds, when it holds one in its range: digits
// with an optional sign, blanks around them allowed, nothing else.
bool inRange(const DialogLine& line) {
    const char* text = line.textBuffers[0];
    char* end = nullptr;
    const long number = std::strtol(text, &end, 10);
    if (end == text) {
        return false;
    }
    while (*end == ' ') {
        end++;
    }
    return *end == 0 && number >= line.low && number <= line.high;
}

// The first ranged field that would store a value outside its range takes
// the focus, and the frame pulses until the dialog ends.
bool rangesHold(Dialog& d) {
    for (int32_t i = 0; i < d.lineCount; i++) {
        DialogLine& line = d.lines[i];
        if (line.ranged && !inRange(line)) {
            for (int32_t other = 0; other < d.lineCount; other++) {
                dropFocus(d.lines[other]);
            }
            lineEditorFocus(line.editors[0]);
            d.focusLine = i;
            d.focusElement = 0;
            d.alert = 1;
            return false;
        }
    }
    return true;
}

void endWith(Dialog& d, uint32_t result) {
    switch (result) {
    case DIALOG_RESULT_CANCEL:
    case DIALOG_RESULT_NO: d.window->closeRequested = 1; break;
    case DIALOG_RESULT_OK:
        if (!rangesHold(d)) {
            break;
        }
        storeValues(d);
        d.window->closeRequested = 1;
        if (d.onOk != nullptr) {
            d.onOk();
        }
        break;
    default: break;
    }
}

bool handleKey(Dialog& d, uint8_t key) {
    KeyboardState& keys = inputState.keys;
    int32_t dx = 0, dy = 0;
    uint32_t result = DIALOG_RESULT_NONE;
    switch (key) {
    case KEY_TAB: dx = keys.down[KEY_SHIFT] ? -1 : 1; break;
    case KEY_ENTER: result = enterResult(d); break;
    case KEY_ESCAPE: result = DIALOG_RESULT_CANCEL; break;
    case KEY_LEFT: dx = -1; break;
    case KEY_RIGHT: dx = 1; break;
    case KEY_UP: dy = -1; break;
    case KEY_DOWN: dy = 1; break;
    default: return false;
    }
    keys.down[key] = 0;
    keys.lastKey = 0;
    d.window->redrawRequested = 1;
    if (dx != 0 || dy != 0) {
        moveFocus(d, dx, dy);
    } else {
        endWith(d, result);
    }
    return true;
}

// ---- Update and drawing -----------------------------------------------------

enum class Scan { Nothing, Toggled, Ended };

// The widgets in order: a field that used the input, a toggled check box or
// an activated button ends the scan.
Scan pollWidgets(Dialog& d) {
    for (int32_t i = 0; i < d.lineCount; i++) {
        DialogLine& line = d.lines[i];
        for (int32_t k = 0; k < 3; k++) {
            if (hasEditor(line, k) && lineEditorUpdate(line.editors[k])) {
                return Scan::Ended;
            }
            if (k == 0 && line.kind == DIALOG_CHECK_BOX && checkBoxUpdate(line.checkBox)) {
                if (d.onChange != nullptr) {
                    d.onChange(i);
                }
                for (int32_t other = 0; other < d.lineCount; other++) {
                    if (other != i) {
                        dropFocus(d.lines[other]);
                    }
                }
                return Scan::Toggled;
            }
            if (hasButton(line, k) && buttonUpdate(line.buttons[k])) {
                endWith(d, line.results[k]);
                return Scan::Ended;
            }
        }
    }
    return Scan::Nothing;
}

void updateDialog(Dialog& d) {
    bool pulseChanged = false;
    if (d.alert) {
        // The red part runs down from 31 to 16 in 128 steps of 4 ms, then
        // starts again; green and blue stay put.
        const uint32_t now = inputState.now;
        const uint32_t colour = (((~((now >> 2) & 127)) << 8) & 0xF800) | 0x2CB;
        pulseChanged = colour != d.pulseColour;
        d.pulseColour = colour;
        wakeAt((now / PULSE_COLOUR_MS + 1) * PULSE_COLOUR_MS);
    }
    const Scan scan = pollWidgets(d);
    if (scan == Scan::Ended) {
        return;
    }
    if (scan == Scan::Nothing && inputState.keys.lastKey != 0) {
        findFocus(d);
        if (handleKey(d, inputState.keys.lastKey)) {
            return;
        }
    }
    if (pulseChanged && !d.window->redrawRequested) {
        d.window->redrawRequested = 1;
        d.frameOnly = 1;
    }
}

void drawDialog(Dialog& d) {
    WindowCanvas& canvas = d.window->canvas;
    if (!d.frameOnly) {
        surfaceFill(canvas.surface, styleColour(COLOUR_DIALOG_BACKGROUND));
    }
    if (d.alert) {
        const uint16_t colour = uint16_t(d.pulseColour);
        drawRectOutline(canvas, 0, 0, d.width - 2, d.height - 1, colour);
        drawRectOutline(canvas, 1, 1, d.width - 3, d.height - 2, colour);
        drawRectOutline(canvas, 2, 2, d.width - 4, d.height - 3, colour);
    }
    if (d.frameOnly) {
        d.frameOnly = 0;
        return;
    }
    for (int32_t i = 0; i < d.lineCount; i++) {
        DialogLine& line = d.lines[i];
        const uint16_t colour = styleColour(line.enabled ? COLOUR_TEXT : COLOUR_DIM_TEXT);
        if (line.secondText != nullptr) {
            drawText(canvas, line.secondText, line.secondX, line.secondY, colour, d.maxRight,
                     line.font);
            drawText(canvas, line.label, line.labelX, line.labelY, colour, d.maxLeft, line.font);
        } else if (line.label != nullptr) {
            drawText(canvas, line.label, line.labelX, line.labelY, colour, d.maxWidth, line.font);
        }
        for (int32_t k = 0; k < 3; k++) {
            if (hasButton(line, k)) {
                buttonDraw(line.buttons[k]);
            }
        }
        bool labelled = line.secondText != nullptr;
        for (int32_t k = 0; k < 3; k++) {
            if (hasEditor(line, k)) {
                lineEditorDraw(line.editors[k]);
                lineEditorDrawFrame(line.editors[k]);
                labelled = labelled || line.label != nullptr;
            }
        }
        if (line.kind == DIALOG_CHECK_BOX) {
            checkBoxDraw(line.checkBox);
            labelled = true;
        }
        if (labelled) {
            drawChar(canvas, ':', d.contentX + d.maxLeft + MARGIN + COLON_GAP, line.labelY, colour,
                     *canvas.font);
        }
    }
}

// Every line goes in through here: value points at the caller's variable (a
// second text for a text line), extra is a string's size or a button's left
// icon, buffer a string's work buffer.
void addLine(Dialog& dialog, uint32_t kind, const char* text, void* value, bool enabled,
             int32_t extra, char* buffer) {
    if (dialog.window != nullptr || dialog.lineCount >= DIALOG_LINES ||
        kind > DIALOG_THREE_FLOATS) {
        return;
    }
    DialogLine& line = dialog.lines[dialog.lineCount];
    line.kind = kind;
    line.enabled = enabled ? 1 : 0;
    line.value = value;
    line.font = &currentFont();
    const Font& font = *line.font;
    int32_t full = 0, left = 0, right = 0, height = font.height;
    switch (kind) {
    case DIALOG_BLANK:
        full = BLANK_WIDTH;
        height = BLANK_HEIGHT;
        break;
    case DIALOG_TEXT:
        line.label = text;
        line.labelWidth = textWidth(font, text, TEXT_MEASURE);
        if (value != nullptr) {
            line.secondText = static_cast<const char*>(value);
            line.secondWidth = textWidth(font, line.secondText, SECOND_TEXT_MEASURE);
            left = line.labelWidth;
            right = line.secondWidth;
        } else {
            full = line.labelWidth;
        }
        break;
    case DIALOG_OK:
    case DIALOG_BUTTON:
    case DIALOG_CANCEL:
    case DIALOG_OK_CANCEL:
    case DIALOG_YES_NO:
        full = makeButtons(line, text, extra);
        height = line.buttons[0].rect.height;
        break;
    case DIALOG_CHECK_BOX:
        line.label = text;
        line.labelWidth = left = textWidth(font, text, TEXT_MEASURE);
        right = CHECK_SIZE;
        raiseTo(height, CHECK_SIZE);
        checkBoxCreate(line.checkBox, 0, 0, nullptr);
        if (value != nullptr) {
            int32_t checked = 0;
            std::memcpy(&checked, value, sizeof checked);
            line.checkBox.checked = checked != 0 ? 1 : 0;
        }
        line.enterResult = DIALOG_RESULT_OK;
        break;
    default: // the edit fields
        line.label = text;
        line.labelWidth = left = textWidth(font, text, TEXT_MEASURE);
        right =
            kind == DIALOG_THREE_FLOATS ? 3 * NUMBER_FIELD_WIDTH + FIELD_SPACING : fieldWidth(kind);
        raiseTo(height, fieldHeight(font));
        copyValue(line, buffer, extra);
        // The string field's size is kept by its editor once laid out; until
        // then it waits in the editor's record.
        line.editors[0].size = extra;
        line.enterResult = DIALOG_RESULT_OK;
        break;
    }
    raiseTo(dialog.maxWidth, full);
    raiseTo(dialog.maxLeft, left);
    raiseTo(dialog.maxRight, right);
    dialog.height += height;
    dialog.lineCount++;
}

} // namespace

std::unique_ptr<Dialog> dialogCreate() {
    // Out of memory the caller goes without its box rather than the program
    // ending, so the allocation must be allowed to fail.
    std::unique_ptr<Dialog> dialog(new (std::nothrow) Dialog());
    if (dialog) {
        dialog->focusLine = dialog->focusElement = -1;
    }
    return dialog;
}

void dialogAddBlank(Dialog& dialog) {
    addLine(dialog, DIALOG_BLANK, nullptr, nullptr, true, 0, nullptr);
}

void dialogAddText(Dialog& dialog, const char* text, const char* second, bool enabled) {
    addLine(dialog, DIALOG_TEXT, text, const_cast<char*>(second), enabled, 0, nullptr);
}

void dialogAddButtons(Dialog& dialog, uint32_t kind) {
    if (kind == DIALOG_OK || kind == DIALOG_CANCEL || kind == DIALOG_OK_CANCEL ||
        kind == DIALOG_YES_NO) {
        addLine(dialog, kind, nullptr, nullptr, true, 0, nullptr);
    }
}

void dialogAddButton(Dialog& dialog, const char* text, int32_t leftIcon) {
    addLine(dialog, DIALOG_BUTTON, text, nullptr, true, leftIcon, nullptr);
}

void dialogAddCheckBox(Dialog& dialog, const char* label, int32_t* value, bool enabled) {
    addLine(dialog, DIALOG_CHECK_BOX, label, value, enabled, 0, nullptr);
}

void dialogAddString(Dialog& dialog, const char* label, char* value, int32_t size, char* work,
                     bool enabled) {
    addLine(dialog, DIALOG_STRING, label, value, enabled, size, work);
}

void dialogAddInteger(Dialog& dialog, const char* label, int32_t* value, bool enabled) {
    addLine(dialog, DIALOG_INTEGER, label, value, enabled, 0, nullptr);
}

void dialogAddRange(Dialog& dialog, const char* label, int32_t* value, int32_t low, int32_t high) {
    const int32_t index = dialog.lineCount;
    addLine(dialog, DIALOG_INTEGER, label, value, true, 0, nullptr);
    if (dialog.lineCount > index) {
        DialogLine& line = dialog.lines[index];
        line.ranged = 1;
        line.low = low;
        line.high = high;
    }
}

void dialogAddFloat(Dialog& dialog, const char* label, float* value, bool enabled) {
    addLine(dialog, DIALOG_FLOAT, label, value, enabled, 0, nullptr);
}

void dialogAddThreeFloats(Dialog& dialog, const char* label, float (*values)[3], bool enabled) {
    addLine(dialog, DIALOG_THREE_FLOATS, label, values, enabled, 0, nullptr);
}

void dialogAlert(const char* title, const char* heading, const char* message) {
    std::unique_ptr<Dialog> box = dialogCreate();
    if (!box) {
        return;
    }
    dialogAddBlank(*box);
    dialogAddText(*box, heading);
    dialogAddBlank(*box);
    dialogAddText(*box, message);
    dialogAddBlank(*box);
    dialogAddButtons(*box, DIALOG_OK);
    if (Dialog* dialog = dialogShow(std::move(box), title, nullptr, nullptr)) {
        dialog->alert = 1;
    }
}

Dialog* dialogShow(std::unique_ptr<Dialog> dialog, const char* title, DialogOkCallback onOk,
                   DialogChangeCallback onChange) {
    if (!dialog || dialog->window != nullptr) {
        return nullptr;
    }
    Dialog& d = *dialog;
    const int32_t colonWidth = charWidth(currentFont(), ':');
    d.height += LINE_GAP * d.lineCount + EXTRA_HEIGHT;
    d.width = d.maxLeft != 0 && d.maxRight != 0
                  ? MARGIN + COLON_GAP + colonWidth + AFTER_COLON + MARGIN
                  : 2 * MARGIN;
    d.width += d.maxLeft + d.maxRight;
    raiseTo(d.width, d.maxWidth + 2 * MARGIN);
    // The title is never cut: a box whose lines are narrower than its title
    // is made as wide as the title needs.
    raiseTo(d.width, widthForTitle(title, DIALOG_STYLE));

    const uint32_t slot = freeSlot();
    openDialogs[slot] = std::move(dialog);
    Window* window =
        createWindow(desktop, (desktopWidth() - d.width) >> 1, (desktopHeight() - d.height) >> 1,
                     d.width, d.height, title, DIALOG_STYLE, DialogWindowProc, slot);
    if (window == nullptr) {
        openDialogs[slot].reset();
        return nullptr;
    }

    {
        CurrentWindow inDialog(window);
        const int32_t rightX =
            d.contentX + d.maxLeft + MARGIN + COLON_GAP + colonWidth + AFTER_COLON;
        const int32_t rowFont = window->canvas.font->height;
        int32_t y = d.contentY + MARGIN;
        for (int32_t i = 0; i < d.lineCount; i++) {
            DialogLine& line = d.lines[i];
            layOutLine(d, line, y, rightX, rowFont, line.editors[0].size);
        }
        for (int32_t i = 0; i < d.lineCount; i++) {
            if (hasEditor(d.lines[i], 0)) {
                lineEditorFocus(d.lines[i].editors[0]);
                break;
            }
        }
    }
    d.window = window;
    d.onOk = onOk;
    d.onChange = onChange;
    d.pulseColour = FIRST_PULSE;
    d.frameOnly = 0;
    // Drawn now, as a window is when created: a box opened in the same pass
    // as another lies beneath it and gets no Draw until it comes to the top,
    // yet its picture is composed under the other all the while.
    sendMessage(window, Draw);
    window->redrawRequested = 1;
    return &d;
}

void DialogWindowProc(Window* window, uint32_t param) {
    if (param >= openDialogs.size() || !openDialogs[param]) {
        return;
    }
    Dialog& d = *openDialogs[param];
    // Until show has laid the lines out there is nothing to run or draw.
    if (d.window != window) {
        return;
    }
    switch (window->message) {
    case Tick:
        updateDialog(d);
        caretUpdate(*window);
        break;
    case Draw: drawDialog(d); break;
    case Close: openDialogs[param].reset(); break;
    default: break;
    }
}

Dialog* dialogOfWindow(const Window* window) {
    for (const std::unique_ptr<Dialog>& d : openDialogs) {
        if (d && window != nullptr && d->window == window) {
            return d.get();
        }
    }
    return nullptr;
}
