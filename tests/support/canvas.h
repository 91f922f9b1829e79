#pragma once
// A window canvas for drawing tests: created with the built-in fonts set up,
// filled with one colour, freed at the end of the test, and read back pixel
// by pixel.
#include "toolkit/font.h"
#include "toolkit/surface.h"

#include <gtest/gtest.h>

#include <vector>

struct TestCanvas {
    WindowCanvas canvas{};
    TestCanvas(int32_t width, int32_t height, uint16_t fill = 0) {
        setupBuiltinFonts();
        canvasInit(canvas);
        EXPECT_EQ(canvasCreate(canvas, width, height), 1);
        surfaceFill(canvas.surface, fill);
    }
    ~TestCanvas() { canvasFree(canvas); }
    TestCanvas(const TestCanvas&) = delete;
    TestCanvas& operator=(const TestCanvas&) = delete;

    uint16_t at(int32_t x, int32_t y) const {
        return canvas.surface.pixels[y * canvas.surface.width + x];
    }
    std::vector<uint16_t> pixels() const {
        const Surface& s = canvas.surface;
        return std::vector<uint16_t>(s.pixels, s.pixels + s.width * s.height);
    }
};
