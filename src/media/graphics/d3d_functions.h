#pragma once
// Free functions of the device layer over the one D3DApplication: render-target and texture
// binding, the untextured colour fill, and small helpers.

#include <string>

#include "media/graphics/tl_vertex.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3dx/com_ptr.h"

struct D3DTexture;

// The device of the application, or NULL when there is no application or no device.
IDirect3DDevice9* CurrentDevice();

// `texture` NULL binds back buffer 0 again.
HRESULT D3D_SetRenderTarget(D3DTexture* texture);
// Render target 0 with a reference the caller releases.
HRESULT D3D_GetRenderTarget(IDirect3DSurface9** surface);
HRESULT D3D_SetTexture(DWORD stage, D3DTexture* texture);
// Level 0 of `texture` into `surface`, which then holds the reference.
HRESULT GetLevelZero(IDirect3DTexture9* texture, d3dx::ComPtr<IDirect3DSurface9>* surface);
// Fills a rectangle of the current render target with one ARGB colour through an untextured
// quad, so the blend states the caller set apply. `rect` NULL is the whole back buffer.
HRESULT D3D_ColorFill(const FloatRect* rect, D3DCOLOR colour);
HRESULT D3D_ColorFillRect(const RECT* rect, D3DCOLOR colour);

// Walks the format chain A8R8G8B8 -> A4R4G4B4 -> X8R8G8B8 -> R5G6B5 (any other format tries
// X8R8G8B8 next) until the device accepts one for `type`; the last check's failure when none.
HRESULT FindDeviceFormat(D3DRESOURCETYPE type, D3DFORMAT* format);

// 1 for 0, else the smallest power of two strictly greater than n.
UINT NextPowerOfTwo(UINT n);

// A heap copy (free with delete[]); NULL for NULL or when memory runs out.
char* DuplicateString(const char* text);
// The name of a texture or plane for its GetName: NULL when it has none (empty); else copies it
// with its terminator into `buffer` when given and answers it.
const char* CopyName(const std::string& name, char* buffer);

// The divisor of image sizes for textures made from image data; 0 (or below) sets 1.
void SetTextureSizeDivisor(int divisor);
int GetTextureSizeDivisor();
