// The rules as a player meets them when he pushes, told as a table that reads
// as the rules' own summary. Every traced step of the identity check holds
// them, and what every element does step by step, exactly; the table says
// what the digests cannot: which rule of a push a change broke. Levels are
// written as their texts' grids, rows apart by '|'.
#include "game/board.h"
#include "game/elements.h"
#include "game/flow.h"
#include "game/fluid.h"
#include "game/sound.h"
#include "tests/support/scenario.h"
#include "tools/leveltext.h"

#include <gtest/gtest.h>
#include <random>

namespace {

using Effects = std::vector<int32_t>;

} // namespace

TEST(Push, OneMoveOfThePlayerMovesWhatTheForceBudgetAllows) {
    struct Case {
        const char* objects;
        char move;
        const char* floor;
        const char* top;
        const char* after;
        Effects effects;
    };
    const Case cases[] = {// 60 less the player's 20: one ball of 18, two leave 4; 18 + 30 and
                          // anything of 50 is too much. The edge and a breakable wall stop a row.
                          {">o.", 'R', "", "", ".>o", {}},
                          {">oo.", 'R', "", "", ".>oo", {}},
                          {">kB.", 'R', "", "", ">kB.", {}},
                          {">Bk.", 'R', "", "", ">Bk.", {}},
                          {">@.", 'R', "", "", ">@.", {}},
                          {">B.", 'R', "", "", ".>B", {}},
                          {">o", 'R', "", "", ">o", {}},
                          {">o.", 'R', "", "..%", ">o.", {}},
                          // Ball and box meet in either order, needing no room beyond; a key
                          // opens the lock on its right only.
                          {">oB.", 'R', "", "", ".>b.", {EFFECT_BALLBOX}},
                          {">Bo.", 'R', "", "", ".>b.", {EFFECT_BALLBOX}},
                          {">oB", 'R', "", "", ".>b", {EFFECT_BALLBOX}},
                          {">kL", 'R', "", "", ".>l", {EFFECT_SERRURE}},
                          {"<koL", 'L', "", "", "<koL", {}},
                          // Bombs go off when shoved against the edge, a breakable wall or
                          // anything of weight 10 or more, or when anything but the player is
                          // pushed into them.
                          {">!..", 'R', "", "", ".>!.", {}},
                          {">!", 'R', "", "", ">*", {EFFECT_EXPLOSE}},
                          {">!.", 'R', "", "..%", ">*.", {EFFECT_EXPLOSE}},
                          {">!B.", 'R', "", "", ">*B.", {EFFECT_EXPLOSE}},
                          {">!k.", 'R', "", "", ">*k.", {EFFECT_EXPLOSE}},
                          {">o!.", 'R', "", "", ">o*.", {EFFECT_EXPLOSE}},
                          // A lever is thrown from its right only, by whatever is pushed.
                          {"./<", 'L', "", "", ".\\<", {EFFECT_SWITCH}},
                          {"./o<", 'L', "", "", ".\\o<", {EFFECT_SWITCH}},
                          {">/.", 'R', "", "", ">/.", {}},
                          {"/|>", 'U', "", "", "/|>", {}},
                          // The player turns even when the move fails; up and down keep his facing.
                          {"<#", 'R', "", "", ">#", {}},
                          {"#>", 'L', "", "", "#<", {}},
                          {"<.|..", 'D', "", "", "..|<.", {}},
                          {">.|..", 'D', "", "", "..|>.", {}},
                          // On slick floor he starts with 30 and spends nothing himself, and
                          // whatever stands on it is free.
                          {">o.", 'R', "i__", "", ".>o", {}},
                          {">B.", 'R', "i__", "", ">B.", {}},
                          {">B.", 'R', "ii_", "", ".>B", {}},
                          {">BB.", 'R', "iii_", "", ".>BB", {}},
                          {">BB.", 'R', "ii__", "", ">BB.", {}},
                          {">BB.", 'R', "_i__", "", ".>BB", {}},
                          {">@.", 'R', "_i_", "", ".>@", {}},
                          // He recoils from fire and lava; what he pushes goes in.
                          {">.", 'R', "", ".F", "].", {EFFECT_INFIRE}},
                          {"<.", 'R', "", ".F", "].", {EFFECT_INFIRE}},
                          {".<", 'L', "~_", "", ".[", {EFFECT_INFIRE}},
                          {">o.", 'R', "", "..F", ".>o", {}},
                          // His push lights a torch from a lit one and stops there.
                          {">tT.", 'R', "", "", ">TT.", {EFFECT_ENFLAM}},
                          {">Tt.", 'R', "", "", ">TT.", {EFFECT_ENFLAM}},
                          {">Tg.", 'R', "", "", ">TG.", {}},
                          {">Tc.", 'R', "", "", ">TC.", {}},
                          // Stepping onto the exit ends the level; nothing else does.
                          {">.", 'R', "", ".X", "..", {EFFECT_TELEP}},
                          {">B.", 'R', "", "..X", ".>.", {}}};
    for (const Case& c : cases) {
        Scenario s = startScenario(levelText(c.objects, c.floor, c.top));
        ASSERT_EQ(s.error, "") << c.objects;
        playMoves(s, std::string(1, c.move));
        EXPECT_EQ(layerRows(LAYER_OBJECT), c.after) << c.objects << " " << c.move << " " << c.floor;
        EXPECT_EQ(s.run.effects, c.effects) << c.objects << " " << c.move;
        EXPECT_EQ(levelFlow.levelComplete, c.effects == Effects{EFFECT_TELEP}) << c.objects;
    }
}

// Water poured into a closed room lifts a float by a row each time it has
// filled the top third of the float's tile, up into the board's top row.
TEST(Rules, AFloatRidesTheWaterUpToTheTopRow) {
    Scenario s = startScenario(levelText("#S..#|#...#|#.r.#|#####"));
    for (const auto& [ticks, objects] : {std::pair{32, "#S..#|#...#|#.r.#|#####"},
                                         {1, "#S..#|#.r.#|#...#|#####"},
                                         {25, "#S..#|#.r.#|#...#|#####"},
                                         {1, "#Sr.#|#...#|#...#|#####"}}) {
        playMoves(s, std::string(ticks, '.'));
        EXPECT_EQ(layerRows(LAYER_OBJECT), objects) << fineGrid.stepCounter;
    }
}

TEST(Rules, RandomBoardsStayInsideTheBoard) {
    // Any code in any layer, right up to the border, under random moves: the
    // rules keep every read and write on the board (the sanitizer build
    // watches), and nothing ever leaves a code outside the table.
    std::mt19937 random(20261205);
    for (int level = 0; level < 120; ++level) {
        LevelRecord record{};
        record.width = 1 + static_cast<int>(random() % BOARD_COLUMNS);
        record.height = 1 + static_cast<int>(random() % BOARD_ROWS);
        for (auto& column : record.cells) {
            for (auto& cell : column) {
                for (int8_t& code : cell) {
                    const int pick = static_cast<int>(random() % (2 * ELEMENT_COUNT));
                    code = static_cast<int8_t>(pick < ELEMENT_COUNT ? pick : EMPTY);
                }
            }
        }
        SimRun run{};
        simStart(run, record);
        for (int tick = 0; tick < 80; ++tick) {
            simTick(run, moveFromChar("RLUD."[random() % 5]));
        }
        for (const auto& cell : board.cells) {
            for (int8_t code : cell) {
                ASSERT_TRUE(isElementCode(code));
            }
        }
    }
}
