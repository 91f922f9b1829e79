// The main window's message handling and the toolkit's start, pass and end
// around the message loop, free of any system call so that tests can drive
// them. All drawing and all logic happen in the desktop's update pass; the
// messages only fill the input state and a few of the desktop's flags.
#include "shell/mainwnd.h"

#include "shell/view.h"

#include "game/flow.h"
#include "platform/platform.h"
#include "toolkit/config.h"
#include "toolkit/desktop.h"
#include "toolkit/places.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <string>
#include <unistd.h>

uint32_t suspended;

namespace {

// The width handed to the desktop on a size message is made even, as every
// canvas must be (an odd width grows by one). The mask keeps 16 bits rather
// than 11: screens wider than 2046 pixels are common, and the low word of the
// message carries 16 bits anyway. The desktop raises a width of 0 (from a
// 65535-pixel client) to its minimum.
constexpr uint32_t EVEN_WIDTH_MASK = 0xFFFE;

uint32_t lowWord(uint32_t value) {
    return value & 0xFFFF;
}

uint32_t highWord(uint32_t value) {
    return value >> 16;
}

// The plain window's size as WINDX and WINDY last had it. A maximised or
// full-screen desktop does not write its size over it, so that the window
// comes back at this size, in this run or the next.
char plainWidth[CONFIG_VALUE_SIZE];
char plainHeight[CONFIG_VALUE_SIZE];

void handleSize(uint32_t kind, uint32_t lParam) {
    if (kind == SIZE_MINIMIZED) {
        desktop.minimized = 1;
        suspended = configGet("SUSPEND")[0] == '1' ? 1 : 0;
        return;
    }
    desktop.minimized = 0;
    const int32_t width = int32_t((lowWord(lParam) + 1) & EVEN_WIDTH_MASK);
    desktopResize(desktop, width, int32_t(highWord(lParam)));
    // The screen was replaced by a black one of the new size, also when the
    // desktop's own size stayed (a client one pixel narrower, made even).
    desktop.needsRedraw = 1;
    if (kind == SIZE_RESTORED) {
        std::snprintf(plainWidth, sizeof plainWidth, "%s", configGet("WINDX"));
        std::snprintf(plainHeight, sizeof plainHeight, "%s", configGet("WINDY"));
    } else {
        configSet("WINDX", plainWidth);
        configSet("WINDY", plainHeight);
    }
    configSet("FULLSCR", kind == SIZE_FULL_SCREEN ? "2" : kind == SIZE_MAXIMIZED ? "1" : "0");
    suspended = 0;
}

// The user folder's name in the data home.
constexpr const char* USER_FOLDER_NAME = "gloomhold";
constexpr const char* DATA_VARIABLE = "GLOOMHOLD_DATA";

// HOME, or the password database's entry when HOME is not set, as a login
// shell would have set it.
const char* homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != 0) {
        return home;
    }
    const passwd* user = getpwuid(getuid());
    return user != nullptr ? user->pw_dir : nullptr;
}

void handleSysKeyDown(uint32_t wParam) {
    KeyboardState& keys = inputState.keys;
    if (wParam == KEY_ALT) {
        keys.altHeld = 1;
        keys.altPressed = 1;
        return;
    }
    if (keys.altHeld == 0) {
        return;
    }
    // Letters arrive as their upper-case virtual-key codes, which hot keys
    // are compared with; Alt+space is the system menu's, never a hot key.
    const uint8_t c = uint8_t(wParam & 0xFF);
    if (c != KEY_SPACE) {
        keys.altLetter = c;
    }
}

} // namespace

StartupWindow startupWindow(int32_t screenWidth, int32_t screenHeight, const char* windx,
                            const char* windy, const char* fullscr, int32_t largestZoom) {
    StartupWindow w{};
    // The desktop is never smaller than the game's, which the design's
    // 500 x 375 would cut off.
    const int64_t desktopWidth = std::max(leadingInteger(windx), leastDesktop.width);
    const int64_t desktopHeight = std::max(leadingInteger(windy), leastDesktop.height);
    // The first character names the mode; an empty value reads as -48, a
    // mode like any other non-windowed one.
    w.mode = (fullscr != nullptr ? uint8_t(fullscr[0]) : 0) - '0';
    // A plain window takes the largest zoom at which it still fits the
    // screen, so that one left large at a small zoom opens as it was left.
    const auto fits = [&](int32_t zoom) {
        return desktopWidth * zoom <= screenWidth && desktopHeight * zoom <= screenHeight;
    };
    w.zoom = std::max(largestZoom, 1);
    while (w.mode == 0 && w.zoom > 1 && !fits(w.zoom)) {
        w.zoom--;
    }
    w.width = int32_t(std::min(desktopWidth * w.zoom, int64_t{screenWidth}));
    w.height = int32_t(std::min(desktopHeight * w.zoom, int64_t{screenHeight}));
    w.windowedWidth = w.width;
    w.windowedHeight = w.height;
    if (w.mode != 0 || !fits(w.zoom)) {
        w.width = screenWidth;
        w.height = screenHeight;
        if (w.mode == 0) {
            w.mode = 1; // a window that does not fit opens maximised
        }
    }
    // Truncating division, as the window's position was always worked out.
    w.x = (screenWidth - w.width) / 2;
    w.y = (screenHeight - w.height) / 2;
    w.maximised = (w.mode == 1 || w.mode == 2) ? 1 : 0;
    w.borderless = w.mode == 2 ? 1 : 0;
    return w;
}

