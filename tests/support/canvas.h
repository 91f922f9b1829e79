#pragma once
// A window canvas for drawing tests: created with the built-in fonts set up,
// filled with one colour, freed at the end of the test, and read back pixel
// by pixel.
#include "toolkit/font.h"
#include "toolkit/surface.h"

#include <gtest/gtest.h>

#include <functional>
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
    int count(uint16_t colour) const {
        int n = 0;
        for (int32_t i = 0; i < canvas.surface.width * canvas.surface.height; i++) {
            n += canvas.surface.pixels[i] == colour;
        }
        return n;
    }
    std::vector<uint16_t> pixels() const {
        const Surface& s = canvas.surface;
        return std::vector<uint16_t>(s.pixels, s.pixels + s.width * s.height);
    }
    // Every pixel against the expected picture; stops at the first wrong one.
    void expectEach(const std::function<uint16_t(int32_t, int32_t)>& want) const {
        for (int32_t y = 0; y < canvas.surface.height; y++) {
            for (int32_t x = 0; x < canvas.surface.width; x++) {
                ASSERT_EQ(at(x, y), want(x, y)) << "at " << x << "," << y;
            }
        }
    }
};
