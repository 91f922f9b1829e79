#include "tools/leveltext.h"

#include "platform/files.h"

#include <array>
#include <cstring>
#include <vector>

namespace {

// A level text is a title, a solution and three grids of at most 13 rows:
// a few kilobytes. Anything far beyond that is no level.
constexpr size_t LEVEL_TEXT_LIMIT = 1 << 16;

// One printable character per element code, chosen to look like the thing
// where possible. No character here is a space or a colon, so that grid rows
// never look like blank lines or headers.
constexpr std::array<char, ELEMENT_COUNT> legend = {
    '.', '#', '_', '@', 'B',  'o', '<', '`', 'L', 'k', // 0-9
    'S', ',', 'O', '/', '\\', 'u', '^', 't', 'T', 'g', // 10-19
    'G', '*', '%', '1', '2',  'w', 'l', 'f', 'D', 'd', // 20-29
    'X', 'b', '>', 'F', '[',  ']', '3', '4', '5', 'p', // 30-39
    'P', '(', ')', '=', '|',  'Y', 'V', 'r', 'R', '!', // 40-49
    '~', 'H', '6', '+', 'c',  'C', '7', '8', '$', ';', // 50-59
    'h', '9', 'i',                                     // 60-62
};

// The names of game/elements.h, by code.
constexpr std::array<const char*, ELEMENT_COUNT> names = {
    "EMPTY",
    "SOLID_BLOCK",
    "PLAIN_FLOOR",
    "BOXED_BALL",
    "BOX",
    "BALL",
    "PLAYER_LEFT",
    "EFFORT_MARK",
    "LOCK",
    "KEY",
    "WATER_SOURCE",
    "RUBBLE_FLOOR",
    "DRAIN",
    "LEVER",
    "LEVER_THROWN",
    "BURNER",
    "FLAME_HIGH",
    "TORCH",
    "TORCH_LIT",
    "KEG",
    "KEG_LIT",
    "EXPLOSION",
    "BREAKABLE_WALL",
    "",
    "",
    "WATER_SHAPES",
    "LOCK_OPENING",
    "FLAME_LOW",
    "DOOR",
    "DOOR_OPENING",
    "EXIT",
    "BALL_INTO_BOX",
    "PLAYER_RIGHT",
    "FIRE",
    "PLAYER_HURT_LEFT",
    "PLAYER_HURT_RIGHT",
    "",
    "",
    "",
    "PLUG",
    "PLUGGED_DRAIN",
    "BAFFLE_LEFT",
    "BAFFLE_RIGHT",
    "PIPE_HORIZONTAL",
    "PIPE_VERTICAL",
    "PIPE_TEE",
    "SPOUT",
    "FLOAT",
    "FLOAT_BURNING",
    "BOMB",
    "LAVA",
    "BARRIER",
    "",
    "PLATE",
    "SLOW_KEG",
    "SLOW_KEG_LIT",
    "",
    "",
    "BLAST_BLOCK",
    "BLAST_FLOOR",
    "BARRIER_SLOT",
    "",
    "SLICK_FLOOR",
};

const char* const layerNames[3] = {"floor", "object", "top"};

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    return s;
}

std::string lineError(int line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

} // namespace

char elementChar(int code) {
    return isElementCode(code) ? legend[code] : '?';
}

int elementFromChar(char c) {
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        if (legend[code] == c) {
            return code;
        }
    }
    return -1;
}

const char* elementName(int code) {
    return isElementCode(code) ? names[code] : "";
}

std::string legendTable() {
    std::string out = "| code | name | character |\n|---|---|---|\n";
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        const std::string name = names[code][0] != '\0' ? std::string("`") + names[code] + "`"
                                                        : std::string("(unnamed)");
        // Each character sits in a code span so that markdown shows it as
        // it is: the doubled fence lets a backquote stand inside, and a pipe
        // needs its backslash even there, or it would end the table cell.
        std::string shown = "`` " + std::string(1, legend[code]) + " ``";
        if (legend[code] == '|') {
            shown = "`\\|`";
        }
        out += "| " + std::to_string(code) + " | " + name + " | " + shown + " |\n";
    }
    return out;
}