StartupWindow startupWindowFromConfig(int32_t screenWidth, int32_t screenHeight,
                                      int32_t largestZoom) {
    return startupWindow(screenWidth, screenHeight, configGet("WINDX"), configGet("WINDY"),
                         configGet("FULLSCR"), largestZoom);
}

int MainWndProc(uint32_t message, uint32_t wParam, uint32_t lParam) {
    desktop.awake = 1;
    MouseState& mouse = inputState.mouse;
    KeyboardState& keys = inputState.keys;
    switch (message) {
    case MSG_SIZE: handleSize(wParam, lParam); return 1;
    case MSG_KILL_FOCUS:
        // A press or drag in progress must not outlive the focus.
        mouse.leftReleased = 1;
        return 1;
    case MSG_PAINT: desktop.needsRedraw = 1; return 1;
    case MSG_CLOSE:
        // Every window is asked to close; the loop ends once they all have.
        suspended = 0;
        requestQuit(desktop);
        return 0;
    case MSG_KEY_DOWN:
        keys.lastKey = uint8_t(wParam & 0xFF);
        keys.down[keys.lastKey] = 1;
        return 0;
    case MSG_KEY_UP: keys.down[wParam & 0xFF] = 0; return 0;
    case MSG_CHAR:
        // Control characters (Enter, Escape, Backspace) are keys, not text.
        if (wParam >= ' ') {
            keys.lastChar = uint8_t(wParam);
        }
        return 0;
    case MSG_SYS_KEY_DOWN: handleSysKeyDown(wParam); return 0;
    case MSG_SYS_KEY_UP:
        if (wParam == KEY_ALT) {
            keys.altHeld = 0;
        }
        return 0;
    case MSG_SYS_CHAR: return 0;
    case MSG_MOUSE_MOVE:
        mouse.moved = 1;
        mouse.x = int32_t(lowWord(lParam));
        mouse.y = int32_t(highWord(lParam));
        return 1;
    case MSG_LEFT_DOWN:
        // The press is where the pointer was last seen moving.
        mouse.leftPressed = 1;
        mouse.pressX = mouse.x;
        mouse.pressY = mouse.y;
        return 1;
    case MSG_LEFT_UP: mouse.leftReleased = 1; return 1;
    case MSG_RIGHT_DOWN: mouse.rightPressed = 1; return 1;
    case MSG_RIGHT_UP: mouse.rightReleased = 1; return 1;
    case MSG_MIDDLE_DOWN: mouse.middlePressed = 1; return 1;
    case MSG_MIDDLE_UP: mouse.middleReleased = 1; return 1;
    case MSG_WHEEL:
        if (int32_t(wParam) > 0) {
            mouse.wheelForward = 1;
        } else {
            mouse.wheelBackward = 1;
        }
        return 1;
    default: return 1;
    }
}

void shellFindFiles(const char* programFolder) {
    // The build says where the data folder is installed relative to the
    // programs' folder, so that an installed tree moved as a whole still
    // finds its data.
    std::string installed;
    if (programFolder != nullptr && programFolder[0] != 0) {
        installed = (std::filesystem::path(programFolder) / GHOLD_DATA_FROM_PROGRAMS)
                        .lexically_normal()
                        .string();
    }
    const FileSearch search{GAME_DATA_FILE,
                            USER_FOLDER_NAME,
                            std::getenv(DATA_VARIABLE),
                            installed.c_str(),
                            std::getenv("XDG_DATA_HOME"),
                            homeFolder()};
    filePlaces = findFilePlaces(search);
}

void shellBegin() {
    desktop = Desktop{};
    configLoad();
    std::snprintf(plainWidth, sizeof plainWidth, "%s", configGet("WINDX"));
    std::snprintf(plainHeight, sizeof plainHeight, "%s", configGet("WINDY"));
    platformClear(platform);
    suspended = 0;
}

const char* shellStartDesktop(int32_t clientWidth, int32_t clientHeight, WindowProc proc) {
    platform.clientWidth = clientWidth;
    platform.clientHeight = clientHeight;
    if (const char* failure = platformInit(platform)) {
        platformShutdown(platform);
        return failure;
    }
    view.width = clientWidth;
    view.height = clientHeight;
    platformScreenResize(clientWidth, clientHeight, view.zoom);
    if (const char* failure =
            desktopInit(desktop, clientWidth / view.zoom, clientHeight / view.zoom, proc)) {
        // Freeing the desktop writes the configuration, as at every end.
        desktopShutdown(desktop);
        platformShutdown(platform);
        return failure;
    }
    suspended = 0;
    return nullptr;
}

int32_t shellWaitLimit(uint32_t now) {
    if (suspended || !desktop.wakeSet) {
        return -1;
    }
    return std::max(int32_t(desktop.wakeTime - now), 0);
}

bool shellPass() {
    updatePass(desktop);
    if (desktop.count == 0) {
        return false;
    }
    mouseClearEvents(inputState.mouse);
    keysClearEvents(inputState.keys);
    return true;
}

void runMessageLoop(MessageSource next) {
    desktop.awake = 1;
    for (;;) {
        const bool wait = desktop.awake == 0 || suspended != 0;
        // A message, or a failed wait: look again. A suspended program
        // never gets to the pass, however many wake-ups arrive.
        if (next(wait) || wait) {
            continue;
        }
        if (!shellPass()) {
            return;
        }
    }
}

void shellEnd() {
    desktopShutdown(desktop);
    platformShutdown(platform);
}
