#pragma once
// ghtool render: a level after some moves, drawn as the game window draws it
// and saved as a PNG. The tests' golden pictures go through the same path.
#include "toolkit/surface.h"
#include "tools/png.h"
#include <iosfwd>
#include <string>
#include <vector>

// The background the game window clears its canvas to, around the board.
constexpr uint16_t RENDER_BACKGROUND = 0x02EF;

// Draws the board as it stands (board, fine grid, board view's light table)
// once with its shadows, as the game window would, into a canvas created
// here: the board's size plus a 33-pixel margin on every side, cleared to
// RENDER_BACKGROUND. The fire flickers as it does after a drawing that
// found the flicker seed at flickerSeed (0 for ghtool render). The board's
// records are left as they were. The caller frees the canvas (canvasFree).
// Returns an empty string, else what went wrong.
std::string renderBoardCanvas(WindowCanvas& canvas, uint32_t flickerSeed = 0);
// The same picture as 8-bit RGB.
std::string renderBoardPicture(PngImage& image);

// ghtool render with the arguments that follow "render":
//   --data GHold.dat --level N [MOVES] OUT.png
// Complaints go to err; returns the exit status (0, or 2 for bad input).
int renderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
