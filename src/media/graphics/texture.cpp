#include "media/graphics/texture.h"

#include <algorithm>
#include <new>

#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/device_log.h"
#include "media/graphics/loaded_file.h"
#include "platform/d3dx/image_info.h"
#include "platform/d3dx/texture_create.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/shell_path.h"

namespace {

std::vector<D3DTexture*>& MutableTextureList() {
    static std::vector<D3DTexture*> list;
    return list;
}

}  // namespace

const std::vector<D3DTexture*>& TextureList() {
    return MutableTextureList();
}

D3DTexture::D3DTexture() {
    MutableTextureList().push_back(this);
}

D3DTexture::~D3DTexture() {
    ReleaseTexture();
    ReleaseRef(backup);
    auto& list = MutableTextureList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

ULONG D3DTexture::Release() {
    const ULONG count = --refCount;
    if (count == 0) {
        delete this;
    }
    return count;
}

void D3DTexture::ReleaseTexture() {
    ReleaseRef(texture);
    restorePending = false;
}

HRESULT D3DTexture::Create(UINT requestedWidth, UINT requestedHeight, DWORD textureUsage,
                           D3DFORMAT textureFormat, D3DPOOL texturePool) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return E_FAIL;
    }
    constexpr const char* kLog = "D3DTexture::Create";
    ReleaseTexture();
    flags = kTexturePrivate;
    if (textureFormat == D3DFMT_UNKNOWN) {
        textureFormat = D3DApp->presentParameters.BackBufferFormat;
    }
    HRESULT hr = D3DXCreateTexture(device, requestedWidth, requestedHeight, 1, textureUsage,
                                   textureFormat, texturePool, &texture);
    if (FAILED(hr)) {
        texture = nullptr;
        return LogDeviceError(kLog, hr);
    }
    return AdoptCreated(kLog, requestedWidth, requestedHeight, textureUsage, D3DFMT_UNKNOWN,
                        texturePool, 0);
}

HRESULT D3DTexture::AdoptCreated(const char* log, UINT shownWidth, UINT shownHeight,
                                 DWORD textureUsage, D3DFORMAT textureFormat, D3DPOOL texturePool,
                                 DWORD textureFilter) {
    D3DSURFACE_DESC desc{};
    const HRESULT hr = texture->GetLevelDesc(0, &desc);
    if (FAILED(hr)) {
        return LogDeviceError(log, hr);
    }
    width = desc.Width;
    height = desc.Height;
    imageWidth = shownWidth;
    imageHeight = shownHeight;
    usage = textureUsage;
    format = textureFormat == D3DFMT_UNKNOWN ? desc.Format : textureFormat;
    pool = texturePool;
    filter = textureFilter;
    return D3D_OK;
}

HRESULT D3DTexture::CreateFromMemory(const void* data, UINT size, DWORD textureUsage,
                                     D3DFORMAT textureFormat, D3DPOOL texturePool,
                                     DWORD textureFilter) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return E_FAIL;
    }
    constexpr const char* kLog = "D3DTexture::Create(memory)";
    D3DXIMAGE_INFO info{};
    HRESULT hr = D3DXGetImageInfoFromFileInMemory(data, size, &info);
    if (FAILED(hr)) {
        return LogDeviceError(kLog, hr);
    }
    if (textureFormat == D3DFMT_UNKNOWN) {
        textureFormat = info.Format;
    }
    hr = FindDeviceFormat(D3DRTYPE_TEXTURE, &textureFormat);
    if (FAILED(hr)) {
        return LogDeviceError(kLog, hr);
    }
    const int divisor = GetTextureSizeDivisor();
    const UINT scaledWidth = std::max<UINT>(1, info.Width / static_cast<UINT>(divisor));
    const UINT scaledHeight = std::max<UINT>(1, info.Height / static_cast<UINT>(divisor));
    if (divisor > 1) {
        textureFilter = D3DX_FILTER_LINEAR;
    }
    ReleaseTexture();
    hr = D3DXCreateTextureFromFileInMemoryEx(
        device, data, size, scaledWidth, scaledHeight, D3DX_DEFAULT, textureUsage, textureFormat,
        texturePool, textureFilter, D3DX_DEFAULT, 0, nullptr, nullptr, &texture);
    if (FAILED(hr)) {
        texture = nullptr;
        return LogDeviceError(kLog, hr);
    }
    return AdoptCreated(kLog, scaledWidth, scaledHeight, textureUsage, textureFormat, texturePool,
                        textureFilter);
}

