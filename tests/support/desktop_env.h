#pragma once
// A desktop on the scripted platform for tests: the screen, the clock and the
// configuration start fresh, and everything is taken down again without
// writing Cfg.txt into the test's working folder.
#include "toolkit/desktop.h"
#include <cstdint>
#include <string_view>
#include <vector>

// Clears the platform record and initialises it for a client area of
// width x height (the scripted screen takes that size), sets the clock to
// `now`, resets the configuration to its defaults and lets every bitmap
// creation succeed. Does not create the desktop.
void scriptedPlatformStart(int32_t width, int32_t height, uint32_t now = 1000);

// scriptedPlatformStart, then desktopInit; returns desktopInit's result.
const char* scriptedDesktopStart(int32_t width, int32_t height, WindowProc proc);

// Closes every window from the top whether or not its procedure agrees (the
// procedures get no Close message), frees the desktop's surfaces without
// saving the configuration, and shuts the platform down.
void scriptedDesktopStop();

// The scripted screen's pixel at (x, y).
uint16_t screenAt(int32_t x, int32_t y);
// The screen's copy counter and the rectangle of its last copy: count, x, y,
// width, height.
std::vector<int64_t> lastScreenCopy();
// The screen's pixels inside a rectangle, row after row, for a golden picture.
std::vector<uint16_t> screenCrop(int32_t x, int32_t y, int32_t width, int32_t height);

// Input and update passes on the scripted desktop, written as words apart by
// spaces, so that a gesture reads as one line:
//   X,Y    the pointer moves to (X, Y), taken from the origin given
//   d u    the left button goes down / up;  r  the right button goes down
//   w+ w-  the wheel turns forward / backward
//   kN     key N (a virtual-key code) goes down; it is let go after the next pass
//   aN     the same with Alt held, as the system reports a key pressed with Alt
//   +MS    the clock moves on by MS and one update pass runs; the one-pass
//          events end with it
void play(std::string_view script, int32_t originX = 0, int32_t originY = 0);
// The clock play has reached; scriptedPlatformStart sets it.
uint32_t playClock();
