#pragma once
// The resource dump written to the log.

#include "platform/winbase/win_types.h"

// Bit 0: texture memory and video memory; bit 2: every texture; bit 3: every plane; then the
// meshes and frames (D3DDumpMeshes).
void D3DDump(DWORD mask);

// An object's address as the dump prints it ("%08x").
unsigned DumpAddress(const void* object);
