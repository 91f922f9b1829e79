// SDL's keyboard, text and mouse events reaching the main window as its
// messages, read back from the input state the messages fill. The events
// are made here; no window is opened.
#include "shell/input.h"

#include "shell/mainwnd.h"
#include "shell/platform_sdl.h"
#include "tests/support/ints.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace {

std::vector<WindowKey> windowKeys;

void onWindowKey(WindowKey key) {
    windowKeys.push_back(key);
}

SDL_Event keyEvent(Uint32 type, SDL_Keycode sym, Uint16 mod = 0, Uint8 repeat = 0) {
    SDL_Event event{};
    event.type = type; // the key event's own type: they share the union's start
    event.key.repeat = repeat;
    event.key.keysym.sym = sym;
    event.key.keysym.mod = mod;
    return event;
}

SDL_Event textEvent(const char* text) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    SDL_strlcpy(event.text.text, text, sizeof event.text.text);
    return event;
}

void clearInput() {
    inputState = InputState{};
    windowKeys.clear();
}

} // namespace

TEST(SdlInput, KeysGoToTheGameAsKeysOrSystemKeysAndReleasesAlways) {
    // What a key press leaves: the last key, whether it is down, the Alt
    // letter.
    const std::tuple<SDL_Keycode, Uint16, uint8_t, std::vector<int64_t>> cases[] = {
        {SDLK_RIGHT, 0, KEY_RIGHT, ints(KEY_RIGHT, 1, 0)},
        // Ctrl with a key that is no window key is the game's.
        {SDLK_a, KMOD_LCTRL, 'A', ints('A', 1, 0)},
        // With Alt a key is a system key: never down, an Alt letter once
        // Alt is held; F10 alone is one too.
        {SDLK_g, KMOD_LALT, 'G', ints(0, 0, 0)},
        {SDLK_F10, 0, 0x79, ints(0, 0, 0)},
        {SDLK_UNKNOWN, 0, 0, ints(0, 0, 0)},
    };
    for (const auto& [sym, mod, vk, traces] : cases) {
        clearInput();
        EXPECT_TRUE(translateInput(keyEvent(SDL_KEYDOWN, sym, mod), onWindowKey));
        const KeyboardState& k = inputState.keys;
        EXPECT_EQ(ints(k.lastKey, k.down[vk], k.altLetter), traces) << sym;
    }
    clearInput();
    translateInput(keyEvent(SDL_KEYDOWN, SDLK_LALT), onWindowKey);
    translateInput(keyEvent(SDL_KEYDOWN, SDLK_g, KMOD_LALT), onWindowKey);
    EXPECT_EQ(ints(inputState.keys.altHeld, inputState.keys.altLetter), ints(1, 'G'));
    // A release is always the game's, a window key's included, with Alt
    // held or not.
    const std::tuple<SDL_Keycode, Uint16, uint8_t> releases[] = {
        {SDLK_RIGHT, KMOD_LALT, KEY_RIGHT}, {SDLK_EQUALS, KMOD_LCTRL, uint8_t(0xBB)}};
    for (const auto& [sym, mod, vk] : releases) {
        clearInput();
        inputState.keys.down[vk] = 1;
        translateInput(keyEvent(SDL_KEYUP, sym, mod), onWindowKey);
        EXPECT_EQ(ints(inputState.keys.down[vk], windowKeys.size()), ints(0, 0)) << sym;
    }
}

TEST(SdlInput, WindowKeysAreTheWindowsAndTheirTextIsDropped) {
    const std::tuple<SDL_Keycode, Uint16, Uint8, WindowKey> cases[] = {
        {SDLK_RETURN, KMOD_LALT, 0, WindowKey::FullScreen},
        {SDLK_KP_ENTER, KMOD_RALT, 0, WindowKey::FullScreen},
        {SDLK_RETURN, KMOD_LALT, 1, WindowKey::Held},
        {SDLK_PLUS, KMOD_LCTRL, 0, WindowKey::ZoomIn},
        {SDLK_EQUALS, KMOD_RCTRL, 0, WindowKey::ZoomIn},
        {SDLK_KP_PLUS, KMOD_LCTRL, 0, WindowKey::ZoomIn},
        {SDLK_MINUS, KMOD_LCTRL, 0, WindowKey::ZoomOut},
        {SDLK_KP_MINUS, KMOD_LCTRL, 0, WindowKey::ZoomOut},
        {SDLK_0, KMOD_LCTRL, 0, WindowKey::ZoomStandard},
        {SDLK_KP_0, KMOD_LCTRL, 0, WindowKey::ZoomStandard},
        {SDLK_RETURN, 0, 0, WindowKey::None},
        {SDLK_PLUS, 0, 0, WindowKey::None},
        {SDLK_PLUS, KMOD_LCTRL | KMOD_LALT, 0, WindowKey::None},
        {SDLK_1, KMOD_LCTRL, 0, WindowKey::None}};
    for (const auto& [sym, mod, repeat, key] : cases) {
        EXPECT_EQ(windowKeyOf(keyEvent(SDL_KEYDOWN, sym, mod, repeat).key), key)
            << sym << " " << mod;
    }
    clearInput();
    translateInput(keyEvent(SDL_KEYDOWN, SDLK_EQUALS, KMOD_LCTRL), onWindowKey);
    translateInput(textEvent("="), onWindowKey);
    translateInput(keyEvent(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT, 1), onWindowKey);
    EXPECT_EQ(windowKeys, std::vector<WindowKey>{WindowKey::ZoomIn});
    EXPECT_EQ(ints(inputState.keys.lastKey, inputState.keys.lastChar, inputState.keys.down[0xBB]),
              ints(0, 0, 0));
    // Only the text of that very key is dropped.
    translateInput(keyEvent(SDL_KEYDOWN, SDLK_x), onWindowKey);
    translateInput(textEvent("x"), onWindowKey);
    EXPECT_EQ(inputState.keys.lastChar, 'x');
}

