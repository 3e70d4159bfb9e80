#pragma once
// The device of the programs that draw the adventure without a display (fuzz targets and
// benchmarks): a windowed width x height X8R8G8B8 back buffer, or a full-screen one of another
// format (as a first run's 16-bit R5G6B5), with a 16-bit depth buffer when asked, and the screen
// size, the message font scale and the letterbox of that screen set as the game sets them.

#include "platform/d3d9/d3d9_types.h"
#include "platform/winbase/win_types.h"

// False when the device cannot be made.
bool MakeAdventureDevice(UINT width, UINT height, bool depthBuffer = false,
                         D3DFORMAT backBufferFormat = D3DFMT_X8R8G8B8);
