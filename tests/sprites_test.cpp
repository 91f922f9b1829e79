// The committed element pictures and title pictures keep the promises the
// packer and the board drawing rely on.
#include "game/elements.h"
#include "tests/support/ints.h"
#include "tools/png.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string SPRITES = std::string(GHOLD_SOURCE_DIR) + "/assets/sprites/";

struct IndexLine {
    int code, frame, flags;
    std::string file;
};

std::vector<IndexLine> readIndex() {
    std::vector<IndexLine> lines;
    std::ifstream in(SPRITES + "index.txt");
    std::string text;
    while (std::getline(in, text)) {
        if (text.empty() || text[0] == '#') {
            continue;
        }
        std::istringstream fields(text);
        IndexLine line{-1, -1, -1, ""};
        fields >> line.code >> line.frame >> line.flags >> line.file;
        lines.push_back(line);
    }
    return lines;
}

bool isFloorCode(int code) {
    return code == PLAIN_FLOOR || code == RUBBLE_FLOOR || code == BURNER || code == LAVA ||
           code == PLATE || code == BLAST_FLOOR || code == BARRIER_SLOT || code == SLICK_FLOOR;
}

uint8_t channel(const PngImage& image, int x, int y, int c) {
    return image.pixels[(static_cast<size_t>(y) * image.width + x) * image.channels + c];
}

TEST(Sprites, PicturesHaveTheSizesAndAlphaTheBoardExpects) {
    // The packer holds the index to the data file's order; the flags are the
    // art's: solid rock is void, and the empty code, the player and the ball
    // are not.
    const std::vector<IndexLine> lines = readIndex();
    ASSERT_EQ(lines.size(), static_cast<size_t>(FRAME_TOTAL));
    for (const IndexLine& line : lines) {
        if (line.code == SOLID_BLOCK || line.code == 38 || line.code == 61) {
            EXPECT_EQ(line.flags, 0) << line.file;
        } else if (line.code == EMPTY || line.code == PLAYER_LEFT || line.code == BALL) {
            EXPECT_EQ(line.flags, 1) << line.file;
        }
        PngImage image;
        ASSERT_EQ(readPng(SPRITES + line.file, image), "") << line.file;
        const int size = line.code == WATER_SHAPES ? 11 : 33;
        ASSERT_EQ(ints(image.channels, image.width, image.height), ints(4, size, size))
            << line.file;
        int minAlpha = 255, maxAlpha = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                minAlpha = std::min<int>(minAlpha, channel(image, x, y, 3));
                maxAlpha = std::max<int>(maxAlpha, channel(image, x, y, 3));
            }
        }
        bool opaque = isFloorCode(line.code) && !(line.code == PLAIN_FLOOR && line.frame > 0);
        bool invisible = line.code == EMPTY || line.code == SPOUT || line.code == 23 ||
                         line.code == 24 || line.code == 52 || line.code == 57;
        bool standing = line.code == BALL || line.code == BOX || line.code == KEY ||
                        line.code == PLAYER_LEFT || line.code == PLAYER_RIGHT ||
                        line.code == TORCH || line.code == KEG || line.code == BOMB ||
                        line.code == LEVER || line.code == PLUG || line.code == FLOAT;
        if (line.flags == 0 || invisible) {
            EXPECT_EQ(maxAlpha, 0) << line.file << " should be fully transparent";
        } else if (opaque || line.code == BREAKABLE_WALL || line.code == DOOR) {
            EXPECT_EQ(minAlpha, 255) << line.file << " should be opaque";
        } else if (line.code == WATER_SHAPES) {
            EXPECT_GE(maxAlpha, 120) << line.file;
            EXPECT_LE(maxAlpha, 200) << line.file;
            if (line.frame == 1) {
                // Full water tiles: no pixel may let a seam show.
                EXPECT_GE(minAlpha, 120) << line.file;
            }
        } else if (line.code == EFFORT_MARK) {
            EXPECT_GT(maxAlpha, 60) << line.file;
            EXPECT_LT(maxAlpha, 255) << line.file << " should let the floor show through";
        } else if (line.code != PLAIN_FLOOR) {
            EXPECT_GT(maxAlpha, 60) << line.file << " shows nothing";
        }
        if (standing) {
            // Objects stand on the floor: the corners show what lies below.
            for (int corner = 0; corner < 4; ++corner) {
                EXPECT_EQ(channel(image, (corner & 1) * 32, (corner >> 1) * 32, 3), 0) << line.file;
            }
        }
    }
}

} // namespace
