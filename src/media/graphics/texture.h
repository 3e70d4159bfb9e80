#pragma once
// D3DTexture: a reference-counted Direct3D texture, made blank or from an image file, shared
// between users of the same file, format and filter, backed up and restored around a device
// reset, and drawn as a screen-space quad.

#include <string>
#include <vector>

#include "media/graphics/ref_counted.h"
#include "media/graphics/tl_vertex.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3dx/d3dx_types.h"

// flags bit 0: never returned by the share search (every blank texture).
constexpr DWORD kTexturePrivate = 0x1;

struct D3DTexture : RefCounted {
    DWORD flags = 0;
    std::string path;  // the file it was made from; empty for a blank texture
    std::string name;  // empty: none
    IDirect3DTexture9* texture = nullptr;
    IDirect3DTexture9* backup = nullptr;
    DWORD usage = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    D3DPOOL pool = D3DPOOL_DEFAULT;
    DWORD filter = 0;
    UINT width = 0;
    UINT height = 0;
    UINT imageWidth = 0;
    UINT imageHeight = 0;
    // Released by a reset and not yet restored: the own backup holds the contents, so a
    // further reset does not back up the (absent or undefined) texture over it.
    bool restorePending = false;

    // Appends the object to the texture list.
    D3DTexture();
    D3DTexture(const D3DTexture&) = delete;
    D3DTexture& operator=(const D3DTexture&) = delete;

    HRESULT Create(UINT requestedWidth, UINT requestedHeight, DWORD textureUsage,
                   D3DFORMAT textureFormat, D3DPOOL texturePool);
    HRESULT CreateFromMemory(const void* data, UINT size, DWORD textureUsage,
                             D3DFORMAT textureFormat, D3DPOOL texturePool, DWORD textureFilter);
    HRESULT CreateFromFile(const char* filePath, DWORD textureUsage, D3DFORMAT textureFormat,
                           D3DPOOL texturePool, DWORD textureFilter);

    // With NULL, into the own backup (made on first use); else into a fresh system-memory
    // texture stored in *out.
    HRESULT Backup(IDirect3DTexture9** out);
    // Recreates the texture when absent, then fills level 0 from `from`, else from the own
    // backup, else with opaque black.
    HRESULT Restore(IDirect3DTexture9* from);
    // Drops one reference of the own backup and forgets it when that was the last, so that the
    // next Backup copies the texture afresh.
    void ReleaseBackup();
    HRESULT ColorFill(const RECT* rect, D3DCOLOR colour);
    HRESULT Load(const char* filePath, const RECT* destRect, const RECT* srcRect, DWORD loadFilter);
    HRESULT Load(const void* data, UINT size, const RECT* destRect, const RECT* srcRect,
                 DWORD loadFilter);
    // Pastes the whole image unscaled with its top-left corner at (x, y).
    HRESULT LoadAt(const char* filePath, int x, int y);

    HRESULT SetName(const char* text);
    // Copies the name into `buffer` when both exist; answers the name (NULL when none).
    const char* GetName(char* buffer) const;
    IDirect3DTexture9* GetTexture() const { return texture; }

    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, UINT primitiveCount,
                          const void* vertices, UINT stride);
    // Both rectangles in pixels; `source` NULL is the whole of level 0.
    HRESULT DrawQuad(const FloatRect* dest, const FloatRect* source, D3DCOLOR colour);
    HRESULT DrawRect(const RECT* dest, const RECT* source, D3DCOLOR colour);
    // `source` NULL is the whole image.
    HRESULT DrawAt(int x, int y, const RECT* source, D3DCOLOR colour);

    // Deletes the object at 0; answers the new count.
    ULONG Release();

private:
    ~D3DTexture();
    void ReleaseTexture();
    // Records the sizes and settings of the texture just made; D3DFMT_UNKNOWN keeps the format
    // of its first level. Logs a failure to read that level under `log`.
    HRESULT AdoptCreated(const char* log, UINT shownWidth, UINT shownHeight, DWORD textureUsage,
                         D3DFORMAT textureFormat, D3DPOOL texturePool, DWORD textureFilter);
};

// The texture list, in creation order.
const std::vector<D3DTexture*>& TextureList();

// Factories: E_FAIL without an application or device, E_OUTOFMEMORY when the object cannot
// be allocated. *out receives the object before it is initialised, so after an initialisation
// failure the caller holds it and releases it.
HRESULT D3D_LoadTexture(const char* path, D3DTexture** out, DWORD flags, DWORD usage,
                        D3DFORMAT format, D3DPOOL pool, DWORD filter);
HRESULT D3D_CreateTexture(D3DTexture** out, UINT width, UINT height, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool);
HRESULT D3D_LoadTextureFromMemory(const void* data, UINT size, D3DTexture** out, DWORD flags,
                                  DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter);

// The first listed texture the share search would return for these arguments, or NULL.
D3DTexture* FindSharedTexture(const char* path, D3DFORMAT format, DWORD filter);
