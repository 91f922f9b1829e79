#include "tools/assets.h"

#include "game/titles.h"

#include "platform/files.h"

#include <cctype>
#include <cstdio>

namespace {

std::string twoDigits(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

} // namespace

std::vector<uint8_t> serializeGameContent(const GameContent& content) {
    std::vector<uint8_t> out;
    appendLittleEndian32(out, ELEMENT_COUNT);
    int32_t frameTotal = 0;
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        for (int frame = 0; frame < elementInfo[code].frames; ++frame) {
            const SpriteFrame& f = content.frames[code][frame];
            appendLittleEndian32(out, f.width);
            appendLittleEndian32(out, f.height);
            appendLittleEndian32(out, f.flags);
            out.insert(out.end(), f.pixels.begin(), f.pixels.end());
            ++frameTotal;
        }
    }
    appendLittleEndian32(out, frameTotal);
    appendLittleEndian32(out, LEVEL_COUNT);
    for (const LevelRecord& level : content.levels) {
        appendLittleEndian32(out, level.width);
        appendLittleEndian32(out, level.height);
        for (int x = 0; x < level.width; ++x) {
            for (int y = 0; y < level.height; ++y) {
                for (int8_t code : level.cells[x][y]) {
                    out.push_back(static_cast<uint8_t>(code));
                }
            }
        }
    }
    appendLittleEndian32(out, EFFECT_COUNT);
    for (int i = 1; i < EFFECT_COUNT; ++i) {
        appendLittleEndian32(out, static_cast<int32_t>(content.samples[i].size()));
        for (int16_t s : content.samples[i]) {
            appendLittleEndian16(out, static_cast<uint16_t>(s));
        }
    }
    appendLittleEndian32(out, PICTURE_COUNT);
    for (const TitlePicture& picture : content.pictures) {
        appendLittleEndian32(out, picture.width);
        appendLittleEndian32(out, picture.height);
        for (uint16_t p : picture.pixels) {
            appendLittleEndian16(out, p);
        }
    }
    return out;
}

void contentFromLoadedTables(GameContent& content) {
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        for (int frame = 0; frame < MAX_FRAMES; ++frame) {
            const TileSprite& sprite = tileSprites[code][frame];
            SpriteFrame& f = content.frames[code][frame];
            f.width = sprite.width;
            f.height = sprite.height;
            f.flags = sprite.flags;
            const size_t bytes = size_t(sprite.width) * size_t(sprite.height) * 4;
            f.pixels.assign(sprite.pixels,
                            sprite.pixels == nullptr ? sprite.pixels : sprite.pixels + bytes);
        }
    }
    for (int i = 0; i < LEVEL_COUNT; ++i) {
        content.levels[i] = levelRecords[i];
        content.titles[i] = levelTitles.text[i];
    }
    for (int i = 0; i < EFFECT_COUNT; ++i) {
        const Effect& e = effects[i];
        content.samples[i].assign(e.samples,
                                  e.samples == nullptr ? e.samples : e.samples + e.sampleCount);
    }
    for (int i = 0; i < PICTURE_COUNT; ++i) {
        const Surface& s = titlePictures[i];
        TitlePicture& p = content.pictures[i];
        p.width = s.width;
        p.height = s.height;
        p.pixels.assign(s.pixels,
                        s.pixels == nullptr ? s.pixels : s.pixels + size_t(s.width) * s.height);
    }
}

std::string levelPath(int level) {
    return "levels/level" + twoDigits(level) + ".txt";
}

std::string spriteFileName(int code, int frame) {
    return twoDigits(code) + "-" + std::to_string(frame) + ".png";
}

std::string spritePath(int code, int frame) {
    return "sprites/" + spriteFileName(code, frame);
}

std::string soundPath(int effect) {
    std::string name = effects[effect].name;
    for (char& c : name) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return "sounds/" + twoDigits(effect) + "-" + name + ".wav";
}

std::string picturePath(int picture) {
    return "pictures/picture" + std::to_string(picture) + ".png";
}

// The low bits dropped by 5-6-5 are written as zero, so that a picture file
// shows the colour exactly as the game will.
void rgbFromPixel565(uint16_t pixel, uint8_t rgb[3]) {
    rgb[0] = static_cast<uint8_t>(red8(pixel));
    rgb[1] = static_cast<uint8_t>(green8(pixel));
    rgb[2] = static_cast<uint8_t>(blue8(pixel));
}

bool pixel565FromRgb(const uint8_t rgb[3], uint16_t& pixel) {
    pixel = pixelFrom8(rgb[0], rgb[1], rgb[2]);
    // Low bits the pixel cannot hold would be lost without a word.
    uint8_t back[3];
    rgbFromPixel565(pixel, back);
    return back[0] == rgb[0] && back[1] == rgb[1] && back[2] == rgb[2];
}

std::string saveFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string reason = replaceFile(path, bytes.data(), bytes.size());
    return reason.empty() ? reason : path + ": " + reason;
}
