#include "toolkit/window.h"

Desktop desktop;

bool windowOnStack(const Window* window) {
    for (int32_t i = 0; i < desktop.count; i++) {
        if (desktop.windows[i] == window) {
            return window != nullptr;
        }
    }
    return false;
}

void sendMessage(Window* window, uint32_t code) {
    if (window == nullptr || window->proc == nullptr) {
        return;
    }
    Window* previous = desktop.current;
    desktop.current = window;
    window->message = code;
    window->proc(window, window->param);
    // The procedure may have closed the window that was current before it.
    desktop.current = windowOnStack(previous) ? previous : nullptr;
}
