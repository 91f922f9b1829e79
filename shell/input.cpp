// SDL's keyboard, text and mouse events as the main window's messages.
#include "shell/input.h"

#include "shell/mainwnd.h"
#include "shell/platform_sdl.h"

namespace {

// Set when a key was taken as a window key, so that the text SDL makes of
// the same key (Ctrl+Plus types '=' on some layouts) is not taken as typing.
bool dropNextText = false;

// F10 opens a window's menu on its own, so it is a system key like Alt.
constexpr uint8_t KEY_F10 = 0x79;

// Keys pressed while Alt is held are system keys, as Alt itself and F10
// are; they never enter the key-down table, so F10 alone does nothing. A key
// let go is always taken off the table, whatever Alt does meanwhile, so that
// no arrow stays held when Alt was pressed before the arrow was released.
void translateKey(const SDL_KeyboardEvent& event, void (*onWindowKey)(WindowKey key)) {
    dropNextText = false;
    if (const WindowKey key = windowKeyOf(event); key != WindowKey::None) {
        dropNextText = true;
        if (key != WindowKey::Held) {
            onWindowKey(key);
        }
        MainWndProc(MSG_OTHER, 0, 0);
        return;
    }
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
    if (dropNextText) {
        dropNextText = false;
        MainWndProc(MSG_OTHER, 0, 0);
        return;
    }
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

} // namespace

WindowKey windowKeyOf(const SDL_KeyboardEvent& event) {
    if (event.type != SDL_KEYDOWN) {
        return WindowKey::None;
    }
    const SDL_Keycode key = event.keysym.sym;
    const Uint16 mod = event.keysym.mod;
    if ((mod & KMOD_ALT) && (key == SDLK_RETURN || key == SDLK_KP_ENTER)) {
        return event.repeat == 0 ? WindowKey::FullScreen : WindowKey::Held;
    }
    if (!(mod & KMOD_CTRL) || (mod & KMOD_ALT)) {
        return WindowKey::None;
    }
    if (key == SDLK_PLUS || key == SDLK_EQUALS || key == SDLK_KP_PLUS) {
        return WindowKey::ZoomIn;
    }
    if (key == SDLK_MINUS || key == SDLK_KP_MINUS) {
        return WindowKey::ZoomOut;
    }
    if (key == SDLK_0 || key == SDLK_KP_0) {
        return WindowKey::ZoomStandard;
    }
    return WindowKey::None;
}

bool translateInput(const SDL_Event& event, void (*onWindowKey)(WindowKey key)) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: translateKey(event.key, onWindowKey); return true;
    case SDL_TEXTINPUT: translateText(event.text); return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: translateButton(event.button); return true;
    case SDL_MOUSEWHEEL: translateWheel(event.wheel); return true;
    default: return false;
    }
}
