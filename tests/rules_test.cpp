#include "game/board.h"
#include "game/elements.h"
#include "game/flow.h"
#include "game/fluid.h"
#include "game/move.h"
#include "game/rules.h"
#include "game/sound.h"
#include "tests/support/scenario.h"

#include "tools/leveltext.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const AnimState& stateOf(int x, int y, int layer) {
    return board.states[cellIndex(x, y)][layer];
}

int counterOf(int x, int y, int layer) {
    return stateOf(x, y, layer).counter;
}

std::string objects() {
    return layerText(LAYER_OBJECT);
}

using Effects = std::vector<int32_t>;

} // namespace

TEST(Rules, ObjectsMovedRightOrUpAreVisitedAgainInTheSameStep) {
    // Pushed right into fire, the torch is burned in the same step: it lights
    // on the fourth step counting the push.
    Scenario s = startScenario(levelText(">t.", {}, "..F"));
    playMoves(s, "R");
    EXPECT_EQ(objects(), ".>t\n");
    EXPECT_EQ(counterOf(2, 0, LAYER_OBJECT), 1);
    playMoves(s, "..");
    EXPECT_EQ(objects(), ".>t\n");
    playMoves(s, ".");
    EXPECT_EQ(objects(), ".>T\n");

    // Pushed left into fire it has missed this step's visit.
    s = startScenario(levelText(".t<", {}, "F.."));
    playMoves(s, "L");
    EXPECT_EQ(objects(), "t<.\n");
    EXPECT_EQ(counterOf(0, 0, LAYER_OBJECT), 0);
    playMoves(s, "...");
    EXPECT_EQ(objects(), "t<.\n");
    playMoves(s, ".");
    EXPECT_EQ(objects(), "T<.\n");
}

TEST(Rules, FireCountsItsVisitsBeforeSettingThingsAlight) {
    Scenario s = startScenario(levelText("t", {}, "F"));
    playMoves(s, "...");
    EXPECT_EQ(objects(), "t\n");
    EXPECT_EQ(counterOf(0, 0, LAYER_OBJECT), 3);
    playMoves(s, ".");
    EXPECT_EQ(objects(), "T\n");
    EXPECT_EQ(s.run.effects, Effects{EFFECT_ENFLAM});

    s = startScenario(levelText("!", {}, "F"));
    playMoves(s, "......");
    EXPECT_EQ(objects(), "!\n");
    playMoves(s, ".");
    EXPECT_EQ(objects(), "*\n");
    EXPECT_EQ(s.run.effects, Effects{EFFECT_EXPLOSE});

    // A float burns on its third step and is gone six ticks later.
    s = startScenario(levelText("r", {}, "f"));
    playMoves(s, "..");
    EXPECT_EQ(objects(), "r\n");
    playMoves(s, ".");
    EXPECT_EQ(objects(), "R\n");
    EXPECT_EQ(s.run.effects, Effects{EFFECT_CBRULE});
    playMoves(s, ".....");
    EXPECT_EQ(objects(), "R\n");
    playMoves(s, ".");
    EXPECT_EQ(objects(), ".\n");

    // A keg catches on the fourth step and goes off 21 ticks later; a slow
    // keg takes 48.
    s = startScenario(levelText("g", "~"));
    playMoves(s, "....");
    EXPECT_EQ(objects(), "G\n");
    playMoves(s, std::string(20, '.'));
    EXPECT_EQ(objects(), "G\n");
    playMoves(s, ".");
    EXPECT_EQ(objects(), "*\n");
    s = startScenario(levelText("c", {}, "^"));
    playMoves(s, std::string(4 + 47, '.'));
    EXPECT_EQ(objects(), "C\n");
    playMoves(s, ".");
    EXPECT_EQ(objects(), "*\n");

    // Water at the foot of a fire puts it out on the second wet visit; dry
    // visits do not count.
    s = startScenario(levelText("...|...|...", {}, "...|.F.|..."));
    fineGrid.cells[5][4] |= FINE_FULL;
    stepRulesOnly(s);
    EXPECT_EQ(cellChar(1, 1, LAYER_TOP), 'F');
    fineGrid.cells[5][4] &= ~FINE_FULL;
    stepRulesOnly(s);
    fineGrid.cells[5][3] |= FINE_FULL;
    stepRulesOnly(s);
    EXPECT_EQ(cellChar(1, 1, LAYER_TOP), '.');
}

