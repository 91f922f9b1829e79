#include "tests/support/scenario.h"

#include <tuple>

std::string levelText(std::string_view objects, std::string_view floor, std::string_view top) {
    std::string text;
    // A layer given no grid takes the objects' shape with every cell blank.
    for (const auto& [layer, rows, blank] :
         {std::tuple{"floor:\n", floor, '_'}, std::tuple{"\nobject:\n", objects, '?'},
          std::tuple{"\ntop:\n", top, '.'}}) {
        text += layer;
        for (const char c : rows.empty() ? objects : rows) {
            text += c == '|' ? '\n' : rows.empty() ? blank : c;
        }
        text += '\n';
    }
    return text;
}
