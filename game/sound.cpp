#include "game/sound.h"

#include <mutex>

// Entry 0 never has samples; entries 1 to 15 are pointed at the data file's
// effects once it is loaded. The names only identify the effects.
Effect effects[EFFECT_COUNT] = {
    {0, nullptr, "Silence"}, {0, nullptr, "EXPLOSE"}, {0, nullptr, "DOOREND"},
    {0, nullptr, "ENFLAM"},  {0, nullptr, "BALLBOX"}, {0, nullptr, "INFIRE"},
    {0, nullptr, "SERRURE"}, {0, nullptr, "SWITCH"},  {0, nullptr, "WATER"},
    {0, nullptr, "GRILLE"},  {0, nullptr, "GRILLEC"}, {0, nullptr, "VITRAIL"},
    {0, nullptr, "TELEP"},   {0, nullptr, "BIPKBD"},  {0, nullptr, "SWORD"},
    {0, nullptr, "CBRULE"},
};

Channel channels[CHANNEL_COUNT];
AudioOut audioOut;
void (*effectObserver)(int32_t id) = nullptr;

namespace {

// The channel table is the only state the audio thread shares with the game
// thread. One lock held for a whole start or a whole mix keeps a newly started
// effect from being seen with a stale position.
std::mutex channelLock;

} // namespace

void playEffect(int32_t id) {
    if (id == EFFECT_SILENCE)
        return;
    // Tools watch every effect the rules ask for, even with no output open
    // and all four channels busy.
    if (effectObserver)
        effectObserver(id);
    std::lock_guard<std::mutex> hold(channelLock);
    for (Channel& channel : channels) {
        if (channel.effect == 0) {
            channel.position = 0;
            channel.effect = id;
            return;
        }
    }
    // All four busy: the request is dropped.
}
