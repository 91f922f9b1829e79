// Fuzzes LevelInfo.dat: readLevelProgress on the input as the progress file
// in the harness's temporary folder, then a write and a read back, which
// must agree on the level's low 16 bits.
//
//   fuzz_progress -max_total_time=180 -rss_limit_mb=512 -malloc_limit_mb=512 -timeout=10 CORPUS
#include "fuzz/fuzz_common.h"

#include "game/progress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInput("LevelInfo.dat", data, size);
    const int32_t level = readLevelProgress();
    if (level < 0 || level > 0xFFFF) {
        std::abort();
    }
    if (!writeLevelProgress(level).empty() || readLevelProgress() != level) {
        std::abort();
    }
    return 0;
}
