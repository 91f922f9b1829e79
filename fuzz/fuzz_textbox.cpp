// Fuzzes the text box's file reading: the input is a text file that
// textBoxCreate loads on a desktop of the scripted platform, once wrapped
// with a vertical bar and once unwrapped with both bars. Every line it keeps
// must be clean (codes 32 to 127), hold its stated length and fit the line
// limit; the box is then drawn, paged to its end and back, and freed. An
// empty file is refused with its error box, which is closed again.
//
//   fuzz_textbox -max_total_time=180 -rss_limit_mb=512 -malloc_limit_mb=512 -timeout=10 CORPUS
#include "fuzz/fuzz_common.h"

#include "platform/platform_script.h"
#include "tests/support/desktop_env.h"
#include "toolkit/desktop.h"
#include "toolkit/font.h"
#include "widgets/textbox.h"

#include <cstdlib>
#include <cstring>

namespace {

void QuietWindowProc(Window*, uint32_t) {}

} // namespace

// One desktop serves every input, and is taken down at exit so that the
// leak check at the end sees only what an input left behind.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (scriptedDesktopStart(320, 240, QuietWindowProc) != nullptr) {
        std::abort();
    }
    std::atexit(scriptedDesktopStop);
    // As if the desktop window's Tick were running, so that the box may open
    // its error box.
    desktop.current = desktop.desktopWindow;
    desktop.current->message = Tick;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = writeInput("input.txt", data, size);
    for (uint32_t noWrap = 0; noWrap < 2; ++noWrap) {
        TextBox box{};
        if (!textBoxCreate(box, 4, 4, 200, 150, nullptr, path.c_str(), noWrap, 1, nullptr)) {
            if (size != 0 || desktop.count != 2) {
                std::abort();
            }
            closeTopWindow(desktop);
            desktop.current = desktop.desktopWindow;
            continue;
        }
        if (box.lineCount < 1) {
            std::abort();
        }
        for (int32_t i = 0; i < box.lineCount; ++i) {
            const TextLine& line = box.lines[size_t(i)];
            if (line.length > TEXT_MAX || std::strlen(line.chars.get()) != line.length) {
                std::abort();
            }
            for (uint16_t k = 0; k < line.length; ++k) {
                const auto c = static_cast<uint8_t>(line.chars[k]);
                if (c < 32 || c > 127) {
                    std::abort();
                }
            }
        }
        textBoxDraw(box);
        for (uint8_t key : {0x22, 0x23, 0x21, 0x24}) { // Page Down, End, Page Up, Home
            scriptKeyDown(key);
            textBoxUpdate(box, nullptr);
            keysClearEvents(inputState.keys);
            scriptKeyUp(key);
        }
        textBoxDraw(box);
        textBoxFree(box);
    }
    return 0;
}
