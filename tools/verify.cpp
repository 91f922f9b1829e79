#include "tools/verify.h"

#include "game/board.h"
#include "game/elements.h"
#include "game/flow.h"
#include "tools/assets.h"
#include "tools/leveltext.h"
#include "tools/sim.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <ostream>

namespace {

struct Mechanic {
    ElementCode code;
    int layer; // 0 floor, 1 object, 2 top
    const char* name;
};

// Every element with a rule of its own, under the name a level designer
// thinks of it by. Several codes share a name (a lit keg is still a keg).
constexpr Mechanic mechanics[] = {
    {BALL, 1, "ball"},
    {BOX, 1, "box"},
    {DOOR, 1, "door"},
    {KEY, 1, "key"},
    {LOCK, 1, "lock"},
    {LEVER, 1, "lever"},
    {BURNER, 0, "burner"},
    {TORCH, 1, "torch"},
    {TORCH_LIT, 1, "torch"},
    {FIRE, 2, "fire"},
    {KEG, 1, "keg"},
    {KEG_LIT, 1, "keg"},
    {SLOW_KEG, 1, "slowkeg"},
    {SLOW_KEG_LIT, 1, "slowkeg"},
    {BREAKABLE_WALL, 2, "wall"},
    {BLAST_BLOCK, 1, "blast"},
    {PLATE, 0, "plate"},
    {BARRIER, 1, "barrier"},
    {BARRIER_SLOT, 0, "barrier"},
    {WATER_SOURCE, 1, "source"},
    {DRAIN, 1, "drain"},
    {PLUG, 1, "plug"},
    {PIPE_HORIZONTAL, 1, "pipe"},
    {PIPE_VERTICAL, 1, "pipe"},
    {PIPE_TEE, 1, "pipe"},
    {BAFFLE_LEFT, 1, "baffle"},
    {BAFFLE_RIGHT, 1, "baffle"},
    {SPOUT, 2, "spout"},
    {FLOAT, 1, "float"},
    {LAVA, 0, "lava"},
    {BOMB, 1, "bomb"},
    {SLICK_FLOOR, 0, "slick"},
};

bool isPlayer(int code) {
    return code == PLAYER_LEFT || code == PLAYER_RIGHT || code == PLAYER_HURT_LEFT ||
           code == PLAYER_HURT_RIGHT;
}

// The player's cell on the live board, or -1 once he has left it.
int playerCell() {
    for (int x = 0; x < board.width; ++x) {
        for (int y = 0; y < board.height; ++y) {
            if (isPlayer(board.cells[cellIndex(x, y)][1])) {
                return cellIndex(x, y);
            }
        }
    }
    return -1;
}

bool recordHolds(const LevelRecord& record, int layer, ElementCode code) {
    for (int x = 0; x < record.width; ++x) {
        for (int y = 0; y < record.height; ++y) {
            if (record.cells[x][y][layer] == code) {
                return true;
            }
        }
    }
    return false;
}

bool sizeFits(const LevelRecord& record) {
    return record.width >= 1 && record.width <= BOARD_COLUMNS && record.height >= 1 &&
           record.height <= BOARD_ROWS;
}

struct LevelSource {
    LevelText text;
    std::string error;
};

const char* const usage = "usage: ghtool verify [--stats] [--data IN.dat] [SRC_DIR]\n"
                          "SRC_DIR is the asset folder whose levels/levelNN.txt hold the\n"
                          "solutions (default: assets); with --data the levels themselves\n"
                          "are taken from the packed data file.\n";

} // namespace

ReplayResult replaySolution(const LevelRecord& record, const std::string& solution) {
    ReplayResult result{};
    if (!sizeFits(record)) {
        return result;
    }
    SimRun run{};
    simStart(run, record);
    for (char c : solution) {
        if (levelFlow.levelComplete) {
            result.trailing = true;
            break;
        }
        const int move = moveFromChar(c);
        if (move < 0) {
            break;
        }
        const int before = playerCell();
        // What lay in the cell the player is about to enter tells a push
        // from a walk: he only ever enters a cell whose load has left it.
        int ahead = -1;
        if (before >= 0 && move != 0) {
            const int x = before / BOARD_ROWS + (move == 1) - (move == 2);
            const int y = before % BOARD_ROWS + (move == 4) - (move == 3);
            if (x >= 0 && x < board.width && y >= 0 && y < board.height) {
                ahead = board.cells[cellIndex(x, y)][1];
            }
        }
        simTick(run, move);
        ++result.ticks;
        const int after = playerCell();
        if (before >= 0 && after != before) {
            ++result.moves;
            if (ahead > 0 && elementWeight[ahead] != 0) {
                ++result.pushes;
            }
        }
        if (levelFlow.levelComplete && result.completedAt == 0) {
            result.completedAt = run.step;
        }
    }
    return result;
}

