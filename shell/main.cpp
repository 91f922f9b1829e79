// The program's entry on SDL2: one system window, the platform layer and the
// desktop with the game window on it, and the message loop that runs until
// the desktop has no window left. SDL's events are translated here into the
// main window's messages (shell/mainwnd.h), which hold all their meaning.
#include "game/flow.h"
#include "shell/mainwnd.h"
#include "shell/platform_sdl.h"
#include "toolkit/desktop.h"

#include <SDL.h>

namespace {

// The main window; null until its creation has returned.
SDL_Window* mainWindow = nullptr;

uint32_t packWords(int32_t low, int32_t high) {
    return (uint32_t(low) & 0xFFFF) | ((uint32_t(high) & 0xFFFF) << 16);
}

// A borderless window covering the screen counts as maximised, as it is
// shown that way; its size messages therefore write FULLSCR "1".
uint32_t sizeKind() {
    const Uint32 flags = SDL_GetWindowFlags(mainWindow);
    if (flags & SDL_WINDOW_MINIMIZED) {
        return SIZE_MINIMIZED;
    }
    return (flags & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN)) ? SIZE_MAXIMIZED
                                                                    : SIZE_RESTORED;
}

void sendSize(uint32_t kind) {
    int width = 0, height = 0;
    SDL_GetWindowSize(mainWindow, &width, &height);
    if (kind != SIZE_MINIMIZED) {
        // The screen picture follows the client area before the desktop does.
        platformScreenResize(width, height);
    }
    MainWndProc(MSG_SIZE, kind, packWords(width, height));
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
    default: MainWndProc(MSG_OTHER, 0, 0); break;
    }
}

// F10 opens a window's menu on its own, so it is a system key like Alt.
constexpr uint8_t KEY_F10 = 0x79;

// Keys pressed while Alt is held are system keys, as Alt itself and F10
// are; they never enter the key-down table, so F10 alone does nothing. A key
// let go is always taken off the table, whatever Alt does meanwhile, so that
// no arrow stays held when Alt was pressed before the arrow was released.
void translateKey(const SDL_KeyboardEvent& event) {
    const uint8_t vk = virtualKeyFromSdl(event.keysym.sym);
    if (vk == 0) {
        MainWndProc(MSG_OTHER, 0, 0);
        return;
    }
    const bool system = vk == KEY_ALT || vk == KEY_F10 || (event.keysym.mod & KMOD_ALT) != 0;
    if (event.type == SDL_KEYDOWN) {
        MainWndProc(system ? MSG_SYS_KEY_DOWN : MSG_KEY_DOWN, vk, 0);
    } else {
        MainWndProc(vk == KEY_ALT || vk == KEY_F10 ? MSG_SYS_KEY_UP : MSG_KEY_UP, vk, 0);
    }
}

