#pragma once
// Internal to the Windows layer: windows that other running copies of the program can find.
//
// Each top-level window made with WS_EX_APPWINDOW (the program's main window) holds an exclusive
// flock on a lock file of its own in the settings folder (beside the settings file), holding its
// class name and title. FindWindowA of another process sees a locked file as a live window; a
// file left by a copy that crashed is unlocked, so it never blocks a start, and is removed by the
// next search (the program searches at every start), together with any half-made lock file of a
// process that no longer runs. Processes forked while a message box shows die with the program
// (forked_helper_guard.h), so none of them keeps a dead copy's lock held.

#include "platform/winbase/win_types.h"

namespace win32_internal {

// Takes the lock for `window` (class and title as they are now). Without a usable settings
// folder the window stays unknown to other copies (one line on the debugger output).
void RegisterInstanceWindow(HWND window);
// Releases and removes the window's lock file, if it has one.
void UnregisterInstanceWindow(HWND window);
// Whether another process holds a window of that class and title (each null for any; compared
// without regard to case).
bool ForeignInstanceWindowExists(LPCSTR className, LPCSTR windowName);
// The handle FindWindowA answers for a window of another process. No call of this process
// accepts it as a window.
HWND ForeignWindowHandle();

}  // namespace win32_internal