bool walkableToExit(const LevelRecord& record) {
    if (!sizeFits(record)) {
        return false;
    }
    const bool ballsAtStart = recordHolds(record, 1, BALL);
    const bool platesAtStart = recordHolds(record, 0, PLATE);
    auto passable = [&](int x, int y) {
        const int8_t* cell = record.cells[x][y];
        // Walls stop the player, and fire and lava turn him back. Water is
        // no obstacle, so a spout's tile is floor like any other.
        if (cell[2] == BREAKABLE_WALL || cell[2] == FIRE || cell[0] == LAVA) {
            return false;
        }
        const int8_t o = cell[1];
        // A sunk barrier rises on the first step unless every plate is
        // pressed, and no plate is pressed at the start of a level worth
        // checking, so it counts as a barrier.
        const bool barrier = o == BARRIER || (cell[0] == BARRIER_SLOT && o == EMPTY);
        if (barrier) {
            return !platesAtStart;
        }
        return o == EMPTY || isPlayer(o) || (o == DOOR && !ballsAtStart);
    };
    std::array<bool, CELL_COUNT> seen{};
    std::deque<int> queue;
    for (int x = 0; x < record.width; ++x) {
        for (int y = 0; y < record.height; ++y) {
            if (isPlayer(record.cells[x][y][1])) {
                seen[cellIndex(x, y)] = true;
                queue.push_back(cellIndex(x, y));
            }
        }
    }
    constexpr int steps[4][2] = {{1, 0}, {-1, 0}, {0, -1}, {0, 1}};
    while (!queue.empty()) {
        const int at = queue.front();
        queue.pop_front();
        const int x = at / BOARD_ROWS;
        const int y = at % BOARD_ROWS;
        const int8_t* cell = record.cells[x][y];
        if (cell[2] == EXIT || (cell[1] == DOOR && !ballsAtStart)) {
            return true;
        }
        for (const auto& step : steps) {
            const int nx = x + step[0];
            const int ny = y + step[1];
            if (nx < 0 || nx >= record.width || ny < 0 || ny >= record.height ||
                seen[cellIndex(nx, ny)] || !passable(nx, ny)) {
                continue;
            }
            seen[cellIndex(nx, ny)] = true;
            queue.push_back(cellIndex(nx, ny));
        }
    }
    return false;
}

std::string mechanicsOf(const LevelRecord& record) {
    std::string names;
    const char* last = nullptr;
    for (const Mechanic& m : mechanics) {
        // Codes sharing a name sit next to each other in the table, so one
        // look back is enough to name each kind once.
        if ((last != nullptr && std::strcmp(m.name, last) == 0) ||
            !recordHolds(record, m.layer, m.code)) {
            continue;
        }
        names += names.empty() ? "" : " ";
        names += m.name;
        last = m.name;
    }
    return names;
}

int verifyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool stats = false;
    std::string dataFile;
    std::string sourceDir;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--stats") {
            stats = true;
        } else if (args[i] == "--data" && i + 1 < args.size()) {
            dataFile = args[++i];
        } else if (sourceDir.empty() && !args[i].empty() && args[i][0] != '-') {
            sourceDir = args[i];
        } else {
            err << usage;
            return 2;
        }
    }
    if (sourceDir.empty()) {
        sourceDir = "assets";
    }
    if (!dataFile.empty() && !loadGameData(dataFile.c_str())) {
        err << "ghtool verify: " << dataFile << ": cannot be read or is not a game data file\n";
        return 2;
    }
    // 51 level texts are large records; keep them off the stack.
    auto sources = std::make_unique<std::array<LevelSource, LEVEL_COUNT>>();
    for (int i = 0; i < LEVEL_COUNT; ++i) {
        LevelSource& source = (*sources)[i];
        const std::string path = sourceDir + "/" + levelPath(i);
        if (!readLevelTextFile(path, source.text, source.error)) {
            err << "ghtool verify: " << source.error << "\n";
            return 2;
        }
    }
    if (stats) {
        out << "| level | size | title | mechanics | ticks | moves | pushes | walk only |\n"
               "|---|---|---|---|---|---|---|---|\n";
    }
    int failures = 0;
    for (int i = 0; i < LEVEL_COUNT; ++i) {
        const LevelText& text = (*sources)[i].text;
        const LevelRecord& record = dataFile.empty() ? text.record : levelRecords[i];
        const ReplayResult result = replaySolution(record, text.solution);
        const bool good = result.completedAt != 0 && !result.trailing;
        if (!good) {
            ++failures;
            err << "level " << i << " (" << text.title << "): "
                << (result.completedAt == 0 ? "the solution does not reach the exit"
                                            : "the solution goes on after the exit")
                << "\n";
        }
        if (stats) {
            char size[16];
            std::snprintf(size, sizeof size, "%dx%d", record.width, record.height);
            out << "| " << i << " | " << size << " | " << text.title << " | " << mechanicsOf(record)
                << " | " << result.ticks << " | " << result.moves << " | " << result.pushes << " | "
                << (walkableToExit(record) ? "yes" : "no") << " |\n";
        }
    }
    if (failures != 0) {
        err << "ghtool verify: " << failures << " of " << LEVEL_COUNT
            << " levels are not solved by their solutions\n";
        return 1;
    }
    if (!stats) {
        out << "all " << LEVEL_COUNT << " levels solved by their solutions\n";
    }
    return 0;
}
