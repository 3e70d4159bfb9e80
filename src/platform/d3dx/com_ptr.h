#pragma once
// Owning pointers for reference-counted objects (the platform's interfaces and the device
// layer's own objects with a Release), and a guard that unlocks a locked surface.

#include <memory>

#include "platform/d3d9/d3d9.h"

namespace d3dx {

struct ReleaseInterface {
    template <typename Interface>
    void operator()(Interface* object) const {
        object->Release();
    }
};
template <typename Interface>
using ComPtr = std::unique_ptr<Interface, ReleaseInterface>;

class SurfaceLock {
public:
    SurfaceLock(IDirect3DSurface9* surface, const RECT* rect, DWORD flags) : surface_(surface) {
        result_ = surface->LockRect(&locked_, rect, flags);
    }
    ~SurfaceLock() {
        if (SUCCEEDED(result_)) {
            surface_->UnlockRect();
        }
    }
    SurfaceLock(const SurfaceLock&) = delete;
    SurfaceLock& operator=(const SurfaceLock&) = delete;

    HRESULT result() const { return result_; }
    const D3DLOCKED_RECT& locked() const { return locked_; }

private:
    IDirect3DSurface9* surface_;
    D3DLOCKED_RECT locked_{};
    HRESULT result_;
};

}  // namespace d3dx
