// gloomhold-edit [LEVEL.txt | ASSET_DIR]: the level editor's entry, the run
// on SDL2 that the game has, with the editor's window at the bottom of its
// desktop.
#include "editor/editor.h"
#include "shell/program.h"
#include "shell/view.h"
#include "toolkit/config.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fprintf(stderr, "usage: gloomhold-edit [LEVEL.txt | ASSET_DIR]\n");
        return 2;
    }
    if (argc == 2) {
        editor.startPath = argv[1];
    }
    configFileName = EDITOR_CONFIG_FILE;
    leastDesktop = {EDITOR_DESKTOP_WIDTH, EDITOR_DESKTOP_HEIGHT};
    return shellMain({"gloomhold-edit", "Gloomhold level editor", EditorWindowProc, nullptr});
}
