#pragma once
// Synthetic GHold.dat files for the loader and ghtool tests, written field by
// field here (not by ghtool's own writer) so that the two can check each
// other. Every file is valid; tests damage a copy of its bytes.
#include "game/elements.h"
#include "game/gamedata.h"
#include "game/sound.h"
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct SyntheticDataFile {
    std::vector<uint8_t> bytes;
    // The offset just past every field and block, in file order (the points
    // at which a file may end early), blocks of no bytes left out.
    std::vector<size_t> fieldEnds;
    // Where each piece starts.
    size_t frameAt[ELEMENT_COUNT][MAX_FRAMES]; // the frame's width field
    size_t frameTotalAt;
    size_t levelCountAt;
    size_t levelAt[LEVEL_COUNT]; // the level's width field
    size_t soundCountAt;
    size_t effectAt[EFFECT_COUNT]; // the effect's sample count field
    size_t pictureCountAt;
    size_t pictureAt[PICTURE_COUNT]; // the picture's width field
};

// A valid file whose sizes, flags and contents vary with seed. Whatever the
// seed: level 0 is 1 x 1 and level 1 is 18 x 13; effects 3 and 15 have no
// samples; code 7 frame 0 is 0 x 5 and code 24 frame 1 is 6 x 0 (frames
// without pixels); code 23 frame 0 has flag word 0.
SyntheticDataFile makeSyntheticDataFile(uint32_t seed);

void putI32At(std::vector<uint8_t>& bytes, size_t at, int32_t value);
int32_t i32At(const std::vector<uint8_t>& bytes, size_t at);

bool writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readBytes(const std::filesystem::path& path);

// A fresh, empty folder under the system's temporary folder, removed with
// everything in it when the object goes.
struct TempDir {
    std::filesystem::path path;
    explicit TempDir(const std::string& label);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
};
