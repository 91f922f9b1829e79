// Sound output on SDL2. The game's model is two alternating buffers of 2048
// samples, each mixed anew once it has finished playing and queued behind
// the other. SDL instead pulls small chunks from a callback, so the callback
// hands out the queued buffers in order, piece by piece. A buffer whose last
// piece went out on one pull has finished playing when SDL comes for the
// next chunk: only then is it given back to queueNextBuffer. Mixing it at
// the moment its last piece went out would mix it while it is still playing,
// and every effect would be heard one buffer late.
#include "shell/platform_sdl.h"

#include "platform/platform_common.h"

#include <cstring>

namespace {

int16_t blocks[2][AUDIO_BUFFER_SAMPLES];

struct SdlAudio {
    SDL_AudioDeviceID id;
    int32_t queue[2];    // buffer indices in playing order
    int32_t queued;      // how many of them are valid
    int32_t handedBytes; // of the front buffer, already given to SDL
    int32_t played[2];   // buffers whose last piece went out on the last pull
    int32_t playedCount;
    bool closing; // buffers played from now on are not queued again
};

SdlAudio sdlAudio;

// Runs on SDL's audio thread with the device locked, so it never overlaps
// audioOpen's queueing or the start of audioClose.
void playQueued(void* userdata, Uint8* stream, int len) {
    AudioOut& device = *static_cast<AudioOut*>(userdata);
    // SDL asks for more once the last chunk has played, and with it the
    // buffers that chunk finished.
    for (int32_t i = 0; i < sdlAudio.playedCount; i++) {
        device.prepared[sdlAudio.played[i]] = 0;
        if (!sdlAudio.closing) {
            queueNextBuffer(device);
        }
    }
    sdlAudio.playedCount = 0;
    while (len > 0) {
        if (sdlAudio.queued == 0) {
            std::memset(stream, 0, static_cast<size_t>(len));
            return;
        }
        const int32_t k = sdlAudio.queue[0];
        const int32_t left = device.bufferSize - sdlAudio.handedBytes;
        const int32_t take = len < left ? len : left;
        std::memcpy(stream,
                    reinterpret_cast<const Uint8*>(device.buffers[k]) + sdlAudio.handedBytes,
                    static_cast<size_t>(take));
        stream += take;
        len -= take;
        sdlAudio.handedBytes += take;
        if (sdlAudio.handedBytes < device.bufferSize) {
            continue;
        }
        sdlAudio.queue[0] = sdlAudio.queue[1];
        sdlAudio.queued--;
        sdlAudio.handedBytes = 0;
        sdlAudio.played[sdlAudio.playedCount++] = k;
    }
}

} // namespace

int audioOpen(AudioOut& device, AudioFill fill) {
    audioBegin(device, fill);
    // There is one set of buffers and one device: a second output is refused.
    if (sdlAudio.id != 0) {
        return 0;
    }
    // The sound works whether or not the video part of the program is up.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return 0;
    }

    SDL_AudioSpec wanted{};
    wanted.freq = AUDIO_RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = SDL_AUDIO_CHUNK_SAMPLES;
    wanted.callback = playQueued;
    wanted.userdata = &device;
    // Both buffers are mixed before the device exists: it starts paused,
    // and whatever it plays before it is started is silence ahead of them.
    sdlAudio = SdlAudio{};
    device.buffers[0] = blocks[0];
    device.buffers[1] = blocks[1];
    device.prepared[0] = device.prepared[1] = 0;
    queueNextBuffer(device);
    queueNextBuffer(device);
    // No changes allowed: SDL converts to whatever the hardware wants, and
    // the callback always sees our own format.
    sdlAudio.id = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (sdlAudio.id == 0) {
        sdlAudio = SdlAudio{};
        device.prepared[0] = device.prepared[1] = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    device.handle = &sdlAudio;
    device.open = 1;
    SDL_PauseAudioDevice(sdlAudio.id, 0);
    return 1;
}

void audioClose(AudioOut& device) {
    if (!device.open) {
        return;
    }
    SDL_LockAudioDevice(sdlAudio.id);
    device.fill = nullptr;
    sdlAudio.closing = true;
    SDL_UnlockAudioDevice(sdlAudio.id);
    // Paused, the device plays silence from its next chunk on: the buffers
    // still queued are dropped unplayed. Closing then waits for SDL's own
    // drain of two chunks, which the short chunks keep to some 50 ms.
    SDL_PauseAudioDevice(sdlAudio.id, 1);
    SDL_CloseAudioDevice(sdlAudio.id);
    sdlAudio = SdlAudio{};
    device.prepared[0] = device.prepared[1] = 0;
    device.handle = nullptr;
    device.open = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Called by audioOpen and, with the device locked, by the audio callback.
void queueNextBuffer(AudioOut& device) {
    const int32_t k = device.nextIndex;
    device.prepared[k] = 0;
    if (device.fill) {
        device.fill(device.buffers[k]);
    }
    if (sdlAudio.queued < 2) {
        sdlAudio.queue[sdlAudio.queued++] = k;
    }
    device.prepared[k] = 1;
    device.nextIndex = k == 0 ? 1 : 0;
}
