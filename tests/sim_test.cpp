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

TEST(Sim, BadInputExitsWithStatusTwo) {
    const TempDir folder("sim_errors");
    const std::string level = writeLevel(folder.path, levelText(">."));
    const std::string garbage = (folder.path / "garbage.txt").string();
    std::ofstream(garbage) << "floor:\n__\n\nobject:\nZZ\n";
    const std::string missing = (folder.path / "missing.txt").string();
    const std::string noData = (folder.path / "missing.dat").string();

    const std::vector<std::vector<std::string>> bad = {{missing, "R"},
                                                       {garbage, "R"},
                                                       {level, "RXL"},
                                                       {level},
                                                       {level, "R", "extra"},
                                                       {"--data", noData, "--level", "0", "R"},
                                                       {"--data", noData, "--level", "51", "R"},
                                                       {"--data", noData, "--level", "-1", "R"},
                                                       {"--data", noData, "--level", "x", "R"},
                                                       {"--data", noData, "R"},
                                                       {"--bogus", level, "R"}};
    for (const auto& args : bad) {
        const SimResult result = runSim(args);
        EXPECT_EQ(result.status, 2) << args.size();
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err, "");
    }
}
