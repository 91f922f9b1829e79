#include "toolkit/config.h"

#include "tests/support/datafile.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

// Every test runs in a fresh temporary folder, since the configuration file
// lives in the current directory.
class Config : public testing::Test {
  protected:
    void SetUp() override {
        previous = fs::current_path();
        fs::current_path(dir.path);
        for (ConfigEntry& entry : configTable) {
            entry.value[0] = 0;
        }
    }
    void TearDown() override { fs::current_path(previous); }
    TempDir dir{"config"};
    fs::path previous;
};

void writeFile(const std::string& text) {
    std::ofstream("Cfg.txt", std::ios::binary) << text;
}

std::string readFile() {
    std::ifstream in("Cfg.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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

TEST_F(Config, MissingOrEmptyFilesGiveTheDefaultsWrittenAfreshAndAFolderIsLeftAlone) {
    configLoad();
    EXPECT_EQ(readFile(), DEFAULT_FILE);
    writeFile("");
    configSet("WINDX", "1");
    configLoad();
    EXPECT_EQ(readFile(), DEFAULT_FILE);
    EXPECT_STREQ(configGet("WINDX"), "640");
    EXPECT_FALSE(fs::exists("Cfg.txt.tmp"));

    fs::remove("Cfg.txt");
    fs::create_directory("Cfg.txt");
    configSet("WINDX", "1");
    configLoad();
    EXPECT_STREQ(configGet("WINDX"), "640");
    EXPECT_NE(configSave(), "");
    EXPECT_TRUE(fs::is_directory("Cfg.txt"));
}

TEST_F(Config, AKeyCountsAtItsFirstOccurrenceAfterASeparatorAndBeforeASpace) {
    struct Case {
        std::string text;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"WINDX 800", "WINDX", "800"},
        {"XWINDX 800", "WINDX", "640"},
        {"WINDX=800", "WINDX", "640"},
        {"WINDX\t800", "WINDX", "640"},
        {"WINDX800", "WINDX", "640"},
        {"a\tWINDX 1 b", "WINDX", "1"},
        {"b\nWINDY 2 ", "WINDY", "2"},
        {"x\xE9SUSPEND 0", "SUSPEND", "0"},
        {"RESX 1 // see WINDX 999 below\r\nWINDX     800\r\n", "WINDX", "999"},
        {"WINDX     12345678901234567890\r\n", "WINDX", "123456789012345"},
        {"WINDY  42\xE9x\r\n", "WINDY", "42"},
        {"FULLSCR   // no value\r\n", "FULLSCR", "//"},
        {"SUSPEND   \r\nCLK2DT", "SUSPEND", "1"},
        {"SUSPEND   \r\nCLK2DT", "CLK2DT", "320"},
        {std::string("RESX 1\0WINDX 2", 14), "WINDX", "640"}, // a zero byte ends the text
    };
    for (const Case& c : cases) {
        writeFile(c.text);
        configLoad();
        EXPECT_STREQ(configGet(c.key), c.value) << c.text;
        EXPECT_STREQ(configGet("VFREQ"), "60.0") << c.text;
    }
}

TEST_F(Config, GetAndSetKnowOnlyTheTableKeysAndIntegersLeadTheirText) {
    configReset();
    EXPECT_STREQ(configGet("windx"), "");
    EXPECT_STREQ(configGet("WIND"), "");
    EXPECT_STREQ(configGet(nullptr), "");
    configSet("NOSUCH", "1");
    configSet("WINDX", nullptr);
    EXPECT_STREQ(configGet("WINDX"), "640");
    configSet("WINDX", "abcdefghijklmnopqrstuvwxyz");
    EXPECT_STREQ(configGet("WINDX"), "abcdefghijklmno");
    const std::pair<const char*, int32_t> numbers[] = {{"42x", 42},
                                                       {"-5", -5},
                                                       {"+12", 12},
                                                       {"fast", 0},
                                                       {"", 0},
                                                       {nullptr, 0},
                                                       {"99999999999", 2147483647},
                                                       {"-99999999999", -2147483647}};
    for (const auto& [text, value] : numbers) {
        EXPECT_EQ(leadingInteger(text), value) << (text ? text : "null");
    }
}

TEST_F(Config, SavedFileReadsBackTheSameValues) {
    configReset();
    configSet("WINDX", "1024");
    configSet("FULLSCR", "1");
    configSet("VFREQ", "123456789012345");
    configSet("HPOL", "-");
    EXPECT_EQ(configSave(), "");
    const std::string saved = readFile();
    EXPECT_NE(saved.find("VFREQ     123456789012345  // refresh rate\r\n"), std::string::npos);
    EXPECT_NE(saved.find("WINDX     1024    // window"), std::string::npos);
    configReset();
    configLoad();
    EXPECT_STREQ(configGet("FULLSCR"), "1");
    EXPECT_STREQ(configGet("WINDX"), "1024");
    EXPECT_STREQ(configGet("VFREQ"), "123456789012345");
    EXPECT_STREQ(configGet("HPOL"), "-");
    EXPECT_EQ(readFile(), saved);
}
