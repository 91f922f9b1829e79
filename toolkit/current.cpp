// Drawing on the current window: the desktop's window whose procedure is
// running. Rectangles are in its client coordinates, given as position and size.
#include "toolkit/current.h"

#include "toolkit/font.h"
#include "toolkit/style.h"
#include "toolkit/window.h"

// Outside any procedure there is no current window and these draw nothing.
void currentFillRect(const Rect& r, uint16_t colour) {
    if (desktop.current != nullptr) {
        drawFilledRect(desktop.current->canvas, r.x, r.y, r.x + r.width - 1, r.y + r.height - 1,
                       colour);
    }
}

void currentRaisedBevel(const Rect& r) {
    if (desktop.current != nullptr) {
        drawRaisedBevel(desktop.current->canvas, r.x, r.y, r.x + r.width - 1, r.y + r.height - 1);
    }
}

void currentSunkenBevel(const Rect& r) {
    if (desktop.current != nullptr) {
        drawSunkenBevel(desktop.current->canvas, r.x, r.y, r.x + r.width - 1, r.y + r.height - 1);
    }
}

int currentMouseInside(const Rect& r) {
    const Window* window = desktop.current;
    if (window == nullptr || window->active == 0) {
        return 0;
    }
    int32_t mx = inputState.mouse.x - window->x;
    int32_t my = inputState.mouse.y - window->y;
    return r.x <= mx && mx < r.x + r.width && r.y <= my && my < r.y + r.height ? 1 : 0;
}

void currentTooltipBox(const Rect& r, const char* text, int32_t openedHeight) {
    if (desktop.current == nullptr) {
        return;
    }
    WindowCanvas& canvas = desktop.current->canvas;
    int32_t x = r.x, y = r.y;
    // Keep the box on the canvas, preferring its left and top edges when it
    // is larger than the canvas itself.
    if (x + r.width >= canvas.surface.width) {
        x = canvas.surface.width - r.width;
    }
    if (y + r.height >= canvas.surface.height) {
        y = canvas.surface.height - r.height;
    }
    raiseTo(x, 4);
    raiseTo(y, 0);
    const uint16_t background = styleColour(COLOUR_TOOLTIP_BACKGROUND);
    // While it unrolls only the opened part shows, without text.
    if (openedHeight < r.height) {
        drawFilledRect(canvas, x, y, x + r.width, y + openedHeight, background);
        return;
    }
    drawFilledRect(canvas, x, y, x + r.width, y + r.height, background);
    drawText(canvas, text, x + 4, y + 2, styleColour(COLOUR_TOOLTIP_TEXT), 0,
             &builtinFont(styleTable.tooltipFont));
}

const Font& currentFont() {
    if (desktop.current != nullptr && desktop.current->canvas.font != nullptr) {
        return *desktop.current->canvas.font;
    }
    return builtinFont(0);
}

void requestCurrentRedraw() {
    if (desktop.current != nullptr) {
        desktop.current->redrawRequested = 1;
    }
}
