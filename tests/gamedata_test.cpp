#include "game/gamedata.h"

#include "game/sound.h"
#include "tests/support/datafile.h"
#include "tests/support/ints.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <tuple>

namespace {

// True when every table the loader fills is back to zero (effect names,
// owned by the sound unit, are left alone).
bool tablesAreZero() {
    const TileSprite* sprites = &tileSprites[0][0];
    const LevelRecord zero{};
    return std::all_of(sprites, sprites + ELEMENT_COUNT * MAX_FRAMES,
                       [](const TileSprite& s) {
                           return !s.width && !s.height && !s.flags && !s.pixels;
                       }) &&
           std::all_of(std::begin(levelRecords), std::end(levelRecords),
                       [&zero](const LevelRecord& level) {
                           return std::memcmp(&level, &zero, sizeof zero) == 0;
                       }) &&
           std::all_of(std::begin(effects), std::end(effects),
                       [](const Effect& e) { return !e.sampleCount && !e.samples; }) &&
           std::all_of(std::begin(titlePictures), std::end(titlePictures), [](const Surface& p) {
               return !p.width && !p.height && !p.pixels && !p.clipRight && !p.clipBottom;
           });
}

struct Loader {
    TempDir dir{"gamedata"};

    int load(const std::vector<uint8_t>& bytes) {
        const auto path = dir.path / "GHold.dat";
        EXPECT_TRUE(writeBytes(path, bytes));
        return loadGameData(path.c_str());
    }
};

} // namespace

// Pack.PackingAnExportGivesTheSameBytes proves every field read in its place
// (the export works from the loaded tables); this is what an export does not
// show: the cells outside a level, which the file does not hold.
TEST(LoadGameData, IgnoresTrailingBytesAndASecondLoadReplacesTheFirst) {
    Loader loader;
    SyntheticDataFile first = makeSyntheticDataFile(2);
    first.bytes.insert(first.bytes.end(), {1, 2, 3, 4, 5, 6, 7});
    ASSERT_EQ(loader.load(first.bytes), 1);
    EXPECT_EQ(levelRecords[7].width, i32At(first.bytes, first.levelAt[7]));

    const SyntheticDataFile second = makeSyntheticDataFile(3);
    ASSERT_EQ(loader.load(second.bytes), 1);
    EXPECT_EQ(levelRecords[7].width, i32At(second.bytes, second.levelAt[7]));
    // Cells the bigger first level wrote are gone when the second is smaller.
    for (const LevelRecord& level : levelRecords) {
        for (int x = 0; x < BOARD_COLUMNS; ++x) {
            for (int y = x < level.width ? level.height : 0; y < BOARD_ROWS; ++y) {
                ASSERT_EQ(level.cells[x][y][0] | level.cells[x][y][1] | level.cells[x][y][2], 0);
            }
        }
    }
}

TEST(LoadGameData, AFileEndingAtAnyFieldOrInsideAnyBlockFailsAndLeavesNothing) {
    Loader loader;
    const SyntheticDataFile file = makeSyntheticDataFile(4);
    ASSERT_GT(file.fieldEnds.size(), 122u * 2 + 51 + 15 + 3);
    std::vector<size_t> cuts = {0, 1, 3};
    for (size_t end : file.fieldEnds) {
        cuts.push_back(end);
        cuts.push_back(end - 1); // inside the field or block that ends here
    }
    // Thousands of cuts: the file is written once and cut shorter in place,
    // and the good file that now and then goes first is made and written
    // once, so that the test does no more work on a busy machine than the
    // loads themselves.
    std::sort(cuts.begin(), cuts.end(), std::greater<>());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    cuts.erase(cuts.begin()); // the whole file
    const auto good = loader.dir.path / "good.dat";
    const auto cutFile = loader.dir.path / "cut.dat";
    ASSERT_TRUE(writeBytes(good, makeSyntheticDataFile(5).bytes));
    ASSERT_TRUE(writeBytes(cutFile, file.bytes));
    for (size_t i = 0; i < cuts.size(); ++i) {
        const size_t cut = cuts[i];
        // A failed load must also drop what the previous good one filled.
        if (i % 8 == 0) {
            ASSERT_EQ(loadGameData(good.c_str()), 1);
        }
        std::error_code error;
        std::filesystem::resize_file(cutFile, cut, error);
        ASSERT_FALSE(error) << error.message();
        ASSERT_EQ(loadGameData(cutFile.c_str()), 0) << "cut at " << cut;
        ASSERT_TRUE(tablesAreZero()) << "cut at " << cut;
    }
    EXPECT_EQ(loadGameData((loader.dir.path / "missing.dat").c_str()), 0);
}

