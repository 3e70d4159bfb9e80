#pragma once
// The device of the fuzz targets that draw the adventure: a windowed width x height back buffer
// without a display, with the screen size, the message font scale and the letterbox of that
// screen set as the game sets them.

#include "platform/winbase/win_types.h"

// False when the device cannot be made.
bool MakeFuzzAdventureDevice(UINT width, UINT height);
