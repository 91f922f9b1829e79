#pragma once
// LevelInfo.dat, among the player's files (toolkit/places.h): the highest
// level reached, kept between runs. 32 little-endian
// 32-bit words: bit 3 of words 0 to 15 carries the level's 16 bits, the rest
// is random filler, and word 31 checks the others.
#include <cstdint>

// 1 when the file was written, 0 when it could not be (the progress of this
// run is then simply not kept). Only the low 16 bits of the level are stored.
int writeLevelProgress(int32_t level);
// The stored level, or 0 when the file is missing, short or fails its check.
int32_t readLevelProgress();

// The same on a file of any name (tests use files in temporary folders).
int writeLevelProgressFile(const char* path, int32_t level);
int32_t readLevelProgressFile(const char* path);
