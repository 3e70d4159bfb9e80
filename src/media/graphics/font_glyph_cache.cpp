// D3DFont: the cache of double-byte glyphs. A new glyph takes the cell whose age is lowest;
// every addition ages the others, and a hit changes nothing, so once full the cache replaces
// glyphs first in, first out.

#include "media/graphics/font.h"
#include "media/graphics/font_bitmap.h"
#include "media/graphics/texture.h"
#include "platform/gdi/gdi.h"

namespace {

constexpr DWORD kNewGlyphAge = 32766;
constexpr DWORD kAgeBound = 32767;

}  // namespace

UINT D3DFont::AddGlyph(DWORD code) {
    if (cacheEntryCount == 0 || cacheEntries.empty() || cache == nullptr || cellWidth == 0) {
        return cacheEntryCount;
    }
    for (UINT i = 0; i < cacheEntryCount; ++i) {
        if (cacheEntries[i].age > 0) {
            --cacheEntries[i].age;
        }
    }
    UINT victim = cacheEntryCount;
    for (UINT i = 0; i < cacheEntryCount && victim == cacheEntryCount; ++i) {
        if (cacheEntries[i].age == 0) {
            victim = i;
        }
    }
    if (victim == cacheEntryCount) {
        DWORD lowest = kAgeBound;
        victim = 0;
        for (UINT i = 0; i < cacheEntryCount; ++i) {
            if (cacheEntries[i].age < lowest) {
                lowest = cacheEntries[i].age;
                victim = i;
            }
        }
    }
    const UINT columns = cache->width / cellWidth;
    if (columns == 0) {
        return cacheEntryCount;
    }
    const auto left = static_cast<LONG>(cellWidth * (victim % columns));
    const auto top = static_cast<LONG>(cellHeight * (victim / columns));
    const RECT cell{left, top, left + static_cast<LONG>(cellWidth),
                    top + static_cast<LONG>(cellHeight)};

    if (glyphContext_ == nullptr) {
        glyphContext_ = std::make_unique<GdiFontContext>(logFont);
    }
    const GdiFontContext& gdi = *glyphContext_;
    if (!gdi.ok()) {
        return victim;
    }
    GlyphBitmap bitmap(gdi.dc(), static_cast<int>(cellWidth), static_cast<int>(cellHeight));
    if (!bitmap.ok()) {
        return victim;
    }
    const char bytes[2] = {static_cast<char>(code & 0xFF), static_cast<char>((code >> 8) & 0xFF)};
    const RECT whole{0, 0, static_cast<LONG>(cellWidth), static_cast<LONG>(cellHeight)};
    if (!ExtTextOutA(gdi.dc(), 0, 0, ETO_OPAQUE, &whole, bytes, 2, nullptr)) {
        return victim;
    }
    // A failed lock leaves the cell's old pixels under the new code.
    bitmap.CopyToTexture(cache->texture, cell);
    cacheEntries[victim].cell = cell;
    cacheEntries[victim].age = kNewGlyphAge;
    cacheEntries[victim].code = code;
    return victim;
}

UINT D3DFont::FindGlyph(DWORD code) {
    for (UINT i = 0; i < cacheEntryCount; ++i) {
        if (cacheEntries[i].code == code) {
            return i;
        }
    }
    return AddGlyph(code);
}
