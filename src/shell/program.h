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

// Set at start-up: (int)(LogicalScreenScale(ScreenWidth, ScreenHeight) x 20).
extern int MessageFontScale;

int ComputeMessageFontScale(unsigned width, unsigned height);

// Asks the game window to end the program (WM_DESTROY), at most once per run however many
// frame ends ask for it; the first request's `exitStatus` is the program's.
void RequestProgramEnd(int exitStatus = 0);
// Allows the next RequestProgramEnd again; called when a run starts.
void ResetProgramEndRequest();
bool ProgramEndRequested();

// Drops any mouse capture: SetCapture and at once ReleaseCapture on the game window (nothing
// without one).
void DropMouseCapture();

// The exit status of a start that failed: no display, no Direct3D object, no window or device,
// or a start script that does not run; and of a run whose last script frame an error ended (a
// script that did not load or run). Each says why in the log (and on standard error).
constexpr int kExitStartFailed = 1;

// Runs the program to its end: 0 after a normal end, when the player leaves from a start dialog
// or when another copy already runs; kExitStartFailed when the start failed or the scripts ended
// by an error.
int RunProgram(const ProgramOptions& options);
