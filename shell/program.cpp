// A program's run on SDL2: one system window, the platform layer and the
// desktop with the program's bottom window on it, and the message loop that
// runs until the desktop has no window left. SDL's events become the main
// window's messages (shell/mainwnd.h), which hold all their meaning: the
// window's own here, the keyboard's and the mouse's in shell/input.cpp. The
// game and the level editor both run this way.
#include "shell/program.h"

#include "shell/input.h"
#include "shell/mainwnd.h"
#include "shell/platform_sdl.h"
#include "shell/view.h"
#include "toolkit/desktop.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>

namespace {

// The main window; null until its creation has returned.
SDL_Window* mainWindow = nullptr;
// The program that runs; set when shellMain starts.
const ShellProgram* program = nullptr;

// What leaving full screen brings back: the window's client area before,
// or the maximised window it was.
struct PlainWindow {
    int x, y;
    int width, height;
    bool maximised;
};
PlainWindow beforeFullScreen;

// Full screen is the design's borderless window covering the display: the
// only window without a frame the program makes. SDL's own full screen asks
// the window manager for it, and where there is none (a bare X server) it
// believes the window covers the display while it does not.
uint32_t sizeKind() {
    const Uint32 flags = SDL_GetWindowFlags(mainWindow);
    if (flags & SDL_WINDOW_MINIMIZED) {
        return SIZE_MINIMIZED;
    }
    if (flags & SDL_WINDOW_BORDERLESS) {
        return SIZE_FULL_SCREEN;
    }
    return (flags & SDL_WINDOW_MAXIMIZED) ? SIZE_MAXIMIZED : SIZE_RESTORED;
}

void sendSize(uint32_t kind) {
    int width = 0, height = 0;
    SDL_GetWindowSize(mainWindow, &width, &height);
    shellWindowSized(kind, width, height);
    // Window managers keep a window to its minimum size; without one (a
    // bare X server) anything may resize it, and it grows back once.
    const WindowSize least = minimumWindowSize(view.zoom);
    if (kind == SIZE_RESTORED && (width < least.width || height < least.height)) {
        SDL_SetWindowSize(mainWindow, std::max(width, least.width), std::max(height, least.height));
    }
}

// The display the window is on, whole or less its panels.
SDL_Rect displayArea(bool usable) {
    SDL_Rect area{0, 0, leastDesktop.width, leastDesktop.height};
    const int display = std::max(SDL_GetWindowDisplayIndex(mainWindow), 0);
    if (!usable || SDL_GetDisplayUsableBounds(display, &area) != 0) {
        SDL_GetDisplayBounds(display, &area);
    }
    return area;
}

void setMinimumSize(int32_t zoom) {
    const WindowSize least = minimumWindowSize(zoom);
    SDL_SetWindowMinimumSize(mainWindow, least.width, least.height);
}

// A plain window grows or shrinks with the zoom and keeps showing the same
// desktop, as far as the display allows; a maximised or full-screen one
// keeps its size and shows more or less of the desktop.
void changeZoom(ZoomKey key) {
    const int32_t zoom = zoomAfterKey(view, key);
    if (zoom == view.zoom) {
        return;
    }
    const SDL_Rect area = displayArea(true);
    const WindowSize size = zoomedWindowSize(view, zoom, area.w, area.h);
    view.zoom = zoom;
    setMinimumSize(zoom);
    if (sizeKind() == SIZE_RESTORED) {
        SDL_SetWindowSize(mainWindow, size.width, size.height);
        int x = 0, y = 0;
        SDL_GetWindowPosition(mainWindow, &x, &y);
        SDL_SetWindowPosition(
            mainWindow, std::clamp(x, area.x, std::max(area.x + area.w - size.width, area.x)),
            std::clamp(y, area.y, std::max(area.y + area.h - size.height, area.y)));
    }
    // The picture changes at once; the window's new size follows as an event.
    sendSize(sizeKind());
}

void toggleFullScreen() {
    PlainWindow& plain = beforeFullScreen;
    if (sizeKind() == SIZE_FULL_SCREEN) {
        SDL_SetWindowBordered(mainWindow, SDL_TRUE);
        SDL_SetWindowSize(mainWindow, plain.width, plain.height);
        SDL_SetWindowPosition(mainWindow, plain.x, plain.y);
        if (plain.maximised) {
            SDL_MaximizeWindow(mainWindow);
        }
    } else {
        plain.maximised = sizeKind() == SIZE_MAXIMIZED;
        if (plain.maximised) {
            SDL_RestoreWindow(mainWindow);
        }
        SDL_GetWindowPosition(mainWindow, &plain.x, &plain.y);
        SDL_GetWindowSize(mainWindow, &plain.width, &plain.height);
        const SDL_Rect display = displayArea(false);
        SDL_SetWindowBordered(mainWindow, SDL_FALSE);
        SDL_SetWindowPosition(mainWindow, display.x, display.y);
        SDL_SetWindowSize(mainWindow, display.w, display.h);
    }
    sendSize(sizeKind());
}

void translateWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
    case SDL_WINDOWEVENT_MINIMIZED: sendSize(SIZE_MINIMIZED); break;
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SIZE_CHANGED: sendSize(sizeKind()); break;
    case SDL_WINDOWEVENT_EXPOSED: MainWndProc(MSG_PAINT, 0, 0); break;
    case SDL_WINDOWEVENT_FOCUS_LOST: MainWndProc(MSG_KILL_FOCUS, 0, 0); break;
    case SDL_WINDOWEVENT_CLOSE: MainWndProc(MSG_CLOSE, 0, 0); break;
    case SDL_WINDOWEVENT_DISPLAY_CHANGED: {
        // Ctrl+0 and Ctrl+Plus go by the display the window is on now.
        const SDL_Rect area = displayArea(true);
        view.largestZoom = largestZoom(area.w, area.h);
        MainWndProc(MSG_OTHER, 0, 0);
        break;
    }
    default: MainWndProc(MSG_OTHER, 0, 0); break;
    }
}

