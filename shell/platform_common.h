#pragma once
// Between the shared half of the platform layer (platform_common.cpp) and the
// implementation it is linked with. Only shell/ includes this.
#include "shell/platform.h"

// Whether the next bitmap may be made at all: the SDL layer always says yes;
// the scripted one can be told to refuse, so tests can reach the failures.
bool platformAllowsBitmap();
