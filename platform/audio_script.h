#pragma once
// Test controls of the scripted sound output. The scripted output behaves like
// a device that never plays by itself: a test decides when a queued buffer has
// finished playing.
#include "platform/platform.h"
#include <cstdint>
#include <vector>

// Plays the oldest queued buffer of the open output: returns its 2048 samples
// and then refills and queues it behind the other, as the device's completion
// does. Returns nothing when no output is open.
std::vector<int16_t> scriptAudioPlayBuffer();

// How many buffers are queued for playing (2 while open, 0 when closed).
int scriptAudioQueued();

// A machine without a sound device: audioOpen fails while this is false.
void scriptAudioSetAvailable(bool available);
