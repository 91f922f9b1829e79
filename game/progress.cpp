#include "game/progress.h"

#include "platform/files.h"
#include "toolkit/places.h"

#include <cstdio>
#include <random>

namespace {

const char* const PROGRESS_FILE = "LevelInfo.dat";
constexpr int WORD_COUNT = 32;
constexpr int LEVEL_BITS = 16;
constexpr uint32_t LEVEL_BIT = 8; // bit 3 of a word carries one bit of the level
// The checksum is the sum of the other words times this. It is odd, so
// changing any single word always breaks the check.
constexpr uint32_t CHECK_FACTOR = 7;

// The reader ignores the filler, so any generator will do. A linear
// congruential one giving 15-bit values, seeded once per run from the
// system's entropy and running on between writes, makes two files of the
// same level differ.
uint32_t fillerState;
bool fillerSeeded;
constexpr uint32_t FILLER_MULTIPLIER = 1103515245u;
constexpr uint32_t FILLER_INCREMENT = 12345u;
constexpr int FILLER_SHIFT = 16;         // the generator's better high bits
constexpr uint32_t FILLER_MASK = 0x7FFF; // 15 bits

uint32_t nextFiller() {
    if (!fillerSeeded) {
        fillerState = std::random_device{}();
        fillerSeeded = true;
    }
    fillerState = fillerState * FILLER_MULTIPLIER + FILLER_INCREMENT;
    return (fillerState >> FILLER_SHIFT) & FILLER_MASK;
}

} // namespace

std::string writeLevelProgressFile(const char* path, int32_t level) {
    uint8_t bytes[4 * WORD_COUNT];
    uint32_t sum = 0;
    for (int i = 0; i < WORD_COUNT - 1; i++) {
        uint32_t word = nextFiller() & ~LEVEL_BIT;
        if (i < LEVEL_BITS && (static_cast<uint32_t>(level) >> i & 1))
            word |= LEVEL_BIT;
        storeLittleEndian32(bytes + 4 * i, word);
        sum += word;
    }
    storeLittleEndian32(bytes + 4 * (WORD_COUNT - 1), sum * CHECK_FACTOR);

    return replaceFile(path, bytes, sizeof bytes);
}

// The 32 words come from one read of 128 bytes: a shorter file fails it, and
// bytes after the 128th are never looked at, so a longer file still counts.
ProgressFile inspectLevelProgressFile(const char* path, int32_t& level) {
    level = 0;
    FileHandle file;
    if (openForReading(path, file) != FileStatus::Ok)
        return ProgressFile::Absent;
    uint8_t bytes[4 * WORD_COUNT];
    if (std::fread(bytes, sizeof bytes, 1, file.get()) != 1)
        return ProgressFile::Damaged;
    uint32_t sum = 0;
    int32_t stored = 0;
    for (int i = 0; i < WORD_COUNT - 1; i++) {
        uint32_t word = loadLittleEndian32(bytes + 4 * i);
        sum += word;
        if (i < LEVEL_BITS && (word & LEVEL_BIT))
            stored |= 1 << i;
    }
    if (loadLittleEndian32(bytes + 4 * (WORD_COUNT - 1)) != sum * CHECK_FACTOR)
        return ProgressFile::Damaged;
    level = stored;
    return ProgressFile::Valid;
}

int32_t readLevelProgressFile(const char* path) {
    int32_t level = 0;
    inspectLevelProgressFile(path, level);
    return level;
}

std::string progressFilePath() {
    return userFilePath(filePlaces, PROGRESS_FILE);
}

std::string writeLevelProgress(int32_t level) {
    return writeLevelProgressFile(progressFilePath().c_str(), level);
}

int32_t readLevelProgress() {
    return readLevelProgressFile(progressFilePath().c_str());
}
