#include "media/graphics/plane.h"

#include <algorithm>
#include <new>

#include "media/graphics/d3d_functions.h"
#include "media/graphics/device_log.h"
#include "media/graphics/texture.h"

namespace {

std::vector<D3DPlane*>& MutablePlaneList() {
    static std::vector<D3DPlane*> list;
    return list;
}

// Makes a plane for a factory: E_FAIL without a device, E_OUTOFMEMORY without memory.
HRESULT NewPlane(D3DPlane** out) {
    if (CurrentDevice() == nullptr || out == nullptr) {
        return E_FAIL;
    }
    *out = new (std::nothrow) D3DPlane();
    return *out != nullptr ? D3D_OK : E_OUTOFMEMORY;
}

}  // namespace

const std::vector<D3DPlane*>& PlaneList() {
    return MutablePlaneList();
}

D3DPlane::D3DPlane() {
    MutablePlaneList().push_back(this);
}

D3DPlane::~D3DPlane() {
    ReleaseSurfaces();
    ReleaseTexture();
    ReleaseVB();
    auto& list = MutablePlaneList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

ULONG D3DPlane::Release() {
    const ULONG count = --refCount;
    if (count == 0) {
        delete this;
    }
    return count;
}

void D3DPlane::SetTexture(D3DTexture* attached) {
    ReleaseSurfaces();
    if (attached != nullptr) {
        attached->AddRef();
    }
    // A texture attached before is let go here rather than leaked.
    ReleaseTexture();
    if (attached != nullptr) {
        texture = attached;
        flags |= kPlaneTextureAttached;
    }
}

void D3DPlane::ReleaseTexture() {
    ReleaseRef(texture);
    flags &= ~kPlaneTextureAttached;
}

void D3DPlane::ReleaseSurfaces() {
    ReleaseRef(surface);
    ReleaseRef(systemSurface);
    flags &= ~kPlaneHasSurface;
}

void D3DPlane::ReleaseVB() {
    ReleaseRef(vertexBuffer);
    vertices.clear();
    vertexCount = 0;
    flags &= ~kPlaneHasVertexBuffer;
}

HRESULT D3DPlane::BackupTexture(IDirect3DTexture9** out) {
    if (texture == nullptr) {
        return E_FAIL;
    }
    return texture->Backup(out);
}

HRESULT D3DPlane::RestoreTexture(IDirect3DTexture9* from) {
    if (texture == nullptr) {
        return E_FAIL;
    }
    return texture->Restore(from);
}

void D3DPlane::SetPosition(int px, int py) {
    x = static_cast<float>(px);
    y = static_cast<float>(py);
    flags |= kPlanePositionDirty;
}

void D3DPlane::SetPosition(float px, float py, float pz) {
    x = px;
    y = py;
    z = pz;
    flags |= kPlanePositionDirty;
}

void D3DPlane::ResetPosition() {
    x = 0.0f;
    y = 0.0f;
    z = 0.0f;
    flags |= kPlanePositionDirty;
}

void D3DPlane::SetPivot(float px, float py) {
    pivotX = px;
    pivotY = py;
    flags |= kPlanePositionDirty;
}

void D3DPlane::SetScale(float scale) {
    SetScale(scale, scale);
}

void D3DPlane::SetScale(float sx, float sy) {
    scaleX = sx;
    scaleY = sy;
    flags |= kPlanePositionDirty;
}

void D3DPlane::SetRotation(float radians) {
    rotation = radians;
    flags |= kPlanePositionDirty;
}

void D3DPlane::SetColor(D3DCOLOR argb) {
    colour = argb;
    flags |= kPlaneColourDirty;
}

void D3DPlane::SetAlpha(BYTE alpha) {
    colour = (colour & 0x00FFFFFFu) | (static_cast<D3DCOLOR>(alpha) << 24);
    flags |= kPlaneAlphaDirty;
}

void D3DPlane::SetUpdateCallback(PlaneUpdateCallback callback, void* data) {
    updateCallback = callback;
    userData = data;
}

void D3DPlane::SetFlagBits(DWORD bits, bool on) {
    constexpr DWORD kSettable = kPlaneGameSwitch | kPlaneAutoDraw | kPlaneNoHalfPixel;
    bits &= kSettable;
    flags = on ? (flags | bits) : (flags & ~bits);
}

HRESULT D3DPlane::SetName(const char* text) {
    name = text != nullptr ? text : "";
    return D3D_OK;
}

const char* D3DPlane::GetName(char* buffer) const {
    return CopyName(name, buffer);
}

HRESULT D3DPlane::Update(double time) {
    if (updateCallback == nullptr) {
        return D3D_OK;
    }
    // The callback may release this plane: nothing of it is touched afterwards.
    if (updateCallback(this, time, userData) == 0) {
        return LogDeviceError("D3DPlane::Update", E_FAIL);
    }
    return D3D_OK;
}

void D3D_UpdatePlanes(double time) {
    for (D3DPlane* plane : PlaneList()) {
        if (plane->updateCallback != nullptr) {
            plane->flags |= kPlaneUpdateMark;
        }
    }
    for (;;) {
        const auto& list = PlaneList();
        const auto next = std::find_if(list.begin(), list.end(), [](const D3DPlane* plane) {
            return (plane->flags & kPlaneUpdateMark) != 0;
        });
        if (next == list.end()) {
            return;
        }
        D3DPlane* plane = *next;
        plane->flags &= ~kPlaneUpdateMark;
        plane->Update(time);
    }
}

void D3D_DrawPlanes() {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return;
    }
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    for (D3DPlane* plane : PlaneList()) {
        if ((plane->flags & kPlaneAutoDraw) != 0) {
            plane->Draw();
        }
    }
}

