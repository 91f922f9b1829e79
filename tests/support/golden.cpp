#include "tests/support/golden.h"

#include "tools/assets.h"
#include "tools/png.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

::testing::AssertionResult matchesGolden(const std::string& name, int32_t width, int32_t height,
                                         const uint16_t* pixels) {
    const size_t count = size_t(std::max(width, 0)) * size_t(std::max(height, 0));
    if (count == 0 || pixels == nullptr) {
        return ::testing::AssertionFailure() << name << ": nothing to compare";
    }
    PngImage actual{width, height, 3, std::vector<uint8_t>(count * 3)};
    for (size_t i = 0; i < count; i++) {
        rgbFromPixel565(pixels[i], &actual.pixels[3 * i]);
    }
    const std::string path = std::string(GHOLD_SOURCE_DIR) + "/tests/golden/" + name;
    const char* update = std::getenv("GHOLD_UPDATE_GOLDENS");
    if (update != nullptr && std::strcmp(update, "1") == 0) {
        const std::string error = writePng(path + ".png", actual);
        return error.empty() ? ::testing::AssertionSuccess()
                             : ::testing::AssertionFailure() << "writing " << path << ": " << error;
    }
    PngImage expected;
    std::string problem = readPng(path + ".png", expected);
    if (!problem.empty()) {
        problem = "cannot read " + path + ".png: " + problem;
    } else if (expected.width != width || expected.height != height) {
        problem = "size " + std::to_string(width) + " x " + std::to_string(height) + ", golden " +
                  std::to_string(expected.width) + " x " + std::to_string(expected.height);
    } else {
        int64_t differing = 0;
        size_t first = 0;
        for (size_t i = count; i-- > 0;) {
            if (std::memcmp(&expected.pixels[i * size_t(expected.channels)], &actual.pixels[i * 3],
                            3) != 0) {
                differing++;
                first = i;
            }
        }
        if (differing == 0) {
            std::error_code ignored;
            std::filesystem::remove(path + ".actual.png", ignored);
            return ::testing::AssertionSuccess();
        }
        problem = std::to_string(differing) + " pixels differ, the first at (" +
                  std::to_string(first % size_t(width)) + ", " +
                  std::to_string(first / size_t(width)) + ")";
    }
    const std::string written = writePng(path + ".actual.png", actual);
    return ::testing::AssertionFailure()
           << name << ": " << problem << "; actual picture "
           << (written.empty() ? "written to " + path + ".actual.png" : "not written: " + written);
}

::testing::AssertionResult matchesGolden(const std::string& name, const Surface& surface) {
    return matchesGolden(name, surface.width, surface.height, surface.pixels);
}
