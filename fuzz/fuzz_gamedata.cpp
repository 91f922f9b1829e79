// Fuzzes GHold.dat: loadGameData on the input, and when the file is
// accepted, one of its levels (chosen by the input) is set up, played for a
// few dozen ticks and drawn with its shadows after every tick, as the game
// window draws it. The last bytes of the input choose the level and the moves
// (the loader never reads past the title pictures, so bytes appended to a
// good file change only the choice). Any accepted content must survive this:
// odd or empty sprite sizes, any flag words, any level cells the loader lets
// through.
//
//   fuzz_gamedata -max_total_time=180 -rss_limit_mb=512 -malloc_limit_mb=512 -timeout=10 CORPUS
#include "fuzz/fuzz_common.h"

#include "game/gamedata.h"
#include "toolkit/window.h"
#include "tools/render.h"
#include "tools/sim.h"

#include <algorithm>

namespace {

constexpr size_t TAIL = 25; // a level byte, then one move byte per tick

void drawOnce() {
    WindowCanvas canvas{};
    if (renderBoardCanvas(canvas).empty()) {
        canvasFree(canvas);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!loadGameData(writeInput("GHold.dat", data, size).c_str())) {
        return 0;
    }
    const size_t tail = std::min(size, TAIL);
    const uint8_t* choice = data + size - tail;
    const int level = tail > 0 ? choice[0] % LEVEL_COUNT : 0;
    SimRun run;
    simStart(run, levelRecords[level]);
    drawOnce();
    for (size_t i = 1; i < tail; ++i) {
        simTick(run, choice[i] % 5); // '.', R, L, U or D
        drawOnce();
    }
    return 0;
}
