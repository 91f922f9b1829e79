// The rules as a player meets them: pushing, then what every element does
// step by step, told as tables that read as the rules' own summary. Every
// traced step of the identity check holds them exactly; these say what the
// digests cannot: which rule a change broke. Levels are written as their
// texts' grids, rows apart by '|'.
#include "game/board.h"
#include "game/elements.h"
#include "game/flow.h"
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

TEST(Rules, ElementsActStepByStep) {
    struct Story {
        const char* what;
        std::string level;
        std::vector<std::pair<std::string, std::string>> steps; // moves, then the objects
        Effects effects;                                        // of the last step
    };
    const std::string wait20(20, '.'), wait47(47, '.'), wait16(16, '.');
    const Story stories[] = {
        {"a torch pushed right into fire is visited again and lights on its fourth step",
         levelText(">t.", {}, "..F"),
         {{"R", ".>t"}, {"..", ".>t"}, {".", ".>T"}},
         {EFFECT_ENFLAM}},
        {"a bomb in fire goes off on its seventh step",
         levelText("!", {}, "F"),
         {{"......", "!"}, {".", "*"}},
         {EFFECT_EXPLOSE}},
        {"a keg on lava catches on its fourth step and goes off 21 ticks later",
         levelText("g", "~"),
         {{"....", "G"}, {wait20, "G"}, {".", "*"}},
         {EFFECT_EXPLOSE}},
        {"a slow keg takes 48",
         levelText("c", {}, "^"),
         {{"...." + wait47, "C"}, {".", "*"}},
         {EFFECT_EXPLOSE}},
        {"lava drags every seventh step; bare lava does not count",
         levelText("..o", "_~~"),
         {{"......", "..o"}, {".", ".o."}, {"......", ".o."}, {".", "o.."}},
         {}},
        {"whatever arrives on lava resets its count; the dragged ball shoves the player",
         levelText(">ok..", "__~~_"),
         {{"...R", ".>ok."}, {"......", ">ok.."}},
         {}},
        {"a hurt player recovers on the third visit and keeps the request",
         levelText(".>.", {}, "..F"),
         {{"R", ".]."}, {"L", ".]."}, {"..", ".>."}, {".", "<.."}},
         {}},
        {"a box on the plate sinks the barrier", levelText("BH.", "+__"), {{".", "B.."}}, {}},
        {"or sets off a bomb in it", levelText("k!", "+h"), {{".", "k*"}}, {EFFECT_EXPLOSE}},
        {"the plate is surveyed before the player steps off it",
         levelText(">..", "+_h"),
         {{"R", ".>."}, {".", ".>H"}},
         {}},
        {"a ball resting on a plate is not left",
         levelText("D.o", "__+"),
         {{".", "d.o"}},
         {EFFECT_DOOREND}},
        {"the last ball dropped into a box opens the door on the next step",
         levelText(".....|D.>oB|....."),
         {{"R", ".....|D..>b|....."}, {".", ".....|d..>b|....."}},
         {EFFECT_DOOREND}},
        {"exit swallows what is dragged in without ending the level",
         levelText(".B", "_~", "X."),
         {{"........", ".."}},
         {}},
        {"walking left the exit's cell has had its turn: the level ends a step later",
         levelText(".<", {}, "X."),
         {{"L", "<."}, {".", ".."}},
         {EFFECT_TELEP}},
        {"a lever lights the burners while it plays",
         levelText("....|....|./<.", "____|_u__|____"),
         {{"L.", "....|....|.\\<."}, {wait16, "....|....|.\\<."}, {".", "....|....|./<."}},
         {}}};
    for (const Story& story : stories) {
        Scenario s = startScenario(story.level);
        ASSERT_EQ(s.error, "") << story.what;
        for (const auto& [moves, objects] : story.steps) {
            playMoves(s, moves);
            EXPECT_EQ(layerRows(LAYER_OBJECT), objects) << story.what << " after " << moves;
        }
        EXPECT_EQ(s.run.effects, story.effects) << story.what;
        EXPECT_EQ(levelFlow.levelComplete, story.effects == Effects{EFFECT_TELEP}) << story.what;
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
