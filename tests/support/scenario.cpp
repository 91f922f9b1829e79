#include "tests/support/scenario.h"

namespace {

// The same grid with every cell character replaced.
std::string filled(std::string_view shape, char c) {
    std::string out(shape);
    for (char& cell : out) {
        if (cell != '|') {
            cell = c;
        }
    }
    return out;
}

std::string gridLines(std::string_view rows) {
    std::string out(rows);
    for (char& c : out) {
        if (c == '|') {
            c = '\n';
        }
    }
    return out + "\n";
}

} // namespace

std::string levelText(std::string_view objects, std::string_view floor, std::string_view top) {
    const std::string floorRows = floor.empty() ? filled(objects, '_') : std::string(floor);
    const std::string topRows = top.empty() ? filled(objects, '.') : std::string(top);
    return "floor:\n" + gridLines(floorRows) + "\nobject:\n" + gridLines(objects) + "\ntop:\n" +
           gridLines(topRows);
}
