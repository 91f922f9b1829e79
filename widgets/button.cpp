#include "widgets/button.h"

#include "toolkit/current.h"
#include "toolkit/style.h"
#include "toolkit/window.h"

namespace {

constexpr int32_t CHECK_BOX_SIZE = 12;

void toggle(CheckBox& box) {
    box.checked ^= 1;
    requestCurrentRedraw();
}

} // namespace

void checkBoxCreate(CheckBox& box, int32_t x, int32_t y, const char* tooltip) {
    box = CheckBox{};
    setRect(box.rect, x, y, CHECK_BOX_SIZE, CHECK_BOX_SIZE);
    clickableInit(box.click, &box.rect, CLICK_ON_RELEASE, 0, nullptr, tooltip);
    box.enabled = 1;
    box.visible = 1;
}

void checkBoxDraw(CheckBox& box) {
    if (!box.visible || desktop.current == nullptr) {
        return;
    }
    currentFillRect(box.rect, styleColour(box.click.hot ? COLOUR_HOT_FACE : COLOUR_CHECK_BOX_FACE));
    if (box.checked) {
        drawIcon(desktop.current->canvas, ICON_CHECK, box.rect.x, box.rect.y);
    }
    currentSunkenBevel(box.rect);
    clickableDrawTooltip(box.click);
}

int checkBoxUpdate(CheckBox& box) {
    if (!box.visible) {
        return 0;
    }
    if (box.click.hot && inputState.keys.lastKey == KEY_SPACE) {
        toggle(box);
        return 1;
    }
    if (clickableUpdate(box.click)) {
        toggle(box);
        return 1;
    }
    return 0;
}
