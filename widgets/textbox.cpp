// The multi-line text box: reading and cleaning the text, breaking it into
// lines, drawing the rows shown, paging with the keys, and its error box.
#include "widgets/textbox.h"

#include "platform/files.h"
#include "toolkit/desktop.h"
#include "toolkit/font.h"
#include "widgets/msgbox.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr int32_t MAX_STEP = 150;
// A text box shows a page of notes, not a book: a larger file is refused.
constexpr size_t TEXT_FILE_LIMIT = 1 << 20;
constexpr int32_t TAB_SPACES = 4;
constexpr uint8_t LAST_ASCII = 127;
// The longest name an error message quotes.
constexpr int32_t NAME_LIMIT = 127;

// Fits the longest message, "Error while reading '...' file", with the name
// at its limit.
constexpr int32_t MESSAGE_WORDS = 40;
char errorMessage[NAME_LIMIT + MESSAGE_WORDS];

// Allocations the box reports on must be allowed to fail.
std::unique_ptr<char[]> allocateChars(size_t count) {
    return std::unique_ptr<char[]>(new (std::nothrow) char[count]);
}

// Rows are as tall as the window's font and a pixel more, whatever font the
// box itself writes in.
int32_t rowHeight() {
    return currentFont().height + 1;
}

struct Source {
    std::unique_ptr<char[]> bytes;
    size_t length;
};

// The file's bytes, read whole in one read; 0 when it was reported.
int readFile(TextBox& box, const char* fileName, Source& source) {
    std::vector<uint8_t> bytes;
    switch (readWholeFile(fileName, TEXT_FILE_LIMIT, bytes)) {
    case FileStatus::Ok: break;
    case FileStatus::CannotOpen: textBoxError(box, TEXTBOX_FILE_NOT_FOUND, fileName); return 0;
    // The limit stands in for the allocation that would have failed.
    case FileStatus::TooLarge: textBoxError(box, TEXTBOX_NO_MEMORY, fileName); return 0;
    default: textBoxError(box, TEXTBOX_READ_ERROR, fileName); return 0;
    }
    // An empty file delivers nothing, which counts as a failed read.
    if (bytes.empty()) {
        textBoxError(box, TEXTBOX_READ_ERROR, fileName);
        return 0;
    }
    source.bytes = allocateChars(bytes.size() + 1);
    if (!source.bytes) {
        textBoxError(box, TEXTBOX_NO_MEMORY, fileName);
        return 0;
    }
    std::memcpy(source.bytes.get(), bytes.data(), bytes.size());
    source.length = bytes.size();
    return 1;
}

// Tabs become four spaces (not aligned to stops), CR LF and a lone CR become
// LF, and every other control character and every byte of 128 or more goes.
size_t cleanText(const char* in, size_t length, char* out) {
    size_t n = 0;
    for (size_t i = 0; i < length; i++) {
        const uint8_t c = uint8_t(in[i]);
        if (c == '\t') {
            for (int32_t k = 0; k < TAB_SPACES; k++) {
                if (out != nullptr) {
                    out[n] = ' ';
                }
                n++;
            }
            continue;
        }
        char kept;
        if (c == '\r') {
            if (i + 1 < length && in[i + 1] == '\n') {
                i++;
            }
            kept = '\n';
        } else if (c == '\n' || (c >= ' ' && c <= LAST_ASCII)) {
            kept = char(c);
        } else {
            continue;
        }
        if (out != nullptr) {
            out[n] = kept;
        }
        n++;
    }
    return n;
}

