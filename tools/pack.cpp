#include "tools/pack.h"

#include "game/titles.h"
#include "platform/files.h"
#include "tools/leveltext.h"
#include "tools/png.h"
#include "tools/wav.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <sstream>
#include <string_view>

namespace {

// The index lists 122 short lines; a file of this size is no index.
constexpr size_t INDEX_LIMIT = 1 << 20;

std::string join(const std::string& dir, const std::string& relative) {
    return dir + "/" + relative;
}

// A whole decimal number that fits an i32, nothing else.
bool parseI32(const std::string& word, int32_t& value) {
    if (word.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < INT32_MIN || parsed > INT32_MAX) {
        return false;
    }
    value = static_cast<int32_t>(parsed);
    return true;
}

std::string readLevels(const std::string& sourceDir, GameContent& content) {
    for (int i = 0; i < LEVEL_COUNT; ++i) {
        LevelText level;
        std::string error;
        if (!readLevelTextFile(join(sourceDir, levelPath(i)), level, error)) {
            return error;
        }
        content.levels[i] = level.record;
        content.titles[i] = level.title;
    }
    return {};
}

std::string readSprite(const std::string& path, SpriteFrame& frame) {
    PngImage image;
    std::string error = readPng(path, image, MAX_SPRITE_SIDE);
    if (!error.empty()) {
        return path + ": " + error;
    }
    if (image.channels != 4) {
        return path + ": is an RGB PNG; element pictures must be RGBA";
    }
    frame.width = image.width;
    frame.height = image.height;
    frame.pixels = std::move(image.pixels);
    return {};
}

// One line of the index: "<code> <frame> <flags> <file>" or, for a frame
// without pixels, "<code> <frame> <flags> - <width> <height>".
std::string readIndexLine(const std::string& sourceDir, const std::string& where,
                          const std::string& line, int code, int frameNo, GameContent& content) {
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;) {
        w.push_back(word);
    }
    int32_t lineCode = 0;
    int32_t lineFrame = 0;
    int32_t flags = 0;
    if (w.size() < 4 || !parseI32(w[0], lineCode) || !parseI32(w[1], lineFrame) ||
        !parseI32(w[2], flags)) {
        return where + ": expected \"<code> <frame> <flags> <file>\" or "
                       "\"<code> <frame> <flags> - <width> <height>\"";
    }
    if (lineCode != code || lineFrame != frameNo) {
        return where + ": expected code " + std::to_string(code) + " frame " +
               std::to_string(frameNo) + " here (one line per frame, in order), found " +
               std::to_string(lineCode) + " " + std::to_string(lineFrame);
    }
    SpriteFrame& frame = content.frames[code][frameNo];
    frame.flags = flags;
    if (w[3] == "-") {
        int32_t width = 0;
        int32_t height = 0;
        if (w.size() != 6 || !parseI32(w[4], width) || !parseI32(w[5], height)) {
            return where + ": a frame without pixels is \"<code> <frame> <flags> - <width> "
                           "<height>\"";
        }
        if (width < 0 || height < 0 || width > MAX_SPRITE_SIDE || height > MAX_SPRITE_SIDE ||
            (width != 0 && height != 0)) {
            return where +
                   ": a frame without pixels has a width or height of 0 (and neither "
                   "below 0 nor above " +
                   std::to_string(MAX_SPRITE_SIDE) + ")";
        }
        frame.width = width;
        frame.height = height;
        return {};
    }
    if (w.size() != 4) {
        return where + ": unexpected words after the file name";
    }
    // Pictures live beside the index; a path out of the folder is a mistake.
    if (w[3].find('/') != std::string::npos || w[3].find('\\') != std::string::npos) {
        return where + ": \"" + w[3] + "\" is not a plain file name";
    }
    return readSprite(join(sourceDir, "sprites/" + w[3]), frame);
}

