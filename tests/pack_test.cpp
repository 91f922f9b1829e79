#include "tools/pack.h"

#include "tests/support/datafile.h"
#include "tests/support/ints.h"
#include "tools/export.h"
#include "tools/png.h"
#include "tools/wav.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// A temporary folder holding a synthetic data file and its export.
struct ExportedFolder {
    TempDir dir{"pack"};
    SyntheticDataFile file;
    std::string data = (dir.path / "in.dat").string();
    std::string assets = (dir.path / "assets").string();
    std::string out = (dir.path / "out.dat").string();

    explicit ExportedFolder(uint32_t seed) {
        file = makeSyntheticDataFile(seed);
        EXPECT_TRUE(writeBytes(data, file.bytes));
        EXPECT_EQ(exportGameData(data, assets), "");
    }
    std::string path(const std::string& relative) const { return assets + "/" + relative; }
    std::string packError() const { return packAssets(assets, out); }
};

void writeText(const std::string& path, const std::string& text) {
    ASSERT_TRUE(writeBytes(path, std::vector<uint8_t>(text.begin(), text.end())));
}

std::string readText(const std::string& path) {
    const std::vector<uint8_t> bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(Pack, PackingAnExportGivesTheSameBytesWhateverTheIndexsLineEnds) {
    // The index as exported packs back to the same bytes at the end of
    // EveryProblemIsOneMessage...; here it was edited on another system: CR LF
    // line ends and blank lines.
    ExportedFolder folder(14);
    const std::string index = readText(folder.path("sprites/index.txt"));
    std::string crlf;
    for (char c : index) {
        crlf += c == '\n' ? std::string("\r\n\r\n") : std::string(1, c);
    }
    writeText(folder.path("sprites/index.txt"), crlf);
    EXPECT_EQ(folder.packError(), "");
    EXPECT_TRUE(readBytes(folder.out) == folder.file.bytes);
    // Beside the export: the data file, the packed one and its level titles.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.dir.path), fs::directory_iterator()), 4);
}

TEST(Pack, InfoSummarisesAFileAndRefusesABrokenOne) {
    ExportedFolder folder(15);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(infoCommand({folder.data}, out, err), 0);
    EXPECT_NE(out.str().find("122 frames, 51 levels, 15 effects, 3 pictures"), std::string::npos);
    EXPECT_NE(out.str().find("   0:  1 x  1"), std::string::npos);
    EXPECT_NE(out.str().find("   1: 18 x 13"), std::string::npos);
    EXPECT_EQ(err.str(), "");

    const std::string brokenPath = (folder.dir.path / "broken.dat").string();
    const std::vector<uint8_t>& bytes = folder.file.bytes;
    ASSERT_TRUE(writeBytes(brokenPath, std::vector<uint8_t>(bytes.begin(), bytes.end() - 1)));
    EXPECT_EQ(infoCommand({brokenPath}, out, err), 2);
    EXPECT_EQ(err.str(), "Fail to load game file: " + brokenPath + "\n");
    EXPECT_EQ(exportGameData(brokenPath, (folder.dir.path / "x").string()),
              "Fail to load game file: " + brokenPath);
}

TEST(Pack, EveryProblemIsOneMessageNamingTheFileAndLeavesTheOldOutput) {
    ExportedFolder folder(16);
    writeText(folder.out, "old");
    const auto pngText = [&](const PngImage& image) {
        const std::string scratch = (folder.dir.path / "scratch.png").string();
        EXPECT_EQ(writePng(scratch, image), "");
        return readText(scratch);
    };

    const std::string wav = folder.path("sounds/07-switch.wav");
    const std::string sprite = folder.path("sprites/05-1.png");
    const std::string picture = folder.path("pictures/picture1.png");
    PngImage image;
    ASSERT_EQ(readPng(picture, image), "");
    PngImage badGreen = image;
    badGreen.pixels[image.pixels.size() - 2] |= 2; // the green of the last pixel
    PngImage rgba = image;
    rgba.channels = 4;
    rgba.pixels.resize(size_t(image.width) * image.height * 4, 255);
    const std::string indexPath = folder.path("sprites/index.txt");
    const std::string index = readText(indexPath);
    const std::string before5 = index.substr(0, index.find("\n5 0 ") + 1);
    const std::string after5 = index.substr(index.find("\n5 1 ") + 1);
    const std::string levelPath = folder.path("levels/level33.txt");

    struct Damage {
        std::string file;
        std::optional<std::string> text; // none: the file is missing
        std::string message;             // without its end, it starts the message
    };
    const Damage damages[] = {
        {wav, std::nullopt, wav + ": cannot be opened (No such file or directory)\n"},
        {sprite, pngText(PngImage{2, 2, 3, std::vector<uint8_t>(12, 9)}),
         sprite + ": is an RGB PNG; element pictures must be RGBA\n"},
        {picture, pngText(badGreen),
         picture + ": pixel (" + std::to_string(image.width - 1) + ", " +
             std::to_string(image.height - 1) +
             ") has colour bits that 5-6-5 cannot hold (red and blue must be multiples of 8, "
             "green of 4)\n"},
        {picture, pngText(rgba), picture + ": is an RGBA PNG; title pictures must be RGB\n"},
        {indexPath, before5 + after5,
         indexPath + " line 15: expected code 5 frame 0 here (one line per frame, in order), "
                     "found 5 1\n"},
        {indexPath, before5,
         indexPath + ": ends before code 5 frame 0 (one line per frame, 122 in all)\n"},
        {indexPath, before5 + "5 0 1 nowhere.png\n" + after5,
         folder.path("sprites/nowhere.png") + ": cannot be opened (No such file or directory)\n"},
        {indexPath, before5 + "5 0 1 - 3 3\n" + after5,
         indexPath + " line 15: a frame without pixels has a width or height of 0 (and neither "
                     "below 0 nor above 1024)\n"},
        {levelPath, std::nullopt, levelPath + ": cannot be read (No such file or directory)\n"},
        {levelPath, "oops\n" + readText(levelPath),
         levelPath + ": line 1: expected a header such as \"floor:\" or \"title:\"\n"},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.message);
        const std::vector<uint8_t> good = readBytes(damage.file);
        if (damage.text) {
            writeText(damage.file, *damage.text);
        } else {
            fs::remove(damage.file);
        }
        std::ostringstream sink;
        std::ostringstream err;
        EXPECT_EQ(packCommand({folder.assets, folder.out}, sink, err), 2);
        const std::string said = err.str();
        EXPECT_EQ(said.rfind("ghtool pack: " + damage.message, 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_TRUE(readText(folder.out) == "old");
        EXPECT_FALSE(fs::exists(folder.out + ".tmp"));
        ASSERT_TRUE(writeBytes(damage.file, good));
    }

    // Everything restored: the pack succeeds and replaces the old output.
    EXPECT_EQ(folder.packError(), "");
    EXPECT_TRUE(readBytes(folder.out) == folder.file.bytes);
}

TEST(Wav, ReadsOnlyWholePcmMonoFilesWhateverTheDamage) {
    const std::vector<int16_t> samples = {0, 1, -1, 32767, -32768};
    const std::vector<uint8_t> good = formatWav(samples);
    ASSERT_EQ(good.size(), 44u + 10u);
    std::vector<int16_t> read;
    EXPECT_EQ(parseWav(good, read), "");
    EXPECT_EQ(read, samples);
    EXPECT_EQ(parseWav(formatWav({}), read), "");
    EXPECT_TRUE(read.empty());
    for (size_t cut = 0; cut < good.size(); ++cut) {
        const std::vector<uint8_t> shortFile(good.begin(), good.begin() + long(cut));
        EXPECT_NE(parseWav(shortFile, read), "") << cut;
    }
    // The RIFF header alone is a WAVE file without chunks.
    EXPECT_EQ(parseWav(std::vector<uint8_t>(good.begin(), good.begin() + 12), read),
              "has no format chunk");
    std::vector<uint8_t> huge = good;
    putI32At(huge, 40, 0x7ffffff0); // the data chunk's length
    EXPECT_EQ(parseWav(huge, read), "has a chunk that runs past the end of the file");
    // The longest effect the game plays, and one sample more.
    EXPECT_EQ(parseWav(formatWav(std::vector<int16_t>(330750)), read), "");
    EXPECT_EQ(parseWav(formatWav(std::vector<int16_t>(330751)), read),
              "holds 330751 samples; an effect has at most 330750");
    std::vector<uint8_t> odd = good;
    putI32At(odd, 40, 9);
    EXPECT_EQ(parseWav(odd, read), "has a data chunk of an odd number of bytes");
    std::vector<uint8_t> rate = good;
    putI32At(rate, 24, 22050);
    EXPECT_EQ(parseWav(rate, read), "holds format 1, 1 channel(s), 22050 Hz, 16 bits; only PCM "
                                    "16-bit mono 11025 Hz is accepted");
    // A chunk the game has no use for is stepped over, padding included.
    std::vector<uint8_t> extra(good.begin(), good.begin() + 36);
    const std::vector<uint8_t> list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    extra.insert(extra.end(), list.begin(), list.end());
    extra.insert(extra.end(), good.begin() + 36, good.end());
    EXPECT_EQ(parseWav(extra, read), "");
    EXPECT_EQ(read, samples);
}

TEST(Png, RoundTripsAndRefusesEveryCutOfAFileOtherKindsAndSizesBeyondTheLimit) {
    TempDir dir("png");
    const std::string path = (dir.path / "a.png").string();
    PngImage image{5, 3, 4, {}};
    for (int i = 0; i < 5 * 3 * 4; ++i) {
        image.pixels.push_back(static_cast<uint8_t>(i * 37));
    }
    ASSERT_EQ(writePng(path, image), "");
    PngImage back;
    ASSERT_EQ(readPng(path, back), "");
    EXPECT_EQ(ints(back.width, back.height, back.channels), ints(5, 3, 4));
    EXPECT_EQ(back.pixels, image.pixels);

    const std::vector<uint8_t> good = readBytes(path);
    const std::string cutPath = (dir.path / "cut.png").string();
    for (size_t cut = 0; cut < good.size(); cut += 3) {
        ASSERT_TRUE(
            writeBytes(cutPath, std::vector<uint8_t>(good.begin(), good.begin() + long(cut))));
        EXPECT_NE(readPng(cutPath, back), "") << cut;
        EXPECT_TRUE(back.pixels.empty());
    }
    // Other kinds of PNG, written with libpng's own simple writer.
    const auto writeOther = [&](uint32_t format) {
        png_image other{};
        other.version = PNG_IMAGE_VERSION;
        other.width = 2;
        other.height = 2;
        other.format = format;
        const std::vector<uint16_t> pixels(16, 0x1234);
        return png_image_write_to_file(&other, path.c_str(), 0, pixels.data(), 0, nullptr);
    };
    ASSERT_TRUE(writeOther(PNG_FORMAT_GRAY));
    EXPECT_EQ(readPng(path, back), "is a PNG of 8-bit grey pixels; only 8-bit RGB or RGBA is "
                                   "accepted");
    ASSERT_TRUE(writeOther(PNG_FORMAT_LINEAR_RGB));
    EXPECT_EQ(readPng(path, back), "is a PNG of 16-bit RGB pixels; only 8-bit RGB or RGBA is "
                                   "accepted");
    EXPECT_EQ(writePng(path, PngImage{0, 3, 4, {}}), "a PNG cannot be 0 x 3 pixels");
    EXPECT_EQ(writePng(path, PngImage{4097, 1, 3, {}}), "a PNG cannot be 4097 x 1 pixels");
    EXPECT_EQ(writePng(path, PngImage{2, 2, 2, {}}), "only RGB or RGBA pictures are written");

    // A size beyond the caller's limit.
    ASSERT_EQ(writePng(path, PngImage{5, 3, 3, std::vector<uint8_t>(5 * 3 * 3, 8)}), "");
    EXPECT_EQ(readPng(path, back, 5), "");
    EXPECT_EQ(readPng(path, back, 4), "is 5 x 3 pixels; at most 4 on a side are accepted");
    EXPECT_TRUE(back.pixels.empty());

    // 67 bytes that claim 16384 x 16384 RGBA pixels: a gigabyte if trusted.
    // (That the refusal comes before the pixels are allocated is the PNG
    // fuzzer's to see: it runs under a memory limit.)
    const std::vector<uint8_t> claim = {
        0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48,
        0x44, 0x52, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x40, 0x00, 0x08, 0x06, 0x00, 0x00,
        0x00, 0xa9, 0xc8, 0x10, 0x84, 0x00, 0x00, 0x00, 0x0a, 0x49, 0x44, 0x41, 0x54, 0x78,
        0x9c, 0x63, 0x60, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x48, 0xaf, 0xa4, 0x71, 0x00,
        0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
    ASSERT_TRUE(writeBytes(path, claim));
    EXPECT_EQ(readPng(path, back, MAX_SPRITE_SIDE),
              "is 16384 x 16384 pixels; at most 1024 on a side are accepted");
    EXPECT_EQ(readPng(path, back), "is 16384 x 16384 pixels; at most 4096 on a side are accepted");
}
