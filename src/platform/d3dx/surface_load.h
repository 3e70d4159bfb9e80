#pragma once
// Loading a rectangle of a surface from an image file in memory or from another surface,
// scaled with a filter and converted to the destination's format (A8R8G8B8, X8R8G8B8, R5G6B5,
// X1R5G5B5, A1R5G5B5, A4R4G4B4, X4R4G4B4).
//
// Rectangles: NULL means the whole surface or image; a given rectangle must lie inside it and
// not be empty (else D3DERR_INVALIDCALL). Filters: see d3dx_types.h; D3DX_FILTER_NONE copies
// unscaled from the source rectangle's top left and writes transparent black where the source
// rectangle ends. Source pixels equal to a non-zero colour key become transparent black.
// Palettes are unused: no surface here has one.

#include "platform/d3d9/d3d9.h"
#include "platform/d3dx/d3dx_types.h"

// D3DXERR_INVALIDDATA for a damaged or unknown image file. `srcInfo` (or NULL) receives the
// image's information.
HRESULT D3DXLoadSurfaceFromFileInMemory(IDirect3DSurface9* destSurface,
                                        const PALETTEENTRY* destPalette, const RECT* destRect,
                                        LPCVOID srcData, UINT srcDataSize, const RECT* srcRect,
                                        DWORD filter, D3DCOLOR colorKey, D3DXIMAGE_INFO* srcInfo);

// The source may be any colour surface, an unlockable back buffer included (it is read back
// through a system-memory copy); source and destination may be the same surface.
HRESULT D3DXLoadSurfaceFromSurface(IDirect3DSurface9* destSurface, const PALETTEENTRY* destPalette,
                                   const RECT* destRect, IDirect3DSurface9* srcSurface,
                                   const PALETTEENTRY* srcPalette, const RECT* srcRect,
                                   DWORD filter, D3DCOLOR colorKey);
