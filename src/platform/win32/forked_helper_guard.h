#pragma once
// Internal to the Windows layer: SDL shows a message box on X11 from a process it forks for the
// purpose, which inherits the game's display connection and lock files. While a ForkedHelperGuard
// lives, every process forked from this one is killed when the forking thread ends, so that a
// game killed while a box is open leaves no box process behind, and with it neither its window on
// the display nor a lock file that looks held.

namespace win32_internal {

class ForkedHelperGuard {
public:
    ForkedHelperGuard();
    ~ForkedHelperGuard();
    ForkedHelperGuard(const ForkedHelperGuard&) = delete;
    ForkedHelperGuard& operator=(const ForkedHelperGuard&) = delete;
};

}  // namespace win32_internal
