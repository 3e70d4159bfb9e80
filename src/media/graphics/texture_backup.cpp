// D3DTexture: the copies around a device reset, colour fills and image loads into level 0.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "media/graphics/d3d_functions.h"
#include "media/graphics/device_log.h"
#include "media/graphics/loaded_file.h"
#include "media/graphics/texture.h"
#include "platform/d3dx/com_ptr.h"
#include "platform/d3dx/image_info.h"
#include "platform/d3dx/surface_load.h"
#include "platform/d3dx/surface_pixels.h"
#include "platform/d3dx/texture_create.h"

namespace {

using SurfacePtr = d3dx::ComPtr<IDirect3DSurface9>;

HRESULT CopyLevelZero(IDirect3DTexture9* from, IDirect3DTexture9* to) {
    SurfacePtr source;
    SurfacePtr dest;
    HRESULT hr = GetLevelZero(from, &source);
    if (SUCCEEDED(hr)) {
        hr = GetLevelZero(to, &dest);
    }
    if (SUCCEEDED(hr)) {
        hr = D3DXLoadSurfaceFromSurface(dest.get(), nullptr, nullptr, source.get(), nullptr,
                                        nullptr, D3DX_FILTER_NONE, 0);
    }
    return hr;
}

HRESULT FillOpaqueBlack(IDirect3DTexture9* texture, UINT width, UINT height) {
    SurfacePtr dest;
    HRESULT hr = GetLevelZero(texture, &dest);
    if (FAILED(hr)) {
        return hr;
    }
    const std::vector<std::uint32_t> black(static_cast<std::size_t>(width) * height, 0xFF000000u);
    const d3dx::ArgbView view{black.data(), static_cast<int>(width), static_cast<int>(height),
                              static_cast<int>(width)};
    return d3dx::WriteArgbToSurface(dest.get(), nullptr, view, D3DX_FILTER_NONE, 0);
}

// Runs `write` on level 0 of `texture`, logging a failure under `log`.
template <typename Write>
HRESULT WriteLevelZero(const char* log, IDirect3DTexture9* texture, Write write) {
    if (texture == nullptr) {
        return LogDeviceError(log, D3DERR_INVALIDCALL);
    }
    SurfacePtr surface;
    HRESULT hr = GetLevelZero(texture, &surface);
    if (SUCCEEDED(hr)) {
        hr = write(surface.get());
    }
    if (FAILED(hr)) {
        return LogDeviceError(log, hr);
    }
    return hr;
}

}  // namespace

HRESULT D3DTexture::Backup(IDirect3DTexture9** out) {
    IDirect3DDevice9* device = CurrentDevice();
    if (out != nullptr) {
        *out = nullptr;
    }
    if (device == nullptr) {
        return E_FAIL;
    }
    constexpr const char* kLog = "D3DTexture::Backup";
    if (texture == nullptr) {
        return LogDeviceError(kLog, D3DERR_INVALIDCALL);
    }
    IDirect3DTexture9** copy = out != nullptr ? out : &backup;
    if (*copy == nullptr) {
        const HRESULT hr =
            D3DXCreateTexture(device, width, height, 1, 0, format, D3DPOOL_SYSTEMMEM, copy);
        if (FAILED(hr)) {
            *copy = nullptr;
            return LogDeviceError(kLog, hr);
        }
    }
    const HRESULT hr = CopyLevelZero(texture, *copy);
    if (FAILED(hr)) {
        return LogDeviceError(kLog, hr);
    }
    return hr;
}

void D3DTexture::ReleaseBackup() {
    if (backup != nullptr && backup->Release() == 0) {
        backup = nullptr;
    }
}

HRESULT D3DTexture::Restore(IDirect3DTexture9* from) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return E_FAIL;
    }
    constexpr const char* kLog = "D3DTexture::Restore";
    if (texture == nullptr) {
        const HRESULT hr =
            D3DXCreateTexture(device, width, height, 1, usage, format, pool, &texture);
        if (FAILED(hr)) {
            texture = nullptr;
            return LogDeviceError(kLog, hr);
        }
    }
    IDirect3DTexture9* source = from != nullptr ? from : backup;
    const HRESULT hr = source != nullptr ? CopyLevelZero(source, texture)
                                         : FillOpaqueBlack(texture, width, height);
    if (FAILED(hr)) {
        return LogDeviceError(kLog, hr);
    }
    restorePending = false;
    return hr;
}

HRESULT D3DTexture::ColorFill(const RECT* rect, D3DCOLOR colour) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return E_FAIL;
    }
    return WriteLevelZero("D3DTexture::ColorFill", texture, [&](IDirect3DSurface9* surface) {
        return device->ColorFill(surface, rect, colour);
    });
}

HRESULT D3DTexture::Load(const char* filePath, const RECT* destRect, const RECT* srcRect,
                         DWORD loadFilter) {
    const LoadedFile file(filePath);
    if (!file.ok()) {
        return LogDeviceError("D3DTexture::Load", E_FAIL);
    }
    return Load(file.data(), file.size(), destRect, srcRect, loadFilter);
}

HRESULT D3DTexture::Load(const void* data, UINT size, const RECT* destRect, const RECT* srcRect,
                         DWORD loadFilter) {
    if (CurrentDevice() == nullptr) {
        return E_FAIL;
    }
    return WriteLevelZero("D3DTexture::Load", texture, [&](IDirect3DSurface9* surface) {
        return D3DXLoadSurfaceFromFileInMemory(surface, nullptr, destRect, data, size, srcRect,
                                               loadFilter, 0, nullptr);
    });
}

HRESULT D3DTexture::LoadAt(const char* filePath, int x, int y) {
    const LoadedFile file(filePath);
    if (!file.ok()) {
        return E_FAIL;
    }
    D3DXIMAGE_INFO info{};
    const HRESULT hr = D3DXGetImageInfoFromFileInMemory(file.data(), file.size(), &info);
    if (FAILED(hr)) {
        return LogDeviceError("D3DTexture::Load", hr);
    }
    // The part of the image that lands inside level 0; an image placed partly outside is cut.
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + info.Width, width);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{y} + info.Height, height);
    if (left >= right || top >= bottom) {
        return D3D_OK;
    }
    const RECT dest{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right),
                    static_cast<LONG>(bottom)};
    const RECT source{static_cast<LONG>(left - x), static_cast<LONG>(top - y),
                      static_cast<LONG>(right - x), static_cast<LONG>(bottom - y)};
    return Load(file.data(), file.size(), &dest, &source, D3DX_FILTER_NONE);
}
