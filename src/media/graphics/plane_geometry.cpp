// D3DPlane: the vertex buffer, its transformation and drawing.

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "media/graphics/d3d_functions.h"
#include "media/graphics/device_log.h"
#include "media/graphics/plane.h"
#include "media/graphics/texture.h"
#include "platform/d3dx/matrix.h"
#include "platform/winbase/shell_path.h"

namespace {

// Primitives that `vertexCount` vertices make; 0 when too few for one.
UINT PrimitiveCount(D3DPRIMITIVETYPE type, UINT vertexCount) {
    switch (type) {
        case D3DPT_POINTLIST:
            return vertexCount;
        case D3DPT_LINELIST:
            return vertexCount / 2;
        case D3DPT_LINESTRIP:
            return vertexCount >= 2 ? vertexCount - 1 : 0;
        case D3DPT_TRIANGLELIST:
            return vertexCount / 3;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN:
            return vertexCount >= 3 ? vertexCount - 2 : 0;
    }
    return 0;
}

// The strip of a texture plane: corners (-0.5, -0.5) and (w - 0.5, h - 0.5), white, showing
// the w x h image at the top left of level 0.
void BuildImageStrip(const D3DTexture& texture, UINT w, UINT h, TLVertex strip[4]) {
    const float fw = static_cast<float>(w);
    const float fh = static_cast<float>(h);
    const float u1 = texture.width != 0 ? fw / static_cast<float>(texture.width) : 0.0f;
    const float v1 = texture.height != 0 ? fh / static_cast<float>(texture.height) : 0.0f;
    strip[0] = TLVertex(-0.5f, -0.5f, 0.0f, 0.0f);
    strip[1] = TLVertex(fw - 0.5f, -0.5f, u1, 0.0f);
    strip[2] = TLVertex(-0.5f, fh - 0.5f, 0.0f, v1);
    strip[3] = TLVertex(fw - 0.5f, fh - 0.5f, u1, v1);
}

}  // namespace

HRESULT D3DPlane::CreateVB(D3DPRIMITIVETYPE type, UINT /*stride*/, DWORD /*vertexFormat*/,
                           const TLVertex* source, UINT count, DWORD usage, D3DPOOL bufferPool) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return E_FAIL;
    }
    constexpr const char* kLog = "D3DPlane::CreateVB";
    ReleaseVB();
    if (source == nullptr || count == 0 ||
        count > std::numeric_limits<UINT>::max() / sizeof(TLVertex)) {
        return LogDeviceError(kLog, D3DERR_INVALIDCALL);
    }
    try {
        vertices.assign(source, source + count);
    } catch (const std::bad_alloc&) {
        return LogDeviceError(kLog, E_OUTOFMEMORY);
    }
    const HRESULT hr =
        device->CreateVertexBuffer(static_cast<UINT>(sizeof(TLVertex) * count), usage, kTLVertexFvf,
                                   bufferPool, &vertexBuffer, nullptr);
    if (FAILED(hr)) {
        vertexBuffer = nullptr;
        ReleaseVB();
        return LogDeviceError(kLog, hr);
    }
    vertexCount = count;
    flags |= kPlaneHasVertexBuffer;
    primitiveType = type;
    return Transform(true);
}

HRESULT D3DPlane::CreateTexture(UINT textureWidth, UINT textureHeight, DWORD usage,
                                D3DFORMAT format, D3DPOOL texturePool) {
    constexpr const char* kLog = "D3DPlane::CreateTexture";
    ReleaseTexture();
    ReleaseVB();
    HRESULT hr =
        D3D_CreateTexture(&texture, textureWidth, textureHeight, usage, format, texturePool);
    if (FAILED(hr)) {
        ReleaseTexture();  // the factory may have stored a texture it could not initialise
        return LogDeviceError(kLog, hr);
    }
    flags |= kPlaneTextureAttached;
    TLVertex strip[4];
    BuildImageStrip(*texture, textureWidth, textureHeight, strip);
    return CreateVB(D3DPT_TRIANGLESTRIP, sizeof(TLVertex), kTLVertexFvf, strip, 4, 0,
                    D3DPOOL_SYSTEMMEM);
}

