// ghtool verify: every shipped level is solved by its own solution when the
// levels come from the packed GHold.dat, a broken solution is named, and the
// replay counts and the walk-only search give exact answers on small rooms.
#include "tools/verify.h"

#include "tests/support/datafile.h"
#include "tests/support/ints.h"
#include "tests/support/scenario.h"
#include "tools/leveltext.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct VerifyRun {
    int status;
    std::string out;
    std::string err;
};

VerifyRun runVerify(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = verifyCommand(args, out, err);
    return {status, out.str(), err.str()};
}

LevelText parse(const std::string& text) {
    LevelText level;
    EXPECT_EQ(parseLevelText(text, level), "");
    return level;
}

// A corridor: the player pushes a ball into a box, which opens the door at
// the far end of the lower row.
const std::string ballRoom = levelText(">.oB..#|#....D#");

} // namespace

TEST(Verify, EveryShippedLevelIsSolvedFromThePackedDataFile) {
    const VerifyRun run = runVerify({"--data", GHOLD_DATA_FILE, GHOLD_SOURCE_DIR "/assets"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "all 51 levels solved by their solutions\n");
}

TEST(Verify, StatsGiveOneRowPerLevelAndNoLateLevelIsWalkable) {
    const VerifyRun run = runVerify({"--stats", GHOLD_SOURCE_DIR "/assets"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    int rows = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("| ", 0) != 0 || line.rfind("| level", 0) == 0) {
            continue;
        }
        ++rows;
        // From level 5 on a level must ask for more than a walk.
        if (rows > 5) {
            EXPECT_EQ(line.find("| yes |"), std::string::npos) << line;
        }
    }
    EXPECT_EQ(rows, 51);
}

TEST(Verify, ABrokenSolutionIsNamedAndFailsTheRun) {
    TempDir folder("verify");
    fs::create_directories(folder.path / "levels");
    for (const auto& entry : fs::directory_iterator(GHOLD_SOURCE_DIR "/assets/levels")) {
        fs::copy_file(entry.path(), folder.path / "levels" / entry.path().filename());
    }
    // Level 7 keeps its grids but loses all but its first move.
    LevelText seven;
    std::string error;
    ASSERT_TRUE(readLevelTextFile((folder.path / "levels/level07.txt").string(), seven, error));
    seven.solution = seven.solution.substr(0, 1);
    std::ofstream(folder.path / "levels/level07.txt") << formatLevelText(seven);

    const VerifyRun run = runVerify({folder.path.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("level 7 (" + seven.title + "): the solution does not reach the exit"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("1 of 51 levels"), std::string::npos) << run.err;

    EXPECT_EQ(runVerify({(folder.path / "missing").string()}).status, 2);
    EXPECT_EQ(runVerify({"--data", (folder.path / "none.dat").string()}).status, 2);
    EXPECT_EQ(runVerify({"--bogus"}).status, 2);
}

TEST(Verify, ReplayCountsTicksMovesAndPushes) {
    const LevelText room = parse(ballRoom);
    // Two steps (the second drops the ball into the box), a step down and
    // two along: the door has started opening but is no exit yet.
    ReplayResult result = replaySolution(room.record, "RRDRR.....");
    EXPECT_EQ(ints(result.completedAt, result.ticks, result.moves, result.pushes),
              ints(0, 10, 5, 1));
    EXPECT_FALSE(result.trailing);

    // Walking on into the door until it has become the exit: it opens on the
    // step after the drop and is an exit 15 steps later.
    result = replaySolution(room.record, "RRD" + std::string(16, 'R'));
    EXPECT_EQ(ints(result.completedAt, result.ticks, result.moves, result.pushes),
              ints(19, 19, 6, 1));
    EXPECT_FALSE(result.trailing);

    // One key more than needed is refused: a solution ends at the exit.
    result = replaySolution(room.record, "RRD" + std::string(17, 'R'));
    EXPECT_EQ(result.completedAt, 19);
    EXPECT_TRUE(result.trailing);
}

TEST(Verify, WalkOnlySearchAndMechanicNames) {
    struct Case {
        std::string level;
        bool walkable;
        const char* mechanics;
    };
    const Case cases[] = {
        // The door stays shut while the ball is loose: no walk reaches it.
        {ballRoom, false, "ball box door"},
        {levelText(">...", "", "...X"), true, ""},
        // A fire in the corridor is no way through; lava neither.
        {levelText(">...", "", ".F.X"), false, "fire"},
        {levelText(">...", "_~__", "...X"), false, "lava"},
        // A barrier with no plate anywhere sinks on the first step.
        {levelText(">.H.", "", "...X"), true, "barrier"},
        {levelText(">.H.", "___+", ".X.."), true, "plate barrier"},
        {levelText(">H..", "__+_", "...X"), false, "plate barrier"},
        // A sunk barrier out of the player's first step rises at once while
        // a plate is bare.
        {levelText(">....", "__h+_", "....X"), false, "plate barrier"},
    };
    for (const Case& c : cases) {
        const LevelText room = parse(c.level);
        EXPECT_EQ(walkableToExit(room.record), c.walkable) << c.level;
        EXPECT_EQ(mechanicsOf(room.record), c.mechanics) << c.level;
    }
}
