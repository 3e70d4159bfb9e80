#pragma once
// Our Direct3D 9: the Direct3D object, the device and its resources, as interfaces with the
// platform's names. The device is a software rasteriser of triangles; the back buffer is shown
// through SDL in the window that the Windows layer keeps for the device's window handle.
//
// Reference counts: AddRef and Release answer the new count. A texture level's surface shares
// the count of its texture. The device holds a reference to its Direct3D object. Bindings made
// by the device (SetTexture, SetRenderTarget, SetDepthStencilSurface, SetStreamSource) keep the
// resource alive without showing in its count. A resource released after its device stays
// safe to release (GetDevice then answers D3DERR_INVALIDCALL).
//
// Pools: Reset answers D3DERR_INVALIDCALL while any resource of D3DPOOL_DEFAULT (the back buffer
// and the automatic depth buffer included) still has a reference outside the device; those held
// only by the device's bindings go with the reset. Managed, system-memory and scratch resources
// survive a reset unchanged.
//
// Drawing is allowed outside BeginScene / EndScene. Every call comes from one thread.

#include "platform/d3d9/d3d9_types.h"

struct IDirect3D9;
struct IDirect3DDevice9;

struct IDirect3DResource9 : public IUnknown {
    virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
    virtual D3DRESOURCETYPE GetType() = 0;
};

// Every colour surface can be locked, except a back buffer made without
// D3DPRESENTFLAG_LOCKABLE_BACKBUFFER; depth surfaces cannot.
struct IDirect3DSurface9 : public IDirect3DResource9 {
    virtual HRESULT GetDesc(D3DSURFACE_DESC* desc) = 0;
    virtual HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
    virtual HRESULT UnlockRect() = 0;
};

struct IDirect3DBaseTexture9 : public IDirect3DResource9 {
    virtual DWORD GetLevelCount() = 0;
};

struct IDirect3DTexture9 : public IDirect3DBaseTexture9 {
    virtual HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) = 0;
    // The level's surface, with a reference (on the texture) that the caller releases.
    virtual HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) = 0;
    virtual HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
    virtual HRESULT UnlockRect(UINT level) = 0;
};

struct IDirect3DVertexBuffer9 : public IDirect3DResource9 {
    // sizeToLock 0 locks from offset to the end.
    virtual HRESULT Lock(UINT offsetToLock, UINT sizeToLock, void** data, DWORD flags) = 0;
    virtual HRESULT Unlock() = 0;
    virtual HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) = 0;
};

// 16- or 32-bit vertex indices (D3DFMT_INDEX16, D3DFMT_INDEX32).
struct IDirect3DIndexBuffer9 : public IDirect3DResource9 {
    // sizeToLock 0 locks from offset to the end.
    virtual HRESULT Lock(UINT offsetToLock, UINT sizeToLock, void** data, DWORD flags) = 0;
    virtual HRESULT Unlock() = 0;
    virtual HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) = 0;
};

