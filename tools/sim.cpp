#include "tools/sim.h"

#include "game/board.h"
#include "game/flow.h"
#include "game/fluid.h"
#include "game/move.h"
#include "game/rules.h"
#include "game/sound.h"
#include "tools/leveltext.h"

#include <cassert>
#include <cstdio>
#include <ostream>

namespace {

// What the sound hook has heard since the current step began. The hook is a
// plain function pointer, so the list lives here and is handed to the run at
// the end of each step (a run may be copied or moved between steps).
std::vector<int32_t> heardEffects;

void recordEffect(int32_t id) {
    // Silence is never an effect worth listing.
    if (id != EFFECT_SILENCE) {
        heardEffects.push_back(id);
    }
}

void startListening() {
    heardEffects.clear();
    effectObserver = recordEffect;
}

void appendInt(std::string& out, int value) {
    out += std::to_string(value);
}

void appendKey(std::string& out, const char* key, int value) {
    out += '"';
    out += key;
    out += "\":";
    appendInt(out, value);
    out += ',';
}

void appendFineRows(std::string& out, const uint8_t (&grid)[FINE_ROWS][FINE_COLUMNS], bool hex) {
    static const char digits[] = "0123456789abcdef";
    const int rows = 3 * board.height;
    const int columns = 3 * board.width;
    out += '[';
    for (int r = 0; r < rows; ++r) {
        if (r > 0) {
            out += ',';
        }
        out += '"';
        for (int c = 0; c < columns; ++c) {
            const uint8_t value = grid[r][c];
            if (hex) {
                out += digits[value >> 4];
                out += digits[value & 15];
            } else {
                out += digits[value & 15];
            }
        }
        out += '"';
    }
    out += ']';
}

const char* const usage = "usage: ghtool sim LEVEL.txt MOVES [--trace]\n"
                          "       ghtool sim --data GHold.dat --level N MOVES [--trace]\n"
                          "MOVES: one of R L U D . per tick\n";

} // namespace

int parseLevelNumber(const std::string& text) {
    if (text.empty() || text.size() > 4) {
        return -1;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string loadNamedLevel(const std::string& dataFile, const std::string& levelNumber,
                           const std::string& textPath, LevelRecord& record) {
    if (dataFile.empty()) {
        LevelText text;
        std::string problem;
        if (!readLevelTextFile(textPath, text, problem)) {
            return problem;
        }
        record = text.record;
        return "";
    }
    const int level = parseLevelNumber(levelNumber);
    if (level < 0 || level >= LEVEL_COUNT) {
        return "level " + levelNumber + " is not a level number (0 to " +
               std::to_string(LEVEL_COUNT - 1) + ")";
    }
    if (!loadGameData(dataFile.c_str())) {
        return dataFile + ": cannot be read or is not a game data file";
    }
    record = levelRecords[level];
    return "";
}

void simStart(SimRun& run, const LevelRecord& record) {
    resetRuleRecords();
    run.step = 0;
    startListening();
    initBoardView(nullptr);
    loadLevel(record);
    run.effects = heardEffects;
}

void simTick(SimRun& run, int move) {
    startListening();
    ++run.step;
    if (move != MOVE_NONE) {
        levelFlow.moveRequest = move;
    }
    advanceBoard();
    run.effects = heardEffects;
}

std::string simStateJson(const SimRun& run) {
    std::string out;
    out.reserve(16384);
    out += '{';
    appendKey(out, "step", run.step);
    appendKey(out, "levelComplete", static_cast<int>(levelFlow.levelComplete));
    appendKey(out, "moveRequest", levelFlow.moveRequest);
    appendKey(out, "burnersOn", gameState.burnersOn);
    appendKey(out, "allPlatesPressed", gameState.allPlatesPressed);
    appendKey(out, "noBallLeft", gameState.noBallLeft);
    appendKey(out, "bubbleCounter", gameState.bubbleCounter);
    appendKey(out, "effortOverlay", boardView.effortOverlay);
    appendKey(out, "stepCounter", fineGrid.stepCounter);
    out += "\"effects\":[";
    for (size_t i = 0; i < run.effects.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        appendInt(out, run.effects[i]);
    }
    out += "],";
    appendKey(out, "width", board.width);
    appendKey(out, "height", board.height);

    // A board that was never loaded has nothing to list.
    assert(boardWithinStorage());
    const bool fits = board.width > 0 && board.height > 0;
    const int width = fits ? board.width : 0;
    const int height = fits ? board.height : 0;
    out += "\"cells\":[";
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            if (x + y > 0) {
                out += ',';
            }
            const int8_t* cell = board.cells[cellIndex(x, y)];
            out += '[';
            appendInt(out, cell[0]);
            out += ',';
            appendInt(out, cell[1]);
            out += ',';
            appendInt(out, cell[2]);
            out += ']';
        }
    }
    out += "],\"states\":[";
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            if (x + y > 0) {
                out += ',';
            }
            out += '[';
            for (int layer = 0; layer < 3; ++layer) {
                const AnimState& s = board.states[cellIndex(x, y)][layer];
                if (layer > 0) {
                    out += ',';
                }
                out += '[';
                appendInt(out, s.tick);
                out += ',';
                appendInt(out, s.frame);
                out += ',';
                appendInt(out, s.flags);
                out += ',';
                appendInt(out, s.counter);
                out += ']';
            }
            out += ']';
        }
    }
    out += "],\"fine\":";
    if (fits) {
        appendFineRows(out, fineGrid.cells, true);
    } else {
        out += "[]";
    }
    out += ",\"shapes\":";
    if (fits) {
        appendFineRows(out, fineGrid.shapes, false);
    } else {
        out += "[]";
    }
    out += '}';
    return out;
}

int simCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool trace = false;
    std::string dataFile;
    std::string levelNumber;
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--trace") {
            trace = true;
        } else if ((arg == "--data" || arg == "--level") && i + 1 < args.size()) {
            (arg == "--data" ? dataFile : levelNumber) = args[++i];
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            err << "ghtool sim: unknown or incomplete option " << arg << "\n" << usage;
            return 2;
        } else {
            rest.push_back(arg);
        }
    }
    const bool fromData = !dataFile.empty() || !levelNumber.empty();
    if ((fromData && (dataFile.empty() || levelNumber.empty() || rest.size() != 1)) ||
        (!fromData && rest.size() != 2)) {
        err << usage;
        return 2;
    }

    const std::string& moves = rest.back();
    std::vector<int> ticks;
    ticks.reserve(moves.size());
    for (size_t i = 0; i < moves.size(); ++i) {
        const int move = moveFromChar(moves[i]);
        if (move < 0) {
            err << "ghtool sim: bad move '" << moves[i] << "' at position " << i + 1
                << " (R, L, U, D or .)\n";
            return 2;
        }
        ticks.push_back(move);
    }

    LevelRecord record{};
    const std::string problem = loadNamedLevel(dataFile, levelNumber, rest.front(), record);
    if (!problem.empty()) {
        err << "ghtool sim: " << problem << "\n";
        return 2;
    }

    SimRun run{};
    simStart(run, record);
    if (trace) {
        out << simStateJson(run) << '\n';
    }
    for (int move : ticks) {
        simTick(run, move);
        if (trace) {
            out << simStateJson(run) << '\n';
        }
    }
    if (!trace) {
        out << simStateJson(run) << '\n';
    }
    effectObserver = nullptr;
    out.flush();
    return 0;
}