std::string readSprites(const std::string& sourceDir, GameContent& content) {
    const std::string indexPath = join(sourceDir, SPRITE_INDEX_PATH);
    std::vector<uint8_t> bytes;
    std::string reason;
    if (readWholeFile(indexPath, INDEX_LIMIT, bytes, &reason) != FileStatus::Ok) {
        return indexPath + ": cannot be read (" + reason + ")";
    }
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    int code = 0;
    int frame = 0;
    int lineNo = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') {
            continue;
        }
        const std::string where = indexPath + " line " + std::to_string(lineNo);
        if (code == ELEMENT_COUNT) {
            return where + ": more lines than the " + std::to_string(FRAME_TOTAL) + " frames";
        }
        std::string error = readIndexLine(sourceDir, where, line, code, frame, content);
        if (!error.empty()) {
            return error;
        }
        if (++frame == elementInfo[code].frames) {
            frame = 0;
            ++code;
        }
    }
    if (code != ELEMENT_COUNT) {
        return indexPath + ": ends before code " + std::to_string(code) + " frame " +
               std::to_string(frame) + " (one line per frame, " + std::to_string(FRAME_TOTAL) +
               " in all)";
    }
    return {};
}

std::string readSounds(const std::string& sourceDir, GameContent& content) {
    for (int i = 1; i < EFFECT_COUNT; ++i) {
        const std::string path = join(sourceDir, soundPath(i));
        std::string error = readWav(path, content.samples[i]);
        if (!error.empty()) {
            return path + ": " + error;
        }
    }
    return {};
}

std::string readPictures(const std::string& sourceDir, GameContent& content) {
    for (int i = 0; i < PICTURE_COUNT; ++i) {
        const std::string path = join(sourceDir, picturePath(i));
        PngImage image;
        std::string error = readPng(path, image, MAX_PICTURE_SIDE);
        if (!error.empty()) {
            return path + ": " + error;
        }
        if (image.channels != 3) {
            return path + ": is an RGBA PNG; title pictures must be RGB";
        }
        TitlePicture& picture = content.pictures[i];
        picture.width = image.width;
        picture.height = image.height;
        picture.pixels.resize(size_t(image.width) * size_t(image.height));
        for (size_t p = 0; p < picture.pixels.size(); ++p) {
            if (!pixel565FromRgb(&image.pixels[3 * p], picture.pixels[p])) {
                const size_t x = p % size_t(image.width);
                const size_t y = p / size_t(image.width);
                return path + ": pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                       ") has colour bits that 5-6-5 cannot hold (red and blue must be "
                       "multiples of 8, green of 4)";
            }
        }
    }
    return {};
}

} // namespace

std::string readAssetFolder(const std::string& sourceDir, GameContent& content) {
    content = GameContent{};
    std::string error = readSprites(sourceDir, content);
    if (error.empty()) {
        error = readLevels(sourceDir, content);
    }
    if (error.empty()) {
        error = readSounds(sourceDir, content);
    }
    if (error.empty()) {
        error = readPictures(sourceDir, content);
    }
    return error;
}

std::string packAssets(const std::string& sourceDir, const std::string& outFile) {
    // GameContent is large (51 level records and 504 frames); keep it off
    // the stack.
    auto content = std::make_unique<GameContent>();
    std::string error = readAssetFolder(sourceDir, *content);
    if (!error.empty()) {
        return error;
    }
    error = saveFile(outFile, serializeGameContent(*content));
    if (!error.empty()) {
        return error;
    }
    const std::string titles = levelTitlesText(content->titles);
    return saveFile(titlesPathFor(outFile), std::vector<uint8_t>(titles.begin(), titles.end()));
}

int packCommand(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    if (args.size() != 2) {
        err << "usage: ghtool pack SRC_DIR OUT.dat\n";
        return 2;
    }
    const std::string error = packAssets(args[0], args[1]);
    if (!error.empty()) {
        err << "ghtool pack: " << error << "\n";
        return 2;
    }
    return 0;
}
