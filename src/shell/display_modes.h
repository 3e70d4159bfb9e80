#pragma once
// The display-mode list of the start-up dialog's detailed page, the back-buffer size chosen from
// it, and the surface formats of DisplaySettings.

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

// True when a sorts before b. A strict order: width, then height, then refresh rate, then bits
// per pixel, then format. Wherever the rule "fewer bits per pixel, or narrower, or lower, or the
// same size at a lower rate" orders a pair one way only, this order agrees with it.
bool CompareDisplayModes(const DisplayMode& a, const DisplayMode& b);
// Empties the list and fills it with the adapter's modes of the back-buffer format that are at
// least 800 x 600 (in a window: smaller than the desktop at its refresh rate), sorted.
void BuildDisplayModeList(D3DFORMAT backBufferFormat, BOOL windowed, const D3DDISPLAYMODE& desktop);
// DisplaySettings' back-buffer size from ScreenWidth x ScreenHeight; when no listed mode has
// that size, the nearest listed mode's (800 x 600 with none), which is then stored, with a log
// line.
void ApplyBackBufferSize();

// Sets the back-buffer and depth-stencil formats of DisplaySettings for its windowed flag:
// "Fullcolor" 1 (with full-screen X8R8G8B8 possible) gives X8R8G8B8, else R5G6B5; a window
// takes the desktop's format. With the automatic depth buffer: the stored "DepthFormat" when the
// device accepts it with that back buffer, else D32, then D24X8, then D16 unchecked.
void ChooseSurfaceFormats();
