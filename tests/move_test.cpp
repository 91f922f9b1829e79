#include "game/board.h"
#include "game/elements.h"
#include "game/flow.h"
#include "game/fluid.h"
#include "game/move.h"
#include "game/sound.h"
#include "tests/support/scenario.h"

#include <gtest/gtest.h>

namespace {

// The object row of a one-row level after one tick with the given move.
std::string afterMove(std::string_view objects, char move, std::string_view floor = {},
                      std::string_view top = {}) {
    Scenario s = startScenario(levelText(objects, floor, top));
    EXPECT_EQ(s.error, "") << objects;
    playMoves(s, std::string(1, move));
    std::string row = layerText(LAYER_OBJECT);
    row.pop_back();
    return row;
}

std::vector<int32_t> effectsOfMove(std::string_view objects, char move, std::string_view floor = {},
                                   std::string_view top = {}) {
    Scenario s = startScenario(levelText(objects, floor, top));
    playMoves(s, std::string(1, move));
    return s.run.effects;
}

} // namespace

TEST(Push, ForceBudgetDecidesHowMuchMoves) {
    EXPECT_EQ(afterMove(">..", 'R'), ".>.");
    EXPECT_EQ(afterMove(">o.", 'R'), ".>o");
    // 60 - 20 - 18 - 18 leaves 4: two light objects go.
    EXPECT_EQ(afterMove(">oo.", 'R'), ".>oo");
    EXPECT_EQ(afterMove(">tk.", 'R'), ".>tk");
    // 18 + 30 is too much, and so is anything of 50 or more.
    EXPECT_EQ(afterMove(">kB.", 'R'), ">kB.");
    EXPECT_EQ(afterMove(">Bk.", 'R'), ">Bk.");
    EXPECT_EQ(afterMove(">@.", 'R'), ">@.");
    EXPECT_EQ(afterMove(">B.", 'R'), ".>B");
    // The board's edge and a breakable wall stop a row.
    EXPECT_EQ(afterMove(">o", 'R'), ">o");
    EXPECT_EQ(afterMove(">o.", 'R', {}, "..%"), ">o.");

    // The budget is shared down the chain: what is left after two balls.
    startScenario(levelText(">oo."));
    int32_t force = 60;
    EXPECT_EQ(pushChain(0, 0, 1, 0, force, PLAYER_RIGHT), 1);
    EXPECT_EQ(force, 4);
    EXPECT_EQ(layerText(LAYER_OBJECT), ".>oo\n");
    force = 60;
    EXPECT_EQ(pushChain(1, 0, 1, 0, force, PLAYER_RIGHT), 0); // the balls reach the edge
    EXPECT_EQ(force, 0);
}

TEST(Push, BallAndBoxMeetInEitherOrder) {
    EXPECT_EQ(afterMove(">oB.", 'R'), ".>b.");
    EXPECT_EQ(afterMove(">Bo.", 'R'), ".>b.");
    EXPECT_EQ(effectsOfMove(">oB.", 'R'), std::vector<int32_t>{EFFECT_BALLBOX});
    // The meeting needs no room beyond and spends the whole budget.
    EXPECT_EQ(afterMove(">oB", 'R'), ".>b");
    EXPECT_EQ(afterMove(">kL", 'R'), ".>l");
    EXPECT_EQ(effectsOfMove(">kL", 'R'), std::vector<int32_t>{EFFECT_SERRURE});
    EXPECT_EQ(afterMove("<koL", 'L'), "<koL"); // the lock is on the wrong side

    // A plug closes a drain, and the drain stops swallowing water.
    Scenario s = startScenario(levelText("....|.>pO|...."));
    ASSERT_EQ(fineGrid.cells[3][9] & FINE_DRAIN, FINE_DRAIN);
    playMoves(s, "R");
    EXPECT_EQ(layerText(LAYER_OBJECT), "....\n..>P\n....\n");
    EXPECT_EQ(fineGrid.cells[3][9] & FINE_DRAIN, 0);
    EXPECT_EQ(fineGrid.drainCount, 0);
}

TEST(Push, BombsGoOffWhenShovedIntoOrAgainstSomething) {
    // The player may push a bomb where nothing weighs anything.
    EXPECT_EQ(afterMove(">!..", 'R'), ".>!.");
    // Against the edge, a breakable wall, or anything of weight 10 or more.
    EXPECT_EQ(afterMove(">!", 'R'), ">*");
    EXPECT_EQ(afterMove(">!.", 'R', {}, "..%"), ">*.");
    EXPECT_EQ(afterMove(">!B.", 'R'), ">*B.");
    EXPECT_EQ(afterMove(">!k.", 'R'), ">*k.");
    EXPECT_EQ(effectsOfMove(">!k.", 'R'), std::vector<int32_t>{EFFECT_EXPLOSE});
    // Anything but the player pushed into a bomb sets the bomb off and stays.
    EXPECT_EQ(afterMove(">B!.", 'R'), ">B*.");
    EXPECT_EQ(afterMove(">o!.", 'R'), ">o*.");
}

