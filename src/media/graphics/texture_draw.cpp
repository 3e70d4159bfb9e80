// D3DTexture: drawing as screen-space quads.

#include "media/graphics/d3d_functions.h"
#include "media/graphics/device_log.h"
#include "media/graphics/texture.h"

HRESULT D3DTexture::DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, UINT primitiveCount,
                                  const void* vertices, UINT stride) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return E_FAIL;
    }
    constexpr const char* kLog = "D3DTexture::DrawPrimitive";
    HRESULT hr = D3D_SetTexture(0, this);
    if (FAILED(hr)) {
        return hr;
    }
    hr = device->SetFVF(vertexFormat);
    if (SUCCEEDED(hr)) {
        hr = device->DrawPrimitiveUP(type, primitiveCount, vertices, stride);
    }
    if (FAILED(hr)) {
        return LogDeviceError(kLog, hr);
    }
    return hr;
}

HRESULT D3DTexture::DrawQuad(const FloatRect* dest, const FloatRect* source, D3DCOLOR colour) {
    if (dest == nullptr) {
        return E_INVALIDARG;
    }
    float u0 = 0.0f;
    float v0 = 0.0f;
    float u1 = 1.0f;
    float v1 = 1.0f;
    if (source != nullptr && width != 0 && height != 0) {
        const auto w = static_cast<float>(width);
        const auto h = static_cast<float>(height);
        u0 = source->left / w;
        v0 = source->top / h;
        u1 = source->right / w;
        v1 = source->bottom / h;
    }
    const TLVertex quad[4] = {
        TLVertex(dest->left - 0.5f, dest->top - 0.5f, colour, u0, v0),
        TLVertex(dest->right - 0.5f, dest->top - 0.5f, colour, u1, v0),
        TLVertex(dest->left - 0.5f, dest->bottom - 0.5f, colour, u0, v1),
        TLVertex(dest->right - 0.5f, dest->bottom - 0.5f, colour, u1, v1),
    };
    return DrawPrimitive(D3DPT_TRIANGLESTRIP, kTLVertexFvf, 2, quad, sizeof(TLVertex));
}

HRESULT D3DTexture::DrawRect(const RECT* dest, const RECT* source, D3DCOLOR colour) {
    if (dest == nullptr || source == nullptr) {
        return E_INVALIDARG;
    }
    const FloatRect destArea(*dest);
    const FloatRect sourceArea(*source);
    return DrawQuad(&destArea, &sourceArea, colour);
}

HRESULT D3DTexture::DrawAt(int x, int y, const RECT* source, D3DCOLOR colour) {
    FloatRect sourceArea = source != nullptr ? FloatRect(*source)
                                             : FloatRect(0, 0, static_cast<int>(imageWidth),
                                                         static_cast<int>(imageHeight));
    FloatRect destArea = sourceArea;
    destArea.Offset(static_cast<float>(x) - sourceArea.left,
                    static_cast<float>(y) - sourceArea.top);
    return DrawQuad(&destArea, &sourceArea, colour);
}
