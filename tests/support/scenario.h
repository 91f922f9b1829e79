#pragma once
// Readable rule tests: a board set up from a level text exactly as a fresh
// game process would load it, moves played tick by tick, and the board read
// back as the level text's characters.
#include "tools/sim.h"
#include <string>
#include <string_view>

struct Scenario {
    SimRun run;
    std::string error; // why the level text did not parse, else empty
};

// Parses the level text and runs step 0 (records zeroed, board view, level
// set-up). A text that does not parse leaves error set and the board empty.
Scenario startScenario(std::string_view levelText);

// One full tick per character: R, L, U, D set the move request, '.' leaves it.
void playMoves(Scenario& scenario, std::string_view moves);

// A single layer as the level text writes it, rows apart by '|'.
std::string layerRows(int layer);

// A level text from its grids, rows separated by '|'. An empty floor means
// plain floor under every cell, an empty top nothing on top.
std::string levelText(std::string_view objects, std::string_view floor = {},
                      std::string_view top = {});