void windowKeyPressed(WindowKey key) {
    switch (key) {
    case WindowKey::FullScreen: toggleFullScreen(); break;
    case WindowKey::ZoomIn: changeZoom(ZoomKey::In); break;
    case WindowKey::ZoomOut: changeZoom(ZoomKey::Out); break;
    case WindowKey::ZoomStandard: changeZoom(ZoomKey::Standard); break;
    default: break;
    }
}

void dispatch(const SDL_Event& event) {
    if (translateInput(event, windowKeyPressed)) {
        return;
    }
    switch (event.type) {
    case SDL_WINDOWEVENT: translateWindowEvent(event.window); break;
    case SDL_MOUSEMOTION: shellPointerMoved(event.motion.x, event.motion.y); break;
    // The system asks the program to end (a signal, the session closing):
    // the same as the close button.
    case SDL_QUIT: MainWndProc(MSG_CLOSE, 0, 0); break;
    default: break;
    }
}

bool nextMessage(bool wait) {
    SDL_Event event;
    if (!wait) {
        if (!SDL_PollEvent(&event)) {
            return false;
        }
    } else if (const int32_t limit = shellWaitLimit(SDL_GetTicks()); limit >= 0) {
        // No message before the time a window asked for: that is the wake-up.
        if (limit == 0 || !SDL_WaitEventTimeout(&event, limit)) {
            MainWndProc(MSG_TIMER, 0, 0);
            return true;
        }
    } else if (!SDL_WaitEvent(&event)) {
        // Should waiting ever keep failing, the loop must not spin.
        SDL_Delay(WAKE_UP_MS);
        return false;
    }
    dispatch(event);
    return true;
}

void failStart(const char* message) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Program failed to init", message, mainWindow);
}

// Before there is a window there is nowhere to show a message box: the
// reason goes to the standard error, and the exit status says it failed.
int failWithoutWindow(const char* what) {
    const char* reason = SDL_GetError();
    if (reason[0] != 0) {
        std::fprintf(stderr, "%s: %s (%s)\n", program->name, what, reason);
    } else {
        std::fprintf(stderr, "%s: %s\n", program->name, what);
    }
    SDL_Quit();
    return 1;
}

// Finding no display, SDL falls back on video drivers that show nothing,
// and the program would run unseen for ever. They serve only when asked for by
// name, as tests do.
bool showsNothing() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) {
        return true;
    }
    if (SDL_strcmp(driver, "offscreen") != 0 && SDL_strcmp(driver, "dummy") != 0) {
        return false;
    }
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    return asked == nullptr || SDL_strstr(asked, driver) == nullptr;
}