HRESULT D3DTexture::CreateFromFile(const char* filePath, DWORD textureUsage,
                                   D3DFORMAT textureFormat, D3DPOOL texturePool,
                                   DWORD textureFilter) {
    constexpr const char* kLog = "D3DTexture::Create(file)";
    const LoadedFile file(filePath);
    if (!file.ok()) {
        return LogDeviceError(kLog, E_FAIL);
    }
    ReleaseTexture();
    path = filePath;
    const HRESULT hr = CreateFromMemory(file.data(), file.size(), textureUsage, textureFormat,
                                        texturePool, textureFilter);
    if (SUCCEEDED(hr) && name.empty()) {
        name = PathFindFileNameA(filePath);
    }
    return hr;
}

HRESULT D3DTexture::SetName(const char* text) {
    name = text != nullptr ? text : "";
    return D3D_OK;
}

const char* D3DTexture::GetName(char* buffer) const {
    return CopyName(name, buffer);
}

D3DTexture* FindSharedTexture(const char* path, D3DFORMAT format, DWORD filter) {
    if (path == nullptr) {
        return nullptr;
    }
    for (D3DTexture* candidate : TextureList()) {
        if ((candidate->flags & kTexturePrivate) != 0 || candidate->path.empty()) {
            continue;
        }
        // A texture whose load failed holds nothing to share; one released for a reset still
        // does.
        if (candidate->texture == nullptr && !candidate->restorePending) {
            continue;
        }
        if (!EqualNoCaseCp932(candidate->path, path)) {
            continue;
        }
        if (format != D3DFMT_UNKNOWN && candidate->format != format) {
            continue;
        }
        if (filter != D3DX_FILTER_NONE && candidate->filter != filter) {
            continue;
        }
        return candidate;
    }
    return nullptr;
}

HRESULT D3D_LoadTexture(const char* path, D3DTexture** out, DWORD flags, DWORD usage,
                        D3DFORMAT format, D3DPOOL pool, DWORD filter) {
    if (CurrentDevice() == nullptr || out == nullptr) {
        return E_FAIL;
    }
    if ((flags & kTexturePrivate) == 0) {
        D3DTexture* shared = FindSharedTexture(path, format, filter);
        if (shared != nullptr) {
            shared->AddRef();
            *out = shared;
            return D3D_OK;
        }
    }
    auto* texture = new (std::nothrow) D3DTexture();
    if (texture == nullptr) {
        return E_OUTOFMEMORY;
    }
    *out = texture;
    // A texture loaded privately stays private: its owner may paint into it.
    texture->flags = flags & kTexturePrivate;
    return texture->CreateFromFile(path, usage, format, pool, filter);
}

HRESULT D3D_CreateTexture(D3DTexture** out, UINT width, UINT height, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool) {
    if (CurrentDevice() == nullptr || out == nullptr) {
        return E_FAIL;
    }
    auto* texture = new (std::nothrow) D3DTexture();
    if (texture == nullptr) {
        return E_OUTOFMEMORY;
    }
    *out = texture;
    return texture->Create(width, height, usage, format, pool);
}

HRESULT D3D_LoadTextureFromMemory(const void* data, UINT size, D3DTexture** out, DWORD /*flags*/,
                                  DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter) {
    if (CurrentDevice() == nullptr || out == nullptr) {
        return E_FAIL;
    }
    auto* texture = new (std::nothrow) D3DTexture();
    if (texture == nullptr) {
        return E_OUTOFMEMORY;
    }
    *out = texture;
    return texture->CreateFromMemory(data, size, usage, format, pool, filter);
}
