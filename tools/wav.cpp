#include "tools/wav.h"

#include "game/gamedata.h"
#include "platform/files.h"

#include <cstring>

namespace {

// The game keeps at most half a minute of sound an effect (661,500 bytes of
// samples); room beyond that is left for chunks a sound editor adds.
constexpr size_t WAV_FILE_LIMIT = 4 << 20;

void putTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(tag[i]));
    }
}

} // namespace

std::string parseWav(const std::vector<uint8_t>& bytes, std::vector<int16_t>& samples) {
    samples.clear();
    const size_t size = bytes.size();
    if (size < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        return "is not a RIFF WAVE file";
    }
    // Chunks are walked by their own lengths; anything but "fmt " and
    // "data" (lists, cue points) is skipped. A chunk whose length runs past
    // the end of the file is refused, not trusted.
    bool haveFormat = false;
    size_t at = 12;
    while (at + 8 <= size) {
        const uint8_t* chunk = bytes.data() + at;
        const uint32_t length = loadLittleEndian32(chunk + 4);
        const size_t body = at + 8;
        if (length > size - body) {
            return "has a chunk that runs past the end of the file";
        }
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16) {
                return "has a format chunk that is too short";
            }
            const uint8_t* f = bytes.data() + body;
            const uint16_t format = loadLittleEndian16(f);
            const uint16_t channels = loadLittleEndian16(f + 2);
            const uint32_t rate = loadLittleEndian32(f + 4);
            const uint16_t bits = loadLittleEndian16(f + 14);
            if (format != 1 || channels != 1 || rate != WAV_SAMPLE_RATE || bits != 16) {
                return "holds format " + std::to_string(format) + ", " + std::to_string(channels) +
                       " channel(s), " + std::to_string(rate) + " Hz, " + std::to_string(bits) +
                       " bits; only PCM 16-bit mono 11025 Hz is accepted";
            }
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) {
                return "has its data before its format";
            }
            if (length % 2 != 0) {
                return "has a data chunk of an odd number of bytes";
            }
            // The sample block is sized from the header, so the header is
            // held to the longest effect the game plays before it is.
            if (length / 2 > uint32_t(MAX_EFFECT_SAMPLES)) {
                return "holds " + std::to_string(length / 2) + " samples; an effect has at most " +
                       std::to_string(MAX_EFFECT_SAMPLES);
            }
            const uint8_t* d = bytes.data() + body;
            samples.resize(length / 2);
            for (size_t i = 0; i < samples.size(); ++i) {
                samples[i] = static_cast<int16_t>(loadLittleEndian16(d + 2 * i));
            }
            return {};
        }
        // Chunks are padded to an even length.
        at = body + length + (length & 1);
    }
    return haveFormat ? "has no data chunk" : "has no format chunk";
}

std::string readWav(const std::string& path, std::vector<int16_t>& samples) {
    samples.clear();
    std::vector<uint8_t> bytes;
    std::string reason;
    switch (readWholeFile(path, WAV_FILE_LIMIT, bytes, &reason)) {
    case FileStatus::Ok: return parseWav(bytes, samples);
    case FileStatus::CannotOpen: return "cannot be opened (" + reason + ")";
    default: return "cannot be read (" + reason + ")";
    }
}

std::vector<uint8_t> formatWav(const std::vector<int16_t>& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    appendLittleEndian32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    appendLittleEndian32(out, 16);
    appendLittleEndian16(out, 1); // PCM
    appendLittleEndian16(out, 1); // mono
    appendLittleEndian32(out, WAV_SAMPLE_RATE);
    appendLittleEndian32(out, WAV_SAMPLE_RATE * 2); // bytes per second
    appendLittleEndian16(out, 2);                   // bytes per sample frame
    appendLittleEndian16(out, 16);
    putTag(out, "data");
    appendLittleEndian32(out, dataBytes);
    for (int16_t s : samples) {
        appendLittleEndian16(out, static_cast<uint16_t>(s));
    }
    return out;
}

std::string writeWav(const std::string& path, const std::vector<int16_t>& samples) {
    const std::vector<uint8_t> bytes = formatWav(samples);
    return replaceFile(path, bytes.data(), bytes.size());
}
