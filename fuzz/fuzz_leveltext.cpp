// Fuzzes level texts: parseLevelText on the input, and for a text it
// accepts, formatLevelText must give a text that parses to the same level,
// title and solution, and formats to the same text again.
//
//   fuzz_leveltext -max_total_time=180 -rss_limit_mb=512 -malloc_limit_mb=512 -timeout=10 CORPUS
#include "fuzz/fuzz_common.h"

#include "tools/leveltext.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LevelText level;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!parseLevelText(text, level).empty()) {
        return 0;
    }
    const std::string formatted = formatLevelText(level);
    LevelText again;
    if (!parseLevelText(formatted, again).empty() || again.title != level.title ||
        again.solution != level.solution ||
        std::memcmp(&again.record, &level.record, sizeof level.record) != 0 ||
        formatLevelText(again) != formatted) {
        std::abort();
    }
    return 0;
}
