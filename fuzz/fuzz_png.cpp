// Fuzzes PNG pictures: readPng on the input, and for a picture it accepts,
// the pixel block must match the size it reports, and writePng and readPng
// must give the same picture back.
//
//   fuzz_png -max_total_time=180 -rss_limit_mb=512 -malloc_limit_mb=512 -timeout=10 CORPUS
#include "fuzz/fuzz_common.h"

#include "tools/png.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PngImage image;
    if (!readPng(writeInput("input.png", data, size), image).empty()) {
        return 0;
    }
    if ((image.channels != 3 && image.channels != 4) || image.width < 1 || image.height < 1 ||
        image.pixels.size() != size_t(image.width) * size_t(image.height) * image.channels) {
        std::abort();
    }
    PngImage again;
    if (!writePng(scratchPath("again.png"), image).empty() ||
        !readPng(scratchPath("again.png"), again).empty() || again.width != image.width ||
        again.height != image.height || again.channels != image.channels ||
        again.pixels != image.pixels) {
        std::abort();
    }
    return 0;
}
