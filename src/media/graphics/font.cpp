#include "media/graphics/font.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "media/graphics/d3d_functions.h"
#include "media/graphics/device_log.h"
#include "media/graphics/font_bitmap.h"
#include "media/graphics/texture.h"
#include "platform/gdi/gdi.h"

namespace {

constexpr const char* kCreateLog = "D3DFont::Create";
constexpr UINT kFirstAtlasSize = 128;
constexpr UINT kLargestAtlasSize = 4096;
// The first byte of the full-width space, whose width sets the slant allowance of a cell.
constexpr char kFullWidthSpaceLead[] = "\x81";

std::vector<D3DFont*>& MutableFontList() {
    static std::vector<D3DFont*> list;
    return list;
}

}  // namespace

const std::vector<D3DFont*>& FontList() {
    return MutableFontList();
}

D3DFont::D3DFont() {
    MutableFontList().push_back(this);
}

D3DFont::~D3DFont() {
    ReleaseRef(atlas);
    ReleaseRef(cache);
    auto& list = MutableFontList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

ULONG D3DFont::Release() {
    const ULONG count = --refCount;
    if (count == 0) {
        delete this;
    }
    return count;
}

void D3DFont::GetCellSize(UINT* w, UINT* h) const {
    if (w != nullptr) {
        *w = cellWidth;
    }
    if (h != nullptr) {
        *h = cellHeight;
    }
}

HRESULT D3DFont::Create(const LOGFONTA* requested, UINT cacheSize) {
    if (CurrentDevice() == nullptr) {
        return E_FAIL;
    }
    if (requested == nullptr || requested->lfHeight <= 0) {
        return LogDeviceError(kCreateLog, E_INVALIDARG);
    }
    GdiFontContext gdi(*requested);
    if (!gdi.ok()) {
        return LogDeviceError(kCreateLog, E_FAIL);
    }
    logFont = *requested;
    if (logFont.lfWidth == 0) {
        logFont.lfWidth = requested->lfHeight / 2;
    }
    if (requested->lfCharSet == SHIFTJIS_CHARSET) {
        HRESULT hr =
            D3D_CreateTexture(&cache, cacheSize, cacheSize, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED);
        if (FAILED(hr)) {
            ReleaseRef(cache);
            return LogDeviceError(kCreateLog, hr);
        }
        char name[96];
        std::snprintf(name, sizeof(name), "SJIS:%.*s( %d, %d )", LF_FACESIZE, requested->lfFaceName,
                      static_cast<int>(requested->lfWidth), static_cast<int>(requested->lfHeight));
        cache->SetName(name);
        const auto height = static_cast<UINT>(requested->lfHeight);
        cellWidth = requested->lfWidth != 0
                        ? 2 * static_cast<UINT>(std::max<LONG>(0, requested->lfWidth))
                        : height;
        cellHeight = height;
        if (requested->lfWeight == FW_BOLD) {
            cellWidth += 1;
        }
        if (requested->lfItalic != 0) {
            SIZE extent{};
            if (GetTextExtentPoint32A(gdi.dc(), kFullWidthSpaceLead, 1, &extent)) {
                cellWidth += static_cast<UINT>(std::max<LONG>(0, extent.cx / 4));
            }
        }
        const UINT usableWidth = std::min(cacheSize, cache->width);
        const UINT usableHeight = std::min(cacheSize, cache->height);
        if (cellWidth > 0) {
            cacheEntryCount = (usableHeight / cellHeight) * (usableWidth / cellWidth);
        }
        try {
            cacheEntries.assign(cacheEntryCount, FontGlyphCache{});
        } catch (const std::bad_alloc&) {
            cacheEntryCount = 0;
            return LogDeviceError(kCreateLog, E_OUTOFMEMORY);
        }
        rowHeight = std::max(rowHeight, cellHeight);
    }
    const HRESULT hr = BuildAtlas(gdi.dc());
    if (FAILED(hr)) {
        return LogDeviceError(kCreateLog, hr);
    }
    return hr;
}

// Lays the characters 0x20..0x7E out in rows of a size x size area: D3DERR_MOREDATA when they
// do not fit; when `draw`, draws them and records their rectangles.
static HRESULT LayOutAtlas(HDC dc, UINT size, bool draw, UINT* rowHeight, RECT* glyphRects) {
    LONG x = 0;
    LONG y = 0;
    const auto limit = static_cast<LONG>(size);
    for (int c = 0x20; c <= 0x7E; ++c) {
        const char character = static_cast<char>(c);
        SIZE extent{};
        if (!GetTextExtentPoint32A(dc, &character, 1, &extent)) {
            return E_FAIL;
        }
        *rowHeight = std::max(*rowHeight, static_cast<UINT>(std::max<LONG>(0, extent.cy)));
        const auto row = static_cast<LONG>(*rowHeight);
        if (x + extent.cx > limit) {
            y += row;
            x = 0;
        }
        if (y + row > limit) {
            return D3DERR_MOREDATA;
        }
        if (draw) {
            const RECT glyph{x, y, x + extent.cx, y + extent.cy};
            if (!ExtTextOutA(dc, x, y, ETO_OPAQUE, &glyph, &character, 1, nullptr)) {
                return E_FAIL;
            }
            glyphRects[c - 0x20] = glyph;
        }
        x += extent.cx;
    }
    return D3D_OK;
}

HRESULT D3DFont::BuildAtlas(HDC dc) {
    glyphRects.assign(kAtlasGlyphCount, RECT{});
    UINT size = kFirstAtlasSize;
    for (;;) {
        const HRESULT hr = LayOutAtlas(dc, size, false, &rowHeight, glyphRects.data());
        if (hr != D3DERR_MOREDATA) {
            if (FAILED(hr)) {
                return hr;
            }
            break;
        }
        if (size >= kLargestAtlasSize) {
            return E_FAIL;
        }
        size *= 2;
    }
    HRESULT hr = D3D_CreateTexture(&atlas, size, size, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED);
    if (FAILED(hr)) {
        ReleaseRef(atlas);
        return hr;
    }
    char name[64];
    std::snprintf(name, sizeof(name), "ANSI:%.*s(%d)", LF_FACESIZE, logFont.lfFaceName,
                  static_cast<int>(logFont.lfHeight));
    atlas->SetName(name);
    GlyphBitmap bitmap(dc, static_cast<int>(size), static_cast<int>(size));
    if (!bitmap.ok()) {
        return E_FAIL;
    }
    hr = LayOutAtlas(dc, size, true, &rowHeight, glyphRects.data());
    if (FAILED(hr)) {
        return hr;
    }
    const RECT whole{0, 0, static_cast<LONG>(size), static_cast<LONG>(size)};
    return bitmap.CopyToTexture(atlas->texture, whole);
}

HRESULT D3D_CreateFont(D3DFont** out, const LOGFONTA* logFont, UINT cacheSize) {
    if (out == nullptr || logFont == nullptr) {
        return E_FAIL;
    }
    for (D3DFont* font : FontList()) {
        // A font whose glyphs could not be made is never handed out again.
        if (font->atlas == nullptr || std::memcmp(&font->logFont, logFont, sizeof(LOGFONTA)) != 0) {
            continue;
        }
        if (font->cache != nullptr && font->cache->width != cacheSize) {
            continue;
        }
        font->AddRef();
        *out = font;
        return D3D_OK;
    }
    auto* font = new (std::nothrow) D3DFont();
    if (font == nullptr) {
        return E_OUTOFMEMORY;
    }
    *out = font;
    return font->Create(logFont, cacheSize);
}

void D3D_ReleaseAllFonts() {
    while (!FontList().empty()) {
        FontList().front()->Release();
    }
}
