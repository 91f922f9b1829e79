#include "game/gamedata.h"

#include "game/sound.h"
#include "platform/files.h"

#include <array>
#include <cstdio>
#include <memory>
#include <vector>

TileSprite tileSprites[ELEMENT_COUNT][MAX_FRAMES];
LevelRecord levelRecords[LEVEL_COUNT];
Surface titlePictures[PICTURE_COUNT];

namespace {

constexpr int32_t FORMAT_TAG = 63;

// Every block the tables point into. One vector per frame, effect and
// picture, kept together so that a new load (or a failed one) drops the
// previous contents in one step and nothing can be forgotten.
struct GameDataStore {
    std::array<std::array<std::vector<uint8_t>, MAX_FRAMES>, ELEMENT_COUNT> spritePixels;
    std::array<std::array<PreparedSprite, MAX_FRAMES>, ELEMENT_COUNT> prepared;
    std::array<std::vector<int16_t>, EFFECT_COUNT> samples;
    std::array<std::vector<uint16_t>, PICTURE_COUNT> picturePixels;
};

std::unique_ptr<GameDataStore> store;

// Every field is read with its own fread and checked, so a file that ends
// early fails at the first field it no longer holds.
bool readBytes(std::FILE* f, void* to, size_t size) {
    return size == 0 || std::fread(to, 1, size, f) == size;
}

bool readI32(std::FILE* f, int32_t& value) {
    uint8_t b[4];
    if (!readBytes(f, b, 4)) {
        return false;
    }
    value = static_cast<int32_t>(loadLittleEndian32(b));
    return true;
}

// The file is little-endian. Samples and picture pixels are read straight
// into their block and then put into the machine's order in place, so that
// each block costs one allocation and the loader works on any machine.
template <typename T> bool readBlock16(std::FILE* f, std::vector<T>& block) {
    static_assert(sizeof(T) == 2);
    auto* bytes = reinterpret_cast<uint8_t*>(block.data());
    if (!readBytes(f, bytes, block.size() * 2)) {
        return false;
    }
    for (size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<T>(loadLittleEndian16(bytes + 2 * i));
    }
    return true;
}

void clearTables() {
    for (auto& frames : tileSprites) {
        for (TileSprite& sprite : frames) {
            sprite = TileSprite{};
        }
    }
    for (LevelRecord& level : levelRecords) {
        level = LevelRecord{};
    }
    // Entry 0 is silence and never comes from the file; the names belong to
    // the sound unit and stay.
    for (int i = 1; i < EFFECT_COUNT; ++i) {
        effects[i].sampleCount = 0;
        effects[i].samples = nullptr;
    }
    for (Surface& picture : titlePictures) {
        picture = Surface{};
    }
    store.reset();
}

bool readSprites(std::FILE* f, GameDataStore& data) {
    int32_t framesRead = 0;
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        for (int frame = 0; frame < elementInfo[code].frames; ++frame) {
            TileSprite& sprite = tileSprites[code][frame];
            if (!readI32(f, sprite.width) || !readI32(f, sprite.height) ||
                !readI32(f, sprite.flags)) {
                return false;
            }
            if (sprite.width < 0 || sprite.height < 0 || sprite.width > MAX_SPRITE_SIDE ||
                sprite.height > MAX_SPRITE_SIDE) {
                return false;
            }
            std::vector<uint8_t>& pixels = data.spritePixels[code][frame];
            pixels.resize(size_t(sprite.width) * size_t(sprite.height) * 4);
            if (!readBytes(f, pixels.data(), pixels.size())) {
                return false;
            }
            sprite.pixels = pixels.empty() ? nullptr : pixels.data();
            prepareSprite(sprite.pixels, sprite.width, sprite.height, data.prepared[code][frame]);
            ++framesRead;
        }
    }
    int32_t frameTotal = 0;
    return readI32(f, frameTotal) && frameTotal == framesRead;
}

