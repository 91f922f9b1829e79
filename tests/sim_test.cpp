#include "tools/sim.h"

#include "game/flow.h"
#include "tests/support/datafile.h"
#include "tests/support/scenario.h"
#include "tools/leveltext.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

struct SimResult {
    int status;
    std::string out;
    std::string err;
};

SimResult runSim(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = simCommand(args, out, err);
    return {status, out.str(), err.str()};
}

std::string writeLevel(const std::filesystem::path& folder, const std::string& text) {
    const auto path = folder / "level.txt";
    std::ofstream(path) << text;
    return path.string();
}

} // namespace

TEST(Sim, TracesATinyLevelExactly) {
    const TempDir folder("sim_trace");
    const std::string level = writeLevel(folder.path, levelText(">."));
    const SimResult result = runSim({level, "R", "--trace"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string step0 =
        R"({"step":0,"levelComplete":0,"moveRequest":0,"burnersOn":0,"allPlatesPressed":0,)"
        R"("noBallLeft":0,"bubbleCounter":0,"effortOverlay":0,"stepCounter":1,"effects":[],)"
        R"("width":2,"height":1,"cells":[[2,32,0],[2,0,0]],)"
        R"("states":[[[0,0,0,0],[0,1,1,0],[0,0,0,0]],[[0,0,0,0],[0,0,0,0],[0,0,0,0]]],)"
        R"("fine":["020202020202","020202020202","020202020202"],)"
        R"("shapes":["000000","000000","000000"]})";
    const std::string step1 =
        R"({"step":1,"levelComplete":0,"moveRequest":0,"burnersOn":0,"allPlatesPressed":1,)"
        R"("noBallLeft":1,"bubbleCounter":15,"effortOverlay":0,"stepCounter":2,"effects":[],)"
        R"("width":2,"height":1,"cells":[[2,0,0],[2,32,0]],)"
        R"("states":[[[0,0,0,0],[0,0,0,0],[0,0,0,0]],[[0,0,0,0],[1,1,1,0],[0,0,0,0]]],)"
        R"("fine":["020202020202","020202020202","020202020202"],)"
        R"("shapes":["000000","000000","000000"]})";
    EXPECT_EQ(result.out, step0 + "\n" + step1 + "\n");

    // Without --trace only the last state is written.
    const SimResult last = runSim({level, "R"});
    EXPECT_EQ(last.out, step1 + "\n");
}

TEST(Sim, ListsTheEffectsStartedInTheStep) {
    const TempDir folder("sim_effects");
    // The player walks into the key and lock: the lock starts opening (6).
    const std::string level = writeLevel(folder.path, levelText(">kL"));
    const SimResult result = runSim({level, "R"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find(R"("effects":[6],)"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(R"("cells":[[2,0,0],[2,32,0],[2,26,0]])"), std::string::npos)
        << result.out;
}

TEST(Sim, NoKeyKeepsTheMoveRequest) {
    // Without a player nobody clears the request: '.' leaves it standing.
    Scenario s = startScenario(levelText("..o"));
    ASSERT_EQ(s.error, "");
    playMoves(s, "R..");
    EXPECT_EQ(levelFlow.moveRequest, 1);
    playMoves(s, "L.");
    EXPECT_EQ(levelFlow.moveRequest, 2);
    EXPECT_EQ(s.run.step, 5);

    // With a player the request is used once; the dots that follow do not
    // walk him on.
    s = startScenario(levelText(">..."));
    playMoves(s, "R..");
    EXPECT_EQ(layerText(1), ".>..\n");
    EXPECT_EQ(levelFlow.moveRequest, 0);
}

TEST(Sim, BadInputExitsWithStatusTwo) {
    const TempDir folder("sim_errors");
    const std::string level = writeLevel(folder.path, levelText(">."));
    const std::string garbage = (folder.path / "garbage.txt").string();
    std::ofstream(garbage) << "floor:\n__\n\nobject:\nZZ\n";
    const std::string missing = (folder.path / "missing.txt").string();
    const std::string noData = (folder.path / "missing.dat").string();

    const std::vector<std::vector<std::string>> bad = {
        {missing, "R"},
        {garbage, "R"},
        {level, "RXL"},
        {level},
        {level, "R", "extra"},
        {"--data", noData, "--level", "0", "R"},
        {"--data", noData, "--level", "51", "R"},
        {"--data", noData, "--level", "-1", "R"},
        {"--data", noData, "--level", "x", "R"},
        {"--data", noData, "R"},
        {"--bogus", level, "R"},
    };
    for (const auto& args : bad) {
        const SimResult result = runSim(args);
        EXPECT_EQ(result.status, 2) << args.size();
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err, "");
    }
}

TEST(Sim, DataFileLevelRunsLikeItsLevelText) {
    // The packed level and its source text must play out identically.
    const std::string source = std::string(GHOLD_SOURCE_DIR) + "/assets/levels/level00.txt";
    LevelText text;
    std::string problem;
    ASSERT_TRUE(readLevelTextFile(source, text, problem)) << problem;
    const std::string moves = text.solution.empty() ? "RRLL" : text.solution;
    const SimResult fromData = runSim({"--data", GHOLD_DATA_FILE, "--level", "0", moves});
    const SimResult fromText = runSim({source, moves});
    ASSERT_EQ(fromData.status, 0) << fromData.err;
    ASSERT_EQ(fromText.status, 0) << fromText.err;
    EXPECT_EQ(fromData.out, fromText.out);
}
