#include "tests/support/golden.h"

#include "tools/assets.h"
#include "tools/png.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

std::string goldenPath(const std::string& name, const char* suffix) {
    return std::string(GHOLD_SOURCE_DIR) + "/tests/golden/" + name + suffix;
}

PngImage expand(int32_t width, int32_t height, const uint16_t* pixels) {
    PngImage image{width, height, 3, std::vector<uint8_t>(size_t(width) * size_t(height) * 3)};
    for (size_t i = 0; i < size_t(width) * size_t(height); i++) {
        rgbFromPixel565(pixels[i], &image.pixels[3 * i]);
    }
    return image;
}

} // namespace

::testing::AssertionResult matchesGolden(const std::string& name, int32_t width, int32_t height,
                                         const uint16_t* pixels) {
    if (width <= 0 || height <= 0 || pixels == nullptr) {
        return ::testing::AssertionFailure() << name << ": nothing to compare";
    }
    PngImage actual = expand(width, height, pixels);
    const std::string expectedPath = goldenPath(name, ".png");
    const std::string actualPath = goldenPath(name, ".actual.png");
    if (const char* update = std::getenv("GHOLD_UPDATE_GOLDENS");
        update && std::strcmp(update, "1") == 0) {
        std::string error = writePng(expectedPath, actual);
        if (!error.empty()) {
            return ::testing::AssertionFailure() << "writing " << expectedPath << ": " << error;
        }
        return ::testing::AssertionSuccess() << "updated " << expectedPath;
    }

    PngImage expected;
    std::string error = readPng(expectedPath, expected);
    std::string problem;
    if (!error.empty()) {
        problem = "cannot read " + expectedPath + ": " + error;
    } else if (expected.width != width || expected.height != height) {
        problem = "size " + std::to_string(width) + " x " + std::to_string(height) + ", golden " +
                  std::to_string(expected.width) + " x " + std::to_string(expected.height);
    } else {
        int64_t differing = 0;
        size_t first = 0;
        for (size_t i = size_t(width) * size_t(height); i-- > 0;) {
            const uint8_t* want = &expected.pixels[i * size_t(expected.channels)];
            if (std::memcmp(want, &actual.pixels[i * 3], 3) != 0) {
                differing++;
                first = i;
            }
        }
        if (differing == 0) {
            std::error_code ignored;
            std::filesystem::remove(actualPath, ignored);
            return ::testing::AssertionSuccess();
        }
        problem = std::to_string(differing) + " pixels differ, the first at (" +
                  std::to_string(first % size_t(width)) + ", " +
                  std::to_string(first / size_t(width)) + ")";
    }
    std::string written = writePng(actualPath, actual);
    return ::testing::AssertionFailure()
           << name << ": " << problem << "; actual picture "
           << (written.empty() ? "written to " + actualPath : "not written: " + written);
}

::testing::AssertionResult matchesGolden(const std::string& name, const Surface& surface) {
    return matchesGolden(name, surface.width, surface.height, surface.pixels);
}