struct IDirect3DDevice9 : public IUnknown {
    // D3D_OK, D3DERR_DEVICELOST (no reset possible yet) or D3DERR_DEVICENOTRESET.
    virtual HRESULT TestCooperativeLevel() = 0;
    // Bytes, rounded down to whole mebibytes.
    virtual UINT GetAvailableTextureMem() = 0;
    virtual HRESULT GetDirect3D(IDirect3D9** direct3D) = 0;
    virtual HRESULT GetDeviceCaps(D3DCAPS9* caps) = 0;
    virtual HRESULT GetDisplayMode(UINT swapChain, D3DDISPLAYMODE* mode) = 0;
    virtual HRESULT GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) = 0;

    // The colour cursor: a 32 x 32 A8R8G8B8 image drawn over the presented frame.
    virtual HRESULT SetCursorProperties(UINT hotSpotX, UINT hotSpotY, IDirect3DSurface9* image) = 0;
    virtual void SetCursorPosition(int x, int y, DWORD flags) = 0;
    // Answers whether the cursor was shown before.
    virtual BOOL ShowCursor(BOOL show) = 0;

    // Writes the resolved parameters back (size, format and count of the back buffer).
    virtual HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) = 0;
    virtual HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                            const void* dirtyRegion) = 0;
    virtual HRESULT GetBackBuffer(UINT swapChain, UINT backBuffer, D3DBACKBUFFER_TYPE type,
                                  IDirect3DSurface9** surface) = 0;
    virtual HRESULT SetDialogBoxMode(BOOL enable) = 0;

    // Levels 0 makes the full chain down to 1 x 1. `shared` must be null.
    virtual HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                  D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture,
                                  HANDLE* shared) = 0;
    virtual HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                       IDirect3DVertexBuffer9** buffer, HANDLE* shared) = 0;
    virtual HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                      IDirect3DIndexBuffer9** buffer, HANDLE* shared) = 0;
    virtual HRESULT CreateRenderTarget(UINT width, UINT height, D3DFORMAT format,
                                       D3DMULTISAMPLE_TYPE multiSample, DWORD multiSampleQuality,
                                       BOOL lockable, IDirect3DSurface9** surface,
                                       HANDLE* shared) = 0;
    virtual HRESULT CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                              D3DMULTISAMPLE_TYPE multiSample,
                                              DWORD multiSampleQuality, BOOL discard,
                                              IDirect3DSurface9** surface, HANDLE* shared) = 0;
    virtual HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format,
                                                D3DPOOL pool, IDirect3DSurface9** surface,
                                                HANDLE* shared) = 0;

    // Copies without scaling between surfaces of one format.
    virtual HRESULT UpdateSurface(IDirect3DSurface9* source, const RECT* sourceRect,
                                  IDirect3DSurface9* dest, const POINT* destPoint) = 0;
    // Copies a render target into a system-memory surface of its size and format.
    virtual HRESULT GetRenderTargetData(IDirect3DSurface9* renderTarget,
                                        IDirect3DSurface9* dest) = 0;
    // Scaled copy between default-pool colour surfaces, converting the format; filter POINT,
    // LINEAR or NONE (point).
    virtual HRESULT StretchRect(IDirect3DSurface9* source, const RECT* sourceRect,
                                IDirect3DSurface9* dest, const RECT* destRect,
                                D3DTEXTUREFILTERTYPE filter) = 0;
    // Writes the colour into a default-pool colour surface, without blending.
    virtual HRESULT ColorFill(IDirect3DSurface9* surface, const RECT* rect, D3DCOLOR color) = 0;

    // Setting render target 0 resets the viewport to the whole target.
    virtual HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* surface) = 0;
    virtual HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** surface) = 0;
    virtual HRESULT SetDepthStencilSurface(IDirect3DSurface9* surface) = 0;
    // D3DERR_NOTFOUND when no depth surface is bound.
    virtual HRESULT GetDepthStencilSurface(IDirect3DSurface9** surface) = 0;

    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    // Clears the viewport, or the given rectangles cut to it, and only inside the scissor
    // rectangle while the scissor test is on; z is clamped to 0..1.
    virtual HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                          DWORD stencil) = 0;

    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) = 0;
    virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
    virtual HRESULT SetViewport(const D3DVIEWPORT9* viewport) = 0;
    virtual HRESULT GetViewport(D3DVIEWPORT9* viewport) = 0;

    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) = 0;
    virtual HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) = 0;
    virtual HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) = 0;
    virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                         DWORD value) = 0;
    virtual HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                         DWORD* value) = 0;
    virtual HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) = 0;
    virtual HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) = 0;
    virtual HRESULT SetScissorRect(const RECT* rect) = 0;
    virtual HRESULT GetScissorRect(RECT* rect) = 0;

    // Fixed-function lighting, applied to untransformed vertices while D3DRS_LIGHTING is on (the
    // default). Per vertex: emissive + ambient x (D3DRS_AMBIENT + every light's ambient) +
    // diffuse x the sum of each light's diffuse x max(0, N . L), clamped; alpha is the diffuse
    // alpha. The material colours come from D3DRS_*MATERIALSOURCE. Normals go through the
    // inverse transpose of the world matrix, normalised only under D3DRS_NORMALIZENORMALS; a
    // vertex without a normal gets only the ambient and emissive terms. Only directional
    // lights exist here: SetLight refuses the other types. Specular highlights are not drawn.
    // The initial material is a white diffuse one with every other colour black.
    virtual HRESULT SetMaterial(const D3DMATERIAL9* material) = 0;
    virtual HRESULT GetMaterial(D3DMATERIAL9* material) = 0;
    virtual HRESULT SetLight(DWORD index, const D3DLIGHT9* light) = 0;
    virtual HRESULT GetLight(DWORD index, D3DLIGHT9* light) = 0;
    // Enabling an index that was never set makes the default light there: directional, white
    // diffuse, travelling along +z. At most kMaxActiveLights lights are enabled at once.
    virtual HRESULT LightEnable(DWORD index, BOOL enable) = 0;
    virtual HRESULT GetLightEnable(DWORD index, BOOL* enable) = 0;

    virtual HRESULT SetFVF(DWORD fvf) = 0;
    virtual HRESULT GetFVF(DWORD* fvf) = 0;
    virtual HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                    UINT stride) = 0;
    virtual HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) = 0;
    // The bound index buffer with a reference, or null.
    virtual HRESULT GetIndices(IDirect3DIndexBuffer9** buffer) = 0;

    // Triangle lists, strips and fans. Vertices are pre-transformed (D3DFVF_XYZRHW) or go
    // through world, view, projection and the viewport (D3DFVF_XYZ, with normals when the
    // format has them, lit as SetMaterial describes or with their colours as given while
    // lighting is off; triangles reaching behind the eye are left out); diffuse colour and the
    // first set of texture coordinates are used. Texture coordinates are interpolated with
    // perspective correction wherever a triangle's vertices differ in 1/w (rhw).
    virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) = 0;
    virtual HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount,
                                    const void* vertexData, UINT stride) = 0;
    // Indices from the bound index buffer, from `startIndex`; each index plus
    // `baseVertexIndex` must name one of the `numVertices` vertices from `minVertexIndex` of the
    // bound stream (D3DERR_INVALIDCALL otherwise, drawing nothing).
    virtual HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex,
                                         UINT minVertexIndex, UINT numVertices, UINT startIndex,
                                         UINT primitiveCount) = 0;
    virtual HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minVertexIndex,
                                           UINT numVertices, UINT primitiveCount,
                                           const void* indexData, D3DFORMAT indexFormat,
                                           const void* vertexData, UINT stride) = 0;
};