constexpr const char* NO_DISPLAY =
    "no display to show the window on: neither an X11 nor a Wayland display could be opened "
    "(is DISPLAY or WAYLAND_DISPLAY set?)";

} // namespace

int shellMain(const ShellProgram& run) {
    program = &run;
    // The program's own folder, with links resolved, so that the installed
    // data is found beside it wherever the tree was installed or moved to.
    char* programFolder = SDL_GetBasePath();
    shellFindFiles(programFolder);
    SDL_free(programFolder);
    shellBegin();
    // Every picture is composed in memory and copied to the window's own
    // surface, as a block copy would. SDL's probe of OpenGL for that surface
    // brings a whole driver along (on a machine without a GPU a software one
    // of some 90 MB that takes half a second to start) and gains nothing.
    // This is a default only: SDL_FRAMEBUFFER_ACCELERATION in the
    // environment still chooses otherwise.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        return failWithoutWindow(NO_DISPLAY);
    }
    if (showsNothing()) {
        SDL_ClearError();
        return failWithoutWindow(NO_DISPLAY);
    }
    SDL_Rect screen{};
    if (SDL_GetDisplayBounds(0, &screen) != 0 || screen.w <= 0 || screen.h <= 0) {
        return failWithoutWindow("the display's size is unknown");
    }
    SDL_Rect usable = screen;
    SDL_GetDisplayUsableBounds(0, &usable);
    view.largestZoom = largestZoom(usable.w, usable.h);
    // WINDX and WINDY are taken as the desktop's size: SDL sizes windows by
    // their client area, and the desktop writes its size back into them, so
    // a windowed game reopens at the size it was left at.
    const StartupWindow placement = startupWindowFromConfig(screen.w, screen.h, view.largestZoom);
    view.zoom = placement.zoom;
    beforeFullScreen = {int(SDL_WINDOWPOS_CENTERED), int(SDL_WINDOWPOS_CENTERED),
                        placement.windowedWidth, placement.windowedHeight, false};
    // The window is shown as it is created rather than after the desktop is
    // up: the desktop's display speed test copies its picture to the screen
    // straight away, and copies to a hidden window would measure nothing
    // (a compositor may drop them). The player sees the game's background
    // at once instead of a delay with nothing on the screen. A maximised
    // window is made at the plain window's size, which it comes back to.
    Uint32 flags = SDL_WINDOW_RESIZABLE;
    int x = screen.x + placement.x, y = screen.y + placement.y;
    int width = placement.width, height = placement.height;
    if (placement.borderless) {
        flags |= SDL_WINDOW_BORDERLESS;
    } else if (placement.maximised) {
        flags |= SDL_WINDOW_MAXIMIZED;
        x = y = int(SDL_WINDOWPOS_CENTERED);
        width = placement.windowedWidth;
        height = placement.windowedHeight;
    }
    mainWindow = SDL_CreateWindow(program->windowTitle, x, y, width, height, flags);
    if (mainWindow == nullptr) {
        return failWithoutWindow("the window could not be made");
    }
    sdlWindow = mainWindow;
    setMinimumSize(view.zoom);

    int clientWidth = 0, clientHeight = 0;
    SDL_GetWindowSize(mainWindow, &clientWidth, &clientHeight);
    if (clientWidth <= 0 || clientHeight <= 0) {
        SDL_DestroyWindow(mainWindow);
        return failWithoutWindow("the window has no size");
    }
    if (const char* failure = shellStartDesktop(clientWidth, clientHeight, program->desktopProc)) {
        failStart(failure);
        SDL_DestroyWindow(mainWindow);
        SDL_Quit();
        return 0;
    }

    SDL_ShowWindow(mainWindow);
    if (placement.maximised && !placement.borderless) {
        SDL_MaximizeWindow(mainWindow);
    }
    setCursorShape(inputState.mouse, 1);
    runMessageLoop(nextMessage);

    shellEnd();
    sdlWindow = nullptr;
    SDL_DestroyWindow(mainWindow);
    mainWindow = nullptr;
    SDL_Quit();
    // The user has been told of the failure in a dialog; the exit status
    // keeps it visible to whatever started the program.
    return program->failed != nullptr && program->failed() ? 1 : 0;
}