TEST(Push, LeverIsThrownOnlyFromItsRight) {
    EXPECT_EQ(afterMove("./<", 'L'), ".\\<");
    EXPECT_EQ(effectsOfMove("./<", 'L'), std::vector<int32_t>{EFFECT_SWITCH});
    EXPECT_EQ(afterMove(">/.", 'R'), ">/.");
    EXPECT_EQ(afterMove("/|>", 'U'), "/\n>");
    // From above and below it is just too heavy.
    Scenario s = startScenario(levelText(".>.|./.|..."));
    playMoves(s, "D");
    EXPECT_EQ(layerText(LAYER_OBJECT), ".>.\n./.\n...\n");
    // Anything pushed into it from the right throws it too, and the row stays.
    EXPECT_EQ(afterMove("./o<", 'L'), ".\\o<");
}

TEST(Push, PlayerTurnsEvenWhenTheMoveFails) {
    EXPECT_EQ(afterMove("<#", 'R'), ">#");
    EXPECT_EQ(afterMove("#>", 'L'), "#<");
    // Turning restarts his animation; the failed push leaves the rest alone.
    Scenario s = startScenario(levelText("<#"));
    ASSERT_EQ(board.states[cellIndex(0, 0)][LAYER_OBJECT].frame, 1);
    playMoves(s, "R");
    const AnimState& turned = board.states[cellIndex(0, 0)][LAYER_OBJECT];
    EXPECT_EQ(turned.frame, 0);
    EXPECT_EQ(turned.tick, 0);
    EXPECT_EQ(turned.flags, ANIM_RUNNING);
    EXPECT_EQ(levelFlow.moveRequest, 0);

    // Up and down keep the facing.
    s = startScenario(levelText("<.|.."));
    playMoves(s, "D");
    EXPECT_EQ(layerText(LAYER_OBJECT), "..\n<.\n");
    s = startScenario(levelText(">.|.."));
    playMoves(s, "D");
    EXPECT_EQ(layerText(LAYER_OBJECT), "..\n>.\n");
}

TEST(Push, SlickFloorHalvesThePlayerAndFreesWhatStandsOnIt) {
    // On slick floor the player starts with 30 and spends nothing himself.
    EXPECT_EQ(afterMove(">o.", 'R', "i__"), ".>o");
    EXPECT_EQ(afterMove(">B.", 'R', "i__"), ">B.");
    EXPECT_EQ(afterMove(">B.", 'R', "ii_"), ".>B");
    EXPECT_EQ(afterMove(">BB.", 'R', "iii_"), ".>BB");
    EXPECT_EQ(afterMove(">BB.", 'R', "ii__"), ">BB.");
    // From plain floor: 40 left, a free box, then a box of 30.
    EXPECT_EQ(afterMove(">BB.", 'R', "_i__"), ".>BB");
    EXPECT_EQ(afterMove(">@.", 'R', "_i_"), ".>@");
}

TEST(Push, EffortShowsOnlyWhenThePlayerPushesWeight) {
    Scenario s = startScenario(levelText(">.o."));
    playMoves(s, "R");
    EXPECT_EQ(boardView.effortOverlay, 0);
    playMoves(s, "R");
    EXPECT_EQ(boardView.effortOverlay, 1);
    // Something that costs nothing on slick floor is no effort either.
    s = startScenario(levelText(">B.", "_i_"));
    playMoves(s, "R");
    EXPECT_EQ(layerText(LAYER_OBJECT), ".>B\n");
    EXPECT_EQ(boardView.effortOverlay, 0);
    // Lava dragging a ball is not the player's effort.
    s = startScenario(levelText(".o", "_~"));
    playMoves(s, ".......");
    EXPECT_EQ(layerText(LAYER_OBJECT), "o.\n");
    EXPECT_EQ(boardView.effortOverlay, 0);
}

