#pragma once
// The mesh and frame part of the resource dump.

#include "platform/winbase/win_types.h"

// Bit 4 (0x10): every mesh; bits 5 or 6 (0x60): every object, with bit 6 its frame tree.
void D3DDumpMeshes(DWORD mask);
