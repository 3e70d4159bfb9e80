#pragma once
// The display-mode list of the start-up dialog's detailed page and the back-buffer size chosen
// from it.

#include <vector>

#include "platform/d3d9/d3d9.h"

struct DisplayMode {
    UINT width;
    UINT height;
    UINT refreshRate;  // hertz
    D3DFORMAT format;
};

// Rebuilt each time the detailed page is filled.
extern std::vector<DisplayMode> DisplayModeList;

// True when a sorts before b.
bool CompareDisplayModes(const DisplayMode& a, const DisplayMode& b);
// Empties the list and fills it with the adapter's modes of the back-buffer format that are at
// least 800 x 600 (in a window: smaller than the desktop at its refresh rate), sorted.
void BuildDisplayModeList(D3DFORMAT backBufferFormat, BOOL windowed, const D3DDISPLAYMODE& desktop);
// DisplaySettings' back-buffer size from ScreenWidth x ScreenHeight; when no listed mode has
// that size, the nearest listed mode's (800 x 600 with none), which is then stored.
void ApplyBackBufferSize();