// Breaks the cleaned text into lines, calling line(start, length) for each
// and returning the widest line's width. In wrap mode a character whose
// right end would pass the wrap width starts the next line; a character
// wider than the whole width still gets a line of its own rather than none.
template <typename LineFn>
int32_t breakLines(const char* text, size_t length, int32_t wrapWidth, bool wrap, const Font& font,
                   LineFn line) {
    int32_t widest = 0;
    size_t start = 0, pos = 0;
    int32_t width = 0;
    for (;;) {
        if (pos == length || text[pos] == '\n') {
            line(start, pos - start);
            raiseTo(widest, width);
            if (pos == length) {
                return widest;
            }
            pos++;
            start = pos;
            width = 0;
            continue;
        }
        const int32_t w = charWidth(font, uint8_t(text[pos]));
        if (pos - start == size_t(TEXT_MAX) || (wrap && width + w > wrapWidth && pos > start)) {
            line(start, pos - start);
            raiseTo(widest, width);
            start = pos;
            width = 0;
            continue;
        }
        width += w;
        pos++;
    }
}

} // namespace

int textBoxCreate(TextBox& box, int32_t x, int32_t y, int32_t width, int32_t height,
                  const char* text, const char* fileName, bool noWrap, bool verticalBar,
                  const Font* font) {
    textBoxFree(box);
    setRect(box.rect, x, y, width, height);
    box.font = font != nullptr ? font : &currentFont();

    Source source{};
    if (fileName != nullptr) {
        if (!readFile(box, fileName, source)) {
            return 0;
        }
    } else {
        source.length = text != nullptr ? std::strlen(text) : 0;
        source.bytes = allocateChars(source.length + 1);
        if (!source.bytes) {
            textBoxError(box, TEXTBOX_NO_MEMORY, nullptr);
            return 0;
        }
        if (source.length != 0) {
            std::memcpy(source.bytes.get(), text, source.length);
        }
    }

    const size_t cleanLength = cleanText(source.bytes.get(), source.length, nullptr);
    std::unique_ptr<char[]> clean = allocateChars(cleanLength + 1);
    if (!clean) {
        textBoxError(box, TEXTBOX_NO_MEMORY, nullptr);
        return 0;
    }
    cleanText(source.bytes.get(), source.length, clean.get());
    clean[cleanLength] = 0;
    source.bytes.reset();

    box.noWrap = noWrap ? 1 : 0;
    const bool wrap = box.noWrap == 0;
    const int32_t bar = verticalBar ? SCROLLBAR_SIZE : 0;
    int32_t count = 0;
    box.widest = breakLines(clean.get(), cleanLength, width - bar, wrap, *box.font,
                            [&](size_t, size_t) { count++; });
    box.lineCount = count;

    setRect(box.area, x, y, width - bar, height - (wrap ? 0 : SCROLLBAR_SIZE));
    if (verticalBar) {
        vscrollCreate(box.vbar, x + width - SCROLLBAR_SIZE, y, height, box.area.height, 0,
                      box.lineCount, rowHeight());
    }

    box.lines.reset(new (std::nothrow) TextLine[size_t(box.lineCount)]);
    if (!box.lines) {
        textBoxError(box, TEXTBOX_NO_MEMORY, nullptr);
        box = TextBox{};
        return 0;
    }
    int32_t copied = 0;
    bool full = false;
    breakLines(clean.get(), cleanLength, box.area.width, wrap, *box.font,
               [&](size_t start, size_t length) {
                   if (full || copied >= box.lineCount) {
                       return;
                   }
                   TextLine& line = box.lines[size_t(copied)];
                   line.chars = allocateChars(length + 1);
                   // Out of memory half-way, the lines so far are kept without
                   // a word: the box still shows something.
                   if (!line.chars) {
                       full = true;
                       return;
                   }
                   std::memcpy(line.chars.get(), clean.get() + start, length);
                   line.chars[length] = 0;
                   line.length = uint16_t(length);
                   copied++;
               });
    box.lineCount = copied;

    clean.reset();
    box.step = box.area.width / 4;
    lowerTo(box.step, MAX_STEP);
    if (!wrap) {
        hscrollCreate(box.hbar, x, y + height - SCROLLBAR_SIZE, box.area.width,
                      box.widest + box.step, 0);
    }
    box.rowsPerPage = box.area.height / rowHeight();
    box.created = 1;
    return 1;
}

