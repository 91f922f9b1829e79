#include "toolkit/config.h"

#include "tests/support/datafile.h"
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <tuple>

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

} // namespace

TEST_F(Config, MissingOrEmptyFilesGiveTheDefaultsWrittenAfreshAndOthersAreLeftAlone) {
    configLoad();
    const std::string defaults = readFile();
    EXPECT_EQ(defaults.rfind("Oxel config file\r\nRESX      640     // x resolution\r\n", 0), 0u);
    const std::string last = "CLK2DT    320     // Double click time (ms)\r\n";
    EXPECT_EQ(defaults.substr(defaults.size() - last.size()), last);
    EXPECT_EQ(std::count(defaults.begin(), defaults.end(), '\n'), 20);
    writeFile("");
    configSet("WINDX", "1");
    configLoad();
    EXPECT_EQ(readFile(), defaults);
    EXPECT_STREQ(configGet("WINDX"), "640");

    // A file too large to be the settings, and a folder, give the defaults
    // and stay as they are.
    const std::string large = "WINDX 800 " + std::string(1 << 20, 'x');
    writeFile(large);
    configLoad();
    EXPECT_STREQ(configGet("WINDX"), "640");
    EXPECT_EQ(readFile(), large);
    fs::remove("Cfg.txt");
    fs::create_directory("Cfg.txt");
    configSet("WINDX", "1");
    configLoad();
    EXPECT_STREQ(configGet("WINDX"), "640");
    EXPECT_NE(configSave(), "");
    EXPECT_TRUE(fs::is_directory("Cfg.txt"));
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
}

TEST_F(Config, AKeyCountsAtItsFirstOccurrenceAfterASeparatorAndBeforeASpace) {
    const std::tuple<std::string, const char*, const char*> cases[] = {
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
    for (const auto& [text, key, value] : cases) {
        writeFile(text);
        configLoad();
        EXPECT_STREQ(configGet(key), value) << text;
        EXPECT_STREQ(configGet("VFREQ"), "60.0") << text;
    }
}

TEST_F(Config, GetAndSetKnowOnlyTheTableKeysIntegersLeadTheirTextAndSavedValuesReadBack) {
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

    // A saved file reads back the same values.
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
    EXPECT_EQ(std::string(configGet("FULLSCR")) + " " + configGet("WINDX") + " " +
                  configGet("VFREQ") + " " + configGet("HPOL"),
              "1 1024 123456789012345 -");
    EXPECT_EQ(readFile(), saved);
}
