#pragma once
// Mouse capture of the calling thread. Windows here each have their own SDL window, so the
// capture routes no mouse message elsewhere; it is kept so that a window learns, through
// WM_CAPTURECHANGED, when it loses the capture.

#include "platform/winbase/win_types.h"

// wParam 0, lParam the window that takes the capture (null when it is released).
constexpr UINT WM_CAPTURECHANGED = 0x0215;

// Gives the capture to `window` and returns the window that had it (null for none). The former
// window, when it is another one, gets WM_CAPTURECHANGED. An unknown window is refused (null,
// ERROR_INVALID_WINDOW_HANDLE) and the capture stays.
HWND SetCapture(HWND window);
// Ends the capture; its window gets WM_CAPTURECHANGED with lParam 0. TRUE also when no window had
// it.
BOOL ReleaseCapture();
// The window holding the capture on this thread; null for none or when it was destroyed.
HWND GetCapture();