TEST(Rules, LavaDragsEverySeventhStepAndWaitsForNewcomers) {
    Scenario s = startScenario(levelText("..o", "_~~"));
    playMoves(s, "......");
    EXPECT_EQ(objects(), "..o\n");
    EXPECT_EQ(counterOf(2, 0, LAYER_FLOOR), 6);
    playMoves(s, ".");
    EXPECT_EQ(objects(), ".o.\n");
    EXPECT_EQ(counterOf(2, 0, LAYER_FLOOR), 0);
    playMoves(s, "......");
    EXPECT_EQ(objects(), ".o.\n");
    playMoves(s, ".");
    EXPECT_EQ(objects(), "o..\n");
    // Lava with nothing on it does not count.
    EXPECT_EQ(counterOf(1, 0, LAYER_FLOOR), 0);

    // Whatever arrives on lava resets the count the last object left there.
    s = startScenario(levelText(">ok..", "__~~_"));
    playMoves(s, "...");
    EXPECT_EQ(counterOf(2, 0, LAYER_FLOOR), 3);
    playMoves(s, "R");
    EXPECT_EQ(objects(), ".>ok.\n");
    EXPECT_EQ(counterOf(2, 0, LAYER_FLOOR), 1);
    EXPECT_EQ(counterOf(3, 0, LAYER_FLOOR), 1);
    // Six steps on, the ball is dragged back and shoves the player with it.
    playMoves(s, "......");
    // The key, due in the same step, follows into the ball's old cell.
    EXPECT_EQ(objects(), ">ok..\n");
    EXPECT_EQ(counterOf(2, 0, LAYER_FLOOR), 0);
    EXPECT_EQ(counterOf(3, 0, LAYER_FLOOR), 0);
}

TEST(Rules, SpoutFloodsItsTileOnTheFiftyFirstVisit) {
    Scenario s = startScenario(levelText("...|...|...", {}, "...|.V.|..."));
    playMoves(s, std::string(50, '.'));
    EXPECT_EQ(counterOf(1, 1, LAYER_TOP), 50);
    EXPECT_EQ(fineGrid.cells[4][4], FINE_OPEN);
    playMoves(s, ".");
    EXPECT_EQ(counterOf(1, 1, LAYER_TOP), 0);
    for (int r = 3; r <= 5; ++r) {
        for (int c = 3; c <= 5; ++c) {
            EXPECT_EQ(fineGrid.cells[r][c], FINE_OPEN | FINE_FULL) << r << "," << c;
        }
    }
}

TEST(Rules, HurtPlayerRecoversOnTheThirdVisitAndKeepsTheRequest) {
    Scenario s = startScenario(levelText(".>.", {}, "..F"));
    playMoves(s, "R");
    EXPECT_EQ(objects(), ".].\n");
    EXPECT_EQ(levelFlow.moveRequest, 0);
    playMoves(s, "L");
    EXPECT_EQ(objects(), ".].\n");
    EXPECT_EQ(levelFlow.moveRequest, 2);
    playMoves(s, ".");
    EXPECT_EQ(objects(), ".].\n");
    playMoves(s, ".");
    EXPECT_EQ(objects(), ".>.\n");
    EXPECT_EQ(levelFlow.moveRequest, 2);
    playMoves(s, ".");
    EXPECT_EQ(objects(), "<..\n");
    EXPECT_EQ(levelFlow.moveRequest, 0);
}

TEST(Rules, ExplosionSpreadsOnceLeftRightUpDown) {
    Scenario s = startScenario(levelText(".....|..g..|.o.B#|..>..|....."));
    placeElement(2, 2, LAYER_OBJECT, EXPLOSION);
    playMoves(s, ".");
    EXPECT_EQ(objects(), ".....\n..g..\n.o*B#\n..>..\n.....\n");
    playMoves(s, ".");
    // The ball and the player are shoved, the box against the block is not;
    // the keg is lit, then shoved.
    EXPECT_EQ(objects(), "..G..\n..*..\no**B#\n..*..\n..>..\n");
    EXPECT_EQ(s.run.effects, Effects{});
    for (auto [x, y] : {std::pair{2, 2}, {1, 2}, {2, 1}, {2, 3}}) {
        const AnimState& e = stateOf(x, y, LAYER_OBJECT);
        EXPECT_EQ(e.frame, 2) << x << "," << y;
        EXPECT_EQ(e.counter, 1) << x << "," << y;
        EXPECT_EQ(e.flags, ANIM_RUNNING | ANIM_ONCE) << x << "," << y;
    }
    // They all end together and spread nothing more.
    playMoves(s, "..");
    EXPECT_EQ(objects(), "..G..\n..*..\no**B#\n..*..\n..>..\n");
    playMoves(s, ".");
    EXPECT_EQ(objects(), "..G..\n.....\no..B#\n.....\n..>..\n");
    // The keg, lit at the second step, goes off 21 ticks later.
    playMoves(s, std::string(17, '.'));
    EXPECT_EQ(cellChar(2, 0, LAYER_OBJECT), 'G');
    playMoves(s, ".");
    EXPECT_EQ(cellChar(2, 0, LAYER_OBJECT), '*');
}

