#pragma once
// LevelInfo.dat, among the player's files (toolkit/places.h): the highest
// level reached, kept between runs. 32 little-endian
// 32-bit words: bit 3 of words 0 to 15 carries the level's 16 bits, the rest
// is random filler, and word 31 checks the others.
#include <cstdint>
#include <string>

// An empty text when the file was written, else the system's reason it could
// not be ("Permission denied"); the old file then stays as it was. Only the
// low 16 bits of the level are stored.
std::string writeLevelProgress(int32_t level);
// The stored level, or 0 when the file is missing, short or fails its check.
int32_t readLevelProgress();

// The same on a file of any name (tests use files in temporary folders).
std::string writeLevelProgressFile(const char* path, int32_t level);
int32_t readLevelProgressFile(const char* path);

// What a progress file held: nothing regular under its name, a valid file,
// or one that is short or fails its check. level is 0 unless it is valid.
enum class ProgressFile : uint8_t {
    Absent,
    Valid,
    Damaged,
};
ProgressFile inspectLevelProgressFile(const char* path, int32_t& level);
// Where the player's progress file is (toolkit/places.h).
std::string progressFilePath();
