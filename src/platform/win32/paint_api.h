#pragma once
// Painting: a window with an invalid region gets WM_PAINT once its queue holds no posted message
// (before due timers), until BeginPaint or ValidateRect validates it. Regions are kept as one
// bounding rectangle.

#include "platform/winbase/win_types.h"

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

// A null rectangle invalidates the whole client area. FALSE for an unknown window.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
// A null rectangle validates the whole window; otherwise a rectangle that covers the whole
// invalid rectangle validates it.
BOOL ValidateRect(HWND window, const RECT* rect);
// Fills `paint` with the invalid rectangle, validates the window and returns a non-null device
// context handle (no drawing happens through it); null for an unknown window.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
// Sends WM_PAINT at once when the window has an invalid region.
BOOL UpdateWindow(HWND window);
// The invalid rectangle; FALSE when the window has none.
BOOL GetUpdateRect(HWND window, RECT* rect, BOOL erase);
