#include "toolkit/window.h"

#include "platform/platform.h"

Desktop desktop;

void wakeAt(uint32_t time) {
    // Measured from now, so that the clock's wrap after 49 days orders
    // deadlines right; a time already past asks for the next pass at once.
    const uint32_t now = inputState.now;
    const uint32_t wait = int32_t(time - now) > 0 ? time - now : 0;
    if (!desktop.wakeSet || wait < desktop.wakeTime - now) {
        desktop.wakeTime = now + wait;
        desktop.wakeSet = 1;
    }
}

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
