// Fuzzes the sprite index of an asset folder (sprites/index.txt): the input
// is the index of a folder whose only picture is sprites/a.png, a 2 x 3 RGBA
// picture, and readAssetFolder reads it (and stops at the missing levels
// when the index is good).
//
//   fuzz_pack -max_total_time=180 -rss_limit_mb=512 -malloc_limit_mb=512 -timeout=10 CORPUS
#include "fuzz/fuzz_common.h"

#include "tools/pack.h"
#include "tools/png.h"

#include <memory>
#include <sys/stat.h>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PngImage picture{2, 3, 4, std::vector<uint8_t>(2 * 3 * 4, 200)};
    if (mkdir(scratchPath("sprites").c_str(), 0700) != 0 ||
        !writePng(scratchPath("sprites/a.png"), picture).empty()) {
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInput("sprites/index.txt", data, size);
    auto content = std::make_unique<GameContent>();
    readAssetFolder(scratchFolder(), *content);
    return 0;
}
