#include "game/records.h"

#include "game/history.h"
#include "platform/files.h"
#include "toolkit/places.h"

#include <algorithm>
#include <charconv>
#include <vector>

PlayerRecords playerRecords;

namespace {

const char* const RECORDS_FILE = "Records.txt";
const char* const RECORDS_HEADING =
    "# Gloomhold records: level, fewest moves, fewest steps, best run (R L U D . per tick)\n";
// Room for every level's best run of hours of play; a file larger than this
// is no records file.
constexpr size_t RECORDS_LIMIT = size_t{64} << 20;

int32_t movesIn(const std::string& inputs) {
    return int32_t(std::count_if(inputs.begin(), inputs.end(),
                                 [](char c) { return moveFromChar(c) > MOVE_NONE; }));
}

bool isRun(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](char c) { return moveFromChar(c) >= MOVE_NONE; });
}

// A whole decimal number of 0 or more that fits an i32.
bool readNumber(std::string_view text, int32_t& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc{} && stop == end && value >= 0 && !text.empty() && text[0] != '-';
}

// The next field of a line, up to a space or the line's end.
std::string_view field(std::string_view& line) {
    const size_t space = std::min(line.find(' '), line.size());
    const std::string_view word = line.substr(0, space);
    line.remove_prefix(std::min(space + 1, line.size()));
    return word;
}

bool parseLine(std::string_view line, PlayerRecords& records) {
    int32_t level = 0;
    LevelBest best{};
    if (!readNumber(field(line), level) || level >= LEVEL_COUNT ||
        records.levels[level].completed || !readNumber(field(line), best.moves) ||
        !readNumber(field(line), best.steps)) {
        return false;
    }
    const std::string_view run = field(line);
    if (!line.empty() || !isRun(run) || best.steps < 1 || best.moves > best.steps ||
        size_t(best.steps) > run.size()) {
        return false;
    }
    best.solution = std::string(run);
    if (movesIn(best.solution) != best.moves) {
        return false;
    }
    best.completed = 1;
    records.levels[level] = std::move(best);
    return true;
}

} // namespace

bool noteCompletedRun(PlayerRecords& records, int32_t level, const std::string& inputs) {
    if (level < 0 || level >= LEVEL_COUNT || !isRun(inputs)) {
        return false;
    }
    LevelBest& best = records.levels[level];
    const int32_t moves = movesIn(inputs);
    const int32_t steps = int32_t(std::min<size_t>(inputs.size(), INT32_MAX));
    const bool fewerMoves = !best.completed || moves < best.moves ||
                            (moves == best.moves && steps < int32_t(best.solution.size()));
    const bool fewerSteps = !best.completed || steps < best.steps;
    if (fewerMoves) {
        best.moves = moves;
        best.solution = inputs;
    }
    if (fewerSteps) {
        best.steps = steps;
    }
    best.completed = 1;
    return fewerMoves || fewerSteps;
}

std::string recordsText(const PlayerRecords& records) {
    std::string text = RECORDS_HEADING;
    for (int32_t level = 0; level < LEVEL_COUNT; level++) {
        const LevelBest& best = records.levels[level];
        if (best.completed) {
            text += std::to_string(level) + ' ' + std::to_string(best.moves) + ' ' +
                    std::to_string(best.steps) + ' ' + best.solution + '\n';
        }
    }
    return text;
}

RecordsFile parseRecords(const std::string& text, PlayerRecords& records) {
    records = PlayerRecords{};
    bool damaged = false;
    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find('\n'), rest.size());
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!line.empty() && line[0] != '#' && !parseLine(line, records)) {
            damaged = true;
        }
    }
    return damaged ? RecordsFile::Damaged : RecordsFile::Read;
}

RecordsFile readRecordsFile(const std::string& path, PlayerRecords& records) {
    records = PlayerRecords{};
    std::vector<uint8_t> bytes;
    const FileStatus status = readWholeFile(path, RECORDS_LIMIT, bytes);
    if (status == FileStatus::CannotOpen || status == FileStatus::NotRegular) {
        return RecordsFile::Absent;
    }
    if (status != FileStatus::Ok) {
        return RecordsFile::Damaged;
    }
    return parseRecords(std::string(bytes.begin(), bytes.end()), records);
}

std::string writeRecordsFile(const std::string& path, const PlayerRecords& records) {
    const std::string text = recordsText(records);
    return replaceFile(path, text.data(), text.size());
}

std::string recordsFilePath() {
    return userFilePath(filePlaces, RECORDS_FILE);
}