TEST(Push, PlayerRecoilsFromFireAndLava) {
    EXPECT_EQ(afterMove(">.", 'R', {}, ".F"), "].");
    EXPECT_EQ(afterMove(".<", 'L', "~_"), ".[");
    EXPECT_EQ(afterMove("<.", 'R', {}, ".F"), "].");
    EXPECT_EQ(effectsOfMove(">.", 'R', {}, ".F"), std::vector<int32_t>{EFFECT_INFIRE});
    // Only the player minds: what he pushes goes into the fire.
    EXPECT_EQ(afterMove(">o.", 'R', {}, "..F"), ".>o");
}

TEST(Push, TorchesLightEachOtherInTheRow) {
    // The player's push lights the torch and stops there.
    EXPECT_EQ(afterMove(">tT.", 'R'), ">TT.");
    EXPECT_EQ(afterMove(">Tt.", 'R'), ">TT.");
    EXPECT_EQ(afterMove(">Tg.", 'R'), ">TG.");
    EXPECT_EQ(afterMove(">Tc.", 'R'), ">TC.");
    EXPECT_EQ(effectsOfMove(">tT.", 'R'), std::vector<int32_t>{EFFECT_ENFLAM});

    // Lava lights the torch ahead and pushes it on.
    Scenario s = startScenario(levelText(".tT.", "__~_"));
    playMoves(s, "......");
    EXPECT_EQ(layerText(LAYER_OBJECT), ".tT.\n");
    playMoves(s, ".");
    EXPECT_EQ(layerText(LAYER_OBJECT), "TT..\n");
    EXPECT_EQ(s.run.effects, std::vector<int32_t>{EFFECT_ENFLAM});
}

TEST(Push, LitTorchIsPutOutByWaterAtTheBoundaryItCrosses) {
    // The torch's code after one push from (x, 1), with one fine cell wet.
    auto torchAfter = [](std::string_view row, int x, int dx, int dy, int wetRow, int wetColumn) {
        startScenario(levelText("....|" + std::string(row) + "|...."));
        fineGrid.cells[wetRow][wetColumn] |= FINE_FULL;
        int32_t force = 60;
        EXPECT_EQ(pushChain(x, 1, dx, dy, force, PLAYER_RIGHT), 1);
        return cellChar(x + dx, 1 + dy, LAYER_OBJECT);
    };
    // Whichever way it goes, the top fine cell left of the crossed boundary decides.
    EXPECT_EQ(torchAfter(".T..", 1, 1, 0, 3, 5), 't');
    EXPECT_EQ(torchAfter(".T..", 1, 1, 0, 3, 6), 'T');
    EXPECT_EQ(torchAfter("..T.", 2, -1, 0, 3, 5), 't');
    EXPECT_EQ(torchAfter("..T.", 2, -1, 0, 3, 6), 'T');
    // The lower thirds, and vertical moves, test nothing.
    EXPECT_EQ(torchAfter(".T..", 1, 1, 0, 4, 5), 'T');
    EXPECT_EQ(torchAfter(".T..", 1, 0, -1, 3, 5), 'T');
}

TEST(Push, MovedObjectsCarryTheirStateAndRestampTheWater) {
    // A baffle pushed on reopens the tile it left and closes part of the new one.
    Scenario s = startScenario(levelText(".....|.>(..|.....|....."));
    ASSERT_EQ(fineGrid.cells[3][6], 0);
    playMoves(s, "R");
    EXPECT_EQ(layerText(LAYER_OBJECT), ".....\n..>(.\n.....\n.....\n");
    for (int c = 6; c <= 8; ++c) {
        EXPECT_EQ(fineGrid.cells[4][c] & 3, FINE_OPEN) << c;
        EXPECT_EQ(fineGrid.cells[4][c + 3], 0) << c;
    }
    EXPECT_EQ(fineGrid.cells[3][9], 0);
    EXPECT_EQ(fineGrid.cells[3][10] & 3, FINE_OPEN);

    // Frame, flags and counter travel; the cell left behind is cleared.
    startScenario(levelText(">t.."));
    AnimState& torch = board.states[cellIndex(1, 0)][LAYER_OBJECT];
    torch = AnimState{3, 2, ANIM_RUNNING, 5};
    int32_t force = 60;
    ASSERT_EQ(pushChain(0, 0, 1, 0, force, PLAYER_RIGHT), 1);
    const AnimState& moved = board.states[cellIndex(2, 0)][LAYER_OBJECT];
    EXPECT_EQ(moved.tick, 3);
    EXPECT_EQ(moved.frame, 2);
    EXPECT_EQ(moved.flags, ANIM_RUNNING);
    EXPECT_EQ(moved.counter, 5);
    const AnimState& left = board.states[cellIndex(0, 0)][LAYER_OBJECT];
    EXPECT_EQ(left.frame + left.flags + left.counter + left.tick, 0);
}
