#pragma once
// The contents of GHold.dat held as ghtool works with them, how they are
// written out byte for byte, and where each piece lives in an asset folder
// (docs/assets.md).
#include "game/elements.h"
#include "game/gamedata.h"
#include "game/sound.h"
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct SpriteFrame {
    int32_t width;
    int32_t height;
    int32_t flags;
    std::vector<uint8_t> pixels; // red, green, blue, alpha; width x height x 4 bytes
};

struct TitlePicture {
    int32_t width;
    int32_t height;
    std::vector<uint16_t> pixels; // RGB565, width x height
};

// Everything one data file holds. Frames beyond a code's frame count and
// effect 0 are never written.
struct GameContent {
    std::array<std::array<SpriteFrame, MAX_FRAMES>, ELEMENT_COUNT> frames;
    std::array<LevelRecord, LEVEL_COUNT> levels;
    std::array<std::vector<int16_t>, EFFECT_COUNT> samples;
    std::array<TitlePicture, PICTURE_COUNT> pictures;
    // Not in the data file, whose format has no room for them: ghtool pack
    // writes them into the titles file beside it (game/titles.h).
    std::string titles[LEVEL_COUNT];
};

// The data file's bytes, exactly as loadGameData reads them.
std::vector<uint8_t> serializeGameContent(const GameContent& content);

// Copies what loadGameData put in the game's tables, and the titles
// loadLevelTitles read.
void contentFromLoadedTables(GameContent& content);

// File names inside an asset folder, relative to it.
std::string levelPath(int level);                // "levels/level07.txt"
std::string spritePath(int code, int frame);     // "sprites/05-0.png"
std::string spriteFileName(int code, int frame); // "05-0.png"
std::string soundPath(int effect);               // "sounds/01-explose.wav"
std::string picturePath(int picture);            // "pictures/picture0.png"
constexpr const char* SPRITE_INDEX_PATH = "sprites/index.txt";

// A title picture's pixel as the 8-bit RGB a picture file holds, and back.
// Back fails (false) when the low bits that 5-6-5 cannot hold are not zero.
void rgbFromPixel565(uint16_t pixel, uint8_t rgb[3]);
bool pixel565FromRgb(const uint8_t rgb[3], uint16_t& pixel);

// Writes bytes to path through replaceFile (platform/files.h): path holds
// either its old contents or all of the new. Returns an empty string on
// success, else the path and the system's reason, as ghtool reports them.
std::string saveFile(const std::string& path, const std::vector<uint8_t>& bytes);
