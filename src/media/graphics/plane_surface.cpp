// D3DPlane: the surface pair (a default-pool surface and its system-memory copy).

#include "media/graphics/d3d_functions.h"
#include "media/graphics/device_log.h"
#include "media/graphics/loaded_file.h"
#include "media/graphics/plane.h"
#include "platform/d3dx/image_info.h"
#include "platform/d3dx/surface_load.h"
#include "platform/winbase/shell_path.h"

HRESULT D3DPlane::CreateSurface(UINT surfaceWidth, UINT surfaceHeight, D3DFORMAT format,
                                D3DPOOL surfacePool) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return E_FAIL;
    }
    constexpr const char* kLog = "D3DPlane::CreateSurface";
    ReleaseSurfaces();
    HRESULT hr = device->CreateOffscreenPlainSurface(surfaceWidth, surfaceHeight, format,
                                                     surfacePool, &surface, nullptr);
    if (FAILED(hr)) {
        surface = nullptr;
        return LogDeviceError(kLog, hr);
    }
    if (surfacePool == D3DPOOL_DEFAULT) {
        hr = device->CreateOffscreenPlainSurface(surfaceWidth, surfaceHeight, format,
                                                 D3DPOOL_SYSTEMMEM, &systemSurface, nullptr);
        if (FAILED(hr)) {
            systemSurface = nullptr;
            ReleaseSurfaces();
            return LogDeviceError(kLog, hr);
        }
    }
    flags |= kPlaneHasSurface;
    width = surfaceWidth;
    height = surfaceHeight;
    pool = surfacePool;
    return D3D_OK;
}

HRESULT D3DPlane::LoadSurface(const char* path, const RECT* sourceRect, const RECT* destRect,
                              D3DFORMAT format, D3DPOOL surfacePool) {
    if (CurrentDevice() == nullptr) {
        return E_FAIL;
    }
    constexpr const char* kLog = "D3DPlane::LoadSurface";
    const LoadedFile file(path);
    if (!file.ok()) {
        ReleaseSurfaces();
        return LogDeviceError(kLog, E_FAIL);
    }
    if (surfacePool == D3DPOOL_MANAGED) {
        surfacePool = D3DPOOL_DEFAULT;  // surfaces cannot be managed
    }
    HRESULT hr;
    if ((flags & kPlaneHasSurface) == 0) {
        D3DXIMAGE_INFO info{};
        hr = D3DXGetImageInfoFromFileInMemory(file.data(), file.size(), &info);
        if (SUCCEEDED(hr)) {
            if (format == D3DFMT_UNKNOWN) {
                format = info.Format;
            }
            hr = FindDeviceFormat(D3DRTYPE_SURFACE, &format);
        }
        if (FAILED(hr)) {
            ReleaseSurfaces();
            return LogDeviceError(kLog, hr);
        }
        hr = CreateSurface(info.Width, info.Height, format, surfacePool);
        if (FAILED(hr)) {
            return hr;
        }
    }
    IDirect3DSurface9* target = systemSurface != nullptr ? systemSurface : surface;
    if (target == nullptr) {
        ReleaseSurfaces();
        return LogDeviceError(kLog, D3DERR_INVALIDCALL);
    }
    hr = D3DXLoadSurfaceFromFileInMemory(target, palette, destRect, file.data(), file.size(),
                                         sourceRect, D3DX_FILTER_NONE, 0, nullptr);
    if (FAILED(hr)) {
        ReleaseSurfaces();
        return LogDeviceError(kLog, hr);
    }
    if (systemSurface != nullptr) {
        hr = UploadSurface(nullptr, nullptr);
        if (FAILED(hr)) {
            return hr;
        }
    }
    if (name.empty()) {
        name = PathFindFileNameA(path);
    }
    return D3D_OK;
}

HRESULT D3DPlane::RestoreSurface() {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return E_FAIL;
    }
    if (pool != D3DPOOL_DEFAULT) {
        return D3D_OK;
    }
    constexpr const char* kLog = "D3DPlane::RestoreSurface";
    if (systemSurface == nullptr) {
        return LogDeviceError(kLog, E_FAIL);
    }
    HRESULT hr;
    if (surface == nullptr) {
        D3DSURFACE_DESC desc{};
        hr = systemSurface->GetDesc(&desc);
        if (SUCCEEDED(hr)) {
            hr = device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                     D3DPOOL_DEFAULT, &surface, nullptr);
        }
        if (FAILED(hr)) {
            surface = nullptr;
            return LogDeviceError(kLog, hr);
        }
    }
    hr = device->UpdateSurface(systemSurface, nullptr, surface, nullptr);
    if (FAILED(hr)) {
        return LogDeviceError(kLog, hr);
    }
    return hr;
}

HRESULT D3DPlane::UploadSurface(const RECT* sourceRect, const POINT* destPoint) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return E_FAIL;
    }
    if (surface == nullptr || systemSurface == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    return device->UpdateSurface(systemSurface, sourceRect, surface, destPoint);
}
