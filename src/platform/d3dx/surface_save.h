#pragma once
// Saving a rectangle of a surface as an image file in memory.

#include "platform/d3d9/d3d9.h"
#include "platform/d3dx/d3dx_buffer.h"
#include "platform/d3dx/d3dx_types.h"

// Only D3DXIFF_PNG is written (8-bit RGBA, the same bytes for the same pixels); other formats
// give D3DERR_INVALIDCALL. `srcRect` NULL saves the whole surface; the palette is unused.
HRESULT D3DXSaveSurfaceToFileInMemory(ID3DXBuffer** destBuffer, D3DXIMAGE_FILEFORMAT destFormat,
                                      IDirect3DSurface9* srcSurface, const PALETTEENTRY* srcPalette,
                                      const RECT* srcRect);
