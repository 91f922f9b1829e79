#pragma once
// Controls of the scripted platform, for tests and tools: the clock is a value
// the test sets, the screen is an RGB565 picture in memory, and input arrives
// through helpers that set exactly what the main window's message handling
// sets for the matching system message.
#include "platform/platform.h"
#include <cstdint>
#include <vector>

// The screen in unscaled pixels: the window's client area divided by the
// zoom it was last given, as the desktop sees it.
struct ScriptScreen {
    int32_t width;
    int32_t height;
    int32_t zoom;
    std::vector<uint16_t> pixels; // top-down rows, width pixels apart
    uint32_t copyCount;           // blits that had something to copy
    // The rectangle asked for by the last such blit, before clipping to the screen.
    int32_t lastX, lastY, lastWidth, lastHeight;
    uint32_t caretCount; // strips painted by paintCaretStrip
};

// The clock value clockSample will read from now on.
void scriptSetTime(uint32_t ms);
// Sizes the screen picture (cleared to black); negative sizes count as 0.
// platformInit also sizes it to the client size when that is set.
void scriptScreenResize(int32_t width, int32_t height);
const ScriptScreen& scriptScreen();
// Forgets the copy and caret counters and the last rectangle.
void scriptScreenResetCounters();

// The next `count` bitmapCreate calls succeed, the ones after fail; a
// negative count (the start-up state) lets every call succeed.
void scriptSetBitmapBudget(int32_t count);
// Makes platformInit fail at step 1 (window), 2 (copy context), 3 (clock),
// 4 (mouse) or 5 (keyboard); 0 lets it succeed.
void scriptFailPlatformInit(int step);
// Whether the cursor has been hidden by shape 0 (nothing shows it again).
bool scriptCursorHidden();

// Input, with the semantics of the main window's messages.
void scriptKeyDown(uint8_t vk);    // lastKey = vk, down[vk] = 1
void scriptKeyUp(uint8_t vk);      // down[vk] = 0
void scriptChar(uint8_t c);        // lastChar = c when c >= 32
void scriptSysKeyDown(uint8_t vk); // Alt, or a key pressed while Alt is held
void scriptSysKeyUp(uint8_t vk);
void scriptMouseMove(int32_t x, int32_t y); // moved, x and y (16 unsigned bits each)
void scriptLeftDown();                      // leftPressed, press position = last move
void scriptLeftUp();
void scriptRightDown();
void scriptRightUp();
void scriptMiddleDown();
void scriptMiddleUp();
void scriptWheel(int32_t delta); // > 0 forward (away from the user), else backward
void scriptFocusLost();          // leftReleased, so that no drag stays stuck
