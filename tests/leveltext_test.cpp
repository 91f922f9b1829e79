#include "tools/leveltext.h"

#include "tests/support/ints.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace {

std::string parseError(const std::string& text) {
    LevelText level;
    return parseLevelText(text, level);
}

std::string grid(int width, int height, char c) {
    std::string rows;
    for (int y = 0; y < height; ++y) {
        rows += std::string(size_t(width), c) + "\n";
    }
    return rows;
}

std::string level(const std::string& floor, const std::string& object, const std::string& top) {
    return "floor:\n" + floor + "\nobject:\n" + object + "\ntop:\n" + top;
}

} // namespace

TEST(LevelText, ParsesGridsWhateverTheLineEndsAndFormatsThemBackWithSolutionLinesOfSixty) {
    const std::string text = "# a comment\n"
                             "title: Two Tiles  \n"
                             "solution: R L\n"
                             "solution: U.D\n"
                             "\n"
                             "floor:\n__i\n_~_\n"
                             "\n"
                             "top:\n.X.\n...\n"
                             "\n"
                             "object:\n<#o\n.B>\n";
    LevelText parsed;
    for (const char* end : {"\n", "\r\n"}) {
        std::string ended;
        for (char c : text) {
            ended += c == '\n' ? std::string(end) : std::string(1, c);
        }
        ASSERT_EQ(parseLevelText(ended, parsed), "") << int(end[0]);
        EXPECT_EQ(parsed.title, "Two Tiles");
        EXPECT_EQ(parsed.solution, "RLU.D");
        const auto& cells = parsed.record.cells;
        EXPECT_EQ(ints(parsed.record.width, parsed.record.height, cells[2][0][0], cells[1][1][0],
                       cells[0][0][1], cells[1][0][1], cells[2][1][1], cells[1][0][2],
                       cells[3][0][0]),
                  ints(3, 2, SLICK_FLOOR, LAVA, PLAYER_LEFT, SOLID_BLOCK, PLAYER_RIGHT, EXIT, 0));
    }

    // Formatted back: the grids in their usual order, solution lines of sixty
    // moves. Levels of every size go through the format and back in the
    // packer's tests.
    parsed.solution = std::string(60, 'R') + std::string(61, '.');
    EXPECT_EQ(formatLevelText(parsed),
              "title: Two Tiles\nsolution: " + std::string(60, 'R') +
                  "\nsolution: " + std::string(60, '.') +
                  "\nsolution: .\n\nfloor:\n__i\n_~_\n\nobject:\n<#o\n.B>\n\ntop:\n.X.\n...\n");
}

TEST(LevelText, RefusesBrokenTextsNamingTheLine) {
    const std::string ok = grid(3, 2, '_');
    EXPECT_EQ(parseError("floor:\n_\nobject:\n<\ntop:\nX\n"), ""); // headers end grids
    EXPECT_EQ(parseError(level("__\n_Z\n", grid(2, 2, '.'), grid(2, 2, '.'))),
              "line 3: 'Z' is no element");
    EXPECT_EQ(parseError(level("___\n__\n", ok, ok)), "line 3: row of 2 cells, expected 3");
    EXPECT_EQ(parseError(level(ok, grid(3, 3, '.'), ok)),
              "line 6: the object grid has 3 rows, the floor grid 2");
    EXPECT_EQ(parseError("floor:\n" + ok + "\nobject:\n" + ok), "no top grid");
    EXPECT_EQ(parseError(""), "no floor grid");
    EXPECT_EQ(parseError(level(grid(19, 1, '_'), grid(19, 1, '.'), grid(19, 1, '.'))),
              "line 2: a level has 1 to 18 columns, this one 19");
    EXPECT_EQ(parseError(level(grid(1, 14, '_'), grid(1, 14, '.'), grid(1, 14, '.'))),
              "line 2: a level has 1 to 13 rows, this one 14");
    EXPECT_EQ(parseError("floor:\n\nobject:\n_\ntop:\n_\n"),
              "line 2: a level has 1 to 13 rows, this one 0");
    EXPECT_EQ(parseError("solution: RX\n" + level(ok, ok, ok)),
              "line 1: bad move 'X' in solution (R, L, U, D or .)");
    EXPECT_EQ(parseError("title: a\ntitle: b\n"), "line 2: a second title");
    EXPECT_EQ(parseError("walls:\n"), "line 1: unknown header \"walls\"");
    EXPECT_EQ(parseError("floor: __\n"), "line 1: the grid starts on the line after its header");
    EXPECT_EQ(parseError("___\n"), "line 1: expected a header such as \"floor:\" or \"title:\"");
    EXPECT_EQ(parseError(level(ok, ok, ok) + "\nfloor:\n" + ok), "line 13: a second floor grid");
    // The largest board is fine.
    EXPECT_EQ(parseError(level(grid(18, 13, '_'), grid(18, 13, '#'), grid(18, 13, '.'))), "");
}

// Every code has a printable character of its own, and the format's
// document lists them all.
TEST(LevelText, EveryCodeHasItsOwnCharacterAndTheFormatDocumentCarriesTheLegend) {
    std::set<char> seen;
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        const char c = elementChar(code);
        EXPECT_TRUE(c > ' ' && c < 127 && c != ':' && elementFromChar(c) == code) << code;
        seen.insert(c);
    }
    EXPECT_EQ(ints(seen.size(), elementFromChar(' '), elementFromChar('Z'), elementChar(63),
                   elementChar(-1)),
              ints(ELEMENT_COUNT, -1, -1, '?', '?'));
    std::ifstream doc(std::string(GHOLD_SOURCE_DIR) + "/docs/level-format.md");
    std::stringstream text;
    text << doc.rdbuf();
    EXPECT_NE(text.str().find(legendTable()), std::string::npos)
        << "paste the output of \"ghtool legend\" into docs/level-format.md";
}
