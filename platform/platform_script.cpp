// The scripted platform: everything a test needs to drive the toolkit and the
// game without a display. The screen is a picture in memory and the clock
// only moves when the test says so.
#include "platform/platform_script.h"
#include "platform/platform_common.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

namespace {

ScriptScreen screen;
uint32_t scriptTime;
int32_t bitmapBudget = -1;
int failingInitStep;
bool cursorHidden;

void copyToScreen(const uint16_t* source, int32_t sourceWidth, int32_t sourceHeight, int32_t destX,
                  int32_t destY, int32_t width, int32_t height, int32_t srcX, int32_t srcY) {
    screen.copyCount++;
    screen.lastX = destX;
    screen.lastY = destY;
    screen.lastWidth = width;
    screen.lastHeight = height;
    if (source == nullptr) {
        return;
    }
    // Clip against both the source bitmap and the screen; the parts outside
    // either are simply not copied.
    int32_t x0 = std::max({destX, 0, destX - srcX});
    int32_t y0 = std::max({destY, 0, destY - srcY});
    int32_t x1 = std::min({destX + width, screen.width, destX - srcX + sourceWidth});
    int32_t y1 = std::min({destY + height, screen.height, destY - srcY + sourceHeight});
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    for (int32_t y = y0; y < y1; y++) {
        const uint16_t* from =
            source + int64_t{y - destY + srcY} * sourceWidth + (x0 - destX + srcX);
        std::memcpy(&screen.pixels[size_t(y) * size_t(screen.width) + size_t(x0)], from,
                    size_t(x1 - x0) * 2);
    }
}

} // namespace

void scriptSetTime(uint32_t ms) {
    scriptTime = ms;
}

void scriptScreenResize(int32_t width, int32_t height) {
    screen.width = std::max(width, 0);
    screen.height = std::max(height, 0);
    screen.zoom = 1;
    screen.pixels.assign(size_t(screen.width) * size_t(screen.height), 0);
}

void platformScreenResize(int32_t width, int32_t height, int32_t zoom) {
    zoom = std::max(zoom, 1);
    scriptScreenResize(width / zoom, height / zoom);
    screen.zoom = zoom;
}

const ScriptScreen& scriptScreen() {
    return screen;
}

void scriptScreenResetCounters() {
    screen.copyCount = 0;
    screen.caretCount = 0;
    screen.lastX = screen.lastY = screen.lastWidth = screen.lastHeight = 0;
}

void scriptSetBitmapBudget(int32_t count) {
    bitmapBudget = count;
}

bool platformAllowsBitmap() {
    if (bitmapBudget == 0) {
        return false;
    }
    if (bitmapBudget > 0) {
        bitmapBudget--;
    }
    return true;
}
void scriptFailPlatformInit(int step) {
    failingInitStep = step;
}
bool scriptCursorHidden() {
    return cursorHidden;
}

const char* platformInit(Platform& p) {
    p.ready = 1;
    if (failingInitStep == 1) {
        return "Failed to init window DC";
    }
    p.windowDc = &screen;
    if (p.clientWidth > 0 && p.clientHeight > 0) {
        scriptScreenResize(p.clientWidth, p.clientHeight);
    }
    if (failingInitStep == 2) {
        return "Failed to init window hDCMem";
    }
    p.memoryDc = &screen.pixels;
    if (failingInitStep == 3 || !clockInit(p.input)) {
        return "Failed to init timer";
    }
    if (failingInitStep == 4 || !mouseInit(p.input.mouse)) {
        return "Failed to init mouse";
    }
    if (failingInitStep == 5 || !keysInit(p.input.keys)) {
        return "Failed to init keyboard";
    }
    return nullptr;
}

void platformShutdown(Platform& p) {
    p.memoryDc = nullptr;
    p.windowDc = nullptr;
}

void blitRectToScreen(const ScreenBitmap& bitmap, int32_t destX, int32_t destY, int32_t width,
                      int32_t height, int32_t srcX, int32_t srcY) {
    if (width <= 0 || height <= 0) {
        return;
    }
    copyToScreen(bitmap.owned ? bitmap.pixels : nullptr, bitmap.width, bitmap.height, destX, destY,
                 width, height, srcX, srcY);
}

void paintCaretStrip(int32_t x, int32_t y, int32_t height) {
    screen.caretCount++;
    int32_t x0 = std::max(x, 0), x1 = std::min(x + 2, screen.width);
    int32_t y0 = std::max(y, 0), y1 = std::min(y + height, screen.height);
    for (int32_t row = y0; row < y1; row++) {
        for (int32_t column = x0; column < x1; column++) {
            screen.pixels[size_t(row) * size_t(screen.width) + size_t(column)] = 0xFFFF;
        }
    }
}

void setCursorShape(MouseState& mouse, uint32_t code) {
    mouse.cursorShape = code;
    if (code == 0) {
        cursorHidden = true;
    }
}

int clockInit(InputState&) {
    return 1;
}

uint32_t clockSample(InputState& input) {
    input.now = scriptTime;
    return input.now;
}

void scriptKeyDown(uint8_t vk) {
    inputState.keys.lastKey = vk;
    inputState.keys.down[vk] = 1;
}

void scriptKeyUp(uint8_t vk) {
    inputState.keys.down[vk] = 0;
}

void scriptChar(uint8_t c) {
    if (c >= 32) {
        inputState.keys.lastChar = c;
    }
}

void scriptSysKeyDown(uint8_t vk) {
    KeyboardState& keys = inputState.keys;
    if (vk == KEY_ALT) {
        keys.altHeld = 1;
        keys.altPressed = 1;
    } else if (keys.altHeld != 0 && vk != KEY_SPACE) {
        keys.altLetter = vk;
    }
}

void scriptSysKeyUp(uint8_t vk) {
    if (vk == KEY_ALT) {
        inputState.keys.altHeld = 0;
    }
}

void scriptMouseMove(int32_t x, int32_t y) {
    // The move message carries each coordinate in 16 unsigned bits.
    inputState.mouse.moved = 1;
    inputState.mouse.x = x & 0xFFFF;
    inputState.mouse.y = y & 0xFFFF;
}

void scriptLeftDown() {
    MouseState& mouse = inputState.mouse;
    mouse.leftPressed = 1;
    mouse.pressX = mouse.x;
    mouse.pressY = mouse.y;
}

void scriptLeftUp() {
    inputState.mouse.leftReleased = 1;
}
void scriptRightDown() {
    inputState.mouse.rightPressed = 1;
}
void scriptRightUp() {
    inputState.mouse.rightReleased = 1;
}
void scriptMiddleDown() {
    inputState.mouse.middlePressed = 1;
}
void scriptMiddleUp() {
    inputState.mouse.middleReleased = 1;
}

void scriptWheel(int32_t delta) {
    if (delta > 0) {
        inputState.mouse.wheelForward = 1;
    } else {
        inputState.mouse.wheelBackward = 1;
    }
}

void scriptFocusLost() {
    inputState.mouse.leftReleased = 1;
}
