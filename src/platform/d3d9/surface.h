#pragma once
// A surface: pixels of one colour or depth format in memory. It stands alone (off-screen plain,
// render target, depth buffer, back buffer) or is a level of a texture, whose reference count
// it then shares. A new surface holds black, transparent where the format has alpha, stored as
// a write of black stores it.

#include <cstdint>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/resource_core.h"

namespace d3d9_internal {

class Texture;

class Surface final : public IDirect3DSurface9, public ResourceCore {
public:
    // A surface of its own. `lockable` false refuses LockRect (depth surfaces, a back buffer
    // without the lockable flag).
    Surface(Device* device, UINT width, UINT height, D3DFORMAT format, D3DPOOL pool, DWORD usage,
            bool lockable, bool deviceOwned);
    // A level of `container`.
    Surface(Texture* container, UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
            DWORD usage);
    ~Surface() override = default;

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetDevice(IDirect3DDevice9** device) override;
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect() override;

    UINT width() const { return width_; }
    UINT height() const { return height_; }
    D3DFORMAT format() const { return format_; }
    D3DPOOL surfacePool() const { return surfacePool_; }
    DWORD usage() const { return usage_; }
    int pitch() const { return pitch_; }
    std::uint8_t* bytes() { return reinterpret_cast<std::uint8_t*>(storage_.data()); }
    std::uint32_t* words() { return storage_.data(); }
    bool isDepth() const;
    bool locked() const { return locked_; }
    void setLockable(bool lockable) { lockable_ = lockable; }

    // The object whose bindings keep this surface alive: the texture of a level, else itself.
    ResourceCore* owner();
    Texture* container() const { return container_; }
    Device* owningDevice() const;

    // Counts writes, so that converted copies (texture sampling views) know when to refresh.
    void MarkWritten() { ++version_; }
    std::uint64_t version() const { return version_; }

    // Whole surface, or the rectangle when it lies inside; false for an empty or outside one.
    bool ResolveRect(const RECT* rect, RECT* out) const;

private:
    Texture* container_ = nullptr;
    UINT width_;
    UINT height_;
    D3DFORMAT format_;
    D3DPOOL surfacePool_;
    DWORD usage_;
    bool lockable_;
    bool locked_ = false;
    bool lockedReadOnly_ = false;
    int pitch_;
    std::uint64_t version_ = 0;
    std::vector<std::uint32_t> storage_;
};

// Our own object behind an interface pointer the caller passed (every surface is ours).
inline Surface* AsSurface(IDirect3DSurface9* surface) {
    return static_cast<Surface*>(surface);
}

}  // namespace d3d9_internal
