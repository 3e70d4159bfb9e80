#pragma once
// The program as a whole: start-up in its fixed order, the main loop, and shutdown.

#include <string>

#include "shell/frame_control.h"
#include "shell/main_loop.h"

struct ProgramOptions {
    // The program's path for the "Path: %s" line (the first word of the command line); empty:
    // the executable's own path.
    std::string programPath;
    // Brings up the display first (the program itself); tests run with windows but no screen.
    bool display = false;
    // See RunMainLoop; null in the program itself.
    MainLoopIdleHook idleHook = nullptr;
    void* idleContext = nullptr;
    // Called after each frame is drawn, before it is presented; null in the program itself.
    FrameDrawnObserver frameDrawn = nullptr;
    void* frameDrawnContext = nullptr;
};

constexpr int kProductVersionMajor = 1;
constexpr int kProductVersionMinor = 0;

// Set at start-up: (int)(min(ScreenWidth / 800, ScreenHeight / 600) x 20).
extern int MessageFontScale;

int ComputeMessageFontScale(unsigned width, unsigned height);

// Runs the program to its end; 0 on every path.
int RunProgram(const ProgramOptions& options);
