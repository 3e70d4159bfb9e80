#include "platform/d3dx/surface_pixels.h"

#include <cstddef>
#include <new>

#include "platform/d3d9/pixel_format.h"
#include "platform/d3dx/com_ptr.h"

namespace d3dx {
namespace {

HRESULT ReadLockedRows(const D3DLOCKED_RECT& locked, D3DFORMAT format, int width, int height,
                       std::vector<std::uint32_t>* pixels) {
    pixels->resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(locked.pBits) +
                          static_cast<std::ptrdiff_t>(y) * locked.Pitch;
        d3d9_internal::RowToArgb(format, row,
                                 pixels->data() + static_cast<std::ptrdiff_t>(y) * width, width);
    }
    return S_OK;
}

}  // namespace

bool RectInside(const RECT& rect, UINT width, UINT height) {
    return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom &&
           static_cast<UINT>(rect.right) <= width && static_cast<UINT>(rect.bottom) <= height;
}

bool ResolveRect(const RECT* given, UINT width, UINT height, RECT* resolved) {
    if (given == nullptr) {
        *resolved = {0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
        return width > 0 && height > 0;
    }
    *resolved = *given;
    return RectInside(*given, width, height);
}

HRESULT ReadSurfaceArgb(IDirect3DSurface9* surface, const RECT& rect,
                        std::vector<std::uint32_t>* pixels) {
    D3DSURFACE_DESC desc{};
    if (HRESULT hr = surface->GetDesc(&desc); FAILED(hr)) {
        return hr;
    }
    if (!d3d9_internal::IsColorFormat(desc.Format) || !RectInside(rect, desc.Width, desc.Height)) {
        return D3DERR_INVALIDCALL;
    }
    const int width = RectWidth(rect);
    const int height = RectHeight(rect);
    try {
        {
            SurfaceLock lock(surface, &rect, D3DLOCK_READONLY);
            if (SUCCEEDED(lock.result())) {
                return ReadLockedRows(lock.locked(), desc.Format, width, height, pixels);
            }
        }
        IDirect3DDevice9* rawDevice = nullptr;
        if (HRESULT hr = surface->GetDevice(&rawDevice); FAILED(hr)) {
            return hr;
        }
        ComPtr<IDirect3DDevice9> device(rawDevice);
        IDirect3DSurface9* rawCopy = nullptr;
        if (HRESULT hr = device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                             D3DPOOL_SYSTEMMEM, &rawCopy, nullptr);
            FAILED(hr)) {
            return hr;
        }
        ComPtr<IDirect3DSurface9> copy(rawCopy);
        if (HRESULT hr = device->GetRenderTargetData(surface, copy.get()); FAILED(hr)) {
            return hr;
        }
        SurfaceLock lock(copy.get(), &rect, D3DLOCK_READONLY);
        if (FAILED(lock.result())) {
            return lock.result();
        }
        return ReadLockedRows(lock.locked(), desc.Format, width, height, pixels);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT ReadSurfaceRectArgb(IDirect3DSurface9* surface, const RECT* srcRect, RECT* rect,
                            std::vector<std::uint32_t>* pixels) {
    D3DSURFACE_DESC desc{};
    if (HRESULT hr = surface->GetDesc(&desc); FAILED(hr)) {
        return hr;
    }
    if (!ResolveRect(srcRect, desc.Width, desc.Height, rect)) {
        return D3DERR_INVALIDCALL;
    }
    return ReadSurfaceArgb(surface, *rect, pixels);
}

HRESULT WriteArgbToSurface(IDirect3DSurface9* dest, const RECT* destRect, const ArgbView& source,
                           DWORD filter, D3DCOLOR colorKey) {
    FilterKind kind = FilterKind::kNone;
    if (HRESULT hr = FilterKindOf(filter, &kind); FAILED(hr)) {
        return hr;
    }
    D3DSURFACE_DESC desc{};
    if (HRESULT hr = dest->GetDesc(&desc); FAILED(hr)) {
        return hr;
    }
    RECT rect{};
    if (!d3d9_internal::IsColorFormat(desc.Format) ||
        !ResolveRect(destRect, desc.Width, desc.Height, &rect)) {
        return D3DERR_INVALIDCALL;
    }
    const int width = RectWidth(rect);
    const int height = RectHeight(rect);
    try {
        std::vector<std::uint32_t> scaled;
        ResampleArgb(source, width, height, kind, colorKey, &scaled);
        SurfaceLock lock(dest, &rect, 0);
        if (FAILED(lock.result())) {
            return lock.result();
        }
        for (int y = 0; y < height; ++y) {
            auto* row = static_cast<std::uint8_t*>(lock.locked().pBits) +
                        static_cast<std::ptrdiff_t>(y) * lock.locked().Pitch;
            d3d9_internal::RowFromArgb(
                desc.Format, scaled.data() + static_cast<std::ptrdiff_t>(y) * width, row, width);
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

}  // namespace d3dx