HRESULT D3DPlane::LoadTexture(const char* path, DWORD usage, D3DFORMAT format,
                              D3DPOOL texturePool) {
    constexpr const char* kLog = "D3DPlane::LoadTexture";
    ReleaseTexture();
    ReleaseVB();
    HRESULT hr = D3D_LoadTexture(path, &texture, 0, usage, format, texturePool, D3DX_FILTER_NONE);
    if (FAILED(hr)) {
        ReleaseTexture();  // the factory may have stored a texture it could not initialise
        return LogDeviceError(kLog, hr);
    }
    flags |= kPlaneTextureAttached;
    if (name.empty()) {
        name = PathFindFileNameA(path);
    }
    TLVertex strip[4];
    BuildImageStrip(*texture, texture->imageWidth, texture->imageHeight, strip);
    hr = CreateVB(D3DPT_TRIANGLESTRIP, sizeof(TLVertex), kTLVertexFvf, strip, 4, 0,
                  D3DPOOL_SYSTEMMEM);
    if (FAILED(hr)) {
        return hr;
    }
    width = texture->imageWidth;
    height = texture->imageHeight;
    pool = texturePool;
    return D3D_OK;
}

HRESULT D3DPlane::Transform(bool all) {
    if (vertexBuffer == nullptr || vertices.empty()) {
        return D3D_OK;
    }
    D3DXMATRIX m;
    D3DXMATRIX step;
    D3DXMatrixIdentity(&m);
    m *= *D3DXMatrixTranslation(&step, -pivotX, -pivotY, 0.0f);
    if (scaleX < 0.0f) {
        m *= *D3DXMatrixRotationY(&step, D3DX_PI);
    }
    if (scaleY < 0.0f) {
        m *= *D3DXMatrixRotationX(&step, D3DX_PI);
    }
    m *= *D3DXMatrixScaling(&step, std::fabs(scaleX), std::fabs(scaleY), 1.0f);
    m *= *D3DXMatrixRotationZ(&step, rotation);
    m *= *D3DXMatrixTranslation(&step, x, y, z);

    void* data = nullptr;
    const HRESULT hr = vertexBuffer->Lock(0, 0, &data, 0);
    if (FAILED(hr)) {
        return LogDeviceError("D3DPlane::Transform", hr);
    }
    auto* out = static_cast<std::uint8_t*>(data);
    for (UINT i = 0; i < vertexCount; ++i) {
        const TLVertex& copy = vertices[i];
        TLVertex vertex;
        std::memcpy(static_cast<void*>(&vertex), out + i * sizeof(TLVertex), sizeof(TLVertex));
        if (all || (flags & kPlanePositionDirty) != 0) {
            const D3DXVECTOR3 point{copy.x, copy.y, 0.0f};
            D3DXVECTOR3 moved;
            D3DXVec3TransformCoord(&moved, &point, &m);
            vertex.x = moved.x;
            vertex.y = moved.y;
            vertex.z = moved.z;
        }
        if (all || (flags & kPlaneColourDirty) != 0) {
            vertex.colour = colour;
        }
        if (all || (flags & kPlaneAlphaDirty) != 0) {
            vertex.colour = (copy.colour & 0x00FFFFFFu) | (colour & 0xFF000000u);
        }
        if (all) {
            vertex.colour = copy.colour;
            vertex.rhw = copy.rhw;
            vertex.u = copy.u;
            vertex.v = copy.v;
        }
        std::memcpy(out + i * sizeof(TLVertex), &vertex, sizeof(TLVertex));
    }
    vertexBuffer->Unlock();
    flags &= ~kPlaneDirtyBits;
    return D3D_OK;
}

HRESULT D3DPlane::Draw() {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return E_FAIL;
    }
    constexpr const char* kLog = "D3DPlane::Draw";
    if ((flags & kPlaneDirtyBits) != 0) {
        const HRESULT hr = Transform(false);
        if (FAILED(hr)) {
            return hr;
        }
    }
    if (filter != D3DTEXF_NONE) {
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
        device->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
    }
    const UINT primitives = PrimitiveCount(primitiveType, vertexCount);
    if (vertexBuffer == nullptr || primitives == 0) {
        return D3D_OK;  // nothing to draw
    }
    HRESULT hr = device->SetStreamSource(0, vertexBuffer, 0, sizeof(TLVertex));
    if (SUCCEEDED(hr)) {
        hr = device->SetFVF(kTLVertexFvf);
    }
    if (SUCCEEDED(hr)) {
        hr = D3D_SetTexture(0, texture);
    }
    if (SUCCEEDED(hr)) {
        hr = device->DrawPrimitive(primitiveType, 0, primitives);
    }
    if (FAILED(hr)) {
        return LogDeviceError(kLog, hr);
    }
    return hr;
}
