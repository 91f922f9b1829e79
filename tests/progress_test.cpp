#include "game/progress.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The progress file lives in the current directory, so every test runs in a
// fresh temporary folder.
class Progress : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "ghold-progress-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        previous = fs::current_path();
        fs::current_path(dir);
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(dir);
    }
    fs::path dir, previous;
};

std::vector<unsigned char> readFile() {
    std::ifstream in("LevelInfo.dat", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::vector<unsigned char>& bytes) {
    std::ofstream("LevelInfo.dat", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

uint32_t word(const std::vector<unsigned char>& bytes, int i) {
    return bytes[4 * i] | bytes[4 * i + 1] << 8 | bytes[4 * i + 2] << 16 |
           static_cast<uint32_t>(bytes[4 * i + 3]) << 24;
}

} // namespace

TEST_F(Progress, LevelBitsSitInBitThreeAndTheChecksumCoversTheRest) {
    ASSERT_EQ(writeLevelProgress(5), "");
    std::vector<unsigned char> bytes = readFile();
    ASSERT_EQ(bytes.size(), 128u);
    uint32_t sum = 0;
    for (int i = 0; i < 31; i++) {
        EXPECT_LT(word(bytes, i), 32768u) << i;
        EXPECT_EQ((word(bytes, i) & 8) != 0, i == 0 || i == 2) << i;
        sum += word(bytes, i);
    }
    EXPECT_EQ(word(bytes, 31), sum * 7);
    EXPECT_EQ(readLevelProgress(), 5);
    EXPECT_FALSE(fs::exists("LevelInfo.dat.tmp"));

    ASSERT_EQ(writeLevelProgress(65535), "");
    EXPECT_EQ(readLevelProgress(), 65535);
    ASSERT_EQ(writeLevelProgress(50), "");
    EXPECT_EQ(readLevelProgress(), 50);
}

TEST_F(Progress, EveryChangedWordBreaksTheCheck) {
    ASSERT_EQ(writeLevelProgress(37), "");
    const std::vector<unsigned char> good = readFile();
    for (int i = 0; i < 32; i++) {
        for (unsigned char flip : {0x01, 0x08, 0x80}) {
            std::vector<unsigned char> bad = good;
            bad[4 * i + (i % 4)] ^= flip;
            writeFile(bad);
            EXPECT_EQ(readLevelProgress(), 0) << "word " << i << " flip " << int(flip);
        }
    }
}

TEST_F(Progress, TwoWritesDifferInFillerButReadTheSame) {
    ASSERT_EQ(writeLevelProgress(12), "");
    std::vector<unsigned char> first = readFile();
    ASSERT_EQ(writeLevelProgress(12), "");
    std::vector<unsigned char> second = readFile();
    EXPECT_NE(first, second);
    EXPECT_EQ(readLevelProgress(), 12);
    writeFile(first);
    EXPECT_EQ(readLevelProgress(), 12);
}

TEST_F(Progress, MissingShortAndLongFiles) {
    EXPECT_EQ(readLevelProgress(), 0);
    writeFile({});
    EXPECT_EQ(readLevelProgress(), 0);

    ASSERT_EQ(writeLevelProgress(9), "");
    std::vector<unsigned char> good = readFile();
    writeFile(std::vector<unsigned char>(good.begin(), good.end() - 1));
    EXPECT_EQ(readLevelProgress(), 0);
    // The words come from one read of 128 bytes; anything after is ignored.
    good.push_back(0xAB);
    writeFile(good);
    EXPECT_EQ(readLevelProgress(), 9);
}

TEST_F(Progress, SomethingNotAFileWhereTheProgressBelongsStaysThere) {
    fs::create_directory("LevelInfo.dat");
    EXPECT_EQ(writeLevelProgress(4), "Is a directory");
    EXPECT_TRUE(fs::is_directory("LevelInfo.dat"));
    EXPECT_EQ(readLevelProgress(), 0);
    // The temporary file written beside it is gone again.
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
}
