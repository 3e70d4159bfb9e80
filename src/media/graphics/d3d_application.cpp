#include "media/graphics/d3d_application.h"

#include <new>

#include "foundation/log.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/device_log.h"
#include "media/graphics/format_names.h"
#include "media/mesh/object.h"
#include "platform/d3dx/error_names.h"

D3DPRESENT_PARAMETERS DisplaySettings = InitialDisplaySettings();
D3DApplication* D3DApp = nullptr;

namespace {

constexpr const char* kSetDeviceLog = "D3DApp::SetDevice";
constexpr const char* kPresentLog = "D3DApplication::Present";

const char* DeviceTypeName(D3DDEVTYPE type) {
    switch (type) {
        case D3DDEVTYPE_HAL:
            return "HAL";
        case D3DDEVTYPE_REF:
            return "REF";
        default:
            return "Unknown";
    }
}

const char* BehaviourName(DWORD flags) {
    if ((flags & D3DCREATE_HARDWARE_VERTEXPROCESSING) != 0) {
        return "Hardware vp";
    }
    if ((flags & D3DCREATE_SOFTWARE_VERTEXPROCESSING) != 0) {
        return "Software vp";
    }
    return "Unknown";
}

int BitsOf(D3DFORMAT format) {
    UINT bits = 0;
    D3D_GetFormatName(format, &bits);
    return static_cast<int>(bits);
}

}  // namespace

int CreateD3DApplication() {
    delete D3DApp;
    D3DApp = new (std::nothrow) D3DApplication();
    if (D3DApp == nullptr) {
        return 0;
    }
    D3DApp->direct3D.reset(Direct3DCreate9(D3D_SDK_VERSION));
    if (D3DApp->direct3D == nullptr) {
        delete D3DApp;
        D3DApp = nullptr;
        return 0;
    }
    return 1;
}

void DestroyD3DApplication() {
    // Meshes and objects hold the device's buffers and textures: they go first.
    ReleaseAllMeshesAndObjects();
    delete D3DApp;
    D3DApp = nullptr;
}

HRESULT D3DApplication::CheckDevice(UINT adapterOrdinal, D3DDEVTYPE type) {
    adapter = adapterOrdinal;
    deviceType = type;
    HRESULT hr = direct3D->GetDeviceCaps(adapterOrdinal, type, &caps);
    if (FAILED(hr)) {
        return LogDeviceError("", hr);
    }
    D3DDISPLAYMODE desktop{};
    hr = direct3D->GetAdapterDisplayMode(adapterOrdinal, &desktop);
    if (FAILED(hr)) {
        return LogDeviceError("", hr);
    }
    if (SUCCEEDED(direct3D->CheckDeviceType(adapterOrdinal, type, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8,
                                            FALSE))) {
        modeFlags |= 1;
    }
    hr = direct3D->CheckDeviceType(adapterOrdinal, type, desktop.Format, desktop.Format, TRUE);
    if (FAILED(hr)) {
        return LogDeviceError("", hr);
    }
    modeFlags |= 2;
    return hr;
}

HRESULT D3DApplication::SetDevice(HWND window, const D3DPRESENT_PARAMETERS* parameters,
                                  UINT adapterOrdinal, D3DDEVTYPE type, DWORD behaviour) {
    if (parameters != nullptr) {
        presentParameters = *parameters;
    }
    device.reset();
    HRESULT hr = CheckDevice(adapterOrdinal, type);
    if (FAILED(hr)) {
        return LogDeviceError(kSetDeviceLog, hr);
    }
    DWORD flags = behaviour == 0 ? D3DCREATE_HARDWARE_VERTEXPROCESSING : behaviour;
    if ((flags & D3DCREATE_HARDWARE_VERTEXPROCESSING) != 0 &&
        (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) == 0) {
        flags =
            (flags & ~D3DCREATE_HARDWARE_VERTEXPROCESSING) | D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    }
    IDirect3DDevice9* created = nullptr;
    hr = direct3D->CreateDevice(adapterOrdinal, type, window, flags | D3DCREATE_MULTITHREADED,
                                &presentParameters, &created);
    if (FAILED(hr)) {
        return LogDeviceError(kSetDeviceLog, hr);
    }
    device.reset(created);
    adapter = adapterOrdinal;
    hr = direct3D->GetAdapterIdentifier(adapterOrdinal, 0, &identifier);
    if (FAILED(hr)) {
        return LogDeviceError(kSetDeviceLog, hr);
    }
    const auto high = static_cast<DWORD>(identifier.DriverVersion.u.HighPart);
    const DWORD low = identifier.DriverVersion.u.LowPart;
    LogPrintf("Display Driver Name: %s", identifier.Description);
    LogPrintf("Driver File Name: %s", identifier.Driver);
    LogPrintf("Driver Version: %d.%02d.%02d.%04d", static_cast<int>(high >> 16),
              static_cast<int>(high & 0xFFFF), static_cast<int>(low >> 16),
              static_cast<int>(low & 0xFFFF));
    if (identifier.WHQLLevel != 0) {
        LogPrintf("WHQL Certified.");
    }
    LogPrintf("Device Type: %s", DeviceTypeName(type));
    LogPrintf("Behavior: %s", BehaviourName(flags));
    LogPrintf("Pixel Shader: %d.%d", static_cast<int>((caps.PixelShaderVersion >> 8) & 0xFF),
              static_cast<int>(caps.PixelShaderVersion & 0xFF));
    LogPrintf("Vertex Shader: %d.%d", static_cast<int>((caps.VertexShaderVersion >> 8) & 0xFF),
              static_cast<int>(caps.VertexShaderVersion & 0xFF));
    D3DDISPLAYMODE mode{};
    hr = device->GetDisplayMode(0, &mode);
    if (FAILED(hr)) {
        return LogDeviceError(kSetDeviceLog, hr);
    }
    if (mode.RefreshRate != 0) {
        LogPrintf("Desktop: %dx%dx%d(%dKHz)", static_cast<int>(mode.Width),
                  static_cast<int>(mode.Height), BitsOf(mode.Format),
                  static_cast<int>(mode.RefreshRate));
    } else {
        LogPrintf("Desktop: %dx%dx%d", static_cast<int>(mode.Width), static_cast<int>(mode.Height),
                  BitsOf(mode.Format));
    }
    const D3DVIEWPORT9 viewport{
        0, 0, presentParameters.BackBufferWidth, presentParameters.BackBufferHeight, 0.0f, 1.0f};
    hr = device->SetViewport(&viewport);
    if (FAILED(hr)) {
        return LogDeviceError(kSetDeviceLog, hr);
    }
    resetPending = false;
    WriteModeLines();
    return D3D_OK;
}

