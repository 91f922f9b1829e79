#include "tools/sim.h"

#include "game/flow.h"
#include "tests/support/scenario.h"

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

// A fresh folder per test for the level files it writes.
std::filesystem::path freshFolder(const std::string& name) {
    auto path = std::filesystem::temp_directory_path() /
                ("ghold_sim_test_" + name + "_" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path;
}

std::string writeLevel(const std::filesystem::path& folder, const std::string& text) {
    const auto path = folder / "level.txt";
    std::ofstream(path) << text;
    return path.string();
}

} // namespace

TEST(Sim, TracesATinyLevelExactly) {
    const auto folder = freshFolder("trace");
    const std::string level = writeLevel(folder, levelText(">."));
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
    std::filesystem::remove_all(folder);
}

TEST(Sim, ListsTheEffectsStartedInTheStep) {
    const auto folder = freshFolder("effects");
    // The player walks into the key and lock: the lock starts opening (6).
    const std::string level = writeLevel(folder, levelText(">kL"));
    const SimResult result = runSim({level, "R"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find(R"("effects":[6],)"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(R"("cells":[[2,0,0],[2,32,0],[2,26,0]])"), std::string::npos)
        << result.out;
    std::filesystem::remove_all(folder);
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
    const auto folder = freshFolder("errors");
    const std::string level = writeLevel(folder, levelText(">."));
    const std::string garbage = (folder / "garbage.txt").string();
    std::ofstream(garbage) << "floor:\n__\n\nobject:\nZZ\n";
    const std::string missing = (folder / "missing.txt").string();
    const std::string noData = (folder / "missing.dat").string();

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
    std::filesystem::remove_all(folder);
}
