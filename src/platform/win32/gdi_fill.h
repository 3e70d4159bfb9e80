#pragma once
// Solid brushes and FillRect on a window's device context. Windows here have no GDI surface:
// what shows in a window is what the Direct3D device or a movie presents into it, so a fill on a
// window's context checks its arguments and draws nothing. The game fills the window with black
// while a movie plays, under the movie's own picture.

#include "platform/winbase/win_types.h"

// GetStockObject indices of the stock brushes.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;

// A stock brush as HGDIOBJ (cast it to HBRUSH); null for any other index.
HGDIOBJ GetStockObject(int index);
HBRUSH CreateSolidBrush(COLORREF colour);
// Deletes a brush made by CreateSolidBrush; a stock brush is left alone (TRUE), an unknown one
// is refused (FALSE).
BOOL DeleteObject(HBRUSH brush);
// The colour a brush paints with: a solid or stock brush, or a system colour brush
// (COLOR_WINDOW + 1 and the like). False for the null brush and for an unknown one.
bool Win32BrushColour(HBRUSH brush, COLORREF* colour);

// The device context of a window's client area; the same one BeginPaint gives. Null for an
// unknown window.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);

// Non-zero when `dc` is a window's context, `rect` is given and `brush` paints a colour.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
