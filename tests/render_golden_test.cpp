// The board as ghtool render and the game window draw it, with the pictures
// and levels of the real GHold.dat, compared with reference pictures in
// tests/golden/. New pictures or a redesigned level change these on purpose:
// look at the .actual.png, then refresh with GHOLD_UPDATE_GOLDENS=1.
#include "game/board.h"
#include "game/gamedata.h"
#include "game/sound.h"
#include "tests/support/golden.h"
#include "tools/leveltext.h"
#include "tools/render.h"
#include "tools/sim.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

// A hall with every kind of light, running water, a spout, holes, a
// breakable wall and rubble, so that one picture shows each part of the
// drawing working together.
constexpr std::string_view litHall = R"(title: Lit hall
floor:
............
.__________.
.__________.
.__________.
.____._,___.
.__________.
.________u_.
.__________.
............

object:
############
#>...T...S.#
#..........#
#.B........#
#....#.....#
#..o.....T.#
#.T...*....#
#.......#..#
############

top:
............
..........V.
...%........
............
.X..........
...F........
.........f..
............
............
)";

void playLevel(const LevelRecord& record, std::string_view moves) {
    SimRun run{};
    simStart(run, record);
    for (char move : moves) {
        simTick(run, moveFromChar(move));
    }
    effectObserver = nullptr;
}

::testing::AssertionResult boardMatches(const std::string& name) {
    WindowCanvas canvas{};
    std::string problem = renderBoardCanvas(canvas);
    if (!problem.empty()) {
        return ::testing::AssertionFailure() << problem;
    }
    ::testing::AssertionResult result = matchesGolden(name, canvas.surface);
    canvasFree(canvas);
    return result;
}

class BoardGolden : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { loaded = loadGameData(GHOLD_DATA_FILE); }
    void SetUp() override { ASSERT_TRUE(loaded) << GHOLD_DATA_FILE; }
    static inline int loaded = 0;
};

// "Carry the Flame" just after the keg went up: a lit torch, the fire and the
// explosion's light over holes and rubble-free floor.
TEST_F(BoardGolden, KegExplodingBesideTheTorchAndFire) {
    playLevel(levelRecords[8], "RRRR...RURDLD......................");
    EXPECT_TRUE(boardMatches("board-level08"));
}

// "Water on Fire": the source's water on its way down to the fire.
TEST_F(BoardGolden, WaterFallingTowardsTheFire) {
    playLevel(levelRecords[11], "RRUURRLLDD................");
    EXPECT_TRUE(boardMatches("board-level11"));
}

// "The Spout": the spout itself stays unseen, its flood shows.
TEST_F(BoardGolden, SpoutFloodBesideTheFire) {
    playLevel(levelRecords[14], "RRL" + std::string(51, '.'));
    EXPECT_TRUE(boardMatches("board-level14"));
}

TEST_F(BoardGolden, LightsWaterAndShadowsTogether) {
    LevelText level;
    ASSERT_EQ(parseLevelText(litHall, level), "");
    // The player pushes the box up against the breakable wall's row, then
    // the water has time to fall and spread.
    playLevel(level.record, "RDDU..............");
    EXPECT_TRUE(boardMatches("board-lit-hall"));
}

} // namespace
