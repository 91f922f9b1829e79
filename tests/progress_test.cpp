// LevelInfo.dat: the level as bits in 31 words of filler with a checksum,
// read back only when every word agrees.
#include "game/progress.h"

#include "tests/support/datafile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The progress file lives in the current directory, so every test runs in a
// fresh temporary folder.
class Progress : public testing::Test {
  protected:
    void SetUp() override { fs::current_path(dir.path); }
    void TearDown() override { fs::current_path(previous); }
    fs::path previous = fs::current_path();
    TempDir dir{"progress"};
};

const char* const PROGRESS = "LevelInfo.dat";

uint32_t word(const std::vector<uint8_t>& bytes, int i) {
    return static_cast<uint32_t>(i32At(bytes, size_t(4 * i)));
}

} // namespace

TEST_F(Progress, LevelBitsSitInBitThreeAndTheChecksumCoversTheRest) {
    EXPECT_EQ(readLevelProgress(), 0);
    ASSERT_EQ(writeLevelProgress(5), "");
    const std::vector<uint8_t> bytes = readBytes(PROGRESS);
    ASSERT_EQ(bytes.size(), 128u);
    uint32_t sum = 0;
    for (int i = 0; i < 31; i++) {
        EXPECT_LT(word(bytes, i), 32768u) << i;
        EXPECT_EQ((word(bytes, i) & 8) != 0, i == 0 || i == 2) << i;
        sum += word(bytes, i);
    }
    EXPECT_EQ(word(bytes, 31), sum * 7);
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
    // The filler differs between writes of the same level.
    ASSERT_EQ(writeLevelProgress(5), "");
    EXPECT_NE(readBytes(PROGRESS), bytes);
    for (int32_t level : {65535, 50}) {
        ASSERT_EQ(writeLevelProgress(level), "");
        EXPECT_EQ(readLevelProgress(), level);
    }
}

TEST_F(Progress, EveryChangedWordOrAShortFileBreaksTheCheckButExtraBytesDoNot) {
    ASSERT_EQ(writeLevelProgress(37), "");
    std::vector<uint8_t> good = readBytes(PROGRESS);
    for (int i = 0; i < 32; i++) {
        for (uint8_t flip : {0x01, 0x08, 0x80}) {
            std::vector<uint8_t> bad = good;
            bad[size_t(4 * i + i % 4)] ^= flip;
            ASSERT_TRUE(writeBytes(PROGRESS, bad));
            EXPECT_EQ(readLevelProgress(), 0) << "word " << i << " flip " << int(flip);
        }
    }
    for (const size_t size : {size_t(0), size_t(127)}) {
        ASSERT_TRUE(writeBytes(PROGRESS, std::vector<uint8_t>(good.begin(), good.begin() + size)));
        EXPECT_EQ(readLevelProgress(), 0) << size;
    }
    good.push_back(0xAB);
    ASSERT_TRUE(writeBytes(PROGRESS, good));
    EXPECT_EQ(readLevelProgress(), 37);
}
