#include "media/graphics/font_bitmap.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/gdi.h"

GdiFontContext::GdiFontContext(const LOGFONTA& logFont) {
    dc_ = CreateCompatibleDC(nullptr);
    if (dc_ == nullptr) {
        return;
    }
    SetMapMode(dc_, MM_TEXT);
    font_ = CreateFontIndirectA(&logFont);
    if (font_ != nullptr) {
        previousFont_ = SelectObject(dc_, font_);
    }
}

GdiFontContext::~GdiFontContext() {
    if (dc_ != nullptr && previousFont_ != nullptr) {
        SelectObject(dc_, previousFont_);
    }
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    if (dc_ != nullptr) {
        DeleteDC(dc_);
    }
}

GlyphBitmap::GlyphBitmap(HDC dc, int width, int height) : dc_(dc), width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap_ == nullptr) {
        return;
    }
    bits_ = static_cast<const std::uint32_t*>(bits);
    previousBitmap_ = SelectObject(dc, bitmap_);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, OPAQUE);
    SetTextAlign(dc, TA_TOP | TA_LEFT);
}

GlyphBitmap::~GlyphBitmap() {
    if (previousBitmap_ != nullptr) {
        SelectObject(dc_, previousBitmap_);
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
}

HRESULT GlyphBitmap::CopyToTexture(IDirect3DTexture9* texture, const RECT& rect) const {
    if (texture == nullptr || !ok()) {
        return E_FAIL;
    }
    D3DLOCKED_RECT locked{};
    const HRESULT hr = texture->LockRect(0, &locked, &rect, 0);
    if (FAILED(hr)) {
        return hr;
    }
    const int rows = std::min<int>(height_, rect.bottom - rect.top);
    const int columns = std::min<int>(width_, rect.right - rect.left);
    for (int y = 0; y < rows; ++y) {
        auto* row = static_cast<std::uint8_t*>(locked.pBits) +
                    static_cast<std::ptrdiff_t>(y) * locked.Pitch;
        const std::uint32_t* source = bits_ + static_cast<std::ptrdiff_t>(y) * width_;
        for (int x = 0; x < columns; ++x) {
            const std::uint16_t texel = GlyphTexel(source[x]);
            std::memcpy(row + static_cast<std::ptrdiff_t>(x) * 2, &texel, 2);
        }
    }
    texture->UnlockRect(0);
    return D3D_OK;
}
