// Writes small seed corpora for the harnesses into OUT/NAME/ for each
// harness NAME. The data file seeds are the packed GHold.dat with every
// sprite cut down to a few pixels (and a few odd sizes), short sounds and
// tiny title pictures, so that the fuzzer works on kilobytes, not megabytes.
//
//   fuzz_seeds OUT
#include "game/gamedata.h"
#include "game/progress.h"
#include "toolkit/config.h"
#include "tools/assets.h"
#include "tools/png.h"
#include "tools/wav.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;

bool writeSeed(const fs::path& path, const std::vector<uint8_t>& bytes) {
    return saveFile(path.string(), bytes).empty();
}

// Every frame cut to at most side x side pixels (the first bytes of its
// pixels), or made a row (wide) or a column of 40 pixels, which overhang the
// 33-pixel tiles; sizes keep their zeros (frames without pixels stay
// without). Sounds are cut to 4 samples and title pictures to one pixel.
void shrink(GameContent& content, int32_t side, bool wide = false) {
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        for (int frame = 0; frame < elementInfo[code].frames; ++frame) {
            SpriteFrame& f = content.frames[code][frame];
            f.width = side > 0 ? std::min(f.width, side) : wide ? 40 : 1;
            f.height = side > 0 ? std::min(f.height, side) : wide ? 1 : 40;
            f.pixels.resize(size_t(f.width) * size_t(f.height) * 4, 128);
        }
    }
    for (auto& samples : content.samples) {
        samples.resize(std::min<size_t>(samples.size(), 4));
    }
    for (TitlePicture& picture : content.pictures) {
        picture = TitlePicture{1, 1, {0x1234}};
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUT\n");
        return 2;
    }
    const fs::path out = argv[1];
    const fs::path source = GHOLD_SOURCE_DIR;
    for (const char* name : {"fuzz_gamedata", "fuzz_progress", "fuzz_config", "fuzz_leveltext",
                             "fuzz_png", "fuzz_wav", "fuzz_pack", "fuzz_textbox"}) {
        fs::create_directories(out / name);
    }

    if (!loadGameData(GHOLD_DATA_FILE)) {
        std::fprintf(stderr, "fuzz_seeds: cannot load %s\n", GHOLD_DATA_FILE);
        return 1;
    }
    auto content = std::make_unique<GameContent>();
    contentFromLoadedTables(*content);
    auto cut = std::make_unique<GameContent>(*content);
    shrink(*cut, 3);
    bool ok = true;
    // The byte after the data file chooses the level (fuzz_gamedata.cpp).
    for (uint8_t level : {0, 7, 20, 38, 50}) {
        std::vector<uint8_t> bytes = serializeGameContent(*cut);
        bytes.push_back(level);
        const char moves[] = "\1\1\4\4\2\3\0\1\4\4\4\2\2\3\1\1\0\0\4\1\2\3\4\1";
        bytes.insert(bytes.end(), moves, moves + sizeof moves - 1);
        ok = ok && writeSeed(out / "fuzz_gamedata" / ("cut-" + std::to_string(level)), bytes);
    }
    for (bool wide : {false, true}) {
        auto odd = std::make_unique<GameContent>(*content);
        shrink(*odd, 0, wide);
        std::vector<uint8_t> bytes = serializeGameContent(*odd);
        bytes.push_back(wide ? 12 : 31);
        ok = ok && writeSeed(out / "fuzz_gamedata" / (wide ? "wide" : "tall"), bytes);
    }

    const fs::path progress = out / "fuzz_progress" / "LevelInfo.dat";
    ok = ok && writeLevelProgressFile(progress.c_str(), 37).empty();
    configReset();
    configSet("RESX", "800");
    configSaveFile((out / "fuzz_config" / "Cfg.txt").c_str());

    for (const char* level : {"level00.txt", "level19.txt", "level42.txt"}) {
        fs::copy_file(source / "assets/levels" / level, out / "fuzz_leveltext" / level,
                      fs::copy_options::overwrite_existing);
    }
    const std::vector<uint8_t> rgba(2 * 2 * 4, 77);
    ok = ok && writePng((out / "fuzz_png" / "rgba.png").string(), {2, 2, 4, rgba}).empty();
    const std::vector<uint8_t> rgb(3 * 1 * 3, 99);
    ok = ok && writePng((out / "fuzz_png" / "rgb.png").string(), {3, 1, 3, rgb}).empty();
    ok = ok && writeSeed(out / "fuzz_wav" / "short.wav", formatWav({1, -2, 300, -32768}));
    ok = ok && writeSeed(out / "fuzz_wav" / "empty.wav", formatWav({}));

    std::string index;
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        for (int frame = 0; frame < elementInfo[code].frames; ++frame) {
            index += std::to_string(code) + " " + std::to_string(frame) + " " +
                     std::to_string(code == 0 ? 0 : 1) + (code % 3 == 0 ? " - 0 33\n" : " a.png\n");
        }
    }
    ok = ok && writeSeed(out / "fuzz_pack" / "index.txt",
                         std::vector<uint8_t>(index.begin(), index.end()));

    // Every kind of line end, a tab, bytes the box drops, and a line longer
    // than a box keeps whole.
    std::string text = "one\r\ntwo\rthree\n\tfour \x01\x80\xff five\n";
    text += std::string(2100, 'w') + "\n\n";
    ok = ok && writeSeed(out / "fuzz_textbox" / "mixed.txt",
                         std::vector<uint8_t>(text.begin(), text.end()));
    if (!ok) {
        std::fprintf(stderr, "fuzz_seeds: cannot write the seeds\n");
        return 1;
    }
    return 0;
}
