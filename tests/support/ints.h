#pragma once
// Several numbers checked at once, so that a record's fields read as one
// line of literals: EXPECT_EQ(ints(r.x, r.y), ints(3, 4)). A failure prints
// both lists.
#include <cstdint>
#include <vector>

template <typename... T> std::vector<int64_t> ints(T... values) {
    return {int64_t(values)...};
}

// A rectangle's x, y, width and height.
template <typename R> std::vector<int64_t> rectInts(const R& r) {
    return ints(r.x, r.y, r.width, r.height);
}
