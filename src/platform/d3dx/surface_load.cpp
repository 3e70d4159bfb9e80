#include "platform/d3dx/surface_load.h"

#include <new>
#include <vector>

#include "platform/d3dx/image_decode.h"
#include "platform/d3dx/image_info_fill.h"
#include "platform/d3dx/surface_pixels.h"

HRESULT D3DXLoadSurfaceFromFileInMemory(IDirect3DSurface9* destSurface, const PALETTEENTRY*,
                                        const RECT* destRect, LPCVOID srcData, UINT srcDataSize,
                                        const RECT* srcRect, DWORD filter, D3DCOLOR colorKey,
                                        D3DXIMAGE_INFO* srcInfo) {
    if (destSurface == nullptr || srcData == nullptr || srcDataSize == 0) {
        return D3DERR_INVALIDCALL;
    }
    d3dx::DecodedImage image;
    if (HRESULT hr = d3dx::DecodeImage(srcData, srcDataSize, &image); FAILED(hr)) {
        return hr;
    }
    RECT rect{};
    if (!d3dx::ResolveRect(srcRect, image.header.width, image.header.height, &rect)) {
        return D3DERR_INVALIDCALL;
    }
    const int pitch = static_cast<int>(image.header.width);
    const d3dx::ArgbView source{image.pixels.data() + rect.top * pitch + rect.left, RectWidth(rect),
                                RectHeight(rect), pitch};
    if (HRESULT hr = d3dx::WriteArgbToSurface(destSurface, destRect, source, filter, colorKey);
        FAILED(hr)) {
        return hr;
    }
    if (srcInfo != nullptr) {
        d3dx::FillImageInfo(image.header, srcInfo);
    }
    return S_OK;
}

HRESULT D3DXLoadSurfaceFromSurface(IDirect3DSurface9* destSurface, const PALETTEENTRY*,
                                   const RECT* destRect, IDirect3DSurface9* srcSurface,
                                   const PALETTEENTRY*, const RECT* srcRect, DWORD filter,
                                   D3DCOLOR colorKey) {
    if (destSurface == nullptr || srcSurface == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    RECT rect{};
    std::vector<std::uint32_t> pixels;
    if (HRESULT hr = d3dx::ReadSurfaceRectArgb(srcSurface, srcRect, &rect, &pixels); FAILED(hr)) {
        return hr;
    }
    const d3dx::ArgbView source{pixels.data(), RectWidth(rect), RectHeight(rect), RectWidth(rect)};
    return d3dx::WriteArgbToSurface(destSurface, destRect, source, filter, colorKey);
}
