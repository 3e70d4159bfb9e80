#pragma once
// What an image file in memory holds, read from its header alone.

#include "platform/d3dx/d3dx_types.h"

// D3DXERR_INVALIDDATA for data that is not a PNG or JPEG file, has a damaged header, or is
// larger than 16384 pixels on a side; D3DERR_INVALIDCALL for a null pointer or size 0.
HRESULT D3DXGetImageInfoFromFileInMemory(LPCVOID srcData, UINT srcDataSize,
                                         D3DXIMAGE_INFO* srcInfo);
