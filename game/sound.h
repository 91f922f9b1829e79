#pragma once
// Sound effects, up to four at a time, mixed into one 16-bit mono stream.
#include "platform/platform.h"
#include <cstdint>

constexpr int EFFECT_COUNT = 16;
constexpr int CHANNEL_COUNT = 4;

enum : int32_t {
    EFFECT_SILENCE = 0,
    EFFECT_EXPLOSE = 1,
    EFFECT_DOOREND = 2,
    EFFECT_ENFLAM = 3,
    EFFECT_BALLBOX = 4,
    EFFECT_INFIRE = 5,
    EFFECT_SERRURE = 6,
    EFFECT_SWITCH = 7,
    EFFECT_WATER = 8,
    EFFECT_GRILLE = 9,
    EFFECT_GRILLEC = 10,
    EFFECT_VITRAIL = 11,
    EFFECT_TELEP = 12,
    EFFECT_BIPKBD = 13,
    EFFECT_SWORD = 14,
    EFFECT_CBRULE = 15,
};

struct Effect {
    int32_t sampleCount;
    int16_t* samples; // signed 16-bit mono at 11025 per second
    const char* name;
};

struct Channel {
    int32_t effect;   // 0 = free
    int32_t position; // samples already mixed
};

extern Effect effects[EFFECT_COUNT];
extern Channel channels[CHANNEL_COUNT];
extern AudioOut audioOut;

int soundInit();
void soundShutdown();
void playEffect(int32_t id);
void mixBuffer(int16_t* buffer);

// While nonzero, playEffect starts nothing: the player has switched the
// effects off, or undo is running ticks again that were heard once already.
extern uint32_t effectsMuted;
// Ends every effect that is playing.
void stopEffects();

// Tools and tests that run the rules without sound see every effect the
// rules start through this hook, in call order. Null by default.
extern void (*effectObserver)(int32_t id);
