#include "game/titles.h"

#include "platform/files.h"

#include <filesystem>
#include <vector>

LevelTitles levelTitles;

namespace {

// 51 lines of at most a few dozen characters; anything larger is no titles
// file.
constexpr size_t TITLES_LIMIT = 64 * 1024;
constexpr char FIRST_SHOWN = ' ';
constexpr char LAST_SHOWN = '~';

} // namespace

std::string titlesPathFor(const std::string& dataFile) {
    return std::filesystem::path(dataFile).replace_extension(".titles").string();
}

std::string levelTitlesText(const std::string (&titles)[LEVEL_COUNT]) {
    std::string text;
    for (const std::string& title : titles) {
        text += title;
        text += '\n';
    }
    return text;
}

void loadLevelTitles(const std::string& path) {
    levelTitles = LevelTitles{};
    std::vector<uint8_t> bytes;
    if (readWholeFile(path, TITLES_LIMIT, bytes) != FileStatus::Ok) {
        return;
    }
    int level = 0;
    int32_t length = 0;
    for (uint8_t byte : bytes) {
        if (level == LEVEL_COUNT) {
            break;
        }
        if (byte == '\n') {
            level++;
            length = 0;
        } else if (byte >= FIRST_SHOWN && byte <= LAST_SHOWN && length < LEVEL_TITLE_SIZE - 1) {
            levelTitles.text[level][length++] = char(byte);
        }
    }
}
