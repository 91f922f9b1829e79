// ghtool's commands that play levels: sim writes the rules' states (every
// field pinned by the identity check's digests); render draws a level with
// a margin round it; verify replays every shipped level's own solution,
// from the packed GHold.dat too, names a broken one and counts ticks, moves
// and pushes exactly; solve finds the known shortest solutions of small
// rooms with exact search counts, each replaying to the exit, tells a room
// without a way out from a search stopped by its bound, and finds no early
// level of the campaign winnable in under two thirds of the ticks its own
// solution takes. Each refuses bad arguments.
#include "game/board.h"
#include "tests/support/datafile.h"
#include "tests/support/ints.h"
#include "tests/support/scenario.h"
#include "tools/assets.h"
#include "tools/leveltext.h"
#include "tools/png.h"
#include "tools/render.h"
#include "tools/sim.h"
#include "tools/solve.h"
#include "tools/verify.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct CommandRun {
    int status;
    std::string out;
    std::string err;
};

CommandRun run(int (*command)(const std::vector<std::string>&, std::ostream&, std::ostream&),
               const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = command(args, out, err);
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

bool simCompletes(const std::string& level, const std::string& moves) {
    return run(simCommand, {level, moves.empty() ? "." : moves}).out.find("\"levelComplete\":1") !=
           std::string::npos;
}

} // namespace

TEST(Sim, TracesEveryStepOrOnlyTheLastAndRefusesBadInput) {
    const TempDir folder("sim");
    const std::string level = (folder.path / "level.txt").string();
    std::ofstream(level) << levelText(">.");
    const CommandRun traced = run(simCommand, {level, "R", "--trace"});
    ASSERT_EQ(traced.status, 0) << traced.err;
    const size_t second = traced.out.find("\n{\"step\":1,") + 1;
    ASSERT_NE(second, 0u) << traced.out;
    EXPECT_EQ(traced.out.rfind("{\"step\":0,", 0), 0u);
    EXPECT_EQ(run(simCommand, {level, "R"}).out, traced.out.substr(second));

    const std::string missing = (folder.path / "missing.txt").string();
    const std::string noData = (folder.path / "missing.dat").string();
    const std::vector<std::vector<std::string>> bad = {{missing, "R"},
                                                       {level, "RXL"},
                                                       {level},
                                                       {level, "R", "extra"},
                                                       {"--data", noData, "--level", "0", "R"},
                                                       {"--data", noData, "R"},
                                                       {"--bogus", level, "R"}};
    for (const auto& args : bad) {
        const CommandRun result = run(simCommand, args);
        EXPECT_EQ(result.status, 2) << args.size();
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err, "");
    }
}

// The pictures of the board after moves are the identity check's.
TEST(RenderCommand, DrawsTheBoardWithItsMarginsAndRefusesBadInput) {
    TempDir dir("render");
    const std::string data = (dir.path / "GHold.dat").string();
    ASSERT_TRUE(writeBytes(dir.path / "GHold.dat", makeSyntheticDataFile(7).bytes));
    const std::string out = (dir.path / "board.png").string();
    const CommandRun drawn = run(renderCommand, {"--data", data, "--level", "1", out});
    ASSERT_EQ(drawn.status, 0) << drawn.err;
    PngImage image;
    ASSERT_EQ(readPng(out, image), "");
    // The margin keeps the background colour 0x02EF, widened channel by channel.
    EXPECT_EQ(ints(image.width, image.height, image.channels, image.pixels[0], image.pixels[1],
                   image.pixels[2]),
              ints(33 * 18 + 66, 33 * 13 + 66, 3, 0, 92, 120));
    const std::vector<std::vector<std::string>> refused = {
        {"--data", data, "--level", "51", out},
        {"--data", data, "--level", "-1", out},
        {"--data", data, "--level", "x", out},
        {"--data", data, "--level", "1", "RX", out},
        {"--data", (dir.path / "missing.dat").string(), "--level", "1", out},
        {"--data", data, "--level", "1", (dir.path / "no" / "board.png").string()},
        {"--data", data, "--level", "1"},
        {"--data", data, "--level", "1", "R", "L", out},
        {"--data", data, "--zoom", "2", "--level", "1", out}};
    for (const auto& args : refused) {
        const CommandRun refusal = run(renderCommand, args);
        EXPECT_EQ(refusal.status, 2) << args[3];
        EXPECT_NE(refusal.err, "");
    }
    // A level one tile wide is drawn with its margins too.
    SimRun sim{};
    simStart(sim, parse(levelText(">")).record);
    WindowCanvas canvas{};
    ASSERT_EQ(renderBoardCanvas(canvas, 0), "");
    EXPECT_EQ(ints(canvas.surface.width, canvas.surface.height), ints(33 + 66, 33 + 66));
    canvasFree(canvas);
    boardView.window = nullptr;
}