bool readLevels(std::FILE* f) {
    int32_t count = 0;
    if (!readI32(f, count) || count != LEVEL_COUNT) {
        return false;
    }
    for (LevelRecord& level : levelRecords) {
        if (!readI32(f, level.width) || !readI32(f, level.height)) {
            return false;
        }
        if (level.width < 1 || level.width > BOARD_COLUMNS || level.height < 1 ||
            level.height > BOARD_ROWS) {
            return false;
        }
        for (int x = 0; x < level.width; ++x) {
            if (!readBytes(f, level.cells[x], size_t(level.height) * 3)) {
                return false;
            }
            // A byte outside the element codes would index the board's
            // per-code tables out of range when the level is played, so such
            // a level is refused here rather than trusted later.
            for (int y = 0; y < level.height; ++y) {
                for (int8_t code : level.cells[x][y]) {
                    if (!isElementCode(code)) {
                        return false;
                    }
                }
            }
        }
    }
    return true;
}

bool readEffects(std::FILE* f, GameDataStore& data) {
    int32_t count = 0;
    if (!readI32(f, count) || count != EFFECT_COUNT) {
        return false;
    }
    for (int i = 1; i < EFFECT_COUNT; ++i) {
        int32_t sampleCount = 0;
        if (!readI32(f, sampleCount) || sampleCount < 0 || sampleCount > MAX_EFFECT_SAMPLES) {
            return false;
        }
        std::vector<int16_t>& samples = data.samples[i];
        samples.resize(size_t(sampleCount));
        if (!readBlock16(f, samples)) {
            return false;
        }
        // A silent effect keeps a null block: the mixer never reads past
        // the sample count.
        effects[i].sampleCount = sampleCount;
        effects[i].samples = samples.empty() ? nullptr : samples.data();
    }
    return true;
}

bool readPictures(std::FILE* f, GameDataStore& data) {
    int32_t count = 0;
    if (!readI32(f, count) || count != PICTURE_COUNT) {
        return false;
    }
    for (int i = 0; i < PICTURE_COUNT; ++i) {
        int32_t width = 0;
        int32_t height = 0;
        if (!readI32(f, width) || !readI32(f, height)) {
            return false;
        }
        // A title picture fills a window, so an empty one is damage too.
        if (width < 1 || height < 1 || width > MAX_PICTURE_SIDE || height > MAX_PICTURE_SIDE) {
            return false;
        }
        std::vector<uint16_t>& pixels = data.picturePixels[i];
        pixels.resize(size_t(width) * size_t(height));
        if (!readBlock16(f, pixels)) {
            return false;
        }
        titlePictures[i].width = width;
        titlePictures[i].height = height;
        titlePictures[i].pixels = pixels.data();
    }
    return true;
}

} // namespace

const PreparedSprite* preparedSprite(int code, int frame) {
    if (store == nullptr || !isElementCode(code) || frame < 0 || frame >= MAX_FRAMES) {
        return nullptr;
    }
    const TileSprite& sprite = tileSprites[code][frame];
    const PreparedSprite& prepared = store->prepared[code][frame];
    // The slot must still hold the file's own block at the file's size.
    if (sprite.pixels == nullptr || sprite.pixels != store->spritePixels[code][frame].data() ||
        sprite.width != prepared.width || sprite.height != prepared.height) {
        return nullptr;
    }
    return &prepared;
}

int loadGameData(const char* fileName) {
    // Whatever an earlier load left is dropped first: the tables describe
    // this file or, if it fails, nothing at all.
    clearTables();
    // Anything but a regular file (a FIFO, a folder) is a load failure like a
    // missing one, found without waiting on it.
    FileHandle file;
    if (openForReading(fileName, file) != FileStatus::Ok) {
        return 0;
    }
    auto data = std::make_unique<GameDataStore>();
    std::FILE* f = file.get();
    int32_t tag = 0;
    const bool loaded = readI32(f, tag) && tag == FORMAT_TAG && readSprites(f, *data) &&
                        readLevels(f) && readEffects(f, *data) && readPictures(f, *data);
    if (!loaded) {
        clearTables();
        return 0;
    }
    store = std::move(data);
    return 1;
}