void D3DApplication::WriteModeLines() {
    if (device == nullptr) {
        return;
    }
    D3DDISPLAYMODE mode{};
    device->GetDisplayMode(0, &mode);
    LogPrintf(presentParameters.Windowed == 0 ? "\nChanged fullscreen mode: %dx%dx%d:%dKHz"
                                              : "\nChanged windowed mode: %dx%dx%d:%dKHz",
              static_cast<int>(presentParameters.BackBufferWidth),
              static_cast<int>(presentParameters.BackBufferHeight), BitsOf(mode.Format),
              static_cast<int>(mode.RefreshRate));
    IDirect3DSurface9* surface = nullptr;
    D3DSURFACE_DESC desc{};
    if (SUCCEEDED(device->GetRenderTarget(0, &surface))) {
        const d3dx::ComPtr<IDirect3DSurface9> target(surface);
        if (SUCCEEDED(target->GetDesc(&desc))) {
            LogPrintf("Back Buffer: %dx%d(%s)", static_cast<int>(desc.Width),
                      static_cast<int>(desc.Height), D3D_GetFormatName(desc.Format, nullptr));
        }
    }
    surface = nullptr;
    if (presentParameters.EnableAutoDepthStencil &&
        SUCCEEDED(device->GetDepthStencilSurface(&surface))) {
        const d3dx::ComPtr<IDirect3DSurface9> depth(surface);
        if (SUCCEEDED(depth->GetDesc(&desc))) {
            LogPrintf("Depth Buffer: %dx%d(%s)", static_cast<int>(desc.Width),
                      static_cast<int>(desc.Height), D3D_GetFormatName(desc.Format, nullptr));
        }
    }
}

HRESULT D3DApplication::Present(const RECT* sourceRect, const RECT* destRect, HWND overrideWindow,
                                const void* dirtyRegion) {
    if (device == nullptr) {
        return E_FAIL;
    }
    const HRESULT hr = device->Present(sourceRect, destRect, overrideWindow, dirtyRegion);
    if (FAILED(hr)) {
        return LogDeviceError(kPresentLog, hr);
    }
    return hr;
}

HRESULT D3D_Present(const RECT* sourceRect, const RECT* destRect, HWND overrideWindow,
                    const void* dirtyRegion) {
    if (D3DApp == nullptr) {
        return E_FAIL;
    }
    return D3DApp->Present(sourceRect, destRect, overrideWindow, dirtyRegion);
}

HRESULT D3DApplication::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    if (matrix != nullptr) {
        if (state == D3DTS_WORLD) {
            world = *matrix;
        } else if (state == D3DTS_VIEW) {
            view = *matrix;
        } else if (state == D3DTS_PROJECTION) {
            projection = *matrix;
        }
    }
    if (device == nullptr) {
        return E_FAIL;
    }
    return device->SetTransform(state, matrix);
}

HRESULT D3DApplication::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    if (matrix != nullptr) {
        if (state == D3DTS_WORLD) {
            *matrix = world;
        } else if (state == D3DTS_VIEW) {
            *matrix = view;
        } else if (state == D3DTS_PROJECTION) {
            *matrix = projection;
        }
    }
    return 0;
}
