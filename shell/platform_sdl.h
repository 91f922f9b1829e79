#pragma once
// What the SDL shell hands the SDL platform layer, and what it gets back.
// Only shell/*_sdl.cpp (and tests of the SDL layer) include this.
#include "platform/platform.h"

#include <SDL.h>
#include <cstdint>

// The main window. The shell creates it and stores it here before calling
// platformInit; platformInit fails with "Failed to init window DC" without it.
extern SDL_Window* sdlWindow;

// The samples SDL takes from the sound output at a time. SDL lets a closing
// device play out two of its chunks before it returns, and the design's
// output stops at once: 256 samples (23 ms) keep quitting prompt while a
// busy machine still has time to answer each pull.
constexpr int32_t SDL_AUDIO_CHUNK_SAMPLES = 256;

// The program's virtual-key code for an SDL key (layout-dependent, as
// virtual-key codes are: the key that types 'a' is 0x41). 0 for keys the
// program has no code for.
uint8_t virtualKeyFromSdl(SDL_Keycode key);
