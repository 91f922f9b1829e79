// Fuzzes WAVE sounds: parseWav on the input, and for a sound it accepts,
// formatWav and parseWav must give the same samples back. readWav reads a
// file into the same parser, so the bytes are handed over directly.
//
//   fuzz_wav -max_total_time=180 -rss_limit_mb=512 -malloc_limit_mb=512 -timeout=10 CORPUS
#include "fuzz/fuzz_common.h"

#include "tools/wav.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    std::vector<int16_t> samples;
    if (!parseWav(bytes, samples).empty()) {
        return 0;
    }
    std::vector<int16_t> again;
    if (!parseWav(formatWav(samples), again).empty() || again != samples) {
        std::abort();
    }
    return 0;
}
