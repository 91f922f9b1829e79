#pragma once
// Between the shared half of the platform layer (platform_common.cpp) and the
// implementation it is linked with: the scripted one beside it and the SDL
// one in shell/. Only those two include this.
#include "platform/platform.h"

// Whether the next bitmap may be made at all: the SDL layer always says yes;
// the scripted one can be told to refuse, so tests can reach the failures.
bool platformAllowsBitmap();

// The first step of every audioOpen: closed, buffer 0 next, the fill routine
// and the buffer size stored.
void audioBegin(AudioOut& device, AudioFill fill);
