#include "platform/d3dx/texture_create.h"

#include <algorithm>
#include <new>
#include <vector>

#include "platform/d3dx/argb_resample.h"
#include "platform/d3dx/com_ptr.h"
#include "platform/d3dx/image_decode.h"
#include "platform/d3dx/image_info_fill.h"
#include "platform/d3dx/surface_pixels.h"

namespace {

constexpr UINT kDefaultTextureSize = 256;

UINT RoundUpToPowerOfTwo(UINT value) {
    UINT power = 1;
    while (power < value && power < 0x80000000u) {
        power <<= 1;
    }
    return power;
}

bool TakesImageSize(UINT size) {
    return size == 0 || size == D3DX_DEFAULT || size == D3DX_FROM_FILE ||
           size == D3DX_DEFAULT_NONPOW2;
}

}  // namespace

HRESULT D3DXCheckTextureRequirements(IDirect3DDevice9* device, UINT* width, UINT* height,
                                     UINT* numMipLevels, DWORD, D3DFORMAT* format, D3DPOOL) {
    if (device == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    D3DCAPS9 caps{};
    if (HRESULT hr = device->GetDeviceCaps(&caps); FAILED(hr)) {
        return hr;
    }
    UINT w = width != nullptr ? *width : 0;
    UINT h = height != nullptr ? *height : 0;
    if (TakesImageSize(w)) {
        w = kDefaultTextureSize;
    }
    if (TakesImageSize(h)) {
        h = kDefaultTextureSize;
    }
    const bool powersOfTwo = (caps.TextureCaps & D3DPTEXTURECAPS_POW2) != 0 &&
                             (caps.TextureCaps & D3DPTEXTURECAPS_NONPOW2CONDITIONAL) == 0;
    if (powersOfTwo) {
        w = RoundUpToPowerOfTwo(w);
        h = RoundUpToPowerOfTwo(h);
    }
    if ((caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) != 0) {
        w = h = std::max(w, h);
    }
    if (caps.MaxTextureWidth != 0) {
        w = std::min<UINT>(w, caps.MaxTextureWidth);
    }
    if (caps.MaxTextureHeight != 0) {
        h = std::min<UINT>(h, caps.MaxTextureHeight);
    }
    if (width != nullptr) {
        *width = w;
    }
    if (height != nullptr) {
        *height = h;
    }
    if (numMipLevels != nullptr) {
        *numMipLevels = 1;
    }
    if (format != nullptr && (*format == D3DFMT_UNKNOWN || *format == D3DFMT_FROM_FILE)) {
        *format = D3DFMT_A8R8G8B8;
    }
    return S_OK;
}

HRESULT D3DXCreateTexture(IDirect3DDevice9* device, UINT width, UINT height, UINT mipLevels,
                          DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture9** texture) {
    if (texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *texture = nullptr;
    if (HRESULT hr =
            D3DXCheckTextureRequirements(device, &width, &height, &mipLevels, usage, &format, pool);
        FAILED(hr)) {
        return hr;
    }
    return device->CreateTexture(width, height, mipLevels, usage, format, pool, texture, nullptr);
}

HRESULT D3DXCreateTextureFromFileInMemoryEx(IDirect3DDevice9* device, LPCVOID srcData,
                                            UINT srcDataSize, UINT width, UINT height, UINT,
                                            DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                            DWORD filter, DWORD, D3DCOLOR colorKey,
                                            D3DXIMAGE_INFO* srcInfo, PALETTEENTRY*,
                                            IDirect3DTexture9** texture) {
    if (texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *texture = nullptr;
    if (device == nullptr || srcData == nullptr || srcDataSize == 0) {
        return D3DERR_INVALIDCALL;
    }
    d3dx::FilterKind kind = d3dx::FilterKind::kNone;
    if (HRESULT hr = d3dx::FilterKindOf(filter, &kind); FAILED(hr)) {
        return hr;
    }
    try {
        d3dx::DecodedImage image;
        if (HRESULT hr = d3dx::DecodeImage(srcData, srcDataSize, &image); FAILED(hr)) {
            return hr;
        }
        D3DXIMAGE_INFO info{};
        d3dx::FillImageInfo(image.header, &info);
        const bool unrounded = width == D3DX_DEFAULT_NONPOW2 || height == D3DX_DEFAULT_NONPOW2;
        const UINT imageWidth = TakesImageSize(width) ? info.Width : width;
        const UINT imageHeight = TakesImageSize(height) ? info.Height : height;
        if (format == D3DFMT_UNKNOWN || format == D3DFMT_FROM_FILE) {
            format = info.Format;
        }
        UINT textureWidth = imageWidth;
        UINT textureHeight = imageHeight;
        UINT levels = 1;
        if (!unrounded) {
            if (HRESULT hr = D3DXCheckTextureRequirements(device, &textureWidth, &textureHeight,
                                                          &levels, usage, &format, pool);
                FAILED(hr)) {
                return hr;
            }
        }
        IDirect3DTexture9* raw = nullptr;
        if (HRESULT hr = device->CreateTexture(textureWidth, textureHeight, 1, usage, format, pool,
                                               &raw, nullptr);
            FAILED(hr)) {
            return hr;
        }
        d3dx::ComPtr<IDirect3DTexture9> created(raw);

        // The image scaled to its requested size, at the top left of an otherwise transparent
        // black level.
        const UINT placedWidth = std::min(imageWidth, textureWidth);
        const UINT placedHeight = std::min(imageHeight, textureHeight);
        std::vector<std::uint32_t> scaled;
        d3dx::ResampleArgb({image.pixels.data(), static_cast<int>(info.Width),
                            static_cast<int>(info.Height), static_cast<int>(info.Width)},
                           static_cast<int>(placedWidth), static_cast<int>(placedHeight), kind,
                           colorKey, &scaled);
        std::vector<std::uint32_t> level(static_cast<std::size_t>(textureWidth) * textureHeight,
                                         0u);
        for (UINT y = 0; y < placedHeight; ++y) {
            std::copy_n(scaled.data() + static_cast<std::size_t>(y) * placedWidth, placedWidth,
                        level.data() + static_cast<std::size_t>(y) * textureWidth);
        }
        IDirect3DSurface9* rawSurface = nullptr;
        if (HRESULT hr = created->GetSurfaceLevel(0, &rawSurface); FAILED(hr)) {
            return hr;
        }
        d3dx::ComPtr<IDirect3DSurface9> surface(rawSurface);
        const d3dx::ArgbView whole{level.data(), static_cast<int>(textureWidth),
                                   static_cast<int>(textureHeight), static_cast<int>(textureWidth)};
        if (HRESULT hr =
                d3dx::WriteArgbToSurface(surface.get(), nullptr, whole, D3DX_FILTER_NONE, 0);
            FAILED(hr)) {
            return hr;
        }
        if (srcInfo != nullptr) {
            *srcInfo = info;
        }
        *texture = created.release();
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
