// The game's entry: the shared run on SDL2 with the game window at the bottom
// of the desktop.
#include "game/flow.h"
#include "shell/program.h"

int main(int, char**) {
    return shellMain({"gloomhold", "Gloomhold", GameWindowProc, gameDataMissing});
}