TEST(LoadGameData, RejectsWrongCountsSizesAndCells) {
    Loader loader;
    const SyntheticDataFile file = makeSyntheticDataFile(6);
    const auto rejects = [&](size_t at, int32_t value) {
        std::vector<uint8_t> bytes = file.bytes;
        putI32At(bytes, at, value);
        loader.load(makeSyntheticDataFile(7).bytes);
        return loader.load(bytes) == 0 && tablesAreZero();
    };
    const size_t lastCells = file.levelAt[1] + 8 + 18 * 13 * 3 - 4;
    const std::pair<size_t, int32_t> damages[] = {
        {0, 62},
        {file.frameTotalAt, 121},
        {file.frameTotalAt, 123},
        {file.levelCountAt, 50},
        {file.soundCountAt, 15},
        {file.pictureCountAt, 4},
        // Sprites with negative or absurd sides; levels empty, negative, 19
        // wide or 14 high; effects and pictures out of their limits.
        {file.frameAt[5][1], -1},
        {file.frameAt[5][1] + 4, -3},
        {file.frameAt[0][0] + 4, 0x40000000},
        {file.levelAt[3], 0},
        {file.levelAt[3] + 4, 0},
        {file.levelAt[50], -1},
        {file.levelAt[20], 19},
        {file.levelAt[20] + 4, 14},
        {file.effectAt[4], -1},
        // The last effect, empty, claiming one sample too many: a reader that
        // gave up on it without failing would find the pictures right after.
        {file.effectAt[15], MAX_EFFECT_SAMPLES + 1},
        {file.pictureAt[1], 0},
        {file.pictureAt[2] + 4, -8},
        // The top layer of level 1's last cell outside the element codes.
        {lastCells, 63 << 24},
        {lastCells, -1},
        {lastCells, 127 << 24}};
    for (const auto& [at, value] : damages) {
        EXPECT_TRUE(rejects(at, value)) << at << " " << value;
    }

    // The limits are exact: the largest sizes load, one more fails, even
    // when the file holds all the data the size asks for.
    const std::tuple<int32_t, int32_t, int> frameSides[] = {{MAX_SPRITE_SIDE, 0, 1},
                                                            {MAX_SPRITE_SIDE + 1, 0, 0},
                                                            {0, MAX_SPRITE_SIDE, 1},
                                                            {0, MAX_SPRITE_SIDE + 1, 0}};
    for (const auto& [width, height, loads] : frameSides) {
        std::vector<uint8_t> bytes = file.bytes; // code 7 frame 0 is 0 x 5
        putI32At(bytes, file.frameAt[7][0], width);
        putI32At(bytes, file.frameAt[7][0] + 4, height);
        EXPECT_EQ(loader.load(bytes), loads) << width << " x " << height;
        EXPECT_EQ(tileSprites[7][0].width + tileSprites[7][0].height, loads * MAX_SPRITE_SIDE);
    }

    const auto withLastEffect = [&](int32_t count) {
        std::vector<uint8_t> bytes(file.bytes.begin(),
                                   file.bytes.begin() + long(file.effectAt[EFFECT_COUNT - 1]));
        putI32At(bytes, bytes.size(), count);
        bytes.resize(bytes.size() + size_t(count) * 2, 0x7f);
        bytes.insert(bytes.end(), file.bytes.begin() + long(file.pictureCountAt), file.bytes.end());
        return bytes;
    };
    ASSERT_EQ(loader.load(withLastEffect(MAX_EFFECT_SAMPLES)), 1);
    EXPECT_EQ(ints(effects[EFFECT_COUNT - 1].sampleCount,
                   effects[EFFECT_COUNT - 1].samples[MAX_EFFECT_SAMPLES - 1],
                   titlePictures[0].width),
              ints(MAX_EFFECT_SAMPLES, 0x7f7f, i32At(file.bytes, file.pictureAt[0])));
    EXPECT_EQ(loader.load(withLastEffect(MAX_EFFECT_SAMPLES + 1)), 0);

    const auto withLastPicture = [&](int32_t width, int32_t height) {
        std::vector<uint8_t> bytes(file.bytes.begin(),
                                   file.bytes.begin() + long(file.pictureAt[PICTURE_COUNT - 1]));
        putI32At(bytes, bytes.size(), width);
        putI32At(bytes, bytes.size(), height);
        bytes.resize(bytes.size() + size_t(width) * size_t(height) * 2, 0x11);
        return bytes;
    };
    ASSERT_EQ(loader.load(withLastPicture(MAX_PICTURE_SIDE, 2)), 1);
    EXPECT_EQ(ints(titlePictures[2].width, titlePictures[2].pixels[2 * MAX_PICTURE_SIDE - 1]),
              ints(MAX_PICTURE_SIDE, 0x1111));
    EXPECT_EQ(loader.load(withLastPicture(MAX_PICTURE_SIDE + 1, 2)), 0);
    EXPECT_EQ(loader.load(withLastPicture(2, MAX_PICTURE_SIDE + 1)), 0);
}
