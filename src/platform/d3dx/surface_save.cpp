#include "platform/d3dx/surface_save.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "platform/d3dx/png_encode.h"
#include "platform/d3dx/surface_pixels.h"

HRESULT D3DXSaveSurfaceToFileInMemory(ID3DXBuffer** destBuffer, D3DXIMAGE_FILEFORMAT destFormat,
                                      IDirect3DSurface9* srcSurface, const PALETTEENTRY*,
                                      const RECT* srcRect) {
    if (destBuffer == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *destBuffer = nullptr;
    if (srcSurface == nullptr || destFormat != D3DXIFF_PNG) {
        return D3DERR_INVALIDCALL;
    }
    try {
        RECT rect{};
        std::vector<std::uint32_t> pixels;
        if (HRESULT hr = d3dx::ReadSurfaceRectArgb(srcSurface, srcRect, &rect, &pixels);
            FAILED(hr)) {
            return hr;
        }
        const std::vector<std::uint8_t> png = d3dx::EncodeArgbAsPng(
            RectWidth(rect), RectHeight(rect), pixels.data(), RectWidth(rect));
        if (png.empty()) {
            return E_FAIL;
        }
        ID3DXBuffer* buffer = nullptr;
        if (HRESULT hr = D3DXCreateBuffer(static_cast<DWORD>(png.size()), &buffer); FAILED(hr)) {
            return hr;
        }
        std::copy(png.begin(), png.end(), static_cast<std::uint8_t*>(buffer->GetBufferPointer()));
        *destBuffer = buffer;
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