TEST(Rules, ExplosionBlastsWallsBlocksTorchesAndBombs) {
    Scenario s = startScenario(levelText("..T..|.$.#.|..c..", {}, ".....|...%.|....."));
    placeElement(2, 1, LAYER_OBJECT, EXPLOSION);
    playMoves(s, "..");
    EXPECT_EQ(objects(), "..t..\n.***.\n..C..\n");
    EXPECT_EQ(layerText(LAYER_FLOOR), "_____\n_;_,_\n_____\n");
    EXPECT_EQ(layerText(LAYER_TOP), ".....\n.....\n.....\n");
    EXPECT_EQ(s.run.effects, Effects{});
    for (int r = 3; r <= 5; ++r) {
        for (int c : {3, 4, 5, 9, 10, 11}) {
            EXPECT_EQ(fineGrid.cells[r][c] & 3, FINE_OPEN) << r << "," << c;
        }
    }

    // A bomb beside it goes off with its own effect and spreads later; a
    // lever on its left is thrown.
    s = startScenario(levelText("/!.o."));
    placeElement(2, 0, LAYER_OBJECT, EXPLOSION);
    playMoves(s, "..");
    EXPECT_EQ(objects(), "/***o\n");
    EXPECT_EQ(s.run.effects, Effects{EFFECT_EXPLOSE});
    EXPECT_EQ(counterOf(1, 0, LAYER_OBJECT), 0);
    s = startScenario(levelText("/.o."));
    placeElement(1, 0, LAYER_OBJECT, EXPLOSION);
    playMoves(s, "..");
    EXPECT_EQ(objects(), "\\**o\n");
    EXPECT_EQ(s.run.effects, Effects{EFFECT_SWITCH});

    // At the board's edge the missing sides are skipped.
    s = startScenario(levelText("*"));
    playMoves(s, ".");
    EXPECT_EQ(objects(), "*\n");
    EXPECT_EQ(counterOf(0, 0, LAYER_OBJECT), 1);
}

TEST(Rules, LeverLightsTheBurnersWhileItPlays) {
    Scenario s = startScenario(levelText("....|....|./<.", "____|_u__|____"));
    playMoves(s, "L");
    EXPECT_EQ(s.run.effects, Effects{EFFECT_SWITCH});
    EXPECT_EQ(gameState.burnersOn, 0);
    playMoves(s, ".");
    EXPECT_EQ(gameState.burnersOn, 1);
    EXPECT_EQ(layerText(LAYER_TOP), ".^..\n.f..\n....\n");
    playMoves(s, std::string(16, '.'));
    EXPECT_EQ(objects(), "....\n....\n.\\<.\n");
    EXPECT_EQ(layerText(LAYER_TOP), ".^..\n.f..\n....\n");
    playMoves(s, ".");
    EXPECT_EQ(objects(), "....\n....\n./<.\n");
    EXPECT_EQ(gameState.burnersOn, 0);
    EXPECT_EQ(layerText(LAYER_TOP), "....\n....\n....\n");

    // Water over a burner's middle keeps it dark; a burner in the top row
    // lights only its own cell.
    s = startScenario(levelText("...|...|...", "___|_u_|___"));
    gameState.burnersOn = 1;
    floodTile(1, 1);
    stepRulesOnly(s);
    EXPECT_EQ(layerText(LAYER_TOP), "...\n...\n...\n");
    s = startScenario(levelText("..", "u_"));
    gameState.burnersOn = 1;
    stepRulesOnly(s);
    EXPECT_EQ(layerText(LAYER_TOP), "f.\n");
}

