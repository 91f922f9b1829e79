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
    for (int32_t level : {5, 65535, 50}) {
        ASSERT_EQ(writeLevelProgress(level), "");
        EXPECT_EQ(readLevelProgress(), level);
    }
}

TEST_F(Progress, EveryChangedWordBreaksTheCheck) {
    ASSERT_EQ(writeLevelProgress(37), "");
    const std::vector<uint8_t> good = readBytes(PROGRESS);
    for (int i = 0; i < 32; i++) {
        for (uint8_t flip : {0x01, 0x08, 0x80}) {
            std::vector<uint8_t> bad = good;
            bad[size_t(4 * i + i % 4)] ^= flip;
            ASSERT_TRUE(writeBytes(PROGRESS, bad));
            EXPECT_EQ(readLevelProgress(), 0) << "word " << i << " flip " << int(flip);
        }
    }
}

TEST_F(Progress, FillerDiffersBetweenWritesAndOnlyTheFirst128BytesCount) {
    EXPECT_EQ(readLevelProgress(), 0);
    ASSERT_TRUE(writeBytes(PROGRESS, {}));
    EXPECT_EQ(readLevelProgress(), 0);
    ASSERT_EQ(writeLevelProgress(12), "");
    std::vector<uint8_t> first = readBytes(PROGRESS);
    ASSERT_EQ(writeLevelProgress(12), "");
    EXPECT_NE(readBytes(PROGRESS), first);
    ASSERT_TRUE(writeBytes(PROGRESS, std::vector<uint8_t>(first.begin(), first.end() - 1)));
    EXPECT_EQ(readLevelProgress(), 0);
    first.push_back(0xAB);
    ASSERT_TRUE(writeBytes(PROGRESS, first));
    EXPECT_EQ(readLevelProgress(), 12);
}
