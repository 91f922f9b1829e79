#include "tests/support/scenario.h"

#include "game/board.h"
#include "game/move.h"
#include "game/rules.h"
#include "tools/leveltext.h"

Scenario startScenario(std::string_view levelText) {
    Scenario scenario{};
    LevelText level;
    scenario.error = parseLevelText(levelText, level);
    if (!scenario.error.empty()) {
        resetRuleRecords();
        return scenario;
    }
    simStart(scenario.run, level.record);
    return scenario;
}

void playMoves(Scenario& scenario, std::string_view moves) {
    for (char c : moves) {
        const int move = moveFromChar(c);
        simTick(scenario.run, move < 0 ? 0 : move);
    }
}

std::string layerRows(int layer) {
    std::string out;
    for (int y = 0; y < board.height; ++y) {
        for (int x = 0; x < board.width; ++x) {
            out += elementChar(board.cells[cellIndex(x, y)][layer]);
        }
        out += '|';
    }
    out.pop_back();
    return out;
}

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
