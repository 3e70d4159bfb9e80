#pragma once
// D3DPlane: a 2-D drawable, either an off-screen surface pair (a default-pool surface with a
// system-memory copy) or a small vertex buffer of TLVertex, usually a strip showing a
// D3DTexture, placed, scaled, mirrored and rotated about a pivot on the CPU, with an optional
// per-frame update callback.

#include <cstdint>
#include <string>
#include <vector>

#include "media/graphics/ref_counted.h"
#include "media/graphics/tl_vertex.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3dx/d3dx_types.h"

struct D3DTexture;
struct D3DPlane;

// Called once per frame with the frame time in seconds; 0 is a failure (logged). A callback
// may release its plane or make new ones.
using PlaneUpdateCallback = int (*)(D3DPlane* plane, double time, void* userData);

// Flag bits.
constexpr DWORD kPlaneTextureAttached = 0x1;
constexpr DWORD kPlaneHasSurface = 0x2;
constexpr DWORD kPlaneHasVertexBuffer = 0x4;
constexpr DWORD kPlaneGameSwitch = 0x8;  // the scene code's own; never read here
constexpr DWORD kPlanePositionDirty = 0x10000;
constexpr DWORD kPlaneColourDirty = 0x20000;
constexpr DWORD kPlaneAlphaDirty = 0x40000;
constexpr DWORD kPlaneUpdateMark = 0x80000;
constexpr DWORD kPlaneAutoDraw = 0x100000;
constexpr DWORD kPlaneNoHalfPixel = 0x200000;
constexpr DWORD kPlaneDirtyBits = kPlanePositionDirty | kPlaneColourDirty | kPlaneAlphaDirty;

struct D3DPlane : RefCounted {
    DWORD flags = 0;
    std::string name;  // empty: none
    IDirect3DSurface9* surface = nullptr;
    IDirect3DSurface9* systemSurface = nullptr;
    PALETTEENTRY palette[256]{};
    D3DPRIMITIVETYPE primitiveType = D3DPT_TRIANGLESTRIP;
    std::vector<TLVertex> vertices;  // untransformed copy, vertexCount entries
    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    UINT vertexCount = 0;
    D3DTexture* texture = nullptr;
    D3DPOOL pool = D3DPOOL_DEFAULT;
    PlaneUpdateCallback updateCallback = nullptr;
    void* userData = nullptr;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    UINT width = 0;
    UINT height = 0;
    float pivotX = 0.0f;
    float pivotY = 0.0f;
    float scaleX = 1.0f;  // below 0 mirrors
    float scaleY = 1.0f;
    float rotation = 0.0f;          // radians about the z axis
    D3DCOLOR colour = 0xFFFFFFFFu;  // the top byte is the plane's alpha
    D3DTEXTUREFILTERTYPE filter = D3DTEXF_NONE;
    std::uint32_t gameData = 0;  // the game's own; never read here

    // Appends the plane to the plane list.
    D3DPlane();
    D3DPlane(const D3DPlane&) = delete;
    D3DPlane& operator=(const D3DPlane&) = delete;

    HRESULT CreateSurface(UINT surfaceWidth, UINT surfaceHeight, D3DFORMAT format,
                          D3DPOOL surfacePool);
    HRESULT LoadSurface(const char* path, const RECT* sourceRect, const RECT* destRect,
                        D3DFORMAT format, D3DPOOL surfacePool);
    HRESULT RestoreSurface();
    HRESULT UploadSurface(const RECT* sourceRect, const POINT* destPoint);
    // Only the TLVertex layout is kept: stride and format are accepted for the callers' sake.
    HRESULT CreateVB(D3DPRIMITIVETYPE type, UINT stride, DWORD vertexFormat, const TLVertex* source,
                     UINT count, DWORD usage, D3DPOOL bufferPool);
    HRESULT CreateTexture(UINT textureWidth, UINT textureHeight, DWORD usage, D3DFORMAT format,
                          D3DPOOL texturePool);
    HRESULT LoadTexture(const char* path, DWORD usage, D3DFORMAT format, D3DPOOL texturePool);
    // Attaches with a reference of its own (NULL detaches and releases).
    void SetTexture(D3DTexture* attached);
    void ReleaseTexture();
    void ReleaseSurfaces();
    void ReleaseVB();
    HRESULT BackupTexture(IDirect3DTexture9** out);
    HRESULT RestoreTexture(IDirect3DTexture9* from);

    // Rewrites the vertex buffer from the kept vertices: positions when dirty or `all`, colours
    // by the colour and alpha dirty bits, everything from the copy when `all`.
    HRESULT Transform(bool all);
    HRESULT Draw();
    HRESULT Update(double time);

    // Setters the game uses; each marks what it changes.
    void SetPosition(int px, int py);
    void SetPosition(float px, float py, float pz);
    void ResetPosition();
    void SetPivot(float px, float py);
    void SetScale(float scale);
    void SetScale(float sx, float sy);
    void SetRotation(float radians);
    void SetColor(D3DCOLOR argb);
    void SetAlpha(BYTE alpha);
    void SetFilter(D3DTEXTUREFILTERTYPE textureFilter) { filter = textureFilter; }
    void SetUpdateCallback(PlaneUpdateCallback callback, void* data);
    // Bits the layer sets without marking anything dirty (kPlaneGameSwitch, kPlaneAutoDraw,
    // kPlaneNoHalfPixel).
    void SetFlagBits(DWORD bits, bool on);

    HRESULT SetName(const char* text);
    const char* GetName(char* buffer) const;

    // Deletes the plane at 0; answers the new count.
    ULONG Release();

private:
    ~D3DPlane();
};

// The plane list, in creation order.
const std::vector<D3DPlane*>& PlaneList();

// Factories: E_FAIL without an application or device, E_OUTOFMEMORY when the object cannot be
// allocated; *out receives the plane before it is initialised (the caller releases it after an
// initialisation failure).
HRESULT D3D_CreateSurfacePlane(UINT width, UINT height, D3DPlane** out, D3DFORMAT format,
                               D3DPOOL pool);
HRESULT D3D_CreateVertexPlane(D3DPRIMITIVETYPE type, UINT stride, DWORD vertexFormat,
                              const TLVertex* vertices, UINT count, D3DPlane** out, DWORD usage,
                              D3DPOOL pool);
HRESULT D3D_CreateStripPlane(const TLVertex* vertices, UINT count, D3DPlane** out, DWORD usage,
                             D3DPOOL pool);
// A white four-vertex strip at the origin of the source rectangle's size showing that part of
// the texture (`source` NULL: the whole image).
HRESULT D3D_CreatePlaneFromTexture(D3DTexture* texture, D3DPlane** out, const RECT* source,
                                   DWORD usage, D3DPOOL pool);
HRESULT D3D_CreateTexturePlane(UINT width, UINT height, D3DPlane** out, DWORD usage,
                               D3DFORMAT format, D3DPOOL pool);
// `textured` 0 loads into a surface pair, else into a shared texture shown by a strip.
HRESULT D3D_LoadPlane(const char* path, D3DPlane** out, int textured, DWORD usage, D3DFORMAT format,
                      D3DPOOL pool);

// Calls each plane that had a callback at the start of the pass at most once, in list order,
// even when callbacks make or release planes.
void D3D_UpdatePlanes(double time);
// Sets the 2-D blend states and draws every plane marked kPlaneAutoDraw, in list order.
void D3D_DrawPlanes();