TEST(Rules, PlatesSinkAndRaiseBarriers) {
    Scenario s = startScenario(levelText("oH.", "+__"));
    playMoves(s, ".");
    EXPECT_EQ(gameState.allPlatesPressed, 0);
    EXPECT_EQ(gameState.noBallLeft, 1); // a ball on a plate does not count
    EXPECT_EQ(objects(), "oH.\n");

    s = startScenario(levelText("BH.", "+__"));
    playMoves(s, ".");
    EXPECT_EQ(objects(), "B..\n");
    EXPECT_EQ(layerText(LAYER_FLOOR), "+h_\n");

    // Without weight the slot raises its barrier, or sets off a bomb in it.
    s = startScenario(levelText("k.", "+h"));
    playMoves(s, ".");
    EXPECT_EQ(objects(), "kH\n");
    EXPECT_EQ(layerText(LAYER_FLOOR), "+_\n");
    s = startScenario(levelText("k!", "+h"));
    playMoves(s, ".");
    EXPECT_EQ(objects(), "k*\n");

    // The plate is surveyed before the player steps off it.
    s = startScenario(levelText(">..", "+_h"));
    playMoves(s, "R");
    EXPECT_EQ(objects(), ".>.\n");
    playMoves(s, ".");
    EXPECT_EQ(objects(), ".>H\n");

    // No plate at all: every barrier sinks at once.
    s = startScenario(levelText("H."));
    playMoves(s, ".");
    EXPECT_EQ(layerText(LAYER_FLOOR), "h_\n");
}

TEST(Rules, DoorsOpenWhenNoBallIsLeft) {
    Scenario s = startScenario(levelText("D.o"));
    playMoves(s, ".");
    EXPECT_EQ(objects(), "D.o\n");
    s = startScenario(levelText("D.o", "__+"));
    playMoves(s, ".");
    EXPECT_EQ(objects(), "d.o\n");

    // The last ball dropped into a box opens the door on the next step.
    s = startScenario(levelText(".....|D.>oB|....."));
    playMoves(s, "R");
    EXPECT_EQ(objects(), ".....\nD..>b\n.....\n");
    playMoves(s, ".");
    EXPECT_EQ(objects(), ".....\nd..>b\n.....\n");
    EXPECT_EQ(s.run.effects, Effects{EFFECT_DOOREND});
    EXPECT_EQ(fineGrid.cells[4][1] & 3, FINE_OPEN);
    playMoves(s, "....");
    EXPECT_EQ(cellChar(4, 1, LAYER_OBJECT), 'b');
    playMoves(s, ".");
    EXPECT_EQ(cellChar(4, 1, LAYER_OBJECT), '@');
    playMoves(s, std::string(9, '.'));
    EXPECT_EQ(cellChar(0, 1, LAYER_OBJECT), 'd');
    playMoves(s, ".");
    EXPECT_EQ(cellText(0, 1), "_.X");
    EXPECT_EQ(fineGrid.cells[4][1] & FINE_DRAIN, FINE_DRAIN);

    // An opened lock leaves its tile open to water.
    s = startScenario(levelText(".....|.>kL.|....."));
    playMoves(s, "R");
    playMoves(s, "........");
    EXPECT_EQ(cellChar(3, 1, LAYER_OBJECT), 'l');
    EXPECT_EQ(fineGrid.cells[4][10] & 3, FINE_FULL);
    playMoves(s, ".");
    EXPECT_EQ(cellChar(3, 1, LAYER_OBJECT), '.');
    EXPECT_EQ(fineGrid.cells[4][10] & 3, FINE_OPEN);
}

TEST(Rules, FloatsRiseOnWaterAndSinkWithoutSupport) {
    // Rising lifts up to 67 of weight.
    Scenario s = startScenario(levelText("...|.B.|.B.|.r.|...|..."));
    floodTile(1, 3);
    floodTile(1, 4);
    stepRulesOnly(s);
    EXPECT_EQ(objects(), ".B.\n.B.\n.r.\n...\n...\n...\n");
    s = startScenario(levelText("...|.@.|.B.|.r.|...|..."));
    floodTile(1, 3);
    floodTile(1, 4);
    stepRulesOnly(s);
    EXPECT_EQ(objects(), "...\n.@.\n.B.\n.r.\n...\n...\n");
    // A bomb on a rising float goes off.
    s = startScenario(levelText("...|.!.|.r.|..."));
    floodTile(1, 2);
    floodTile(1, 3);
    stepRulesOnly(s);
    EXPECT_EQ(objects(), "...\n.*.\n.r.\n...\n");

    // Sinking: one row per step, with 2 to spare; the edge holds it.
    s = startScenario(levelText(".r.|...|..."));
    stepRulesOnly(s);
    EXPECT_EQ(objects(), "...\n.r.\n...\n");
    stepRulesOnly(s);
    stepRulesOnly(s);
    EXPECT_EQ(objects(), "...\n...\n.r.\n");
    s = startScenario(levelText(".r.|.o.|..."));
    stepRulesOnly(s);
    EXPECT_EQ(objects(), ".r.\n.o.\n...\n");
    s = startScenario(levelText(".r.|.#.|..."));
    stepRulesOnly(s);
    EXPECT_EQ(objects(), ".r.\n.#.\n...\n");
}

