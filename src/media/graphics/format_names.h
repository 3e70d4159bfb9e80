#pragma once
// Names of formats and pools for the log.

#include "platform/d3d9/d3d9_types.h"

// The format's name without its "D3DFMT_" prefix ("A8R8G8B8", "DXT1"...), or "Unknown";
// `bitsPerPixel` (or NULL) receives its bits per pixel, 0 for the compressed and video formats
// and for an unknown value.
const char* D3D_GetFormatName(D3DFORMAT format, UINT* bitsPerPixel);
// "DEFAULT", "MANAGED", "SYSTEM", "SCRATCH", else "Unknown".
const char* D3D_GetPoolName(D3DPOOL pool);
