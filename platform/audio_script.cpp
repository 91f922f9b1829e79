// The scripted sound output: the same two alternating buffers as the real
// one, but a buffer only finishes playing when a test says so.
#include "platform/audio_script.h"

#include "platform/platform_common.h"

#include <deque>

namespace {

int16_t blocks[2][AUDIO_BUFFER_SAMPLES];

struct ScriptDevice {
    bool available = true;
    AudioOut* open = nullptr;  // the record of the open output
    std::deque<int32_t> queue; // buffer indices in playing order
};

ScriptDevice script;

} // namespace

int audioOpen(AudioOut& device, AudioFill fill) {
    audioBegin(device, fill);
    if (!script.available || script.open)
        return 0;
    device.handle = &script;
    device.buffers[0] = blocks[0];
    device.buffers[1] = blocks[1];
    device.prepared[0] = device.prepared[1] = 0;
    script.open = &device;
    script.queue.clear();
    queueNextBuffer(device);
    queueNextBuffer(device);
    device.open = 1;
    return 1;
}

void audioClose(AudioOut& device) {
    if (!device.open)
        return;
    device.fill = nullptr;
    // The device hands back every queued buffer unplayed.
    script.queue.clear();
    device.prepared[0] = device.prepared[1] = 0;
    script.open = nullptr;
    device.handle = nullptr;
    device.open = 0;
}

void queueNextBuffer(AudioOut& device) {
    int32_t k = device.nextIndex;
    device.prepared[k] = 0;
    if (device.fill)
        device.fill(device.buffers[k]);
    device.prepared[k] = 1;
    script.queue.push_back(k);
    device.nextIndex = k == 0 ? 1 : 0;
}

std::vector<int16_t> scriptAudioPlayBuffer() {
    if (!script.open || script.queue.empty())
        return {};
    AudioOut& device = *script.open;
    int32_t k = script.queue.front();
    script.queue.pop_front();
    std::vector<int16_t> played(device.buffers[k], device.buffers[k] + AUDIO_BUFFER_SAMPLES);
    queueNextBuffer(device);
    return played;
}

int scriptAudioQueued() {
    return static_cast<int>(script.queue.size());
}

void scriptAudioSetAvailable(bool available) {
    script.available = available;
}
