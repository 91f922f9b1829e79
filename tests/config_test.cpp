#include "toolkit/config.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Every test runs in a fresh temporary folder, since the configuration file
// lives in the current directory.
class Config : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "ghold-config-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        previous = fs::current_path();
        fs::current_path(dir);
        for (ConfigEntry& entry : configTable)
            entry.value[0] = 0;
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(dir);
    }
    fs::path dir, previous;
};

void writeFile(const std::string& text) {
    std::ofstream("Cfg.txt", std::ios::binary) << text;
}

std::string readFile(const char* name = "Cfg.txt") {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool allDefaultsExcept(const char* key) {
    for (const ConfigEntry& entry : configTable)
        if ((!key || std::string(entry.key) != key) &&
            std::string(entry.value) != entry.defaultValue)
            return false;
    return true;
}

const char* const DEFAULT_FILE = "Oxel config file\r\n"
                                 "RESX      640     // x resolution\r\n"
                                 "RESY      480     // y resolution\r\n"
                                 "DPNPMON   1       // detect plug&play monitor\r\n"
                                 "HPOL      +       // horizontal sync polarity\r\n"
                                 "VPOL      +       // vertical sync polarity\r\n"
                                 "VFREQ     60.0    // refresh rate\r\n"
                                 "MONVMAX   75.0    // max monitor V freq (hz)\r\n"
                                 "MONHMAX   58.0    // max monitor H freq (khz)\r\n"
                                 "VLOCK     0       // Lock video mode\r\n"
                                 "MSSPEED   128     // Mouse speed\r\n"
                                 "BRCDROM   0       // Allow browse CDROM Files\r\n"
                                 "POWSAV    0       // Allow DOS power saving\r\n"
                                 "FULLSCR   0       // full screen window mode\r\n"
                                 "WINDX     640     // window initial x size\r\n"
                                 "WINDY     480     // window initial y size\r\n"
                                 "SUSPEND   1       // suspend when minimized\r\n"
                                 "WSHADOW   1       // draw windows shadow\r\n"
                                 "ENVCOL    0       // Environnement color index\r\n"
                                 "CLK2DT    320     // Double click time (ms)\r\n";

} // namespace

TEST_F(Config, MissingOrEmptyFileGivesDefaultsAndAFreshFile) {
    configLoad();
    EXPECT_TRUE(allDefaultsExcept(nullptr));
    EXPECT_EQ(readFile(), DEFAULT_FILE);

    writeFile("");
    configSet("WINDX", "1");
    configLoad();
    EXPECT_TRUE(allDefaultsExcept(nullptr));
    EXPECT_EQ(readFile(), DEFAULT_FILE);
    EXPECT_FALSE(fs::exists("Cfg.txt.tmp"));
}

TEST_F(Config, UnreadableFileGivesDefaultsAndIsLeftAlone) {
    fs::create_directory("Cfg.txt");
    configLoad();
    EXPECT_TRUE(allDefaultsExcept(nullptr));
    EXPECT_TRUE(fs::is_directory("Cfg.txt"));
    // Saving over it fails quietly and leaves no temporary file behind.
    configSave();
    EXPECT_TRUE(fs::is_directory("Cfg.txt"));
    EXPECT_FALSE(fs::exists("Cfg.txt.tmp"));
}

TEST_F(Config, KeyNeedsASeparatorBeforeAndASpaceAfter) {
    writeFile("WINDX 800");
    configLoad();
    EXPECT_STREQ(configGet("WINDX"), "800");
    EXPECT_TRUE(allDefaultsExcept("WINDX"));

    for (const char* text : {"XWINDX 800", "WINDX=800", "WINDX\t800", "WINDX800"}) {
        writeFile(text);
        configLoad();
        EXPECT_STREQ(configGet("WINDX"), "640") << text;
    }
    // A tab, a line end and a byte of 128 or more all separate.
    writeFile("a\tWINDX 1 b\nWINDY 2 \xE9SUSPEND 0");
    configLoad();
    EXPECT_STREQ(configGet("WINDX"), "1");
    EXPECT_STREQ(configGet("WINDY"), "2");
    EXPECT_STREQ(configGet("SUSPEND"), "0");
}

TEST_F(Config, FirstOccurrenceWinsEvenInAComment) {
    writeFile("RESX 1 // see WINDX 999 below\r\nWINDX     800\r\nWINDX 700\r\n");
    configLoad();
    EXPECT_STREQ(configGet("WINDX"), "999");
    EXPECT_STREQ(configGet("RESX"), "1");
}

TEST_F(Config, ValuesStopAtSpacesAndControlBytesAndAreCutTo15) {
    writeFile("WINDX     12345678901234567890\r\nWINDY  42\xE9x\r\nFULLSCR   // no value\r\n"
              "SUSPEND   \r\nCLK2DT");
    configLoad();
    EXPECT_STREQ(configGet("WINDX"), "123456789012345");
    EXPECT_STREQ(configGet("WINDY"), "42");
    EXPECT_STREQ(configGet("FULLSCR"), "//");
    EXPECT_STREQ(configGet("SUSPEND"), "1");
    EXPECT_STREQ(configGet("CLK2DT"), "320");

    // A zero byte ends the text: a key after it is not seen.
    writeFile(std::string("RESX 1\0WINDX 2", 14));
    configLoad();
    EXPECT_STREQ(configGet("RESX"), "1");
    EXPECT_STREQ(configGet("WINDX"), "640");
}

TEST_F(Config, GetAndSetOnlyKnowTheTableKeys) {
    configReset();
    EXPECT_STREQ(configGet("windx"), "");
    EXPECT_STREQ(configGet("WIND"), "");
    EXPECT_STREQ(configGet(nullptr), "");
    configSet("NOSUCH", "1");
    configSet("WINDX", nullptr);
    EXPECT_TRUE(allDefaultsExcept(nullptr));
    configSet("WINDX", "abcdefghijklmnopqrstuvwxyz");
    EXPECT_STREQ(configGet("WINDX"), "abcdefghijklmno");
}

TEST_F(Config, SavedFileReadsBackTheSameValues) {
    configReset();
    configSet("WINDX", "1024");
    configSet("FULLSCR", "1");
    configSet("VFREQ", "123456789012345");
    configSet("HPOL", "-");
    configSave();
    std::string saved = readFile();
    EXPECT_NE(saved.find("VFREQ     123456789012345  // refresh rate\r\n"), std::string::npos);
    EXPECT_NE(saved.find("WINDX     1024    // window"), std::string::npos);

    configReset();
    configLoad();
    EXPECT_STREQ(configGet("WINDX"), "1024");
    EXPECT_STREQ(configGet("FULLSCR"), "1");
    EXPECT_STREQ(configGet("VFREQ"), "123456789012345");
    EXPECT_STREQ(configGet("HPOL"), "-");
    EXPECT_STREQ(configGet("CLK2DT"), "320");
    EXPECT_EQ(readFile(), saved);
}
