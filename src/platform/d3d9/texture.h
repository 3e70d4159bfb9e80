#pragma once
// A texture: a chain of surfaces, level 0 the largest. Sampling reads level 0 only (no mip
// filtering is offered), through an A8R8G8B8 view that is refreshed after writes.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/raster_state.h"
#include "platform/d3d9/resource_core.h"
#include "platform/d3d9/surface.h"

namespace d3d9_internal {

class Texture final : public IDirect3DTexture9, public ResourceCore {
public:
    // `levels` already resolved (at least 1).
    Texture(Device* device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
            D3DPOOL pool);
    ~Texture() override = default;

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override { return AddPublicRef(); }
    ULONG Release() override { return ReleasePublicRef(); }
    HRESULT GetDevice(IDirect3DDevice9** device) override { return GetDeviceRef(device); }
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD GetLevelCount() override { return static_cast<DWORD>(levels_.size()); }
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    Surface* level(UINT index) { return index < levels_.size() ? levels_[index].get() : nullptr; }
    // Level 0 as A8R8G8B8 texels for the sampler (addressing and filters left to the caller).
    SamplerView SamplingView();

    // Bytes of a full chain of `levels` levels.
    static std::size_t ChainBytes(UINT width, UINT height, UINT levels, D3DFORMAT format);

private:
    std::vector<std::unique_ptr<Surface>> levels_;
    std::vector<std::uint32_t> argb_;
    std::uint64_t argbVersion_ = ~std::uint64_t{0};
};

inline Texture* AsTexture(IDirect3DBaseTexture9* texture) {
    return static_cast<Texture*>(texture);
}

}  // namespace d3d9_internal
