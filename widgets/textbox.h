#pragma once
// The multi-line text box: a read-only text of many lines inside a rectangle
// of the current window. The text comes from a string or a file, is cleaned
// (tabs expanded, line ends unified, other control characters and bytes of
// 128 and above dropped) and broken into lines once, at creation. Long lines
// are either wrapped at the box's width or, with a horizontal scroll bar,
// left whole; an optional vertical bar scrolls by lines, and Page Up, Page
// Down, Home and End page through it once it has the focus.
//
// Like every widget the box is owned by its window: created during Create,
// drawn during Draw, polled during Tick and freed during Close.
#include "toolkit/surface.h"
#include "widgets/scrollbar.h"
#include <cstdint>
#include <memory>

struct Font;

struct TextLine {
    std::unique_ptr<char[]> chars; // zero-terminated, without the line feed
    uint16_t length;
};

struct TextBox {
    Rect rect; // the whole box, client coordinates of the window
    const Font* font;
    HScrollBar hbar; // inert unless the box scrolls sideways
    VScrollBar vbar; // inert unless the box has a vertical bar; its top is the first line shown
    Rect area;       // the text area: the box less the bars
    uint32_t created;
    uint32_t noWrap;
    int32_t lineCount; // at least 1 once created
    int32_t widest;    // pixels
    std::unique_ptr<TextLine[]> lines;
    int32_t rowsPerPage;
    int32_t current; // the keyboard's line, not drawn
    int32_t step;    // extra room at the end of the horizontal range
};

// Exactly one of text and fileName is used: a file name wins. A null font
// means the current window's font. Returns 1, or 0 after reporting the
// problem in a dialog.
int textBoxCreate(TextBox& box, int32_t x, int32_t y, int32_t width, int32_t height,
                  const char* text, const char* fileName, bool noWrap, bool verticalBar,
                  const Font* font);
void textBoxDraw(TextBox& box);
// focus, when given, names the box that holds the keyboard focus among
// several; a click gives it to this one. 1 when the box used the input.
int textBoxUpdate(TextBox& box, TextBox** focus);
void textBoxFree(TextBox& box);

// The problems the box reports; 4 reads like 3, any other code is an
// undefined error.
enum : int32_t {
    TEXTBOX_NO_MEMORY = 1,
    TEXTBOX_FILE_NOT_FOUND = 2,
    TEXTBOX_READ_ERROR = 3,
};
// Shows the problem in an alert dialog headed " Edit Box Error: ". Its
// message lives in one static buffer: one such dialog at a time.
void textBoxError(TextBox& box, int32_t code, const char* name);
