#include "media/graphics/d3d_functions.h"

#include <cstring>
#include <new>

#include "media/graphics/d3d_application.h"
#include "media/graphics/device_log.h"
#include "media/graphics/texture.h"

namespace {

int textureSizeDivisor = 1;

// The next format to try when the device cannot use `format`; D3DFMT_UNKNOWN ends the search.
D3DFORMAT FallbackFormat(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_A8R8G8B8:
            return D3DFMT_A4R4G4B4;
        case D3DFMT_X8R8G8B8:
            return D3DFMT_R5G6B5;
        case D3DFMT_R5G6B5:
            return D3DFMT_UNKNOWN;
        default:
            return D3DFMT_X8R8G8B8;
    }
}

}  // namespace

IDirect3DDevice9* CurrentDevice() {
    return D3DApp != nullptr ? D3DApp->device.get() : nullptr;
}

HRESULT D3D_SetRenderTarget(D3DTexture* texture) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return E_FAIL;
    }
    constexpr const char* kLog = "D3D_SetRenderTarget";
    IDirect3DSurface9* surface = nullptr;
    HRESULT hr;
    if (texture != nullptr) {
        if (texture->texture == nullptr) {
            return LogDeviceError(kLog, D3DERR_INVALIDCALL);
        }
        hr = texture->texture->GetSurfaceLevel(0, &surface);
    } else {
        hr = device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface);
    }
    if (FAILED(hr)) {
        return LogDeviceError(kLog, hr);
    }
    hr = device->SetRenderTarget(0, surface);
    surface->Release();
    if (FAILED(hr)) {
        return LogDeviceError(kLog, hr);
    }
    return hr;
}

HRESULT D3D_GetRenderTarget(IDirect3DSurface9** surface) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr || surface == nullptr) {
        return E_FAIL;
    }
    return device->GetRenderTarget(0, surface);
}

HRESULT D3D_SetTexture(DWORD stage, D3DTexture* texture) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return E_FAIL;
    }
    IDirect3DBaseTexture9* bound = texture != nullptr ? texture->texture : nullptr;
    const HRESULT hr = device->SetTexture(stage, bound);
    if (FAILED(hr)) {
        return LogDeviceError("D3D_SetTexture", hr);
    }
    return hr;
}

HRESULT GetLevelZero(IDirect3DTexture9* texture, d3dx::ComPtr<IDirect3DSurface9>* surface) {
    IDirect3DSurface9* level = nullptr;
    const HRESULT hr = texture->GetSurfaceLevel(0, &level);
    if (SUCCEEDED(hr)) {
        surface->reset(level);
    }
    return hr;
}

HRESULT D3D_ColorFill(const FloatRect* rect, D3DCOLOR colour) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return E_FAIL;
    }
    constexpr const char* kLog = "D3D_ColorFill";
    FloatRect area;
    if (rect != nullptr) {
        area = *rect;
    } else {
        IDirect3DSurface9* backBuffer = nullptr;
        HRESULT hr = device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
        if (FAILED(hr)) {
            return LogDeviceError(kLog, hr);
        }
        D3DSURFACE_DESC desc{};
        hr = backBuffer->GetDesc(&desc);
        backBuffer->Release();
        if (FAILED(hr)) {
            return LogDeviceError(kLog, hr);
        }
        area = FloatRect(0, 0, static_cast<int>(desc.Width), static_cast<int>(desc.Height));
    }
    const ColorFillVertex quad[4] = {{area.left, area.top, 0.0f, 1.0f, colour},
                                     {area.right, area.top, 0.0f, 1.0f, colour},
                                     {area.left, area.bottom, 0.0f, 1.0f, colour},
                                     {area.right, area.bottom, 0.0f, 1.0f, colour}};
    HRESULT hr = device->SetFVF(kColorFillFvf);
    if (FAILED(hr)) {
        return LogDeviceError(kLog, hr);
    }
    hr = D3D_SetTexture(0, nullptr);
    if (FAILED(hr)) {
        return hr;
    }
    hr = device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ColorFillVertex));
    if (FAILED(hr)) {
        return LogDeviceError(kLog, hr);
    }
    return hr;
}

HRESULT D3D_ColorFillRect(const RECT* rect, D3DCOLOR colour) {
    if (rect == nullptr) {
        return E_INVALIDARG;
    }
    const FloatRect area(*rect);
    return D3D_ColorFill(&area, colour);
}

UINT NextPowerOfTwo(UINT n) {
    UINT power = 1;
    while (power <= n && power != 0x80000000u) {
        power <<= 1;
    }
    return power;
}

char* DuplicateString(const char* text) {
    if (text == nullptr) {
        return nullptr;
    }
    const std::size_t length = std::strlen(text);
    char* copy = new (std::nothrow) char[length + 1];
    if (copy != nullptr) {
        std::memcpy(copy, text, length + 1);
    }
    return copy;
}

const char* CopyName(const std::string& name, char* buffer) {
    if (name.empty()) {
        return nullptr;
    }
    if (buffer != nullptr) {
        std::memcpy(buffer, name.c_str(), name.size() + 1);
    }
    return name.c_str();
}

void SetTextureSizeDivisor(int divisor) {
    textureSizeDivisor = divisor <= 0 ? 1 : divisor;
}

int GetTextureSizeDivisor() {
    return textureSizeDivisor;
}

HRESULT FindDeviceFormat(D3DRESOURCETYPE type, D3DFORMAT* format) {
    if (D3DApp == nullptr || D3DApp->direct3D == nullptr) {
        return E_FAIL;
    }
    for (;;) {
        const HRESULT hr = D3DApp->direct3D->CheckDeviceFormat(
            D3DApp->adapter, D3DDEVTYPE_HAL, D3DApp->presentParameters.BackBufferFormat, 0, type,
            *format);
        if (SUCCEEDED(hr)) {
            return hr;
        }
        const D3DFORMAT next = FallbackFormat(*format);
        if (next == D3DFMT_UNKNOWN) {
            return hr;
        }
        *format = next;
    }
}
