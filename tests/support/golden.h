#pragma once
// Comparing a picture with its reference in tests/golden/NAME.png, pixel for
// pixel. Each RGB565 pixel p is expanded as red (p >> 8) & 248, green
// (p >> 3) & 252, blue (p & 31) * 8.
//
// On a mismatch the actual picture is written beside the reference as
// NAME.actual.png, so that a person can look at both. Running the tests with
// GHOLD_UPDATE_GOLDENS=1 writes the references instead (see docs/testing.md).
#include "toolkit/surface.h"
#include <cstdint>
#include <gtest/gtest.h>
#include <string>

::testing::AssertionResult matchesGolden(const std::string& name, int32_t width, int32_t height,
                                         const uint16_t* pixels);
::testing::AssertionResult matchesGolden(const std::string& name, const Surface& surface);