HRESULT D3D_CreateSurfacePlane(UINT width, UINT height, D3DPlane** out, D3DFORMAT format,
                               D3DPOOL pool) {
    const HRESULT hr = NewPlane(out);
    return FAILED(hr) ? hr : (*out)->CreateSurface(width, height, format, pool);
}

HRESULT D3D_CreateVertexPlane(D3DPRIMITIVETYPE type, UINT stride, DWORD vertexFormat,
                              const TLVertex* vertices, UINT count, D3DPlane** out, DWORD usage,
                              D3DPOOL pool) {
    const HRESULT hr = NewPlane(out);
    return FAILED(hr) ? hr
                      : (*out)->CreateVB(type, stride, vertexFormat, vertices, count, usage, pool);
}

HRESULT D3D_CreateStripPlane(const TLVertex* vertices, UINT count, D3DPlane** out, DWORD usage,
                             D3DPOOL pool) {
    return D3D_CreateVertexPlane(D3DPT_TRIANGLESTRIP, sizeof(TLVertex), kTLVertexFvf, vertices,
                                 count, out, usage, pool);
}

HRESULT D3D_CreatePlaneFromTexture(D3DTexture* texture, D3DPlane** out, const RECT* source,
                                   DWORD usage, D3DPOOL pool) {
    if (texture == nullptr) {
        return E_INVALIDARG;
    }
    HRESULT hr = NewPlane(out);
    if (FAILED(hr)) {
        return hr;
    }
    const RECT area = source != nullptr ? *source
                                        : RECT{0, 0, static_cast<LONG>(texture->imageWidth),
                                               static_cast<LONG>(texture->imageHeight)};
    const float levelWidth = texture->width != 0 ? static_cast<float>(texture->width) : 1.0f;
    const float levelHeight = texture->height != 0 ? static_cast<float>(texture->height) : 1.0f;
    const auto w = static_cast<float>(area.right - area.left);
    const auto h = static_cast<float>(area.bottom - area.top);
    const float u0 = static_cast<float>(area.left) / levelWidth;
    const float v0 = static_cast<float>(area.top) / levelHeight;
    const float u1 = static_cast<float>(area.right) / levelWidth;
    const float v1 = static_cast<float>(area.bottom) / levelHeight;
    const TLVertex strip[4] = {TLVertex(-0.5f, -0.5f, u0, v0), TLVertex(w - 0.5f, -0.5f, u1, v0),
                               TLVertex(-0.5f, h - 0.5f, u0, v1),
                               TLVertex(w - 0.5f, h - 0.5f, u1, v1)};
    hr = (*out)->CreateVB(D3DPT_TRIANGLESTRIP, sizeof(TLVertex), kTLVertexFvf, strip, 4, usage,
                          pool);
    if (FAILED(hr)) {
        return hr;
    }
    (*out)->SetTexture(texture);
    return D3D_OK;
}

HRESULT D3D_CreateTexturePlane(UINT width, UINT height, D3DPlane** out, DWORD usage,
                               D3DFORMAT format, D3DPOOL pool) {
    const HRESULT hr = NewPlane(out);
    return FAILED(hr) ? hr : (*out)->CreateTexture(width, height, usage, format, pool);
}

HRESULT D3D_LoadPlane(const char* path, D3DPlane** out, int textured, DWORD usage, D3DFORMAT format,
                      D3DPOOL pool) {
    const HRESULT hr = NewPlane(out);
    if (FAILED(hr)) {
        return hr;
    }
    if (textured == 0) {
        return (*out)->LoadSurface(path, nullptr, nullptr, format, pool);
    }
    return (*out)->LoadTexture(path, usage, format, pool);
}
