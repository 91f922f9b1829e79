#pragma once
// SDL's keyboard, text and mouse events as the main window's messages
// (shell/mainwnd.h). The window's own keys, Alt+Enter and the zoom keys, are
// handed back to the caller, which owns the system window.
#include "shell/view.h"

#include <SDL.h>

enum class WindowKey {
    None,       // a key for the game
    FullScreen, // Alt+Enter, not repeated
    Held,       // Alt+Enter repeated: taken, nothing to do
    ZoomIn,     // Ctrl+Plus
    ZoomOut,    // Ctrl+Minus
    ZoomStandard,
};

// Which of the window's own keys a key event is; key releases never are.
WindowKey windowKeyOf(const SDL_KeyboardEvent& event);

// Sends a keyboard, text, mouse button or wheel event on as messages and
// returns true; false for any other event. A window key goes to onWindowKey
// instead, and the text SDL makes of the same key is dropped.
bool translateInput(const SDL_Event& event, void (*onWindowKey)(WindowKey key));
