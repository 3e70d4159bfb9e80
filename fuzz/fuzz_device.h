#pragma once
// The device of the programs that draw the adventure without a display (fuzz targets and
// benchmarks): a windowed width x height back buffer (with a 16-bit depth buffer when asked),
// with the screen size, the message font scale and the letterbox of that screen set as the game
// sets them.

#include "platform/winbase/win_types.h"

// False when the device cannot be made.
bool MakeAdventureDevice(UINT width, UINT height, bool depthBuffer = false);
