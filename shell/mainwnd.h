#pragma once
// The main window's side of the program, apart from the system: how the
// window is sized at start, how each of its messages turns into the input
// state and the desktop's flags, and the start, pass and end of the toolkit
// around the message loop. The SDL entry (shell/main.cpp) only translates
// SDL's events into these messages; tests send them directly.
#include "game/flow.h"
#include "toolkit/window.h"
#include <cstdint>

// The messages of the main window, with the meaning of their two values.
enum MainMessage : uint32_t {
    MSG_SIZE,         // wParam: a SizeKind; lParam: width in the low word, height in the high
    MSG_KILL_FOCUS,   // the window lost the keyboard focus
    MSG_PAINT,        // the system lost the window's picture
    MSG_CLOSE,        // the window's close button, or the system asks the program to end
    MSG_KEY_DOWN,     // wParam: virtual-key code (auto-repeats arrive again)
    MSG_KEY_UP,       // wParam: virtual-key code
    MSG_CHAR,         // wParam: character code
    MSG_SYS_KEY_DOWN, // wParam: virtual-key code of Alt, or of a key pressed with Alt
    MSG_SYS_KEY_UP,   // wParam: virtual-key code
    MSG_SYS_CHAR,     // a character typed with Alt
    MSG_MOUSE_MOVE,   // lParam: x in the low word, y in the high
    MSG_LEFT_DOWN,
    MSG_LEFT_UP,
    MSG_RIGHT_DOWN,
    MSG_RIGHT_UP,
    MSG_MIDDLE_DOWN,
    MSG_MIDDLE_UP,
    MSG_WHEEL, // wParam: the turn as a signed 32-bit value, > 0 away from the user
    MSG_TIMER, // the wake-up: the time a window asked for a pass at has come
    MSG_OTHER, // anything else the window is told
};

enum SizeKind : uint32_t {
    SIZE_RESTORED = 0,
    SIZE_MINIMIZED = 1,
    SIZE_MAXIMIZED = 2,
    SIZE_FULL_SCREEN = 3, // the window covers the display, without a frame
};

// The design's loop woke on a timer of this period; ours wakes when a window
// asked for a pass (shellWaitLimit), and only a wait that failed is tried
// again after this long.
constexpr uint32_t WAKE_UP_MS = 55;

// 1 while the program is minimised and SUSPEND asks for suspension; the loop
// then waits for messages and runs no update pass.
extern uint32_t suspended;

// How the main window is created. Sizes are the client area's, in screen
// pixels.
struct StartupWindow {
    int32_t x, y;
    int32_t width, height;
    int32_t mode;        // 0 windowed, 1 maximised, 2 full screen; others as FULLSCR gave them
    uint32_t maximised;  // shown maximised (modes 1 and 2)
    uint32_t borderless; // mode 2: full screen, a window without a frame covering the display
    int32_t zoom;
    // The plain window that a maximised or full-screen one comes back to.
    int32_t windowedWidth, windowedHeight;
};

// The window's placement from WINDX, WINDY (the desktop's size, in its own
// pixels) and FULLSCR, the screen's size and the display's largest zoom.
StartupWindow startupWindow(int32_t screenWidth, int32_t screenHeight, const char* windx,
                            const char* windy, const char* fullscr, int32_t largestZoom = 1);
// The same with the values of the loaded configuration.
StartupWindow startupWindowFromConfig(int32_t screenWidth, int32_t screenHeight,
                                      int32_t largestZoom);

// The main window's procedure. Returns 0 for a message it consumes, 1 for
// one the system's own handling should see as well.
int MainWndProc(uint32_t message, uint32_t wParam, uint32_t lParam);

// Start-up, before anything else: where GHold.dat is and where the player's
// files go (toolkit/places.h), from the environment and the folder the
// program runs from (null when unknown). The environment's GLOOMHOLD_DATA
// names the data file explicitly.
void shellFindFiles(const char* programFolder);
// Start-up, first part: the desktop record cleared, Cfg.txt loaded, the
// platform record cleared.
void shellBegin();
// Start-up, second part, once the window exists: the platform layer, then the
// desktop with its bottom window run by proc (the game's, or the level
// editor's), at the window's client size (screen pixels) divided by the zoom
// in shell/view.h. Returns nullptr, or the message to show the user; after a
// failure everything started here has been taken down again.
const char* shellStartDesktop(int32_t clientWidth, int32_t clientHeight,
                              WindowProc proc = GameWindowProc);
// One update pass, then the one-pass events cleared. false once the desktop
// has no window left: the loop is over.
bool shellPass();
// How long a waiting loop may sleep, in ms from `now`: until the earliest
// time a window asked for a pass at (0 when it has come), or -1, without
// limit, when none did or the program is suspended.
int32_t shellWaitLimit(uint32_t now);
// Where the loop gets its messages. Called with wait false, it hands one
// waiting message to MainWndProc and returns true, or returns false at once
// when the queue is empty; with wait true it blocks until a message comes,
// or until shellWaitLimit has run out, which it tells MainWndProc as the
// wake-up message, and returns false only when waiting failed.
using MessageSource = bool (*)(bool wait);

// The message loop: it polls while the desktop is awake and waits otherwise
// or while suspended, runs one update pass whenever the queue is empty, and
// returns once the desktop has no window left.
void runMessageLoop(MessageSource next);

// The orderly end: the desktop (which writes Cfg.txt) and the platform layer.
void shellEnd();
