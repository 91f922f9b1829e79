// ghtool sim: what it writes with and without --trace, and the inputs it
// refuses. The trace's every field is pinned by the identity check's digests.
#include "tools/sim.h"

#include "tests/support/datafile.h"
#include "tests/support/scenario.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(Sim, TracesEveryStepOrOnlyTheLastAndRefusesBadInput) {
    const TempDir folder("sim");
    const std::string level = (folder.path / "level.txt").string();
    std::ofstream(level) << levelText(">.");
    const SimResult traced = runSim({level, "R", "--trace"});
    ASSERT_EQ(traced.status, 0) << traced.err;
    const size_t second = traced.out.find("\n{\"step\":1,") + 1;
    ASSERT_NE(second, 0u) << traced.out;
    EXPECT_EQ(traced.out.rfind("{\"step\":0,", 0), 0u);
    // The player has stepped from the first cell into the second.
    EXPECT_NE(traced.out.find("\"cells\":[[2,0,0],[2,32,0]]", second), std::string::npos);
    EXPECT_EQ(runSim({level, "R"}).out, traced.out.substr(second));

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
