#include "tools/export.h"

#include "game/titles.h"
#include "tools/assets.h"
#include "tools/leveltext.h"
#include "tools/png.h"
#include "tools/wav.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <ostream>

namespace {

std::string writeText(const std::string& path, const std::string& text) {
    return saveFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string exportLevels(const GameContent& content, const std::string& outDir) {
    for (int i = 0; i < LEVEL_COUNT; ++i) {
        LevelText level{};
        level.record = content.levels[i];
        level.title = content.titles[i];
        std::string error = writeText(outDir + "/" + levelPath(i), formatLevelText(level));
        if (!error.empty()) {
            return error;
        }
    }
    return {};
}

std::string exportSprites(const GameContent& content, const std::string& outDir) {
    std::string index = "# One line per frame, in code and frame order:\n"
                        "#   <code> <frame> <flags> <file>\n"
                        "#   <code> <frame> <flags> - <width> <height>   (no pixels)\n";
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        for (int frame = 0; frame < elementInfo[code].frames; ++frame) {
            const SpriteFrame& f = content.frames[code][frame];
            index += std::to_string(code) + " " + std::to_string(frame) + " " +
                     std::to_string(f.flags) + " ";
            if (f.width == 0 || f.height == 0) {
                index += "- " + std::to_string(f.width) + " " + std::to_string(f.height) + "\n";
                continue;
            }
            index += spriteFileName(code, frame) + "\n";
            PngImage image{f.width, f.height, 4, f.pixels};
            const std::string path = outDir + "/" + spritePath(code, frame);
            std::string error = writePng(path, image);
            if (!error.empty()) {
                return path + ": " + error;
            }
        }
    }
    return writeText(outDir + "/" + SPRITE_INDEX_PATH, index);
}

std::string exportSounds(const GameContent& content, const std::string& outDir) {
    for (int i = 1; i < EFFECT_COUNT; ++i) {
        const std::string path = outDir + "/" + soundPath(i);
        std::string error = writeWav(path, content.samples[i]);
        if (!error.empty()) {
            return path + ": " + error;
        }
    }
    return {};
}

std::string exportPictures(const GameContent& content, const std::string& outDir) {
    for (int i = 0; i < PICTURE_COUNT; ++i) {
        const TitlePicture& picture = content.pictures[i];
        PngImage image{picture.width, picture.height, 3, {}};
        image.pixels.resize(picture.pixels.size() * 3);
        for (size_t p = 0; p < picture.pixels.size(); ++p) {
            rgbFromPixel565(picture.pixels[p], &image.pixels[3 * p]);
        }
        const std::string path = outDir + "/" + picturePath(i);
        std::string error = writePng(path, image);
        if (!error.empty()) {
            return path + ": " + error;
        }
    }
    return {};
}

} // namespace

std::string exportGameData(const std::string& dataFile, const std::string& outDir) {
    if (!loadGameData(dataFile.c_str())) {
        return "Fail to load game file: " + dataFile;
    }
    // The titles come back when the data file has its titles file beside it.
    loadLevelTitles(titlesPathFor(dataFile));
    auto content = std::make_unique<GameContent>();
    contentFromLoadedTables(*content);
    for (const char* folder : {"levels", "sprites", "sounds", "pictures"}) {
        std::error_code error;
        std::filesystem::create_directories(outDir + "/" + folder, error);
        if (error) {
            return outDir + "/" + folder + ": cannot be created (" + error.message() + ")";
        }
    }
    std::string error = exportLevels(*content, outDir);
    if (error.empty()) {
        error = exportSprites(*content, outDir);
    }
    if (error.empty()) {
        error = exportSounds(*content, outDir);
    }
    if (error.empty()) {
        error = exportPictures(*content, outDir);
    }
    return error;
}

int exportCommand(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    if (args.size() != 2) {
        err << "usage: ghtool export IN.dat OUT_DIR\n";
        return 2;
    }
    const std::string error = exportGameData(args[0], args[1]);
    if (!error.empty()) {
        err << "ghtool export: " << error << "\n";
        return 2;
    }
    return 0;
}

std::string describeLoadedGameData(const std::string& name) {
    int frames = 0;
    int empty = 0;
    int voidCodes = 0;
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        if (tileSprites[code][0].flags == 0) {
            ++voidCodes;
        }
        for (int frame = 0; frame < elementInfo[code].frames; ++frame) {
            ++frames;
            if (tileSprites[code][frame].pixels == nullptr) {
                ++empty;
            }
        }
    }
    char line[160];
    std::string out = name + ": " + std::to_string(frames) + " frames, " +
                      std::to_string(LEVEL_COUNT) + " levels, " + std::to_string(EFFECT_COUNT - 1) +
                      " effects, " + std::to_string(PICTURE_COUNT) + " pictures\n";
    out += "frames without pixels: " + std::to_string(empty) +
           ", codes without a picture (frame 0 flag word 0): " + std::to_string(voidCodes) + "\n";
    out += "levels (columns x rows):\n";
    for (int i = 0; i < LEVEL_COUNT; ++i) {
        std::snprintf(line, sizeof line, "  %2d: %2d x %2d%s", i, levelRecords[i].width,
                      levelRecords[i].height, i % 6 == 5 || i == LEVEL_COUNT - 1 ? "\n" : "");
        out += line;
    }
    out += "effects (samples at 11025 per second):\n";
    for (int i = 1; i < EFFECT_COUNT; ++i) {
        std::snprintf(line, sizeof line, "  %2d %-8s %7d samples %6.2f s\n", i, effects[i].name,
                      effects[i].sampleCount, effects[i].sampleCount / 11025.0);
        out += line;
    }
    out += "pictures:\n";
    for (int i = 0; i < PICTURE_COUNT; ++i) {
        std::snprintf(line, sizeof line, "  %d: %d x %d\n", i, titlePictures[i].width,
                      titlePictures[i].height);
        out += line;
    }
    return out;
}

int infoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "usage: ghtool info IN.dat\n";
        return 2;
    }
    if (!loadGameData(args[0].c_str())) {
        err << "Fail to load game file: " << args[0] << "\n";
        return 2;
    }
    out << describeLoadedGameData(args[0]);
    return 0;
}