TEST(Rules, ExitSwallowsEverythingButOnlyThePlayerCompletes) {
    Scenario s = startScenario(levelText(">.", {}, ".X"));
    playMoves(s, "R");
    EXPECT_EQ(objects(), "..\n");
    EXPECT_EQ(levelFlow.levelComplete, 1u);
    EXPECT_EQ(s.run.effects, Effects{EFFECT_TELEP});

    s = startScenario(levelText(">B.", {}, "..X"));
    playMoves(s, "R");
    EXPECT_EQ(objects(), ".>.\n");
    EXPECT_EQ(levelFlow.levelComplete, 0u);

    // Walking left, the exit's cell has had its turn: the level ends a step later.
    s = startScenario(levelText(".<", {}, "X."));
    playMoves(s, "L");
    EXPECT_EQ(objects(), "<.\n");
    EXPECT_EQ(levelFlow.levelComplete, 0u);
    playMoves(s, ".");
    EXPECT_EQ(objects(), "..\n");
    EXPECT_EQ(levelFlow.levelComplete, 1u);

    s = startScenario(levelText(".B", "_~", "X."));
    playMoves(s, "........");
    EXPECT_EQ(objects(), "..\n");
    EXPECT_EQ(levelFlow.levelComplete, 0u);
}

TEST(Rules, BubblesCountWhileThePlayersHeadIsUnderWater) {
    Scenario s = startScenario(levelText("...|.>.|..."));
    fineGrid.cells[3][3] |= FINE_FULL;
    stepRulesOnly(s);
    EXPECT_EQ(gameState.bubbleCounter, 15); // one corner is not enough
    fineGrid.cells[3][5] |= FINE_FULL;
    gameState.bubbleCounter = 0;
    stepRulesOnly(s);
    EXPECT_EQ(gameState.bubbleCounter, 1);
    gameState.bubbleCounter = 49;
    stepRulesOnly(s);
    EXPECT_EQ(gameState.bubbleCounter, 50);
    EXPECT_EQ(s.run.effects, Effects{});
    stepRulesOnly(s);
    EXPECT_EQ(gameState.bubbleCounter, 0);
    EXPECT_EQ(s.run.effects, Effects{EFFECT_WATER});

    // A lit torch goes out with water in the left or middle of its top third.
    s = startScenario(levelText("...|.T.|..."));
    fineGrid.cells[3][5] |= FINE_FULL;
    stepRulesOnly(s);
    EXPECT_EQ(cellChar(1, 1, LAYER_OBJECT), 'T');
    fineGrid.cells[3][4] |= FINE_FULL;
    stepRulesOnly(s);
    EXPECT_EQ(cellChar(1, 1, LAYER_OBJECT), 't');
}

TEST(Rules, RandomBoardsStayInsideTheBoard) {
    // Any code in any layer, right up to the border, under random moves: the
    // rules must keep every read and write on the board (the sanitizer build
    // watches), and nothing ever leaves a code outside the table.
    std::mt19937 random(20261205);
    const char moves[] = "RLUD.";
    for (int level = 0; level < 120; ++level) {
        LevelRecord record{};
        record.width = 1 + static_cast<int>(random() % BOARD_COLUMNS);
        record.height = 1 + static_cast<int>(random() % BOARD_ROWS);
        for (int x = 0; x < record.width; ++x) {
            for (int y = 0; y < record.height; ++y) {
                for (int layer = 0; layer < 3; ++layer) {
                    // Mostly empty, so that things have room to move.
                    const int code = static_cast<int>(random() % (2 * ELEMENT_COUNT));
                    record.cells[x][y][layer] =
                        static_cast<int8_t>(code < ELEMENT_COUNT ? code : EMPTY);
                }
            }
        }
        SimRun run{};
        simStart(run, record);
        for (int tick = 0; tick < 80; ++tick) {
            simTick(run, moveFromChar(moves[random() % 5]));
        }
        for (int x = 0; x < record.width; ++x) {
            for (int y = 0; y < record.height; ++y) {
                for (int layer = 0; layer < 3; ++layer) {
                    ASSERT_TRUE(isElementCode(board.cells[cellIndex(x, y)][layer]));
                }
            }
        }
        EXPECT_EQ(run.step, 80);
    }
}
