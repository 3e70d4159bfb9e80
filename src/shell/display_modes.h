#pragma once
// Display modes and surface formats: what the start-up settings dialog offers and what it puts
// into DisplaySettings (the presentation parameters of device creation and every reset). The
// dialog procedure itself fills its controls from the values found here.

#include <vector>

#include "platform/d3d9/d3d9.h"

// The modes offered by the mode combo, rebuilt by ReadDisplayValues (every time the detailed
// page is filled) in the order of CompareDisplayModes.
extern std::vector<D3DDISPLAYMODE> DisplayModeList;

// A strict order: width, then height, then refresh rate, then bits per pixel, then format.
// Wherever the rule "fewer bits per pixel, or narrower, or lower, or the same size at a lower
// rate" orders a pair one way only, this order agrees with it.
bool CompareDisplayModes(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b);

// Sets the back-buffer and depth-stencil formats of DisplaySettings for its windowed flag:
// "Fullcolor" 1 (with full-screen X8R8G8B8 possible) gives X8R8G8B8, else R5G6B5; a window
// takes the desktop's format. With the automatic depth buffer: the stored "DepthFormat" when the
// device accepts it with that back buffer, else D32, then D24X8, then D16 unchecked.
void ChooseSurfaceFormats();

// Empties DisplayModeList and fills it with the adapter's modes of the back-buffer format, at
// least 800 x 600 and, in a window, smaller than the desktop in both directions at the
// desktop's rate; sorted.
void BuildDisplayModeList(const D3DDISPLAYMODE& desktop);

// What the start-up dialog shows beside the stored values.
struct DisplayValues {
    UINT bitsPerPixel;       // of the back-buffer format
    D3DDISPLAYMODE desktop;  // the adapter's current mode
    UINT refreshRate;  // the chosen rate: "RefreshRate", or the desktop's in a window or for 0
    int selectedMode;  // index in DisplayModeList of the chosen mode; -1 when the list is empty
};

// The reading half of the start-up dialog's page fill: checks the device of the stored type
// (which sets the capability flags of D3DApp), reads every display setting, sets the windowed
// flag (full screen when the device cannot run in a window), the presentation interval, the
// hardware-cursor switch (0 without a colour hardware cursor), the surface formats, the mode
// list, and the back buffer from ScreenWidth x ScreenHeight. A size the list does not offer is
// replaced by the nearest listed mode (800 x 600 for an empty list), with a log line, and stored.
DisplayValues ReadDisplayValues();
