#pragma once
// Creating textures, blank or from an image file in memory. Textures made here have one level:
// a mip level count of 0 or D3DX_DEFAULT gives one level, since levels below the first are
// never sampled by this system.

#include "platform/d3d9/d3d9.h"
#include "platform/d3dx/d3dx_types.h"

// Adjusts a texture request to what the device supports: a size of 0 or one of the D3DX_DEFAULT
// values becomes 256; sizes round up to powers of two when the caps demand them
// (D3DPTEXTURECAPS_POW2 without NONPOW2CONDITIONAL), become square under SQUAREONLY, and are
// clamped to the maximum size; D3DFMT_UNKNOWN becomes A8R8G8B8; the level count becomes 1. Any
// pointer may be NULL.
HRESULT D3DXCheckTextureRequirements(IDirect3DDevice9* device, UINT* width, UINT* height,
                                     UINT* numMipLevels, DWORD usage, D3DFORMAT* format,
                                     D3DPOOL pool);

// A blank texture after D3DXCheckTextureRequirements.
HRESULT D3DXCreateTexture(IDirect3DDevice9* device, UINT width, UINT height, UINT mipLevels,
                          DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture);

// Decodes the image and creates a texture for it. Width and height: 0, D3DX_DEFAULT or
// D3DX_FROM_FILE take the image's (then adjusted as above); D3DX_DEFAULT_NONPOW2 takes it
// unrounded; other values are used as given. Format D3DFMT_UNKNOWN or D3DFMT_FROM_FILE takes
// the image's. The image, scaled to the requested size with `filter`, sits at the top left of
// level 0; the rest of a texture enlarged for the device is transparent black. `srcInfo` (or
// NULL) receives the image's information; `palette` is unused.
HRESULT D3DXCreateTextureFromFileInMemoryEx(IDirect3DDevice9* device, LPCVOID srcData,
                                            UINT srcDataSize, UINT width, UINT height,
                                            UINT mipLevels, DWORD usage, D3DFORMAT format,
                                            D3DPOOL pool, DWORD filter, DWORD mipFilter,
                                            D3DCOLOR colorKey, D3DXIMAGE_INFO* srcInfo,
                                            PALETTEENTRY* palette, IDirect3DTexture9** texture);