// The statistics give one row per level, and from level 5 on a level must
// ask for more than a walk.
TEST(Verify, EveryShippedLevelIsSolvedFromThePackedDataFileAndNoLateOneIsWalkable) {
    const CommandRun solved =
        run(verifyCommand, {"--data", GHOLD_DATA_FILE, GHOLD_SOURCE_DIR "/assets"});
    EXPECT_EQ(solved.status, 0) << solved.err;
    EXPECT_EQ(solved.out, "all 51 levels solved by their solutions\n");
    const CommandRun verified = run(verifyCommand, {"--stats", GHOLD_SOURCE_DIR "/assets"});
    ASSERT_EQ(verified.status, 0) << verified.err;
    std::istringstream lines(verified.out);
    std::string line;
    int rows = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("| ", 0) != 0 || line.rfind("| level", 0) == 0) {
            continue;
        }
        ++rows;
        if (rows > 5) {
            EXPECT_EQ(line.find("| yes |"), std::string::npos) << line;
        }
    }
    EXPECT_EQ(rows, 51);
}

TEST(Verify, ABrokenSolutionIsNamedAndFailsTheRun) {
    TempDir folder("verify");
    fs::copy(GHOLD_SOURCE_DIR "/assets/levels", folder.path / "levels");
    // Level 7 keeps its grids but loses all but its first move.
    LevelText seven;
    std::string error;
    ASSERT_TRUE(readLevelTextFile((folder.path / "levels/level07.txt").string(), seven, error));
    seven.solution = seven.solution.substr(0, 1);
    std::ofstream(folder.path / "levels/level07.txt") << formatLevelText(seven);

    const CommandRun verified = run(verifyCommand, {folder.path.string()});
    EXPECT_EQ(verified.status, 1);
    EXPECT_NE(
        verified.err.find("level 7 (" + seven.title + "): the solution does not reach the exit"),
        std::string::npos)
        << verified.err;
    EXPECT_NE(verified.err.find("1 of 51 levels"), std::string::npos) << verified.err;

    EXPECT_EQ(run(verifyCommand, {(folder.path / "missing").string()}).status, 2);
    EXPECT_EQ(run(verifyCommand, {"--data", (folder.path / "none.dat").string()}).status, 2);
    EXPECT_EQ(run(verifyCommand, {"--bogus"}).status, 2);
}

