#pragma once
// The seam between Gloomhold and the machine it runs on. Everything the game
// and the toolkit need from the operating system is declared here: the pixel
// bitmaps they draw into and copy to the screen, the caret strip, the cursor
// shape, the millisecond clock, the input state, and the sound output.
//
// Two implementations provide it, chosen at link time: the SDL2 one
// (shell/*_sdl.cpp) for the program, and a scripted one
// (platform/*_script.cpp) whose clock, input and screen live in memory, for
// tests and tools. Each has a header of its own for what only its users
// need: shell/platform_sdl.h (the window handed over by the shell, screen
// resizes, the key table) and platform/platform_script.h (the test controls).
#include <cstdint>

// Virtual-key codes the program works in. The SDL layer translates its own
// key events into these.
enum : uint8_t {
    KEY_BACK = 0x08,
    KEY_TAB = 0x09,
    KEY_ENTER = 0x0D,
    KEY_SHIFT = 0x10,
    KEY_CTRL = 0x11,
    KEY_ALT = 0x12,
    KEY_ESCAPE = 0x1B,
    KEY_SPACE = 0x20,
    KEY_PAGE_UP = 0x21,
    KEY_PAGE_DOWN = 0x22,
    KEY_END = 0x23,
    KEY_HOME = 0x24,
    KEY_LEFT = 0x25,
    KEY_UP = 0x26,
    KEY_RIGHT = 0x27,
    KEY_DOWN = 0x28,
    KEY_INSERT = 0x2D,
    KEY_DELETE = 0x2E,
    KEY_R = 0x52,
    KEY_F5 = 0x74,
    KEY_F6 = 0x75,
};

// Every field is 32 bits wide. Positions come from move messages only.
struct MouseState {
    uint32_t moved;
    int32_t x, y;
    int32_t pressX, pressY;
    uint32_t leftPressed, leftReleased;
    uint32_t rightPressed, rightReleased;
    uint32_t middlePressed, middleReleased;
    uint32_t wheelForward, wheelBackward;
    uint32_t cursorShape;
};

constexpr int KEY_CODES = 256;

struct KeyboardState {
    uint8_t down[KEY_CODES]; // by virtual-key code: 1 while held
    uint8_t lastKey;         // event: last key-down, auto-repeat included
    uint8_t lastChar;        // event: last character of code 32 or more
    uint8_t altLetter;       // event: key pressed while Alt was held
    uint8_t altHeld;
    uint32_t altPressed; // event: Alt went down
};

// The one input record. `now` is sampled once per update pass so that every
// reader during a pass sees the same time.
struct InputState {
    uint32_t now;
    MouseState mouse;
    KeyboardState keys;
};

// A top-down RGB565 bitmap the program writes directly and copies to the
// screen. Rows are exactly 2 * width bytes apart.
struct ScreenBitmap {
    int32_t width;
    int32_t height;
    uint16_t* pixels;
    uint32_t owned;
    void* description; // the implementation's own block, allocated by create
};

struct Platform {
    uint32_t ready;
    int32_t clientWidth;
    int32_t clientHeight;
    uint32_t slowDisplay;
    void* windowDc; // the implementation's handle on the visible window
    void* memoryDc; // the implementation's copy context
    InputState input;
};

extern Platform platform;
// The input state lives in the platform record; this is its short name.
inline InputState& inputState = platform.input;

void platformClear(Platform& p);
// Returns nullptr, or one of "Failed to init window DC", "Failed to init window
// hDCMem", "Failed to init timer", "Failed to init mouse", "Failed to init keyboard".
const char* platformInit(Platform& p);
void platformShutdown(Platform& p);

int bitmapCreate(ScreenBitmap& bitmap, int32_t width, int32_t height);
void bitmapFree(ScreenBitmap& bitmap);
void blitToScreen(const ScreenBitmap& bitmap, int32_t x, int32_t y);
void blitRectToScreen(const ScreenBitmap& bitmap, int32_t destX, int32_t destY, int32_t width,
                      int32_t height, int32_t srcX, int32_t srcY);
void paintCaretStrip(int32_t x, int32_t y, int32_t height);
// The window's client area is width x height screen pixels, and every pixel
// of the bitmaps copied to it is shown as zoom x zoom of them, from now on.
// The screen is black until the next copies; the shell makes the desktop
// draw everything again. Positions of copies stay in unscaled pixels.
void platformScreenResize(int32_t width, int32_t height, int32_t zoom);

// Shapes: 0 hidden, 1 arrow, 2 west-east, 3 north-south, 4 north-west to
// south-east, 5 north-east to south-west, 6 four-way move; others are stored only.
void setCursorShape(MouseState& mouse, uint32_t code);

int clockInit(InputState& input);
uint32_t clockSample(InputState& input);
int mouseInit(MouseState& mouse);
void mouseClearEvents(MouseState& mouse);
int keysInit(KeyboardState& keys);
void keysClearEvents(KeyboardState& keys);

// Sound output: 16-bit signed mono at 11025 samples per second, played from
// two alternating buffers of 2048 samples. Whenever one buffer has been
// played it is refilled by the fill routine and queued behind the other.
constexpr int32_t AUDIO_BUFFER_BYTES = 4096;
constexpr int32_t AUDIO_BUFFER_SAMPLES = AUDIO_BUFFER_BYTES / 2;
constexpr int32_t AUDIO_RATE = 11025;

using AudioFill = void (*)(int16_t* buffer);

struct AudioOut {
    void* handle;         // the implementation's device
    uint32_t prepared[2]; // buffer k is queued for playing
    int16_t* buffers[2];  // two static blocks of AUDIO_BUFFER_BYTES
    uint32_t open;
    int32_t bufferSize; // AUDIO_BUFFER_BYTES
    int32_t nextIndex;  // the buffer to fill next, 0 or 1
    AudioFill fill;
};

int audioOpen(AudioOut& device, AudioFill fill);
void audioClose(AudioOut& device);
void queueNextBuffer(AudioOut& device);