void textBoxDraw(TextBox& box) {
    if (!box.created || desktop.current == nullptr) {
        return;
    }
    hscrollDraw(box.hbar);
    vscrollDraw(box.vbar);
    WindowCanvas& canvas = desktop.current->canvas;
    const uint16_t colour = styleColour(COLOUR_EDIT_TEXT);
    const int32_t row = rowHeight();
    const int32_t x0 = box.area.x - box.hbar.pos;
    const int32_t right = box.area.x + box.area.width;
    const int32_t bottom = box.area.y + box.area.height;
    int32_t y = box.area.y;
    for (int32_t r = 0; r < box.rowsPerPage && y + row <= bottom; r++) {
        const int32_t index = box.vbar.top + r;
        if (index >= box.lineCount) {
            break;
        }
        const TextLine& line = box.lines[size_t(index)];
        int32_t x = x0;
        for (int32_t i = 0; i < line.length; i++) {
            const uint8_t c = uint8_t(line.chars[size_t(i)]);
            const int32_t w = charWidth(*box.font, c);
            if (x + w > right) {
                break;
            }
            // Characters scrolled out on the left are skipped whole, not cut.
            if (x >= box.area.x) {
                drawChar(canvas, c, x, y, colour, *box.font);
            }
            x += w;
        }
        y += row;
    }
}

int textBoxUpdate(TextBox& box, TextBox** focus) {
    if (!box.created) {
        return 0;
    }
    if (inputState.mouse.leftPressed && currentMouseInside(box.rect)) {
        if (focus != nullptr) {
            *focus = &box;
        }
        if (desktop.current != nullptr) {
            desktop.current->caret.on = 0;
        }
    }
    if (focus != nullptr && *focus != &box) {
        return 0;
    }
    if (vscrollUpdate(box.vbar) || hscrollUpdate(box.hbar)) {
        return 1;
    }
    const uint8_t key = inputState.keys.lastKey;
    if (key == 0) {
        return 0;
    }
    const int32_t last = box.lineCount - 1;
    switch (key) {
    case KEY_PAGE_UP:
        if (box.current > 0) {
            box.current -= box.rowsPerPage;
            raiseTo(box.current, 0);
        }
        break;
    case KEY_PAGE_DOWN:
        if (box.current < last) {
            box.current += box.rowsPerPage;
            lowerTo(box.current, last);
        }
        break;
    case KEY_END: box.current = last; break;
    case KEY_HOME: box.current = 0; break;
    default: return 0;
    }
    // The view follows the keyboard's line by at most a page per press.
    if (box.current < box.vbar.top) {
        vscrollTo(box.vbar, box.vbar.top - box.rowsPerPage);
    } else if (box.current >= box.vbar.top + box.rowsPerPage) {
        vscrollTo(box.vbar, box.vbar.top + box.rowsPerPage);
    }
    return 1;
}

void textBoxFree(TextBox& box) {
    box = TextBox{};
}

void textBoxError(TextBox&, int32_t code, const char* name) {
    const char* shown = name != nullptr ? name : "";
    switch (code) {
    case TEXTBOX_NO_MEMORY:
        std::snprintf(errorMessage, sizeof errorMessage, "Not enough memory to perform operation");
        break;
    case TEXTBOX_FILE_NOT_FOUND:
        std::snprintf(errorMessage, sizeof errorMessage, "File '%.127s' not found", shown);
        break;
    case TEXTBOX_READ_ERROR:
    case 4:
        std::snprintf(errorMessage, sizeof errorMessage, "Error while reading '%.127s' file",
                      shown);
        break;
    default: std::snprintf(errorMessage, sizeof errorMessage, "Undefined error"); break;
    }
    dialogAlert(nullptr, " Edit Box Error: ", errorMessage);
}
