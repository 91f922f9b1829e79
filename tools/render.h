#pragma once
// ghtool render: a level after some moves, drawn as the game window draws it
// and saved as a PNG. The tests' golden pictures go through the same path.
#include "tools/png.h"
#include <iosfwd>
#include <string>
#include <vector>

// The background the game window clears its canvas to, around the board.
constexpr uint16_t RENDER_BACKGROUND = 0x02EF;

// Draws the board as it stands (board, fine grid, board view's light table)
// once with its shadows into a fresh canvas of the board's size plus a
// 33-pixel margin on every side, and returns it as 8-bit RGB. The flicker
// seed starts from 0. Returns an empty string, else what went wrong.
std::string renderBoardPicture(PngImage& image);

// ghtool render with the arguments that follow "render":
//   --data GHold.dat --level N [MOVES] OUT.png
// Complaints go to err; returns the exit status (0, or 2 for bad input).
int renderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
