#include "platform/d3d9/texture.h"

#include <algorithm>

#include "platform/d3d9/pixel_format.h"

namespace d3d9_internal {

std::size_t Texture::ChainBytes(UINT width, UINT height, UINT levels, D3DFORMAT format) {
    std::size_t total = 0;
    for (UINT i = 0; i < levels; ++i) {
        const std::size_t pitch =
            (static_cast<std::size_t>(width) * static_cast<std::size_t>(BytesPerPixel(format)) +
             3) &
            ~std::size_t{3};
        total += pitch * height;
        width = std::max(1u, width / 2);
        height = std::max(1u, height / 2);
    }
    return total;
}

Texture::Texture(Device* device, UINT width, UINT height, UINT levels, DWORD usage,
                 D3DFORMAT format, D3DPOOL pool)
    : ResourceCore(device, pool, ChainBytes(width, height, levels, format), false) {
    for (UINT i = 0; i < levels; ++i) {
        levels_.push_back(std::make_unique<Surface>(this, width, height, format, pool, usage));
        width = std::max(1u, width / 2);
        height = std::max(1u, height / 2);
    }
}

HRESULT Texture::QueryInterface(REFIID, void** object) {
    if (object != nullptr) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

HRESULT Texture::GetLevelDesc(UINT index, D3DSURFACE_DESC* desc) {
    Surface* surface = level(index);
    if (surface == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    return surface->GetDesc(desc);
}

HRESULT Texture::GetSurfaceLevel(UINT index, IDirect3DSurface9** out) {
    if (out == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    Surface* surface = level(index);
    *out = surface;
    if (surface == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    AddRef();
    return D3D_OK;
}

HRESULT Texture::LockRect(UINT index, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    Surface* surface = level(index);
    return surface == nullptr ? D3DERR_INVALIDCALL : surface->LockRect(locked, rect, flags);
}

HRESULT Texture::UnlockRect(UINT index) {
    Surface* surface = level(index);
    return surface == nullptr ? D3DERR_INVALIDCALL : surface->UnlockRect();
}

SamplerView Texture::SamplingView() {
    Surface* top = levels_.front().get();
    SamplerView view;
    view.width = static_cast<int>(top->width());
    view.height = static_cast<int>(top->height());
    if (top->format() == D3DFMT_A8R8G8B8 || top->format() == D3DFMT_X8R8G8B8) {
        view.texels = top->words();
        view.pitch = top->pitch() / 4;
        view.alphaOr = top->format() == D3DFMT_X8R8G8B8 ? 0xFF000000u : 0u;
        return view;
    }
    if (argbVersion_ != top->version() || argb_.empty()) {
        argb_.resize(static_cast<std::size_t>(view.width) * view.height);
        for (int y = 0; y < view.height; ++y) {
            RowToArgb(top->format(), top->bytes() + static_cast<std::ptrdiff_t>(y) * top->pitch(),
                      argb_.data() + static_cast<std::ptrdiff_t>(y) * view.width, view.width);
        }
        argbVersion_ = top->version();
    }
    view.texels = argb_.data();
    view.pitch = view.width;
    return view;
}

}  // namespace d3d9_internal
