#pragma once
// The resource dump written to the log.

#include "platform/winbase/win_types.h"

// Bit 0: texture memory and video memory; bit 2: every texture; bit 3: every plane.
void D3DDump(DWORD mask);
