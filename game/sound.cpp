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
uint32_t effectsMuted;

namespace {

// The channel table is the only state the audio thread shares with the game
// thread. One lock held for a whole start or a whole mix keeps a newly started
// effect from being seen with a stale position.
std::mutex channelLock;

// Every effect plays at half amplitude so that two at full scale still fit
// 16 bits. The shift of a negative sample rounds towards minus infinity.
int16_t halve(int16_t sample) {
    return static_cast<int16_t>(sample >> 1);
}

// Sums wrap around in 16 bits: four loud effects overflow rather than clip.
int16_t wrapAdd(int16_t a, int16_t b) {
    return static_cast<int16_t>(static_cast<uint16_t>(a) + static_cast<uint16_t>(b));
}

// How many samples of the channel's effect are still to be mixed, and where
// they start. An effect with no sample block (not loaded), or a channel
// record that makes no sense, counts as ended.
int32_t remaining(const Channel& channel, const int16_t*& src) {
    src = nullptr;
    if (channel.effect <= 0 || channel.effect >= EFFECT_COUNT || channel.position < 0)
        return 0;
    const Effect& effect = effects[channel.effect];
    if (!effect.samples || channel.position >= effect.sampleCount) {
        src = nullptr;
        return 0;
    }
    src = effect.samples + channel.position;
    return effect.sampleCount - channel.position;
}

} // namespace

int soundInit() {
    stopEffects();
    return audioOpen(audioOut, mixBuffer);
}

void soundShutdown() {
    audioClose(audioOut);
}

void playEffect(int32_t id) {
    if (id == EFFECT_SILENCE)
        return;
    // Tools watch every effect the rules ask for, even with no output open
    // and all four channels busy.
    if (effectObserver)
        effectObserver(id);
    // An id outside the table would send the mixer past its end.
    if (id < 0 || id >= EFFECT_COUNT || effectsMuted)
        return;
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

void stopEffects() {
    std::lock_guard<std::mutex> hold(channelLock);
    for (Channel& channel : channels)
        channel = Channel{};
}

void mixBuffer(int16_t* buffer) {
    std::lock_guard<std::mutex> hold(channelLock);

    // Channel 0 lays the buffer down, so nothing of the previous contents
    // survives even when it is free.
    Channel& first = channels[0];
    int32_t laid = 0;
    if (first.effect != 0) {
        const int16_t* src = nullptr;
        int32_t r = remaining(first, src);
        if (r >= AUDIO_BUFFER_SAMPLES) {
            for (int32_t i = 0; i < AUDIO_BUFFER_SAMPLES; i++)
                buffer[i] = halve(src[i]);
            first.position += AUDIO_BUFFER_SAMPLES;
            laid = AUDIO_BUFFER_SAMPLES;
        } else {
            for (int32_t i = 0; i < r; i++)
                buffer[i] = halve(src[i]);
            laid = r;
            first.effect = 0;
        }
    }
    for (int32_t i = laid; i < AUDIO_BUFFER_SAMPLES; i++)
        buffer[i] = 0;

    for (int c = 1; c < CHANNEL_COUNT; c++) {
        Channel& channel = channels[c];
        if (channel.effect == 0)
            continue;
        const int16_t* src = nullptr;
        int32_t r = remaining(channel, src);
        int32_t count = r >= AUDIO_BUFFER_SAMPLES ? AUDIO_BUFFER_SAMPLES : r;
        for (int32_t i = 0; i < count; i++)
            buffer[i] = wrapAdd(buffer[i], halve(src[i]));
        // The tail is mixed and the channel freed in the same buffer.
        if (r >= AUDIO_BUFFER_SAMPLES)
            channel.position += AUDIO_BUFFER_SAMPLES;
        else
            channel.effect = 0;
    }
}
