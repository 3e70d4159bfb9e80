#pragma once
// Internal to dinput: whether a device's window is in the foreground, and how often a window has
// lost the foreground, so that a device acquired before the last loss knows its acquisition is
// gone.

#include <cstdint>

#include "platform/winbase/win_types.h"

// The program is active and `window` is its active window (or the active window is not known).
bool DInputIsInForeground(HWND window);
std::uint64_t DInputDeactivationCount();
