#pragma once
// Reading and writing rectangles of a surface as A8R8G8B8 pixels.

#include <cstdint>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3dx/argb_resample.h"

namespace d3dx {

// Whether `rect` is non-empty and lies inside a width x height area.
bool RectInside(const RECT& rect, UINT width, UINT height);

// Resolves an optional rectangle against an area: the whole area for NULL; false when a given
// rectangle is empty or reaches outside.
bool ResolveRect(const RECT* given, UINT width, UINT height, RECT* resolved);

// Reads `rect` of a colour surface; a surface that cannot be locked (a back buffer) is read
// through a system-memory copy.
HRESULT ReadSurfaceArgb(IDirect3DSurface9* surface, const RECT& rect,
                        std::vector<std::uint32_t>* pixels);

// ReadSurfaceArgb of an optional rectangle (NULL: the whole surface), resolved into `rect`;
// D3DERR_INVALIDCALL when a given rectangle is empty or reaches outside.
HRESULT ReadSurfaceRectArgb(IDirect3DSurface9* surface, const RECT* srcRect, RECT* rect,
                            std::vector<std::uint32_t>* pixels);

// Scales `source` into `destRect` (NULL: the whole surface) of `dest` with `filter`.
HRESULT WriteArgbToSurface(IDirect3DSurface9* dest, const RECT* destRect, const ArgbView& source,
                           DWORD filter, D3DCOLOR colorKey);

}  // namespace d3dx