TEST(SdlInput, TextPassesAsLatin1BytesAndAltMakesItASystemCharacter) {
    const std::pair<const char*, int> texts[] = {
        {"a", 'a'},          {"\xC3\xA9", 0xE9},      {"\xC4\xA1", 0},
        {"\xE2\x82\xAC", 0}, {"\xF0\x9F\x98\x80", 0}, {"\x01", 0}};
    for (const auto& [text, last] : texts) {
        clearInput();
        EXPECT_TRUE(translateInput(textEvent(text), onWindowKey));
        EXPECT_EQ(inputState.keys.lastChar, last) << text;
    }
    // A character after a dropped one still comes through.
    clearInput();
    translateInput(textEvent("\342\202\254b"), onWindowKey); // the euro sign, then b
    EXPECT_EQ(inputState.keys.lastChar, 'b');
    clearInput();
    inputState.keys.altHeld = 1;
    translateInput(textEvent("a"), onWindowKey);
    EXPECT_EQ(inputState.keys.lastChar, 0);
}

TEST(SdlInput, ButtonsAndTheWheel) {
    const std::pair<Uint32, Uint8> presses[] = {
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT},   {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT},  {SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE}, {SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1}};
    const MouseState& m = inputState.mouse;
    std::vector<int64_t> after;
    clearInput();
    for (const auto& [type, button] : presses) {
        SDL_Event event{};
        event.type = type; // the button event's own type too: they share the union's start
        event.button.button = button;
        EXPECT_TRUE(translateInput(event, onWindowKey));
        after.push_back(m.leftPressed + 2 * m.leftReleased + 4 * m.rightPressed +
                        8 * m.rightReleased + 16 * m.middlePressed + 32 * m.middleReleased);
    }
    EXPECT_EQ(after, ints(1, 3, 7, 15, 31, 63, 63));

    // Forward is away from the player; a flipped wheel turns the other way,
    // a sideways turn is no turn.
    const std::tuple<Sint32, Uint32, std::vector<int64_t>> wheels[] = {
        {1, SDL_MOUSEWHEEL_NORMAL, ints(1, 0)},
        {-2, SDL_MOUSEWHEEL_NORMAL, ints(0, 1)},
        {1, SDL_MOUSEWHEEL_FLIPPED, ints(0, 1)},
        {0, SDL_MOUSEWHEEL_NORMAL, ints(0, 0)}};
    for (const auto& [y, direction, turns] : wheels) {
        clearInput();
        SDL_Event event{};
        event.type = SDL_MOUSEWHEEL;
        event.wheel.y = y;
        event.wheel.direction = direction;
        EXPECT_TRUE(translateInput(event, onWindowKey));
        EXPECT_EQ(ints(m.wheelForward, m.wheelBackward), turns) << y;
    }
    SDL_Event other{};
    other.type = SDL_MOUSEMOTION;
    EXPECT_FALSE(translateInput(other, onWindowKey));
}

TEST(Keys, SdlKeysMapToTheProgramsVirtualKeys) {
    // The last three have no code of ours.
    std::vector<int64_t> named;
    for (SDL_Keycode sym :
         {SDLK_RETURN, SDLK_KP_ENTER, SDLK_ESCAPE, SDLK_PAGEUP, SDLK_PAGEDOWN, SDLK_END,
          SDLK_HOME,   SDLK_LEFT,     SDLK_UP,     SDLK_RIGHT,  SDLK_DOWN,     SDLK_LSHIFT,
          SDLK_RSHIFT, SDLK_LCTRL,    SDLK_RCTRL,  SDLK_LALT,   SDLK_RALT,     SDLK_BACKSPACE,
          SDLK_TAB,    SDLK_SPACE,    SDLK_INSERT, SDLK_DELETE, SDLK_r,        SDLK_UNKNOWN,
          SDLK_F24,    SDLK_AUDIOPLAY}) {
        named.push_back(virtualKeyFromSdl(sym));
    }
    EXPECT_EQ(named, ints(KEY_ENTER, KEY_ENTER, KEY_ESCAPE, KEY_PAGE_UP, KEY_PAGE_DOWN, KEY_END,
                          KEY_HOME, KEY_LEFT, KEY_UP, KEY_RIGHT, KEY_DOWN, KEY_SHIFT, KEY_SHIFT,
                          KEY_CTRL, KEY_CTRL, KEY_ALT, KEY_ALT, KEY_BACK, KEY_TAB, KEY_SPACE,
                          KEY_INSERT, KEY_DELETE, KEY_R, 0, 0, 0));
    // Letters are upper-case codes, digits their characters, F-keys from 0x70.
    for (int i = 0; i < 26; i++) {
        EXPECT_EQ(virtualKeyFromSdl(SDLK_a + i), 0x41 + i) << i;
    }
    for (int i = 0; i < 10; i++) {
        EXPECT_EQ(virtualKeyFromSdl(SDLK_0 + i), 0x30 + i) << i;
        EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_1 + (i + 9) % 10), 0x60 + i) << i;
    }
    for (int i = 0; i < 12; i++) {
        EXPECT_EQ(virtualKeyFromSdl(SDLK_F1 + i), 0x70 + i) << i;
    }
}
