// Sound output on SDL2. The game's model is two alternating buffers of 2048
// samples, each refilled the moment it has finished playing and queued behind
// the other. SDL instead pulls chunks of whatever size it likes from a
// callback, so the callback plays the queued buffers in order and hands each
// one back to queueNextBuffer once its last byte has been taken. The latency
// and the order of refills are then those of two system buffers.
#include "platform/platform_common.h"

#include <SDL.h>
#include <cstring>

namespace {

int16_t blocks[2][AUDIO_BUFFER_SAMPLES];

struct SdlAudio {
    SDL_AudioDeviceID id;
    int32_t queue[2];    // buffer indices in playing order
    int32_t queued;      // how many of them are valid
    int32_t playedBytes; // of the front buffer
    bool closing;        // buffers played from now on are not queued again
};

SdlAudio sdlAudio;

// Runs on SDL's audio thread with the device locked, so it never overlaps
// audioOpen's queueing or the start of audioClose.
void playQueued(void* userdata, Uint8* stream, int len) {
    AudioOut& device = *static_cast<AudioOut*>(userdata);
    while (len > 0) {
        if (sdlAudio.queued == 0) {
            std::memset(stream, 0, static_cast<size_t>(len));
            return;
        }
        int32_t k = sdlAudio.queue[0];
        int32_t left = device.bufferSize - sdlAudio.playedBytes;
        int32_t take = len < left ? len : left;
        std::memcpy(stream,
                    reinterpret_cast<const Uint8*>(device.buffers[k]) + sdlAudio.playedBytes,
                    static_cast<size_t>(take));
        stream += take;
        len -= take;
        sdlAudio.playedBytes += take;
        if (sdlAudio.playedBytes < device.bufferSize)
            continue;
        // The front buffer is done: it leaves the queue and, unless the
        // output is closing, is mixed anew and queued behind the other.
        sdlAudio.queue[0] = sdlAudio.queue[1];
        sdlAudio.queued--;
        sdlAudio.playedBytes = 0;
        device.prepared[k] = 0;
        if (!sdlAudio.closing)
            queueNextBuffer(device);
    }
}

} // namespace

int audioOpen(AudioOut& device, AudioFill fill) {
    audioBegin(device, fill);
    // There is one set of buffers and one device: a second output is refused.
    if (sdlAudio.id != 0)
        return 0;
    // The sound works whether or not the video part of the program is up.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return 0;

    SDL_AudioSpec wanted{};
    wanted.freq = AUDIO_RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = AUDIO_BUFFER_SAMPLES;
    wanted.callback = playQueued;
    wanted.userdata = &device;
    sdlAudio = SdlAudio{};
    // No changes allowed: SDL converts to whatever the hardware wants, and
    // the callback always sees our own format.
    sdlAudio.id = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (sdlAudio.id == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    device.handle = &sdlAudio;
    device.buffers[0] = blocks[0];
    device.buffers[1] = blocks[1];
    device.prepared[0] = device.prepared[1] = 0;
    // The device opens paused, so nothing plays before both buffers are queued.
    queueNextBuffer(device);
    queueNextBuffer(device);
    device.open = 1;
    SDL_PauseAudioDevice(sdlAudio.id, 0);
    return 1;
}

void audioClose(AudioOut& device) {
    if (!device.open)
        return;
    SDL_LockAudioDevice(sdlAudio.id);
    device.fill = nullptr;
    sdlAudio.closing = true;
    SDL_UnlockAudioDevice(sdlAudio.id);
    // Closing waits for a running callback and stops playback; the buffers
    // still queued are dropped unplayed. SDL lets the device drain for two
    // chunk lengths first, so this takes about 370 ms.
    SDL_CloseAudioDevice(sdlAudio.id);
    sdlAudio = SdlAudio{};
    device.prepared[0] = device.prepared[1] = 0;
    device.handle = nullptr;
    device.open = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Called by audioOpen and, with the device locked, by the audio callback.
void queueNextBuffer(AudioOut& device) {
    int32_t k = device.nextIndex;
    device.prepared[k] = 0;
    if (device.fill)
        device.fill(device.buffers[k]);
    if (sdlAudio.queued < 2)
        sdlAudio.queue[sdlAudio.queued++] = k;
    device.prepared[k] = 1;
    device.nextIndex = k == 0 ? 1 : 0;
}
