#pragma once
// The run of a program on the toolkit under SDL2, shared by the game and the
// level editor: the system window, the desktop with the program's own bottom
// window, the message loop, and the orderly end.
#include "toolkit/window.h"

struct ShellProgram {
    const char* name;        // the command, for messages before there is a window
    const char* windowTitle; // the system window's
    WindowProc desktopProc;  // runs the desktop's bottom window
    // 1 when the run failed in a way the user was shown in a dialog (a
    // missing data file); the exit status then says so too. May be null.
    int (*failed)();
};

// Everything from finding the files to the end; returns the exit status.
// The program's settings file name and least desktop (toolkit/config.h,
// shell/view.h) are set before.
int shellMain(const ShellProgram& program);
