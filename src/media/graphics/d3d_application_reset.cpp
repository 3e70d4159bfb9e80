// D3DApplication::Reset: device-loss recovery. Default-pool resources are released (textures
// backed up first), the device is reset, the depth buffer replaced, and everything restored.
// A reset stays pending until every resource is back, so a resource that fails to restore is
// tried again by the next call even when the device itself reports no loss.

#include <algorithm>

#include "media/graphics/d3d_application.h"
#include "media/graphics/device_log.h"
#include "media/graphics/plane.h"
#include "media/graphics/texture.h"

namespace {

constexpr const char* kResetLog = "D3DApplication::Reset";
// The depth buffer is never smaller than this on a side.
constexpr UINT kMinimumDepthSize = 1024;

void ReleaseDefaultPoolResources() {
    for (D3DPlane* plane : PlaneList()) {
        if ((plane->flags & kPlaneHasSurface) != 0 && plane->surface != nullptr &&
            plane->pool == D3DPOOL_DEFAULT) {
            ReleaseRef(plane->surface);
        }
    }
    for (D3DTexture* texture : TextureList()) {
        if (texture->texture == nullptr || texture->pool != D3DPOOL_DEFAULT) {
            continue;
        }
        // A texture still waiting for its restore holds nothing better than its backup; a
        // failed backup is logged by Backup and the texture released all the same.
        if (!texture->restorePending) {
            texture->Backup(nullptr);
        }
        ReleaseRef(texture->texture);
        texture->restorePending = true;
    }
}

}  // namespace

HRESULT D3DApplication::Reset(const D3DPRESENT_PARAMETERS* parameters) {
    if (device == nullptr) {
        return E_FAIL;
    }
    HRESULT hr = device->TestCooperativeLevel();
    if (hr == D3DERR_DEVICELOST) {
        return LogDeviceError(kResetLog, hr);
    }
    resetPending = true;
    ReleaseDefaultPoolResources();
    backupRenderTarget.reset();
    if (parameters != nullptr) {
        presentParameters = *parameters;
    }
    hr = device->Reset(&presentParameters);
    if (FAILED(hr)) {
        return LogDeviceError(kResetLog, hr);
    }
    hr = RestoreResources();
    WriteModeLines();
    return hr;
}

HRESULT D3DApplication::ReplaceDepthBuffer() {
    if (!presentParameters.EnableAutoDepthStencil) {
        return D3D_OK;
    }
    UINT depthWidth = std::max(kMinimumDepthSize, presentParameters.BackBufferWidth);
    UINT depthHeight = std::max(kMinimumDepthSize, presentParameters.BackBufferHeight);
    for (const D3DTexture* texture : TextureList()) {
        if ((texture->usage & D3DUSAGE_RENDERTARGET) != 0) {
            depthWidth = std::max(depthWidth, texture->width);
            depthHeight = std::max(depthHeight, texture->height);
        }
    }
    IDirect3DSurface9* old = nullptr;
    if (SUCCEEDED(device->GetDepthStencilSurface(&old))) {
        const d3dx::ComPtr<IDirect3DSurface9> unbound(old);
        device->SetDepthStencilSurface(nullptr);
    }
    IDirect3DSurface9* created = nullptr;
    HRESULT hr = device->CreateDepthStencilSurface(
        depthWidth, depthHeight, presentParameters.AutoDepthStencilFormat,
        presentParameters.MultiSampleType, presentParameters.MultiSampleQuality, FALSE, &created,
        nullptr);
    if (FAILED(hr)) {
        return LogDeviceError(kResetLog, hr);
    }
    // The binding keeps the surface alive; holding no reference lets the next reset proceed.
    const d3dx::ComPtr<IDirect3DSurface9> depth(created);
    hr = device->SetDepthStencilSurface(depth.get());
    if (FAILED(hr)) {
        return LogDeviceError(kResetLog, hr);
    }
    return hr;
}

HRESULT D3DApplication::RestoreResources() {
    HRESULT first = ReplaceDepthBuffer();
    for (D3DTexture* texture : TextureList()) {
        if (texture->pool != D3DPOOL_DEFAULT || !texture->restorePending) {
            continue;
        }
        const HRESULT hr = texture->Restore(nullptr);
        if (FAILED(hr)) {
            LogDeviceError(kResetLog, hr);
            if (SUCCEEDED(first)) {
                first = hr;
            }
        }
    }
    for (D3DPlane* plane : PlaneList()) {
        if ((plane->flags & kPlaneHasSurface) == 0 || plane->systemSurface == nullptr) {
            continue;
        }
        const HRESULT hr = plane->RestoreSurface();
        if (FAILED(hr)) {
            LogDeviceError(kResetLog, hr);
            if (SUCCEEDED(first)) {
                first = hr;
            }
        }
    }
    if (SUCCEEDED(first)) {
        resetPending = false;
    }
    return first;
}