// Text arrives as UTF-8. The fonts draw codes 32 to 127, and a character
// message carries one byte, so code points up to 255 pass as Latin-1 bytes
// and the rest are dropped. Typed with Alt, text is a system character.
void translateText(const SDL_TextInputEvent& event) {
    if (inputState.keys.altHeld) {
        MainWndProc(MSG_SYS_CHAR, 0, 0);
        return;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(event.text);
    while (*p != 0) {
        uint32_t code = *p++;
        if (code >= 0xC0 && code < 0xC4 && (*p & 0xC0) == 0x80) {
            code = ((code & 0x1F) << 6) | (*p++ & 0x3F);
        } else if (code >= 0x80) {
            while ((*p & 0xC0) == 0x80) {
                p++;
            }
            continue;
        }
        MainWndProc(MSG_CHAR, code, 0);
    }
}

void translateButton(const SDL_MouseButtonEvent& event) {
    const bool down = event.type == SDL_MOUSEBUTTONDOWN;
    switch (event.button) {
    case SDL_BUTTON_LEFT: MainWndProc(down ? MSG_LEFT_DOWN : MSG_LEFT_UP, 0, 0); break;
    case SDL_BUTTON_RIGHT: MainWndProc(down ? MSG_RIGHT_DOWN : MSG_RIGHT_UP, 0, 0); break;
    case SDL_BUTTON_MIDDLE: MainWndProc(down ? MSG_MIDDLE_DOWN : MSG_MIDDLE_UP, 0, 0); break;
    default: MainWndProc(MSG_OTHER, 0, 0); break;
    }
}

void translateWheel(const SDL_MouseWheelEvent& event) {
    int32_t turn = event.y;
    if (event.direction == SDL_MOUSEWHEEL_FLIPPED) {
        turn = -turn;
    }
    // A sideways turn is no message of the vertical wheel.
    if (turn == 0) {
        MainWndProc(MSG_OTHER, 0, 0);
        return;
    }
    MainWndProc(MSG_WHEEL, uint32_t(turn), 0);
}

void dispatch(const SDL_Event& event) {
    switch (event.type) {
    case SDL_WINDOWEVENT: translateWindowEvent(event.window); break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: translateKey(event.key); break;
    case SDL_TEXTINPUT: translateText(event.text); break;
    case SDL_MOUSEMOTION:
        MainWndProc(MSG_MOUSE_MOVE, 0, packWords(event.motion.x, event.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: translateButton(event.button); break;
    case SDL_MOUSEWHEEL: translateWheel(event.wheel); break;
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

} // namespace

int main(int, char**) {
    // The program's own folder, with links resolved, so that the installed
    // data is found beside it wherever the tree was installed or moved to.
    char* programFolder = SDL_GetBasePath();
    shellFindFiles(programFolder);
    SDL_free(programFolder);
    shellBegin();
    // Every picture is composed in memory and only copied to the window, as
    // a block copy would: SDL's software renderer does exactly that. A GPU
    // renderer brings a whole OpenGL driver along (on a machine without a
    // GPU a software one of some 90 MB that takes half a second to start)
    // and gains nothing, as nothing is ever scaled. SDL's own probe of
    // OpenGL for the window's picture is left out for the same reason. These
    // are defaults only: SDL_RENDER_DRIVER and SDL_FRAMEBUFFER_ACCELERATION
    // in the environment still choose otherwise.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        return 0;
    }
    SDL_Rect screen{};
    if (SDL_GetDisplayBounds(0, &screen) != 0 || screen.w <= 0 || screen.h <= 0) {
        SDL_Quit();
        return 0;
    }
    // WINDX and WINDY are taken as the client size: SDL sizes windows by
    // their client area, and the desktop writes the client size back into
    // them, so a windowed game reopens at the size it was left at.
    const StartupWindow placement = startupWindowFromConfig(screen.w, screen.h);
    // The window is shown as it is created rather than after the desktop is
    // up: the desktop's display speed test copies its picture to the screen
    // straight away, and copies to a hidden window would measure nothing
    // (a compositor may drop them). The player sees the game's background
    // at once instead of a delay with nothing on the screen.
    Uint32 flags = 0;
    flags |= placement.borderless ? SDL_WINDOW_BORDERLESS : SDL_WINDOW_RESIZABLE;
    if (placement.maximised) {
        flags |= SDL_WINDOW_MAXIMIZED;
    }
    SDL_Window* created =
        SDL_CreateWindow("Gloomhold", screen.x + placement.x, screen.y + placement.y,
                         placement.width, placement.height, flags);
    if (created == nullptr) {
        SDL_Quit();
        return 0;
    }
    mainWindow = created;
    sdlWindow = mainWindow;

    int clientWidth = 0, clientHeight = 0;
    SDL_GetWindowSize(mainWindow, &clientWidth, &clientHeight);
    if (clientWidth <= 0 || clientHeight <= 0) {
        SDL_DestroyWindow(mainWindow);
        SDL_Quit();
        return 0;
    }
    if (const char* failure = shellStartDesktop(clientWidth, clientHeight)) {
        failStart(failure);
        SDL_DestroyWindow(mainWindow);
        SDL_Quit();
        return 0;
    }

    SDL_ShowWindow(mainWindow);
    if (placement.maximised) {
        SDL_MaximizeWindow(mainWindow);
    }
    setCursorShape(inputState.mouse, 1);
    runMessageLoop(nextMessage);

    shellEnd();
    sdlWindow = nullptr;
    SDL_DestroyWindow(mainWindow);
    mainWindow = nullptr;
    SDL_Quit();
    // The player has been told of a missing data file in a dialog; the exit
    // status keeps the failure visible to whatever started the program.
    return gameDataMissing() ? 1 : 0;
}