struct IDirect3D9 : public IUnknown {
    virtual UINT GetAdapterCount() = 0;
    virtual HRESULT GetAdapterIdentifier(UINT adapter, DWORD flags,
                                         D3DADAPTER_IDENTIFIER9* identifier) = 0;
    virtual UINT GetAdapterModeCount(UINT adapter, D3DFORMAT format) = 0;
    virtual HRESULT EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode,
                                     D3DDISPLAYMODE* displayMode) = 0;
    virtual HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) = 0;
    virtual HRESULT CheckDeviceType(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat,
                                    D3DFORMAT backBufferFormat, BOOL windowed) = 0;
    virtual HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat,
                                      DWORD usage, D3DRESOURCETYPE resourceType,
                                      D3DFORMAT checkFormat) = 0;
    virtual HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE deviceType,
                                           D3DFORMAT adapterFormat, D3DFORMAT renderTargetFormat,
                                           D3DFORMAT depthStencilFormat) = 0;
    virtual HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE deviceType, D3DCAPS9* caps) = 0;
    // Writes the resolved parameters back, as Reset does.
    virtual HRESULT CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                 DWORD behaviorFlags, D3DPRESENT_PARAMETERS* parameters,
                                 IDirect3DDevice9** device) = 0;
};

// Lights that may be enabled at once.
constexpr DWORD kMaxActiveLights = 8;

// Null unless sdkVersion is D3D_SDK_VERSION.
IDirect3D9* Direct3DCreate9(UINT sdkVersion);