std::string parseLevelText(std::string_view text, LevelText& level) {
    level = LevelText{};
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        size_t end = text.find('\n');
        lines.push_back(trimRight(text.substr(0, end)));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }

    std::array<std::vector<std::string_view>, 3> grids;
    std::array<int, 3> gridLine{};
    std::array<bool, 3> seen{};
    bool titleSeen = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int lineNo = static_cast<int>(i) + 1;
        std::string_view line = lines[i];
        if (line.empty() || line.front() == '#') {
            continue;
        }
        size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            return lineError(lineNo, "expected a header such as \"floor:\" or \"title:\"");
        }
        std::string_view key = line.substr(0, colon);
        std::string_view value = trimLeft(line.substr(colon + 1));
        if (key == "title") {
            if (titleSeen) {
                return lineError(lineNo, "a second title");
            }
            titleSeen = true;
            level.title = std::string(value);
            continue;
        }
        if (key == "solution") {
            // A long solution may run over several solution lines.
            for (char c : value) {
                if (c == ' ' || c == '\t') {
                    continue;
                }
                if (moveFromChar(c) < 0) {
                    return lineError(lineNo, std::string("bad move '") + c +
                                                 "' in solution (R, L, U, D or .)");
                }
                level.solution.push_back(c);
            }
            continue;
        }
        int layer = -1;
        for (int k = 0; k < 3; ++k) {
            if (key == layerNames[k]) {
                layer = k;
            }
        }
        if (layer < 0) {
            return lineError(lineNo, "unknown header \"" + std::string(key) + "\"");
        }
        if (seen[layer]) {
            return lineError(lineNo, std::string("a second ") + layerNames[layer] + " grid");
        }
        if (!value.empty()) {
            return lineError(lineNo, "the grid starts on the line after its header");
        }
        seen[layer] = true;
        gridLine[layer] = lineNo + 1;
        // The grid runs to the next blank line, the next header (no grid
        // character is a colon) or the end of the text.
        while (i + 1 < lines.size() && !lines[i + 1].empty() &&
               lines[i + 1].find(':') == std::string_view::npos) {
            grids[layer].push_back(lines[++i]);
        }
    }

    for (int k = 0; k < 3; ++k) {
        if (!seen[k]) {
            return std::string("no ") + layerNames[k] + " grid";
        }
    }
    const int height = static_cast<int>(grids[0].size());
    if (height < 1 || height > BOARD_ROWS) {
        return lineError(gridLine[0],
                         "a level has 1 to 13 rows, this one " + std::to_string(height));
    }
    const int width = static_cast<int>(grids[0][0].size());
    if (width < 1 || width > BOARD_COLUMNS) {
        return lineError(gridLine[0],
                         "a level has 1 to 18 columns, this one " + std::to_string(width));
    }
    for (int k = 0; k < 3; ++k) {
        if (static_cast<int>(grids[k].size()) != height) {
            return lineError(gridLine[k], std::string("the ") + layerNames[k] + " grid has " +
                                              std::to_string(grids[k].size()) +
                                              " rows, the floor grid " + std::to_string(height));
        }
        for (int y = 0; y < height; ++y) {
            std::string_view row = grids[k][y];
            if (static_cast<int>(row.size()) != width) {
                return lineError(gridLine[k] + y, "row of " + std::to_string(row.size()) +
                                                      " cells, expected " + std::to_string(width));
            }
            for (int x = 0; x < width; ++x) {
                int code = elementFromChar(row[x]);
                if (code < 0) {
                    return lineError(gridLine[k] + y,
                                     std::string("'") + row[x] + "' is no element");
                }
                level.record.cells[x][y][k] = static_cast<int8_t>(code);
            }
        }
    }
    level.record.width = width;
    level.record.height = height;
    return {};
}

std::string formatLevelText(const LevelText& level) {
    std::string out;
    if (!level.title.empty()) {
        out += "title: " + level.title + "\n";
    }
    // Keep solution lines short enough to read in any editor.
    constexpr size_t perLine = 60;
    for (size_t at = 0; at < level.solution.size(); at += perLine) {
        out += "solution: " + level.solution.substr(at, perLine) + "\n";
    }
    const LevelRecord& r = level.record;
    for (int k = 0; k < 3; ++k) {
        if (!out.empty()) {
            out += "\n";
        }
        out += std::string(layerNames[k]) + ":\n";
        for (int y = 0; y < r.height; ++y) {
            for (int x = 0; x < r.width; ++x) {
                out += elementChar(r.cells[x][y][k]);
            }
            out += "\n";
        }
    }
    return out;
}

bool readLevelTextFile(const std::string& path, LevelText& level, std::string& error) {
    std::vector<uint8_t> bytes;
    std::string reason;
    if (readWholeFile(path, LEVEL_TEXT_LIMIT, bytes, &reason) != FileStatus::Ok) {
        error = path + ": cannot be read (" + reason + ")";
        return false;
    }
    std::string problem = parseLevelText(std::string(bytes.begin(), bytes.end()), level);
    if (!problem.empty()) {
        error = path + ": " + problem;
        return false;
    }
    return true;
}