TEST(Verify, ReplayCountsTicksMovesAndPushes) {
    struct Case {
        std::string level, moves;
        std::vector<int64_t> counts; // completed at, ticks, moves, pushes, trailing
    };
    const Case cases[] = {
        // Two steps (the second drops the ball into the box), a step down and
        // two along: the door has started opening but is no exit yet.
        {ballRoom, "RRDRR.....", ints(0, 10, 5, 1, 0)},
        // Walking on into the door until it has become the exit: it opens on
        // the step after the drop and is an exit 15 steps later.
        {ballRoom, "RRD" + std::string(16, 'R'), ints(19, 19, 6, 1, 0)},
        // One key more than needed is refused: a solution ends at the exit.
        {ballRoom, "RRD" + std::string(17, 'R'), ints(19, 19, 6, 1, 1)},
        // A level one column wide, where a step up is a walk, not a push, and
        // a step down onto the exit ends the level a tick later.
        {levelText(".|>|.", "", ".|.|X"), "UDD.", ints(4, 4, 4, 0, 0)},
    };
    for (const Case& c : cases) {
        const ReplayResult r = replaySolution(parse(c.level).record, c.moves);
        EXPECT_EQ(ints(r.completedAt, r.ticks, r.moves, r.pushes, r.trailing), c.counts) << c.moves;
    }
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

TEST(Solve, FindsTheKnownShortestSolutionsAndEachOneReplaysToTheExit) {
    const std::string data = GHOLD_SOURCE_DIR "/tests/data/";
    const std::string walk16 = data + "walk16.txt", walk17 = data + "walk17.txt";
    const std::string right(17, 'R'), left(17, 'L');
    struct Case {
        std::string level;
        const char* by;
        std::string moves; // the one shortest solution, or empty when several tie
        // What it reports of the solution and the counts of the search, which
        // its merging and pruning decide.
        const char* summary;
        const char* search;
    };
    const Case cases[] = {
        {walk16, "ticks", "DRRRRRRRRRRRRRRR", "# 16 ticks, 16 key presses", "# 273 states, 783"},
        // Walking and waiting for the door tie at 17 ticks; waiting presses less.
        {walk17, "ticks", "................R", "# 17 ticks, 1 key press:", "# 275 states, 788"},
        {walk16, "moves", "................R", "# 17 ticks, 1 key press:", "# 49 states, 66"},
        // Stepping down onto the exit ends the level a tick later.
        {data + "winding.txt", "ticks", right + "DD" + left + "DD" + right + "DD" + left + "DD.",
         "# 77 ticks, 76 key presses", "# 153 states, 467"},
        // Earlier forms of three levels, where the shortcuts that got them
        // rebuilt are known: torches shoved off the exit, water that puts
        // out the fire by itself, a baffle never touched.
        {data + "shortcut_torches.txt", "ticks", "RRRD.", "# 5 ticks, 4 key presses",
         "# 11 states, 24"},
        {data + "shortcut_torches.txt", "moves", "", "# 5 ticks, 4 key presses", "# 11 states, 24"},
        {data + "shortcut_spring.txt", "ticks", ".....RRRRRRRRRR", "# 15 ticks, 10 key presses",
         "# 890 states, 2836"},
        {data + "shortcut_baffle.txt", "ticks", "", "# 28 ticks, 8 key presses",
         "# 4713 states, 18921"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level + " by " + c.by);
        const CommandRun solved = run(solveCommand, {c.level, "--by", c.by});
        ASSERT_EQ(solved.status, 0) << solved.out;
        // The moves of the "solution:" lines, joined.
        std::istringstream lines(solved.out);
        std::string line, moves;
        while (std::getline(lines, line)) {
            if (line.rfind("solution: ", 0) == 0) {
                moves += line.substr(10);
            }
        }
        if (!c.moves.empty()) {
            EXPECT_EQ(moves, c.moves);
        }
        EXPECT_NE(solved.out.find(std::string("\n") + c.summary), std::string::npos) << solved.out;
        EXPECT_NE(solved.out.find(std::string("\n") + c.search + " ticks stepped in "),
                  std::string::npos)
            << solved.out;
        // It ends in the exit on its very last tick.
        EXPECT_TRUE(simCompletes(c.level, moves));
        EXPECT_FALSE(simCompletes(c.level, moves.substr(0, moves.size() - 1)));
    }
}

TEST(Solve, TellsALevelWithoutAWayOutFromABoundAndRefusesBadInput) {
    const TempDir folder("solve_bounds");
    const std::string shut = (folder.path / "shut.txt").string();
    std::ofstream(shut) << levelText(">.#.|.o#B", "", "...X|....");
    // A float above a player against the edge: pressing on into the edge is
    // still a tick of its own to step.
    const std::string floated = (folder.path / "floated.txt").string();
    std::ofstream(floated) << levelText("r|>");
    const std::string walk = GHOLD_SOURCE_DIR "/tests/data/walk17.txt";
    const std::string spring = GHOLD_SOURCE_DIR "/tests/data/shortcut_spring.txt";
    const std::string noData = (folder.path / "missing.dat").string();
    // What a refused run (status 2) begins its errors with, what any other
    // begins its output with.
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string start;
    };
    const std::string searched = "# no solution: every reachable state searched\n";
    const Case cases[] = {
        {{shut, "--by", "moves"}, 1, searched + "# 6 states, 21 ticks "},
        {{shut, "--by", "ticks"}, 1, searched + "# 6 states, 21 ticks "},
        {{floated}, 1, searched + "# 3 states, 9 ticks "},
        {{walk, "--max-states", "40"},
         3,
         "# no solution of 5 ticks or fewer; stopped by the states bound\n# 40 states, "},
        {{walk, "--by", "moves", "--max-states", "40"},
         3,
         "# no solution of 0 key presses or fewer; stopped by the states bound\n# 40 states, "},
        // The clock is read every 1,024 ticks: any machine has spent a
        // microsecond on the first 1,024.
        {{spring, "--max-seconds", "0.000001"},
         3,
         "# no solution of 10 ticks or fewer; stopped by the seconds bound\n"
         "# 361 states, 1024 ticks "},
        // Usage for a wrong command line, the reason for a level it cannot read.
        {{walk, "--by", "pushes"}, 2, "ghtool solve: unknown or incomplete option --by\nusage:"},
        {{walk, "--max-states", "0"}, 2, "ghtool solve: unknown or incomplete option"},
        {{walk, "--max-seconds", "soon"}, 2, "ghtool solve: unknown or incomplete option"},
        {{(folder.path / "missing.txt").string()}, 2, "ghtool solve: "},
        {{"--data", noData, "--level", "3"}, 2, "ghtool solve: " + noData + ": cannot be read"},
        {{"--data", noData}, 2, "usage:"},
        {{"--level", "3"}, 2, "usage:"},
        {{"--data", noData, "--level", "3", walk}, 2, "usage:"},
        {{}, 2, "usage:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        const CommandRun run = ::run(solveCommand, c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ((c.status == 2 ? run.err : run.out).rfind(c.start, 0), 0u) << run.out << run.err;
    }
}

// The campaign's teaching levels must not be skippable: the search settles
// every sequence shorter than two thirds of each level's own solution and
// finds none that completes it.
TEST(Solve, NoEarlyLevelHasASolutionUnderTwoThirdsOfItsOwn) {
    // Under the sanitizers the rules run ten times slower; a sample of the
    // levels still proves the check works there.
    constexpr int step = GHOLD_SANITIZED ? 4 : 1;
    for (int level = 0; level <= 22; level += step) {
        SCOPED_TRACE("level " + std::to_string(level));
        LevelText text;
        std::string error;
        ASSERT_TRUE(readLevelTextFile(std::string(GHOLD_SOURCE_DIR "/assets/") + levelPath(level),
                                      text, error))
            << error;
        const int own = replaySolution(text.record, text.solution).completedAt;
        ASSERT_GT(own, 0);
        SolveOptions options = defaultSolveOptions();
        options.maxCost = (2 * own - 1) / 3;
        options.maxStates = 2'000'000;
        const SolveResult result = solveLevel(text.record, options);
        EXPECT_EQ(result.outcome, SolveOutcome::Bounded) << result.moves;
        EXPECT_STREQ(result.bound, "cost");
    }
}
