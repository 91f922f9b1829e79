#include "tools/render.h"

#include "game/board.h"
#include "game/flow.h"
#include "game/render.h"
#include "game/sound.h"
#include "toolkit/window.h"
#include "tools/assets.h"
#include "tools/leveltext.h"
#include "tools/sim.h"

#include <cassert>
#include <cstdio>
#include <ostream>
#include <utility>

namespace {

// A margin of one tile on every side leaves room for the shadows of the
// board's right column and bottom row.
constexpr int32_t MARGIN = 2 * TILE_SIZE;

const char* const usage = "usage: ghtool render --data GHold.dat --level N [MOVES] OUT.png\n"
                          "MOVES: one of R L U D . per tick\n";

// The 5-6-5 pixels widened the way the board drawing reads them: the low
// bits of every channel stay zero.
void expandPixels(const Surface& surface, PngImage& image) {
    image.width = surface.width;
    image.height = surface.height;
    image.channels = 3;
    image.pixels.resize(size_t(surface.width) * size_t(surface.height) * 3);
    uint8_t* to = image.pixels.data();
    const uint16_t* from = surface.pixels;
    for (size_t i = 0; i < size_t(surface.width) * size_t(surface.height); ++i, to += 3) {
        rgbFromPixel565(from[i], to);
    }
}

} // namespace

std::string renderBoardCanvas(WindowCanvas& canvas, uint32_t flickerSeed) {
    assert(boardWithinStorage());
    if (board.width < 1 || board.height < 1) {
        return "no level is set up";
    }
    Window window{};
    if (!canvasCreate(window.canvas, TILE_SIZE * board.width + MARGIN,
                      TILE_SIZE * board.height + MARGIN)) {
        return "cannot create a canvas for the board";
    }
    window.canvas.background = RENDER_BACKGROUND;
    canvasClear(window.canvas);

    // The board view borrows our window for this one drawing and gets its own
    // back afterwards, with the origin it had; the flicker seed and the
    // effort mark, which a drawing uses up, and what the drawing remembers
    // for a step of the game are left as they were too.
    Window* const previousWindow = boardView.window;
    const int32_t previousX = boardView.originX;
    const int32_t previousY = boardView.originY;
    const uint32_t previousSeed = levelFlow.flickerSeed;
    const int32_t previousEffort = boardView.effortOverlay;
    const BoardDrawingLog previousLog = boardDrawingLog;
    boardView.window = &window;
    centreBoard();
    levelFlow.flickerSeed = flickerSeed;
    drawBoard();
    drawBoardShadows();
    boardView.window = previousWindow;
    boardView.originX = previousX;
    boardView.originY = previousY;
    levelFlow.flickerSeed = previousSeed;
    boardView.effortOverlay = previousEffort;
    boardDrawingLog = previousLog;

    // Nothing in the canvas points back into the window, so the caller can
    // take it over.
    canvas = std::move(window.canvas);
    return {};
}

std::string renderBoardPicture(PngImage& image) {
    WindowCanvas canvas{};
    std::string problem = renderBoardCanvas(canvas);
    if (problem.empty()) {
        expandPixels(canvas.surface, image);
        canvasFree(canvas);
    }
    return problem;
}

int renderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string dataFile;
    std::string levelNumber;
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if ((arg == "--data" || arg == "--level") && i + 1 < args.size()) {
            (arg == "--data" ? dataFile : levelNumber) = args[++i];
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            err << "ghtool render: unknown or incomplete option " << arg << "\n" << usage;
            return 2;
        } else {
            rest.push_back(arg);
        }
    }
    if (dataFile.empty() || levelNumber.empty() || rest.empty() || rest.size() > 2) {
        err << usage;
        return 2;
    }
    const std::string moves = rest.size() == 2 ? rest[0] : std::string();
    const std::string& outPath = rest.back();

    std::vector<int> ticks;
    ticks.reserve(moves.size());
    for (size_t i = 0; i < moves.size(); ++i) {
        const int move = moveFromChar(moves[i]);
        if (move < 0) {
            err << "ghtool render: bad move '" << moves[i] << "' at position " << i + 1
                << " (R, L, U, D or .)\n";
            return 2;
        }
        ticks.push_back(move);
    }
    LevelRecord record{};
    const std::string unloaded = loadNamedLevel(dataFile, levelNumber, "", record);
    if (!unloaded.empty()) {
        err << "ghtool render: " << unloaded << "\n";
        return 2;
    }

    SimRun run{};
    simStart(run, record);
    for (int move : ticks) {
        simTick(run, move);
    }
    // The run's effect list dies with this function; nothing may report to it.
    effectObserver = nullptr;

    PngImage image{};
    std::string problem = renderBoardPicture(image);
    if (problem.empty()) {
        problem = writePng(outPath, image);
        if (!problem.empty()) {
            problem = outPath + ": " + problem;
        }
    }
    if (!problem.empty()) {
        err << "ghtool render: " << problem << "\n";
        return 2;
    }
    out.flush();
    return 0;
}
